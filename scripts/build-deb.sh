#!/usr/bin/env bash
# Builds the Debian package build-deb/wex-browser_VERSION_amd64.deb: a Release
# build of its own in build-deb/ (tests left out), packaged by CPack, with the
# dependencies that dpkg-shlibdeps finds. Install it with
#   sudo apt-get install ./build-deb/wex-browser_*.deb
#
# Installs the build dependencies first (SKIP_DEPS=1 skips that step).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${SKIP_DEPS:-0}" != 1 ]; then
  scripts/install-deps.sh
fi
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DWEX_BUILD_TESTS=OFF
cmake --build build-deb --parallel 2 --target wex-browser wex-desktop-files
rm -f build-deb/wex-browser_*.deb
(cd build-deb && cpack -G DEB >/dev/null)
ls build-deb/wex-browser_*.deb

#!/usr/bin/env bash
# Builds the Debian package wex-browser_VERSION_amd64.deb, packaged by CPack
# with the dependencies that dpkg-shlibdeps finds; the program in it is
# stripped (CPACK_STRIP_FILES).
#
#   scripts/build-deb.sh                a Release build of its own in build-deb/
#                                       (tests left out): build-deb/wex-browser_*.deb
#   scripts/build-deb.sh --from BUILD   packages the configured build folder
#                                       BUILD (e.g. build/, the "default" preset,
#                                       optimised with -O2) after bringing its
#                                       program up to date: BUILD/wex-browser_*.deb
#
# Install it with
#   sudo apt-get install ./build-deb/wex-browser_*.deb
# The last line printed is the package's path.
#
# Installs the build dependencies first (SKIP_DEPS=1 skips that step).
set -euo pipefail
dir=build-deb
from=
case "${1-}" in
  "") ;;
  --from) [ $# -eq 2 ] || { echo "usage: $0 [--from BUILD]" >&2; exit 2; }
          if [ ! -f "$2/CPackConfig.cmake" ]; then
            echo "build-deb: $2 is no configured build folder (no CPackConfig.cmake)" >&2
            exit 1
          fi
          dir="$(cd "$2" && pwd)"; from=1 ;;
  *) echo "usage: $0 [--from BUILD]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
if [ "${SKIP_DEPS:-0}" != 1 ]; then
  scripts/install-deps.sh
fi
if [ -z "$from" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DWEX_BUILD_TESTS=OFF
fi
cmake --build "$dir" --parallel 2 --target wex-browser wex-desktop-files
rm -f "$dir"/wex-browser_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/wex-browser_*.deb

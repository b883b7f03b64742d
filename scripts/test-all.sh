#!/usr/bin/env bash
# Sets everything up and runs every test: the normal build, then the
# AddressSanitizer + UndefinedBehaviorSanitizer build, then the Debian
# package made from the normal build and checked in a scratch root.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
for preset in default asan; do
  echo "== $preset: configure and build"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  echo "== $preset: tests"
  ctest --preset "$preset" --timeout 600
done
echo "== package: build and check"
SKIP_DEPS=1 scripts/check-package.sh build

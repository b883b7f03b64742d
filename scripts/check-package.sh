#!/usr/bin/env bash
# Builds the Debian package (scripts/build-deb.sh), unpacks it into a scratch
# root with dpkg -x and checks that its files land where the desktop looks for
# them (scripts/check-install-tree.sh on ROOT/usr), that its program is
# stripped, and that its control data names the package, its version and the
# libraries it needs.
#
#   scripts/check-package.sh          the package of a Release build of its own (build-deb/)
#   scripts/check-package.sh BUILD    the package made from the build folder BUILD
#                                     (scripts/build-deb.sh --from BUILD)
set -euo pipefail
[ $# -le 1 ] || { echo "usage: $0 [BUILD]" >&2; exit 2; }
build=
[ $# -eq 0 ] || build="$(cd "$1" && pwd)"
cd "$(dirname "$0")/.."
REPO="$(pwd)"
version="$(sed -n 's/^project(WexBrowser VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
arch="$(dpkg --print-architecture)"

if [ -n "$build" ]; then
  deb="$(scripts/build-deb.sh --from "$build" | tail -n 1)"
else
  deb="$(scripts/build-deb.sh | tail -n 1)"
fi
[ "$(basename "$deb")" = "wex-browser_${version}_${arch}.deb" ] || { echo "FAIL: package named $deb"; exit 1; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch/root"
"$REPO/scripts/check-install-tree.sh" "$scratch/root/usr"

failures=0
# Stripped: no symbol table, no debugging sections.
if readelf -S "$scratch/root/usr/bin/wex-browser" | grep -qE '\.(symtab|debug_info)\b'; then
  echo "FAIL: usr/bin/wex-browser is not stripped"; failures=$((failures + 1))
fi
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = wex-browser ] || { echo "FAIL: Package $(field Package)"; failures=$((failures + 1)); }
[ "$(field Version)" = "$version" ] || { echo "FAIL: Version $(field Version)"; failures=$((failures + 1)); }
[ "$(field Architecture)" = "$arch" ] || { echo "FAIL: Architecture $(field Architecture)"; failures=$((failures + 1)); }
depends="$(field Depends)"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6dbus6 libc6 libstdc++6; do
  grep -q "\b$lib\b" <<<"$depends" || { echo "FAIL: Depends lacks $lib: $depends"; failures=$((failures + 1)); }
done
# Only what the package installs under /usr: nothing outside it.
outside="$(cd "$scratch/root" && find . -mindepth 1 -maxdepth 1 ! -name usr)"
[ -z "$outside" ] || { echo "FAIL: files outside /usr: $outside"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] || exit 1
echo "package complete: $deb"
echo "Depends: $depends"

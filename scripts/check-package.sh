#!/usr/bin/env bash
# Builds the Debian package (scripts/build-deb.sh), unpacks it into a scratch
# root with dpkg -x and checks that its files land where the desktop looks for
# them (scripts/check-install-tree.sh on ROOT/usr), and that its control data
# names the package, its version and the libraries it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
REPO="$(pwd)"
version="$(sed -n 's/^project(WexBrowser VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
arch="$(dpkg --print-architecture)"

deb="$(scripts/build-deb.sh | tail -n 1)"
[ "$(basename "$deb")" = "wex-browser_${version}_${arch}.deb" ] || { echo "FAIL: package named $deb"; exit 1; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch/root"
"$REPO/scripts/check-install-tree.sh" "$scratch/root/usr"

failures=0
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = wex-browser ] || { echo "FAIL: Package $(field Package)"; failures=$((failures + 1)); }
[ "$(field Version)" = "$version" ] || { echo "FAIL: Version $(field Version)"; failures=$((failures + 1)); }
[ "$(field Architecture)" = "$arch" ] || { echo "FAIL: Architecture $(field Architecture)"; failures=$((failures + 1)); }
depends="$(field Depends)"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libc6 libstdc++6; do
  grep -q "\b$lib\b" <<<"$depends" || { echo "FAIL: Depends lacks $lib: $depends"; failures=$((failures + 1)); }
done
# Only what the package installs under /usr: nothing outside it.
outside="$(cd "$scratch/root" && find . -mindepth 1 -maxdepth 1 ! -name usr)"
[ -z "$outside" ] || { echo "FAIL: files outside /usr: $outside"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] || exit 1
echo "package complete: $deb"
echo "Depends: $depends"

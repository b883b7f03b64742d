#!/usr/bin/env bash
# Checks an installed WEX Browser: every file where the desktop looks for it,
# each with valid content, and nothing else.
#
#   scripts/check-install-tree.sh PREFIX            an installed tree (e.g. ROOT/usr)
#   scripts/check-install-tree.sh --install BUILD   `cmake --install BUILD` into a scratch prefix first
set -euo pipefail
REPO="$(cd "$(dirname "$0")/.." && pwd)"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
if [ "${1-}" = --install ] && [ $# -eq 2 ]; then
  prefix="$scratch/prefix"
  cmake --install "$2" --prefix "$prefix" >/dev/null
elif [ $# -eq 1 ]; then
  prefix="$(cd "$1" && pwd)"
else
  echo "usage: $0 PREFIX | --install BUILD" >&2
  exit 2
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { [ -f "$prefix/$1" ] || fail "missing $1"; }

version="$(sed -n 's/^project(WexBrowser VERSION \([0-9.]*\).*/\1/p' "$REPO/CMakeLists.txt")"
sizes=(16 24 32 48 64 128 256)
expected=(
  bin/wex-browser
  share/applications/wex-browser.desktop
  share/metainfo/org.example.WexBrowser.metainfo.xml
  share/man/man1/wex-browser.1.gz
  share/icons/hicolor/scalable/apps/wex-browser.svg
)
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/wex-browser.png"); done
for file in "${expected[@]}"; do need "$file"; done
# Nothing else: no test, benchmark or build file in the tree.
extra="$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort | comm -23 - <(printf '%s\n' "${expected[@]}" | sort))"
[ -z "$extra" ] || fail "unexpected files: $extra"

# The program runs from the tree and answers the command line.
bin="$prefix/bin/wex-browser"
if [ -x "$bin" ]; then
  out="$("$bin" --version)" || fail "--version exits $?"
  [ "$out" = "wex-browser $version" ] || fail "--version prints '$out', not 'wex-browser $version'"
  mkdir -p "$scratch/folder"
  printf 'From: a@example.org\nSubject: s\n\nbody\n' > "$scratch/folder/1.ygm"
  listing="$("$bin" --list "$scratch/folder")" || fail "--list exits $?"
  [ "$(printf '%s\n' "$listing" | awk -F '\t' 'NF == 6 && $1 == "U" && $4 == "s"' | wc -l)" -eq 1 ] \
    || fail "--list prints '$listing'"
else
  fail "bin/wex-browser is not executable"
fi

# The desktop entry: valid, starting the installed program with its icon.
desktop="$prefix/share/applications/wex-browser.desktop"
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
  grep -qx 'Exec=wex-browser %F' "$desktop" || fail "Exec is not 'wex-browser %F'"
  grep -qx 'Icon=wex-browser' "$desktop" || fail "Icon is not wex-browser"
  grep -qx 'Categories=Network;Email;' "$desktop" || fail "Categories"
  for key in 'Name[ja]' 'Comment[ja]' GenericName Keywords Comment; do
    grep -q "^$(sed 's/[][]/\\&/g' <<<"$key")=." "$desktop" || fail "no $key"
  done
fi

# The metainfo: valid, launching this desktop entry.
metainfo="$prefix/share/metainfo/org.example.WexBrowser.metainfo.xml"
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" >/dev/null || { appstreamcli validate --no-net "$metainfo"; fail "appstreamcli validate"; }
  grep -q '<launchable type="desktop-id">wex-browser.desktop</launchable>' "$metainfo" || fail "metainfo launchable"
  grep -q '<screenshot type="default">' "$metainfo" || fail "metainfo has no screenshot"
fi

# The icons: the drawing, and PNGs of their stated sizes.
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/wex-browser.svg" 2>/dev/null || fail "the SVG icon is no SVG"
for size in "${sizes[@]}"; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/wex-browser.png"
  [ -f "$png" ] || continue
  # PNG signature, then the IHDR chunk's width and height (big-endian).
  read -r -a head <<<"$(od -An -tu1 -N24 -w24 "$png")"
  signature="${head[*]:0:8}"
  width=$(( (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19] ))
  height=$(( (head[20] << 24) | (head[21] << 16) | (head[22] << 8) | head[23] ))
  [ "$signature" = "137 80 78 71 13 10 26 10" ] || fail "$png is no PNG"
  [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] || fail "$png is ${width}x${height}"
done

# The manual page: renders without a warning, names itself, covers every command.
man="$prefix/share/man/man1/wex-browser.1.gz"
if [ -f "$man" ]; then
  warnings="$(zcat "$man" | groff -man -Tutf8 -ww -z 2>&1)"
  [ -z "$warnings" ] || fail "groff warnings: $warnings"
  lexgrog "$man" | grep -q 'wex-browser - ' || fail "lexgrog finds no NAME line"
  text="$(zcat "$man" | groff -man -Tutf8 -P-cbou 2>/dev/null)"
  for word in --list --unread --related --find --counts --help --version --sort --reverse --store HOME XDG_CONFIG_HOME WEX_SUITE \
              WEX_Preferences WEX_Root defaults.json "EXIT STATUS" EXAMPLES "wex-browser $version"; do
    grep -qF -- "$word" <<<"$text" || fail "the manual page does not mention $word"
  done
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed in $prefix"
  exit 1
fi
echo "installed tree complete: $prefix"

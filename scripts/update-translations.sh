#!/usr/bin/env bash
# Collects the texts marked for translation in src/ into the translation files
# (translations/wex-browser_<lang>.ts). Existing translations are kept; new
# texts come in unfinished, for a translator to fill in (Qt Linguist, or any
# editor); texts that left the code stay as "vanished" entries, reused if the
# text returns.
#
#   scripts/update-translations.sh                  update every translation file
#   scripts/update-translations.sh --drop-vanished  ... and drop vanished entries
#   scripts/update-translations.sh --ts FILE        update FILE instead (a copy, for checks)
#
# Texts are marked with tr("...") in QObject classes, and with
# QT_TRANSLATE_NOOP("WEX", "...") where a text is kept in a table or passed on
# before Localize() shows it.
set -euo pipefail
cd "$(dirname "$0")/.."

LUPDATE="${LUPDATE:-}"
if [ -z "$LUPDATE" ]; then
  for candidate in lupdate /usr/lib/qt6/bin/lupdate; do
    if command -v "$candidate" >/dev/null 2>&1; then LUPDATE="$candidate"; break; fi
  done
fi
if [ -z "$LUPDATE" ]; then
  echo "update-translations.sh: lupdate not found: install qt6-l10n-tools (scripts/install-deps.sh)" >&2
  exit 1
fi

options=(-silent -locations none -source-language en)
files=()
while [ $# -gt 0 ]; do
  case "$1" in
    --drop-vanished) options+=(-no-obsolete) ;;
    --ts) [ $# -ge 2 ] || { echo "usage: $0 [--drop-vanished] [--ts FILE]" >&2; exit 2; }
          files+=("$2"); shift ;;
    *) echo "usage: $0 [--drop-vanished] [--ts FILE]" >&2; exit 2 ;;
  esac
  shift
done
[ ${#files[@]} -gt 0 ] || files=(translations/wex-browser_*.ts)

for ts in "${files[@]}"; do
  # The language comes from the file's name: wex-browser_ja.ts -> ja.
  lang="$(basename "$ts" .ts)"; lang="${lang##*_}"
  "$LUPDATE" "${options[@]}" -target-language "$lang" -recursive src -ts "$ts"
done

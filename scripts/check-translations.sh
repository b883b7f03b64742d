#!/usr/bin/env bash
# Fails when a text marked for translation in src/ has no finished translation
# in translations/wex-browser_<lang>.ts, or when a text is passed to Localize()
# as a bare literal (lupdate cannot collect it: mark it with
# QT_TRANSLATE_NOOP("WEX", ...)). The files themselves are not changed:
# lupdate runs over copies.
set -euo pipefail
cd "$(dirname "$0")/.."

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
status=0

bare="$(grep -rnE 'Localize\(\s*"' src || true)"
if [ -n "$bare" ]; then
  echo "Texts passed to Localize() without QT_TRANSLATE_NOOP(\"WEX\", ...):"
  echo "$bare"
  status=1
fi

for ts in translations/wex-browser_*.ts; do
  copy="$scratch/$(basename "$ts")"
  cp "$ts" "$copy"
  scripts/update-translations.sh --ts "$copy"
  # One report line per message whose translation is unfinished or empty.
  # lupdate writes one element per line; a source text may span lines.
  missing="$(awk '
    /<message/ { source = ""; insource = 0 }
    /<source>/ { insource = 1 }
    insource { source = source (source == "" ? "" : "\\n") $0 }
    /<\/source>/ { insource = 0 }
    /<translation/ {
      if ($0 ~ /type="unfinished"/ || $0 ~ /<translation><\/translation>/ || $0 ~ /<translation\/>/) {
        gsub(/^[ \t]*<source>|<\/source>$/, "", source)
        print "  " source
      }
    }' "$copy")"
  if [ -n "$missing" ]; then
    echo "$ts: texts without a finished translation (run scripts/update-translations.sh, then translate):"
    echo "$missing"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "translations complete"
exit "$status"

#!/usr/bin/env bash
# Find-and-count benchmark. Over a store of N mails in 20 folders:
# `wex-browser --find from:WORD` from the header cache, beside mblaze
# (`mlist | mpick -t 'from =~ "WORD"'`) and notmuch (`notmuch search
# from:WORD`, after a `notmuch new` that is timed on its own), and the unread
# counts of the 20 folders (`wex-browser --counts`), side by side in one run.
# Then the quick filter's keystrokes (bench/filter_bench) over the N mails
# as one folder: WORD typed letter by letter and taken back, R times.
#
#   bench/find-bench.sh [--runs R] [N]      (default: --runs 10 100000)
#
# Builds what it needs with the "default" preset, writes N synthetic mails
# (bench/make_synthetic_store, cached under build/bench-data/N) and spreads
# hard links to them over 20 folders (build/bench-data/find-N). Prints a
# Markdown table for docs/PERFORMANCE.md. Nothing outside build/ is written.
set -euo pipefail

RUNS=10
N=100000
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) RUNS="$2"; shift 2 ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *[!0-9]*|"") echo "usage: bench/find-bench.sh [--runs R] [N]" >&2; exit 2 ;;
    *) N="$1"; shift ;;
  esac
done

cd "$(dirname "$0")/.."
REPO="$(pwd)"
BUILD="${BENCH_BUILD_DIR:-$REPO/build}"
DATA="$BUILD/bench-data"
command -v hyperfine > /dev/null || { echo "find-bench: 'hyperfine' is missing; run scripts/install-deps.sh" >&2; exit 1; }

echo "== build" >&2
[ -f "$BUILD/CMakeCache.txt" ] || cmake --preset default > /dev/null
cmake --build "$BUILD" -j2 --target wex-browser make_synthetic_store filter_bench > /dev/null
WEX="$BUILD/wex-browser"

mails="$DATA/$N"
if [ "$(cat "$mails/complete" 2> /dev/null)" != "$N" ]; then
  echo "== generating $N mails in $mails" >&2
  rm -rf -- "$mails"
  "$BUILD/bench/make_synthetic_store" "$N" "$mails" >&2
fi
FIND="$DATA/find-$N"
STORE="$FIND/store"
if [ "$(cat "$FIND/complete" 2> /dev/null)" != "$N" ]; then
  echo "== spreading the mails over 20 folders in $STORE" >&2
  rm -rf -- "$FIND"
  mkdir -p "$FIND/lists"
  (cd "$mails/wex" && ls) | split -n r/20 -d - "$FIND/lists/"
  for list in "$FIND/lists/"*; do
    folder="$STORE/Folder$(basename "$list")"
    mkdir -p "$folder"
    (cd "$mails/wex" && xargs -a "$list" ln -t "$folder")
  done
  echo "$N" > "$FIND/complete"
fi
export HOME="$DATA/env/home" XDG_CONFIG_HOME="$DATA/env/home/.config" XDG_CACHE_HOME="$FIND/cache" LC_ALL=C.UTF-8
mkdir -p "$HOME"

# A sender word of the first listed mail: a real word, found in some mails.
WORD="$("$WEX" --list "$STORE/Folder00" --sort none | awk 'NR == 1' | cut -f2 | tr -c 'A-Za-z\n' ' ' | awk '{ for (i = 1; i <= NF; i++) if (length($i) >= 4) { print tolower($i); exit } }')"
[ -n "$WORD" ] || { echo "find-bench: no sender word found" >&2; exit 1; }
echo "== the word: $WORD; warming the page cache and the header cache" >&2
"$WEX" --find "from:$WORD" --store "$STORE" > /dev/null
FOUND="$("$WEX" --find "from:$WORD" --store "$STORE" | wc -l)"

names=(-n find "'$WEX' --find 'from:$WORD' --store '$STORE'" -n counts "'$WEX' --counts --store '$STORE'")
MBLAZE=""
if command -v mlist > /dev/null && command -v mpick > /dev/null; then
  names+=(-n mblaze "mlist '$STORE'/Folder* 2> /dev/null | mpick -t 'from =~ \"$WORD\"'")
  MBLAZE=1
fi
NOTMUCH_NEW=""
if command -v notmuch > /dev/null; then
  export NOTMUCH_CONFIG="$FIND/notmuch-config"
  printf '[database]\npath=%s\n[new]\ntags=\n[maildir]\nsynchronize_flags=false\n' "$STORE" > "$NOTMUCH_CONFIG"
  rm -rf -- "$STORE/.notmuch"
  start=$(date +%s.%N)
  notmuch new --quiet > /dev/null 2>&1
  NOTMUCH_NEW="$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')"
  names+=(-n notmuch "notmuch search --output=files from:$WORD")
fi

csv="$FIND/result.csv"
echo "== timing, $RUNS runs each" >&2
"$WEX" --counts --store "$STORE" > /dev/null
hyperfine --style basic --warmup 2 --runs "$RUNS" --export-csv "$csv" --output=null "${names[@]}" >&2
median_ms() { awk -F, -v n="$1" '$1 == n { printf "%.0f", $4 * 1000 }' "$csv"; }
cpu_ms() { awk -F, -v n="$1" '$1 == n { printf "%.0f", ($5 + $6) * 1000 }' "$csv"; }

echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(uname -sr);" \
  "file system $(stat -f -c %T "$DATA"); load average at the end $(cut -d' ' -f1-3 /proc/loadavg); warm caches."
echo
echo "| Command ($N mails in 20 folders, \"from:$WORD\", $FOUND found) | Wall ms (median of $RUNS) | CPU ms (mean) | Target |"
echo "|---|---:|---:|---|"
echo "| \`wex-browser --find from:$WORD\` (header cache) | $(median_ms find) | $(cpu_ms find) | under 500 ms |"
[ -z "$MBLAZE" ] || echo "| \`mlist | mpick -t 'from =~ \"$WORD\"'\` | $(median_ms mblaze) | $(cpu_ms mblaze) | |"
[ -z "$NOTMUCH_NEW" ] || echo "| \`notmuch search from:$WORD\` (after \`notmuch new\`: ${NOTMUCH_NEW} s) | $(median_ms notmuch) | $(cpu_ms notmuch) | |"
echo "| \`wex-browser --counts\` (20 folders of $((N / 20))) | $(median_ms counts) | $(cpu_ms counts) | under 100 ms |"

echo "== the quick filter over $N mails in one folder, typing '$WORD', $RUNS times" >&2
filter="$("$BUILD/bench/filter_bench" "$mails/wex" "$WORD" "$RUNS" 2> /dev/null)"
result() { awk -v n="$1" '$1 == "result" && $2 == n { print $3 + 0 }' <<< "$filter"; }
echo
echo "| Quick filter keystroke ($(result rows) rows, '$WORD' leaves $(result found)) | Median ms | Worst ms | Target |"
echo "|---|---:|---:|---|"
echo "| narrowing (a letter typed) | $(result narrowing_median_ms) | $(result narrowing_worst_ms) | under 30 ms |"
echo "| broadening (a letter taken back) | $(result broadening_median_ms) | $(result broadening_worst_ms) | under 30 ms |"

#!/usr/bin/env bash
# Unread and related lists benchmark: `wex-browser --unread` next to
# `wex-browser --list` of a folder holding the same mails, and
# `wex-browser --related` on the deepest thread, side by side in one run.
#
#   bench/lists-bench.sh [--runs R] [N]      (default: --runs 10 20000)
#
# Builds what it needs with the "default" preset, writes N synthetic mails
# (bench/make_synthetic_store, cached under build/bench-data/N) and the store of
# this benchmark from them (bench/make_list_store, cached under
# build/bench-data/lists-N): N mails in folders of 1,000, an unread alias to
# every tenth mail, reference folders for threads of 2 to 50 mails, and a
# folder of hard links to the unread mails. Warms the page cache, times the
# three commands with hyperfine (output to /dev/null), then --list against
# --unread in alternating pairs (bench/cpu_pairs), and prints a Markdown table
# for docs/PERFORMANCE.md; the verdicts go by CPU time. Nothing outside build/
# is written.
set -euo pipefail

RUNS=10
N=20000
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) RUNS="$2"; shift 2 ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *[!0-9]*|"") echo "usage: bench/lists-bench.sh [--runs R] [N]" >&2; exit 2 ;;
    *) N="$1"; shift ;;
  esac
done

cd "$(dirname "$0")/.."
REPO="$(pwd)"
BUILD="${BENCH_BUILD_DIR:-$REPO/build}"
DATA="$BUILD/bench-data"
command -v hyperfine > /dev/null || { echo "lists-bench: 'hyperfine' is missing; run scripts/install-deps.sh" >&2; exit 1; }

echo "== build" >&2
if [ -z "${BENCH_BUILD_DIR-}" ]; then
  [ -f "$BUILD/CMakeCache.txt" ] || cmake --preset default > /dev/null
  cmake --build --preset default --target wex-browser make_synthetic_store make_list_store cpu_pairs > /dev/null
else
  cmake --build "$BUILD" -j2 --target wex-browser make_synthetic_store make_list_store cpu_pairs > /dev/null
fi
WEX="$BUILD/wex-browser"

mails="$DATA/$N"
if [ "$(cat "$mails/complete" 2> /dev/null)" != "$N" ]; then
  echo "== generating $N mails in $mails" >&2
  rm -rf -- "$mails"
  "$BUILD/bench/make_synthetic_store" "$N" "$mails" >&2
fi
lists="$DATA/lists-$N"
if [ "$(cat "$lists/complete" 2> /dev/null)" != "$N" ]; then
  echo "== writing the store of the lists in $lists" >&2
  "$BUILD/bench/make_list_store" "$mails/wex" "$lists" >&2
fi
STORE="$lists/store"
DEEPEST="$(cat "$lists/deepest")"
export HOME="$DATA/env/home" XDG_CONFIG_HOME="$DATA/env/home/.config" LC_ALL=C.UTF-8
mkdir -p "$HOME"

declare -A CMD=(
  [list]="'$WEX' --list '$lists/unread'"
  [unread]="'$WEX' --unread --store '$STORE'"
  [related]="'$WEX' --related '$DEEPEST' --store '$STORE'"
)
declare -A LINES=([list]=$((N / 10)) [unread]=$((N / 10)) [related]=50)
echo "== checking the outputs and warming the page cache" >&2
cat -- "$STORE"/Folders/*/* > /dev/null
for t in list unread related; do
  got="$(sh -c "${CMD[$t]}" | wc -l)"
  [ "$got" = "${LINES[$t]}" ] || { echo "lists-bench: $t gave $got lines, not ${LINES[$t]}" >&2; exit 1; }
done
# The same titles: the unread list is the folder's listing with other paths
# (mails of equal date may come in another order).
if ! diff <(sh -c "${CMD[list]}" | cut -f1-5 | sort) <(sh -c "${CMD[unread]}" | cut -f1-5 | sort) > /dev/null; then
  echo "lists-bench: --unread and --list disagree on the titles" >&2; exit 1
fi

csv="$DATA/lists-result-$N.csv"
echo "== timing, $RUNS runs each" >&2
hyperfine --style basic --warmup 2 --runs "$RUNS" --export-csv "$csv" \
  -n list "${CMD[list]}" -n unread "${CMD[unread]}" -n related "${CMD[related]}" >&2
# The ratio is taken from runs in alternating pairs (bench/cpu_pairs), so
# that a load coming and going on a shared machine falls on both alike.
echo "== --list and --unread in $((2 * RUNS)) alternating pairs" >&2
pairs="$("$BUILD/bench/cpu_pairs" "$((2 * RUNS))" "$WEX" --list "$lists/unread" --vs "$WEX" --unread --store "$STORE")"
echo "$pairs" >&2

median_ms() { awk -F, -v n="$2" '$1 == n { printf "%.1f", $4 * 1000 }' "$1"; }
cpu_ms() { awk -F, -v n="$2" '$1 == n { printf "%.1f", ($5 + $6) * 1000 }' "$1"; }
pair() { echo "$pairs" | awk -v row="$1" -v col="$2" '$1 == row { print $col }'; }
verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v <= t) ? "met" : "not met" }'; }

R="$(median_ms "$csv" related)" RC="$(cpu_ms "$csv" related)"
echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(uname -sr);" \
  "file system $(stat -f -c %T "$DATA"); load average at the end $(cut -d' ' -f1-3 /proc/loadavg);" \
  "warm page cache."
echo
# Verdicts are judged on CPU time: on a shared machine the wall clock also
# measures the other processes.
echo "| Measure | CPU ms | Wall ms | Compared with | Ratio CPU / wall | Target | Verdict |"
echo "|---|---:|---:|---|---:|---|---|"
echo "| \`--unread\`: $((N / 10)) aliases of a $N-mail store (medians of $((2 * RUNS)) alternating pairs) |" \
  "$(pair B 2) | $(pair B 3) | \`--list\` of a folder of the same $((N / 10)) mails: $(pair A 2) ms CPU, $(pair A 3) ms wall |" \
  "$(pair ratio 2) / $(pair ratio 3) | at most 1.2 | $(verdict "$(pair ratio 2)" 1.2) |"
echo "| \`--related\` on the first mail of a 50-mail thread, 49 levels down (CPU mean, wall median of $RUNS runs) |" \
  "$RC | $R | | | under 50 ms | $(verdict "$RC" 50) |"

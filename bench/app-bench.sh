#!/usr/bin/env bash
# Application benchmark: the desktop program itself (offscreen), driven the way
# a user drives it, on the synthetic mail folders of the scan benchmark.
#
#   bench/app-bench.sh [--runs R] [--mails N] [--memory-mails M]
#                                        (defaults: --runs 7 --mails 20000 --memory-mails 100000)
#
#  1. a click on a folder of N mails in the folder browser until the title
#     table has selected its first unread mail and the table and the mail text
#     are painted, against `wex-browser --list` of the same folder run as a
#     child process in the same run (R runs each, alternating, medians);
#  2. selecting a 5 MB mail (Shift_JIS, ISO-2022-JP, UTF-8) until its text is
#     set, and until it is painted (medians of R);
#  3. next-mail, previous-mail and page-of-mails key presses over the N mails
#     with inotify watching the folder: time per move and folder accesses;
#  4. VmRSS and VmHWM of a fresh process once a folder of M mails is open.
#
# Each click opens a fresh hard-link copy (cp -al) of the generated folder,
# since showing a mail renames it. Folders are generated once under
# BUILD/bench-data/N (or reused from build/bench-data/N when complete). Prints a
# Markdown table for docs/PERFORMANCE.md. Nothing outside BUILD is written; the
# program runs with a scratch HOME under BUILD/app-bench-work.
set -euo pipefail

RUNS=7 MAILS=20000 MEMORY_MAILS=100000
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) RUNS="$2"; shift 2 ;;
    --mails) MAILS="$2"; shift 2 ;;
    --memory-mails) MEMORY_MAILS="$2"; shift 2 ;;
    -h|--help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "usage: bench/app-bench.sh [--runs R] [--mails N] [--memory-mails M]" >&2; exit 2 ;;
  esac
done
for v in "$RUNS" "$MAILS" "$MEMORY_MAILS"; do
  case "$v" in *[!0-9]*|"") echo "app-bench: counts must be numbers" >&2; exit 2 ;; esac
done

cd "$(dirname "$0")/.."
REPO="$(pwd)"
# BENCH_BUILD_DIR selects another configured build folder; by default the
# "default" preset's build/ is used, as by scan-bench.sh.
BUILD="$(cd "${BENCH_BUILD_DIR:-$REPO/build}" 2> /dev/null && pwd || echo "${BENCH_BUILD_DIR:-$REPO/build}")"
echo "== build" >&2
if [ -z "${BENCH_BUILD_DIR-}" ]; then
  [ -f "$BUILD/CMakeCache.txt" ] || cmake --preset default > /dev/null
  cmake --build --preset default --target wex-browser app_bench make_synthetic_store read_all > /dev/null
else
  cmake --build "$BUILD" -j2 --target wex-browser app_bench make_synthetic_store read_all > /dev/null
fi
WEX="$BUILD/wex-browser" BENCH="$BUILD/bench/app_bench"
GEN="$BUILD/bench/make_synthetic_store" READ_ALL="$BUILD/bench/read_all"

# folder_of N: the wex folder of N generated mails, generated when missing.
folder_of() {
  local n="$1" own="$BUILD/bench-data/$1" shared="$REPO/build/bench-data/$1"
  if [ "$(cat "$own/complete" 2> /dev/null)" = "$n" ]; then echo "$own/wex"; return; fi
  if [ "$(cat "$shared/complete" 2> /dev/null)" = "$n" ]; then echo "$shared/wex"; return; fi
  echo "== generating $n mails in $own" >&2
  rm -rf -- "$own"
  "$GEN" "$n" "$own" >&2
  echo "$own/wex"
}
FOLDER="$(folder_of "$MAILS")"
BIG="$(folder_of "$MEMORY_MAILS")"

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# Both sides of the click-against-listing comparison read every mail: each
# click opens a fresh copy of the folder, which no header cache knows, while
# the listing would otherwise be served from its cache after the first run.
# (bench/scan-bench.sh measures the cache.)
export WEX_NO_CACHE=1
WORK="$BUILD/app-bench-work"
rm -rf -- "$WORK"
mkdir -p "$WORK/runtime"
chmod 700 "$WORK/runtime"
export XDG_RUNTIME_DIR="$WORK/runtime"
trap 'rm -rf -- "$WORK"' EXIT

lines="$("$WEX" --list "$FOLDER" | wc -l)"
[ "$lines" = "$MAILS" ] || { echo "app-bench: wex-browser --list gave $lines lines for $MAILS mails" >&2; exit 1; }
echo "== warming the page cache" >&2
"$READ_ALL" "$FOLDER" > /dev/null
"$READ_ALL" "$BIG" > /dev/null

echo "== timing (click, 5 MB mails, keys), $RUNS runs" >&2
"$BENCH" timing "$WORK/timing" "$FOLDER" "$WEX" "$RUNS" > "$WORK/timing.txt"
# Memory and the event loop's stalls as a user meets them: with the header
# cache (in the scratch home), first load and then from the cache.
echo "== memory and stalls with $MAILS and $MEMORY_MAILS mails" >&2
env -u WEX_NO_CACHE "$BENCH" memory "$WORK/memory-small" "$FOLDER" | sed 's/result memory_/result small_/' > "$WORK/memory-small.txt"
env -u WEX_NO_CACHE "$BENCH" memory "$WORK/memory" "$BIG" > "$WORK/memory.txt"
rm -rf -- "$WORK/timing" "$WORK/memory" "$WORK/memory-small" # the hard-link copies

declare -A R
while read -r tag name value; do
  [ "$tag" = result ] && R[$name]="$value"
done < <(cat "$WORK/timing.txt" "$WORK/memory.txt" "$WORK/memory-small.txt")
for key in click_wall_ms list_wall_ms memory_hwm_mb memory_stall_ms small_hwm_mb key_folder_accesses large_sjis_painted_ms; do
  [ -n "${R[$key]-}" ] || { echo "app-bench: no result '$key'" >&2; exit 1; }
done

f0() { awk -v a="$1" 'BEGIN { printf "%.0f", a }'; }
f1() { awk -v a="$1" 'BEGIN { printf "%.1f", a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b; else printf "n/a" }'; }
verdict() { awk -v a="$1" -v b="$2" 'BEGIN { print (a + 0 <= b + 0) ? "met" : "missed" }'; }
mb() { awk -v a="$1" 'BEGIN { printf "%.1f", a / 1048576 }'; }

echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(uname -sr);" \
  "Qt $(dpkg-query -W -f='${Version}' libqt6core6 2> /dev/null || echo '?'), QT_QPA_PLATFORM=offscreen;" \
  "load average at the end $(cut -d' ' -f1-3 /proc/loadavg); warm page cache; medians of $RUNS runs."
echo
click_ratio="$(ratio "${R[click_wall_ms]}" "${R[list_wall_ms]}")"
cpu_ratio="$(ratio "${R[click_cpu_ms]}" "${R[list_cpu_ms]}")"
echo "| Measure | Figure | Compared with | Ratio | Target | Verdict |"
echo "|---|---:|---|---:|---|---|"
echo "| Click on a folder of $(f0 "${R[click_rows]}") mails until its first unread row (row $(f0 "${R[click_first_unread_row]}")) is selected, the mail shown and both painted | $(f0 "${R[click_wall_ms]}") ms ($(f0 "${R[click_cpu_ms]}") ms CPU) | \`wex-browser --list\` of the same folder: $(f0 "${R[list_wall_ms]}") ms ($(f0 "${R[list_cpu_ms]}") ms CPU) | $click_ratio (CPU $cpu_ratio) | at most 1.3 | $(verdict "$click_ratio" 1.3) |"
echo "| ... of which the click's own handling (browser column, window named, load started; the scan runs on after it) | $(f0 "${R[click_load_ms]}") ms | | | | |"
for k in sjis:Shift_JIS jis:ISO-2022-JP utf8:UTF-8; do
  key="${k%%:*}" label="${k#*:}"
  p="${R[large_${key}_painted_ms]}" s="${R[large_${key}_set_ms]}"
  echo "| Selecting a $(mb "${R[large_${key}_bytes]}") MB $label mail ($(f0 "${R[large_${key}_characters]}") characters): text set / painted (whole text in the view) | $(f0 "$s") / $(f0 "$p") ($(f0 "${R[large_${key}_whole_ms]}")) ms | 200 ms | $(ratio "$p" 200) | at most 200 ms painted | $(verdict "$p" 200) |"
done
for k in next:"next mail (Alt+N)" prev:"previous mail (Alt+P)" pagedown:"page of mails down (Alt+PageDown)" pageup:"page of mails up (Alt+PageUp)"; do
  key="${k%%:*}" label="${k#*:}"
  echo "| Key move with $(f0 "${R[click_rows]}") rows, $label: median / slowest, until painted | $(f1 "${R[key_${key}_median_ms]}") / $(f0 "${R[key_${key}_max_ms]}") ms | | | | |"
done
echo "| Folder accesses (inotify IN_OPEN, IN_ACCESS, IN_MODIFY on the folder itself or on any file but the mail shown) during $(f0 "${R[key_moves]}") key moves | $(f0 "${R[key_folder_accesses]}") | events of the shown mail's own file: $(f0 "${R[key_shown_mail_accesses]}"); one listing of the folder, as a check of the watch: $(f0 "${R[key_probe_listing_events]}") events | | 0 | $(verdict "${R[key_folder_accesses]}" 0) |"
echo "| Memory with a folder of $(f0 "${R[memory_rows]}") mails open: VmRSS / VmHWM (before the click: $(f0 "${R[memory_rss_before_mb]}") MB) | $(f0 "${R[memory_rss_mb]}") / $(f0 "${R[memory_hwm_mb]}") MB | 150 MB | $(ratio "${R[memory_hwm_mb]}" 150) | under 150 MB | $(verdict "${R[memory_hwm_mb]}" 149.999) |"
echo "| Longest stall of the event loop while a folder of $(f0 "${R[memory_rows]}") mails loads by a click (first load / from the cache); the click itself returned after | $(f0 "${R[memory_stall_ms]}") / $(f0 "${R[memory_again_stall_ms]}") ms; $(f1 "${R[memory_click_return_ms]}") ms | whole load until painted: $(f0 "${R[memory_click_ms]}") / $(f0 "${R[memory_again_click_ms]}") ms | | under 50 ms | $(verdict "$(awk -v a="${R[memory_stall_ms]}" -v b="${R[memory_again_stall_ms]}" 'BEGIN { print (a > b) ? a : b }')" 49.999) |"
echo "| Memory after a click elsewhere and the second load (from the cache): VmRSS / VmHWM (away: $(f0 "${R[memory_away_rss_mb]}") MB) | $(f0 "${R[memory_again_rss_mb]}") / $(f0 "${R[memory_again_hwm_mb]}") MB | 150 MB | $(ratio "${R[memory_again_hwm_mb]}" 150) | under 150 MB | $(verdict "${R[memory_again_hwm_mb]}" 149.999) |"
growth="$(awk -v a="${R[memory_hwm_mb]}" -v b="${R[small_hwm_mb]}" -v na="${R[memory_rows]}" -v nb="${R[small_rows]}" -v base="${R[small_rss_before_mb]}" 'BEGIN { if (nb > 0 && na > nb) printf "%.2f MB per 1,000 mails from %d to %d mails (VmHWM %.0f and %.0f MB; %.0f MB before any folder)", (a - b) * 1000 / (na - nb), nb, na, b, a, base }')"
echo "| Memory growth with the folder's size (first load) | $growth | | | linear | |"
[ "${R[key_not_painted]%.*}" = 0 ] || echo "Note: ${R[key_not_painted]} key moves were not followed by a paint within 5 s."

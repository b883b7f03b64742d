#!/usr/bin/env bash
# Download benchmark: how long the main thread stalls while a download is
# watched (the real watch, the real `ps`, a stand-in downloader).
#
#   bench/download-bench.sh [--seconds S] [--check-ms C] [--runs R]
#                                (defaults: --seconds 20 --check-ms 2000 --runs 3)
#
# Each run watches one download of a stand-in `java` that runs S seconds,
# looking every C ms, and records the gaps of a 1 ms timer on the main thread.
# Prints a Markdown table for docs/PERFORMANCE.md. Builds `download_bench` in
# the default preset's build/ (or BENCH_BUILD_DIR) when needed.
set -euo pipefail

SECONDS_RUN=20 CHECK_MS=2000 RUNS=3
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) SECONDS_RUN="$2"; shift 2 ;;
    --check-ms) CHECK_MS="$2"; shift 2 ;;
    --runs) RUNS="$2"; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "usage: bench/download-bench.sh [--seconds S] [--check-ms C] [--runs R]" >&2; exit 2 ;;
  esac
done
for v in "$SECONDS_RUN" "$CHECK_MS" "$RUNS"; do
  case "$v" in *[!0-9]*|"") echo "download-bench: values must be numbers" >&2; exit 2 ;; esac
done

cd "$(dirname "$0")/.."
BUILD="${BENCH_BUILD_DIR:-build}"
if [ ! -x "$BUILD/bench/download_bench" ]; then
  [ -d "$BUILD" ] || cmake --preset default
  cmake --build "$BUILD" -j2 --target download_bench
fi

OUT="$(mktemp)"
trap 'rm -f -- "$OUT"' EXIT
for run in $(seq 1 "$RUNS"); do
  echo "download-bench: run $run of $RUNS ($SECONDS_RUN s)" >&2
  "$BUILD/bench/download_bench" "$SECONDS_RUN" "$CHECK_MS" | sed "s/^result /$run /" >> "$OUT"
done

# Worst over the runs for the longest gaps, medians for the rest.
awk -v runs="$RUNS" '
  { v[$2] = v[$2] " " $3; if (!($2 in max) || $3 > max[$2]) max[$2] = $3 }
  function median(list,   a, n) { n = split(list, a, " "); asort(a); return a[int((n + 1) / 2)] }
  END {
    printf "Machine: %d cores; load average %s\n\n", "'"$(nproc)"'", "'"$(cut -d" " -f1-3 /proc/loadavg)"'"
    print "| Measure | Figure | Target | Verdict |"
    print "|---|---:|---|---|"
    printf "| Watch of a %d s download, looked at every %d ms (%d runs): looks per run | %.0f | | |\n", max["seconds"], max["check_ms"], runs, median(v["looks"])
    printf "| Longest stall of the main thread during the watch, worst run (1 ms timer: gap minus 1 ms) | %.1f ms | under 5 ms per look | %s |\n", max["watched_longest_gap_ms"] - 1, (max["watched_longest_gap_ms"] - 1 < 5 ? "met" : "missed")
    printf "| ... 99th percentile / median gap during the watch | %.2f / %.2f ms | | |\n", median(v["watched_p99_gap_ms"]), median(v["watched_median_gap_ms"])
    printf "| Longest gap with the event loop idle (the floor of the measurement), worst run | %.1f ms | | |\n", max["idle_longest_gap_ms"] - 1
    printf "| One look run blocking (three probes, each waited for), median | %.1f ms | | |\n", median(v["blocking_look_ms"])
  }' "$OUT"

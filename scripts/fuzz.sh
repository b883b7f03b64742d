#!/usr/bin/env bash
# Runs one libFuzzer target for a while: scripts/fuzz.sh TARGET SECONDS
# (TARGET is the name of a fuzz/*.cpp file, e.g. fuzz_date).
# Builds the "fuzz" preset (clang) into build-fuzz, keeps the corpus in
# build-fuzz/corpus/TARGET and any crash input in build-fuzz/crashes/TARGET.
# Exits non-zero when the fuzzer found a crash.
set -euo pipefail
if [ $# -ne 2 ] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: $0 TARGET SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "$target"

corpus="$root/build-fuzz/corpus/$target"
crashes="$root/build-fuzz/crashes/$target"
mkdir -p "$corpus" "$crashes"
log="$root/build-fuzz/$target.log"

status=0
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$root/build-fuzz/fuzz/$target" "$corpus" \
    -max_total_time="$seconds" -max_len="${FUZZ_MAX_LEN:-4096}" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$crashes/" -print_final_stats=1 >"$log" 2>&1 || status=$?

echo "== $target: ${seconds}s, corpus $(find "$corpus" -type f | wc -l) inputs"
grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "== CRASH (exit $status); log: $log"
  grep -E 'ERROR|SUMMARY|Test unit written' "$log" || tail -n 40 "$log"
  exit 1
fi
echo "== no crash; log: $log"

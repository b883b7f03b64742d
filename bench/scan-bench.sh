#!/usr/bin/env bash
# Folder scan benchmark: how long listing one mail folder takes with
# `wex-browser --list` (the first listing, which reads every mail with both
# cores and fills the header cache; a listing from the cache; a listing with
# --no-cache), next to nmh `scan`, mblaze `mlist | mscan` and a bare loop that
# reads every byte of every file (the floor), on the same files.
#
#   bench/scan-bench.sh [--runs R] [N ...]      (default: --runs 5 5000 20000 100000)
#
# Builds what it needs with the "default" preset, writes the synthetic folders
# once (cached under build/bench-data/N; delete that folder to regenerate),
# warms the page cache, then times every tool R times per N with hyperfine
# (median, output to /dev/null) and measures each one's peak RSS with GNU
# time. Prints a Markdown table for docs/PERFORMANCE.md and a linearity
# verdict. Nothing outside build/ is written: nmh and mblaze get a profile of
# their own under build/bench-data/env, HOME and XDG_CACHE_HOME point there as
# well (the header cache lives in build/bench-data/env/cache).
set -euo pipefail

RUNS=5
SIZES=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) RUNS="$2"; shift 2 ;;
    -h|--help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *[!0-9]*|"") echo "usage: bench/scan-bench.sh [--runs R] [N ...]" >&2; exit 2 ;;
    *) SIZES+=("$1"); shift ;;
  esac
done
[ ${#SIZES[@]} -gt 0 ] || SIZES=(5000 20000 100000)

cd "$(dirname "$0")/.."
REPO="$(pwd)"
# BENCH_BUILD_DIR selects another configured build folder (for developers who
# keep their own); by default the "default" preset's build/ is used.
BUILD="${BENCH_BUILD_DIR:-$REPO/build}"
DATA="$BUILD/bench-data"

need() { command -v "$1" > /dev/null 2>&1 || { echo "scan-bench: '$1' is missing; run scripts/install-deps.sh" >&2; exit 1; }; }
need hyperfine; need mlist; need mscan
[ -x /usr/bin/time ] || { echo "scan-bench: GNU time (/usr/bin/time) is missing; run scripts/install-deps.sh" >&2; exit 1; }
NMH_SCAN="$(command -v scan 2> /dev/null || true)"
[ -n "$NMH_SCAN" ] || NMH_SCAN=/usr/bin/mh/scan
[ -x "$NMH_SCAN" ] || { echo "scan-bench: nmh 'scan' is missing; run scripts/install-deps.sh" >&2; exit 1; }

echo "== build" >&2
if [ -z "${BENCH_BUILD_DIR-}" ]; then
  [ -f "$BUILD/CMakeCache.txt" ] || cmake --preset default > /dev/null
  cmake --build --preset default --target wex-browser make_synthetic_store read_all > /dev/null
else
  cmake --build "$BUILD" -j2 --target wex-browser make_synthetic_store read_all > /dev/null
fi
WEX="$BUILD/wex-browser"
GEN="$BUILD/bench/make_synthetic_store"
READ_ALL="$BUILD/bench/read_all"

# Private settings for the tools: nothing reads or writes the real home.
ENVDIR="$DATA/env"
mkdir -p "$ENVDIR/mh" "$ENVDIR/mblaze" "$ENVDIR/home"
printf 'Path: %s\n' "$ENVDIR/mh" > "$ENVDIR/mh_profile"
: > "$ENVDIR/mblaze/seq"
export MH="$ENVDIR/mh_profile" MHCONTEXT="$ENVDIR/mh/context" MBLAZE="$ENVDIR/mblaze"
export HOME="$ENVDIR/home" XDG_CONFIG_HOME="$ENVDIR/home/.config" XDG_CACHE_HOME="$ENVDIR/cache" LC_ALL=C.UTF-8
unset WEX_NO_CACHE
LOAD_START="$(cut -d' ' -f1-3 /proc/loadavg)"

for n in "${SIZES[@]}"; do
  dir="$DATA/$n"
  if [ "$(cat "$dir/complete" 2> /dev/null)" != "$n" ]; then
    echo "== generating $n mails in $dir" >&2
    rm -rf -- "$dir"
    "$GEN" "$n" "$dir" >&2
  fi
done

# count_lines CMD...: runs CMD, prints the number of lines of its output, or
# "fail" when it exits with an error.
count_lines() { local out; out="$("$@" 2> /dev/null | wc -l; exit "${PIPESTATUS[0]}")" && echo "$out" || echo fail; }
# peak_rss_mb CMD...: peak resident set of CMD (the largest process of a pipeline), MB.
peak_rss_mb() {
  local f; f="$(mktemp)"
  /usr/bin/time -f %M -o "$f" "$@" > /dev/null 2>&1 || true
  awk '{ printf "%.1f", $1 / 1024 }' "$f"; rm -f -- "$f"
}
# median_s CSV NAME: the median wall seconds hyperfine measured for NAME;
# cpu_s CSV NAME: its mean user + system seconds (less disturbed by a busy machine).
median_s() { awk -F, -v n="$2" '$1 == n { printf "%.3f", $4 }' "$1"; }
cpu_s() { awk -F, -v n="$2" '$1 == n { printf "%.3f", $5 + $6 }' "$1"; }

declare -A T C R
# wex: the first listing (the folder's cache file removed before each run);
# cached: the same listing with the cache in place; nocache: --no-cache.
TOOLS=(wex cached nocache nmh mblaze readall statall)
for n in "${SIZES[@]}"; do
  dir="$DATA/$n"
  echo "== N=$n: warm the page cache and check every tool reads all $n mails" >&2
  "$READ_ALL" "$dir/wex" > /dev/null
  ls -f "$dir/mh" "$dir/maildir/cur" > /dev/null

  # The cache file of this folder: the only one the listing writes.
  cache_file="$XDG_CACHE_HOME/wex-browser/$(printf '%s' "$dir/wex" | sha1sum | cut -c1-40)-wex.titles"
  declare -A CMD=(
    [wex]="'$WEX' --list '$dir/wex'"
    [cached]="'$WEX' --list '$dir/wex'"
    [nocache]="'$WEX' --list --no-cache '$dir/wex'"
    [nmh]="'$NMH_SCAN' +'$dir/mh'"
    [mblaze]="mlist '$dir/maildir' | mscan"
    [readall]="'$READ_ALL' '$dir/wex'"
    [statall]="'$READ_ALL' --stat '$dir/wex'"
  )
  declare -A PREP=([wex]="rm -f '$cache_file'")
  names=() cmds=() preps=()
  for t in "${TOOLS[@]}"; do
    lines="$(count_lines sh -c "${CMD[$t]}")"
    if [ "$lines" != "$n" ]; then
      echo "scan-bench: $t gave $lines lines for $n mails; left out of the timing" >&2
      T[$t,$n]="n/a"; C[$t,$n]="n/a"; R[$t,$n]="n/a"
      continue
    fi
    names+=(-n "$t"); cmds+=("${CMD[$t]}"); preps+=(--prepare "${PREP[$t]:-true}")
    [ -z "${PREP[$t]-}" ] || sh -c "${PREP[$t]}"
    R[$t,$n]="$(peak_rss_mb sh -c "${CMD[$t]}")"
  done
  # The files were written long enough ago (the cache keeps no file that
  # changed in the last two seconds); the listing above filled the cache.
  [ -f "$cache_file" ] || echo "scan-bench: no cache file $cache_file after a listing" >&2
  [ ${#cmds[@]} -gt 0 ] || continue

  csv="$DATA/result-$n.csv"
  echo "== N=$n: timing, $RUNS runs each" >&2
  hyperfine --style basic --warmup 1 --runs "$RUNS" --export-csv "$csv" "${preps[@]}" "${names[@]}" "${cmds[@]}" >&2
  for t in "${TOOLS[@]}"; do
    [ "${T[$t,$n]-}" = "n/a" ] || { T[$t,$n]="$(median_s "$csv" "$t")"; C[$t,$n]="$(cpu_s "$csv" "$t")"; }
  done
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", a / b; else printf "n/a" }'; }

echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(uname -sr);" \
  "file system $(stat -f -c %T "$DATA"); load average at the start $LOAD_START, at the end $(cut -d' ' -f1-3 /proc/loadavg);" \
  "warm page cache; median of $RUNS runs."
echo "Versions: $("$NMH_SCAN" -version 2> /dev/null | head -n 1 | awk '{ print $3 }'), mblaze $(dpkg-query -W -f='${Version}' mblaze 2> /dev/null || echo '?')."
echo
echo "Wall-clock seconds (median), in parentheses CPU seconds (user + system, mean):"
echo
echo "| Mails | first --list | --list from the cache | --list --no-cache | nmh scan | mlist \| mscan | read every byte | stat every file | peak RSS first / cached / nmh / read (MB) |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---|"
for n in "${SIZES[@]}"; do
  echo "| $n | ${T[wex,$n]} (${C[wex,$n]}) | ${T[cached,$n]} (${C[cached,$n]}) | ${T[nocache,$n]} (${C[nocache,$n]}) |" \
    "${T[nmh,$n]} (${C[nmh,$n]}) | ${T[mblaze,$n]} (${C[mblaze,$n]}) | ${T[readall,$n]} (${C[readall,$n]}) |" \
    "${T[statall,$n]} (${C[statall,$n]}) |" \
    "${R[wex,$n]} / ${R[cached,$n]} / ${R[nmh,$n]} / ${R[readall,$n]} |"
done

echo
echo "Ratios (wall-clock medians of the same run):"
echo
echo "| Mails | first --list / read every byte (target 1.2) | from the cache / nmh scan (target 0.1) | --no-cache / read every byte | stat every file / nmh scan | CPU: first / read every byte | CPU: from the cache / nmh scan |"
echo "|---:|---:|---:|---:|---:|---:|---:|"
for n in "${SIZES[@]}"; do
  echo "| $n | $(ratio "${T[wex,$n]}" "${T[readall,$n]}") | $(ratio "${T[cached,$n]}" "${T[nmh,$n]}") |" \
    "$(ratio "${T[nocache,$n]}" "${T[readall,$n]}") | $(ratio "${T[statall,$n]}" "${T[nmh,$n]}") |" \
    "$(ratio "${C[wex,$n]}" "${C[readall,$n]}") | $(ratio "${C[cached,$n]}" "${C[nmh,$n]}") |"
done

# Linearity: time per mail at the largest N against the smallest N (1.00 is
# perfectly linear; the verdict uses CPU time), and memory added per 1,000
# extra mails (0 for a tool that streams).
first="${SIZES[0]}" last="${SIZES[${#SIZES[@]}-1]}"
if [ "$first" != "$last" ]; then
  echo
  echo "Growth from $first to $last mails:"
  echo
  echo "| Tool | wall time per mail, $last vs $first | CPU time per mail, $last vs $first | verdict | peak RSS growth per 1,000 mails (MB) |"
  echo "|---|---:|---:|---|---:|"
  for t in "${TOOLS[@]}"; do
    a="${T[$t,$first]}" b="${T[$t,$last]}"
    per="$(awk -v a="$a" -v b="$b" -v n1="$first" -v n2="$last" \
      'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", (b / n2) / (a / n1); else printf "n/a" }')"
    cpu="$(awk -v a="${C[$t,$first]}" -v b="${C[$t,$last]}" -v n1="$first" -v n2="$last" \
      'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", (b / n2) / (a / n1); else printf "n/a" }')"
    # Judged on CPU time: on a shared machine the wall clock also measures
    # the other processes.
    verdict="$(awk -v r="$cpu" 'BEGIN { if (r == "n/a") print "n/a"; else if (r <= 1.25) print "linear"; else if (r <= 1.6) print "slightly worse than linear"; else print "worse than linear" }')"
    mem="$(awk -v a="${R[$t,$first]}" -v b="${R[$t,$last]}" -v n1="$first" -v n2="$last" \
      'BEGIN { if (a == "n/a" || b == "n/a") printf "n/a"; else { g = (b - a) / (n2 - n1) * 1000; printf "%.2f", (g < 0.005 && g > -0.005) ? 0 : g } }')"
    echo "| $t | $per | $cpu | $verdict | $mem |"
  done
fi

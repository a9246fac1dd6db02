#!/bin/bash
# Whole-process benchmark: builds Release, generates 10,000 / 100,000 /
# 1,000,000-record batches, runs the command line on each under
# /usr/bin/time -v and measures, in the same run, the I/O floor (reading the
# same input and writing the same number of output bytes with a plain
# buffered copy), pair by pair over RUNS runs, medians shown. Then times the
# summary report (report 1) of the largest batch's claim file, and the
# implementation-guide check (wcomp837 check) of the same claim file: MB/s by
# wall clock and by CPU time, peak RSS. Prints a Markdown table.
#
#   [RUNS=3] bench/run_bench.sh [BUILD_DIR] [WORK_DIR] [SIZES...]
#   default: build-bench, a temporary folder, 10000 100000 1000000
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build-bench}
WORK=${2:-$(mktemp -d)}
shift $(($# > 2 ? 2 : $#))
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(10000 100000 1000000)

if [ ! -x /usr/bin/time ]; then
  echo "run_bench.sh: /usr/bin/time is missing (apt-get install time)" >&2
  exit 2
fi

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target wcomp837 wcomp837_genbatch wcomp837_io_floor -- -j2 >/dev/null
cp "$ROOT"/examples/settings/*.DAT "$BUILD"/
mkdir -p "$WORK"

# seconds from "Elapsed (wall clock) time (h:mm:ss or m:ss): M:SS.ss"
wall_seconds() {
  awk -F': ' '/Elapsed \(wall clock\)/ {
    n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i]; printf "%.2f", s }' "$1"
}
cpu_seconds() { awk -F': ' '/User time|System time/ { s += $2 } END { printf "%.2f", s }' "$1"; }
rss_mb() { awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$1"; }
bytes_of() { stat -c %s "$@" | awk '{ s += $1 } END { print s }'; }

# The median of the numbers given as arguments.
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Each size runs RUNS times (default 3), the component and the I/O floor in
# turn, so that both see the same machine; the ratios are taken pair by pair
# and every column shows the median.
RUNS=${RUNS:-3}
echo "| records | claims | wall s | CPU s | records/s | claims/s | output bytes | peak RSS MB | I/O floor wall s | floor CPU s | x floor (wall) | x floor (CPU) |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for n in "${SIZES[@]}"; do
  input=$WORK/batch_$n.txt
  out=$WORK/out_$n
  "$BUILD"/wcomp837_genbatch "$n" >"$input"
  records=$(grep -vc '^#' "$input")
  walls=() cpus=() rsss=() floors=() floorCpus=() wallRatios=() cpuRatios=()
  for ((run = 0; run < RUNS; ++run)); do
    rm -rf "$out" && mkdir -p "$out"
    # Each timed run starts with no dirty pages left by the one before: the
    # kernel would otherwise make it wait for their write-back.
    sync
    /usr/bin/time -v -o "$WORK/time_$n.txt" \
      "$BUILD"/wcomp837 --quiet --output-dir "$out" --claim-file claims.837 "$input" \
      2>"$WORK/messages_$n.txt" || true
    bytes=$(bytes_of "$out"/*)
    # The run log and _NAC.Dat (about 93% of the output) go before the floor
    # runs, as the floor's own output went before the component ran: each
    # writes into memory the other just gave back. Writing into pages the
    # machine has not lent out lately costs several times as much (0.13 s
    # against up to 1 s for the same 651 MB here), which would measure the
    # page cache instead of the program. The claim file stays for the report.
    find "$out" -type f ! -name claims.837 -delete
    # I/O floor: the same input read and the same number of bytes written.
    sync
    /usr/bin/time -v -o "$WORK/floor_$n.txt" \
      "$BUILD"/wcomp837_io_floor "$input" "$WORK/floor_$n.out" "$bytes"
    rm -f "$WORK/floor_$n.out"
    wall=$(wall_seconds "$WORK/time_$n.txt") cpu=$(cpu_seconds "$WORK/time_$n.txt")
    floor=$(wall_seconds "$WORK/floor_$n.txt") floorCpu=$(cpu_seconds "$WORK/floor_$n.txt")
    walls+=("$wall") cpus+=("$cpu") rsss+=("$(rss_mb "$WORK/time_$n.txt")")
    floors+=("$floor") floorCpus+=("$floorCpu")
    wallRatios+=("$(awk -v a="$wall" -v b="$floor" 'BEGIN { print a / (b > 0 ? b : 0.01) }')")
    cpuRatios+=("$(awk -v a="$cpu" -v b="$floorCpu" 'BEGIN { print a / (b > 0 ? b : 0.01) }')")
  done
  claims=$(grep -o 'CLM\*' "$out/claims.837" | wc -l)
  awk -v n="$records" -v c="$claims" -v w="$(median "${walls[@]}")" -v b="$bytes" \
    -v r="$(median "${rsss[@]}")" -v f="$(median "${floors[@]}")" \
    -v u="$(median "${cpus[@]}")" -v fu="$(median "${floorCpus[@]}")" \
    -v rw="$(median "${wallRatios[@]}")" -v ru="$(median "${cpuRatios[@]}")" \
    'BEGIN { ws = (w > 0 ? w : 0.01);
             printf "| %d | %d | %.2f | %.2f | %.0f | %.0f | %d | %s | %.2f | %.2f | %.1f | %.1f |\n",
                    n, c, w, u, n / ws, c / ws, b, r, f, fu, rw, ru }'
  last=$out
done

# The summary report of the largest batch's claim file, printed to PDF.
mkdir -p "$WORK/report"
cp "$last/claims.837" "$WORK/report/claims.837"
/usr/bin/time -v -o "$WORK/time_report.txt" \
  "$BUILD"/wcomp837 --quiet --output-dir "$WORK/report" --claim-file claims.837 \
  --report 1 >/dev/null 2>"$WORK/messages_report.txt" || true
pdf=$(ls "$WORK"/report/*.pdf 2>/dev/null | head -1 || true)
echo
echo "Summary report (report 1) of the ${SIZES[-1]}-record claim file:" \
  "$(wall_seconds "$WORK/time_report.txt") s wall," \
  "peak RSS $(rss_mb "$WORK/time_report.txt") MB, PDF ${pdf:+$(bytes_of "$pdf") bytes}"
# The implementation-guide check of the same claim file.
claims_file=$WORK/report/claims.837
/usr/bin/time -v -o "$WORK/time_check.txt" "$BUILD"/wcomp837 --quiet check "$claims_file" \
  >/dev/null 2>&1 || true
awk -v b="$(bytes_of "$claims_file")" -v w="$(wall_seconds "$WORK/time_check.txt")" \
  -v c="$(cpu_seconds "$WORK/time_check.txt")" -v r="$(rss_mb "$WORK/time_check.txt")" \
  'BEGIN { ws = (w > 0 ? w : 0.01); cs = (c > 0 ? c : 0.01);
           printf "Guide check (wcomp837 check) of the same claim file, %d bytes: %.2f s wall, " \
                  "%.0f MB/s; %.2f s CPU, %.0f MB/s; peak RSS %s MB\n",
                  b, w, b / ws / 1e6, c, b / cs / 1e6, r }'
echo "Work folder: $WORK"

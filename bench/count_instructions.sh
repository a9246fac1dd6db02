#!/bin/bash
# Instructions per record of a whole batch run, counted by callgrind: exact
# and the same from run to run, where wall-clock times on a shared machine
# move by a third. Builds Release, generates a batch, runs the command line
# on it under callgrind (each thread counted on its own) and prints a
# Markdown table: the whole process, the thread that runs the component (the
# one whose work sets the wall time) and the other threads (guide check,
# run-log writer, records reader). Start-up (loading the shared libraries)
# is counted too; it is the same for every batch.
#
#   bench/count_instructions.sh [BUILD_DIR] [RECORDS] [WORK_DIR]
#   default: build-bench, 100000, a temporary folder
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build-bench}
RECORDS=${2:-100000}
WORK=${3:-$(mktemp -d)}
if ! command -v valgrind >/dev/null; then
  echo "count_instructions.sh: valgrind is missing (apt-get install valgrind)" >&2
  exit 2
fi
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target wcomp837 wcomp837_genbatch -- -j2 >/dev/null
cp "$ROOT"/examples/settings/*.DAT "$BUILD"/
# A work folder used before starts empty: output files left there (the run
# log is appended to) would make the count depend on the earlier run.
rm -rf "$WORK/out" "$WORK"/callgrind.out*
mkdir -p "$WORK/out"
"$BUILD"/wcomp837_genbatch "$RECORDS" >"$WORK/batch.txt"
records=$(grep -vc '^#' "$WORK/batch.txt")
valgrind --tool=callgrind --separate-threads=yes --callgrind-out-file="$WORK/callgrind.out" \
  "$BUILD"/wcomp837 --quiet --output-dir "$WORK/out" --claim-file claims.837 "$WORK/batch.txt" \
  >/dev/null 2>"$WORK/valgrind.txt" || {
  echo "count_instructions.sh: the run failed; see $WORK/valgrind.txt" >&2
  exit 1
}
# One file per thread (callgrind.out-01 is the main thread, which runs the
# component); each holds its total on a "summary:" line.
thread_total() { awk '/^summary:/ { print $2 }' "$1"; }
main=$(thread_total "$WORK/callgrind.out-01")
all=0
for f in "$WORK"/callgrind.out-*; do all=$((all + $(thread_total "$f"))); done
echo "| records | instructions | per record | component thread per record | other threads per record |"
echo "|---:|---:|---:|---:|---:|"
awk -v n="$records" -v a="$all" -v m="$main" \
  'BEGIN { printf "| %d | %d | %.0f | %.0f | %.0f |\n", n, a, a / n, m / n, (a - m) / n }'
echo "Work folder: $WORK"

#!/usr/bin/env bash
# Turns records files (key TAB record per line, "#" comments) into fuzzer
# scripts: one FormatRecord line per record, then the end of the batch, the
# final check and both reports.
#   fuzz/make_corpus.sh OUTDIR [RECORDS_FILE...]
# Without files: tests/batches/*/batch.txt and examples/batch.txt. The hand-made
# scripts of fuzz/seeds/ (odd keys, huge field counts, short records) are
# always added.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:?usage: make_corpus.sh OUTDIR [RECORDS_FILE...]}"
shift
if [ "$#" -eq 0 ]; then
  set -- "$root"/examples/batch.txt
  for f in "$root"/tests/batches/*/batch.txt; do
    [ -e "$f" ] && set -- "$@" "$f"
  done
fi
mkdir -p "$out"
cp "$root"/fuzz/seeds/* "$out"/
for f in "$@"; do
  name="$(basename "$(dirname "$f")")"
  {
    grep -v -e '^#' -e '^[[:space:]]*$' "$f" | sed 's/\r$//; s/^/R/'
    printf 'E\nP\nM9\t1\nM9\t2\n'
  } >"$out/$name"
done

#!/usr/bin/env bash
# Makes the seed inputs of every fuzz target from the project's own examples,
# one folder per target under OUTDIR:
#   records   each records file (key TAB record per line, "#" comments) as a
#             host script: one FormatRecord line per record, then the end of
#             the batch and the final check; and fuzz/regressions/records/
#   settings  the example settings files, joined by a form feed
#   summary   the expected claim files of the end-to-end batches
#   fuzz/make_corpus.sh OUTDIR
# The kept corpus (fuzz/corpus/<target>/) is these seeds minimised:
#   build-fuzz/fuzz/<target>_fuzzer -merge=1 fuzz/corpus/<target> OUTDIR/<target>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:?usage: make_corpus.sh OUTDIR}"
mkdir -p "$out/records" "$out/settings" "$out/summary"

cp "$root"/fuzz/regressions/records/* "$out/records/"
for f in "$root"/examples/batch.txt "$root"/tests/batches/*/batch.txt; do
  name="$(basename "$(dirname "$f")")"
  {
    grep -v -e '^#' -e '^[[:space:]]*$' "$f" | sed 's/\r$//; s/^/R/'
    printf 'E\nP\n'
  } >"$out/records/$name"
done

settings="$root/examples/settings"
{
  cat "$settings/QBEX_ALT_PRACTICENAME.DAT"
  printf '\f'
  cat "$settings/QBEX_CFG_NPICMS.DAT"
} >"$out/settings/examples"

for f in "$root"/tests/batches/*/expected.837; do
  cp "$f" "$out/summary/$(basename "$(dirname "$f")")"
done

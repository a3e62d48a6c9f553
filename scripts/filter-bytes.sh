#!/usr/bin/env bash
# Prints a fixed set of documents through a build's gdi-filter and keeps every printer stream, so
# that two builds (before and after a change that must not change the output) can be compared byte
# for byte:
#
#   filter-bytes.sh print <build-dir> <out-dir>        print the set into <out-dir>
#   filter-bytes.sh compare <reference-dir> <out-dir>  compare two printed sets
#   filter-bytes.sh check <build-dir> <reference-dir>  print into a scratch directory and compare
#
# The filter runs as the scheduler runs it (job id, user, title, copies, options, file; PRINTER,
# PPD), in a scratch install root (ORVALEN_TEST_ROOT) holding the build's compiled sample models,
# colour tables and compression library, on the sample queue PPDs of the monochrome GM4150 and the
# colour GC7350. Every document is printed with the queue's defaults, and one document with each of
# a set of options that take the page pass, the renderer and the PJL header down other roads.
#
# What legitimately differs from run to run is masked before comparing: the date and time in the
# PJL header's job attribute ("@PJL SET JOBATTR="@DATE=2026/11/11 7:7:19""), when the model's
# header has that item. Nothing else is masked. The exit status of every run is compared too; the
# log on standard error is kept but not compared (it carries process ids and timings).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

mask() {
  # The PJL header's date line carries the wall clock; the rest of the stream is left alone.
  LC_ALL=C sed -E 's|^(@PJL SET JOBATTR="@DATE=)[0-9/: ]*"|\1<masked>"|' "$1"
}

print_set() {
  local build=$1 out=$2
  # The installed filter looks only under the system paths; its test-root twin honours
  # ORVALEN_TEST_ROOT, which points it at the scratch root below. A build from before the twins
  # has only the filter, which honoured the variable itself.
  local filter=$build/filter/gdi-filter-testroot
  [ -x "$filter" ] || filter=$build/filter/gdi-filter
  [ -x "$filter" ] || { echo "no gdi-filter-testroot or gdi-filter in $build" >&2; exit 2; }
  rm -rf "$out"
  mkdir -p "$out/streams" "$out/logs"
  local root
  root=$(mktemp -d)
  local data=$root/usr/local/share/orvalen/printer/data
  mkdir -p "$data" "$root/usr/lib" "$root/var/spool" "$root/docs"
  cp "$build"/data/models/*.pcsp "$data/"
  cp "$build"/data/L_* "$data/"
  ln -s "$(readlink -f "$build/platform/compress/liborvjbig.so.1")" "$root/usr/lib/liborvjbig.so.1"

  local docs=("$here"/tests/filter/samples/*.ps "$here"/tests/e2e/docs/colour-pages.ps)
  if command -v groff > /dev/null; then
    groff -Tps -ms "$here/tests/e2e/docs/letter.ms" > "$root/docs/letter.ps" 2> /dev/null
    docs+=("$root/docs/letter.ps")
  fi
  # name|options: printed over the two-page letter sample and the colour pages.
  local optionSets=(
    "default|"
    "duplex|Duplex=DuplexNoTumble"
    "nup2|number-up=2"
    "nup4|number-up=4 number-up-layout=btrl"
    "booklet|BookletBinding=Left Duplex=DuplexNoTumble"
    "poster|Poster=2x2"
    "copies|copies=3 Collate=True"
    "uncollated|copies=2 Collate=False"
    "res1200|Resolution=1200dpi"
    "res300|Resolution=300dpi"
    "gray|ColorMode=Grayscale"
    "photo|Halftone=Photo TonerSave=On"
    "reverse|OutputOrder=Reverse PageSize=A5"
    "fit|fit-to-page PageSize=Letter"
  )
  local model doc name opts copies base status
  for model in GM4150 GC7350; do
    run() {  # run <doc> <name> <options>
      local doc=$1 name=$2 opts=$3
      copies=1
      [[ $opts =~ (^| )copies=([0-9]+) ]] && copies=${BASH_REMATCH[2]}
      opts=$(sed -E 's/(^| )copies=[0-9]+//' <<< "$opts")
      base=$model-$(basename "$doc" .ps)-$name
      set +e
      env -i PATH=/usr/bin:/bin PRINTER=office PPD="$here/data/ppd/$model.ppd" CHARSET=utf-8 \
        CONTENT_TYPE=application/postscript ORVALEN_TEST_ROOT="$root" \
        "$filter" 42 user "bytes check" "$copies" "$opts" "$doc" \
        > "$out/streams/$base.prn" 2> "$out/logs/$base.log"
      status=$?
      set -e
      echo "$base $status" >> "$out/status"
    }
    for doc in "${docs[@]}"; do run "$doc" default ""; done
    for doc in "$here/tests/filter/samples/two-pages-letter.ps" "$here/tests/e2e/docs/colour-pages.ps"; do
      for set in "${optionSets[@]:1}"; do run "$doc" "${set%%|*}" "${set#*|}"; done
    done
  done
  rm -rf "$root"
  # Every document of the set prints something: an empty stream means the filter did not run
  # as intended (no model data, no compression library), and comparing two such sets proves
  # nothing.
  local empty
  empty=$(find "$out/streams" -name '*.prn' -empty | wc -l)
  if [ "$empty" -ne 0 ]; then
    echo "$empty of $(wc -l < "$out/status") streams are empty; see $out/logs" >&2
    exit 1
  fi
  echo "printed $(wc -l < "$out/status") streams into $out"
}

compare_sets() {
  local ref=$1 out=$2 bad=0 f name
  if ! diff -u "$ref/status" "$out/status"; then bad=1; fi
  for f in "$ref"/streams/*.prn; do
    name=$(basename "$f")
    if [ ! -e "$out/streams/$name" ]; then
      echo "missing: $name"; bad=1; continue
    fi
    if ! cmp -s <(mask "$f") <(mask "$out/streams/$name"); then
      echo "differs: $name"; bad=1
    fi
  done
  if [ "$bad" -eq 0 ]; then
    echo "identical: $(ls "$ref"/streams/*.prn | wc -l) streams"
  fi
  return $bad
}

case ${1:-} in
  print) print_set "$2" "$3" ;;
  compare) compare_sets "$2" "$3" ;;
  check)
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    print_set "$2" "$scratch/set" > /dev/null
    compare_sets "$3" "$scratch/set"
    ;;
  *) sed -n '2,9p' "$0" >&2; exit 2 ;;
esac

#!/usr/bin/env bash
# Installs what is needed, builds the package and runs its main job: a sample PostScript document
# printed through gdi-filter with the sample colour model GC7350, under a private CUPS scheduler
# (so the queue's PPD code goes into the job as under a real queue), the printer stream decoded,
# and a PNG picture of each printed page written beside it.
#
# Everything goes under build/demo/: root/ (the package installed as on a user's machine),
# cupsd/ (the private scheduler), page-stream.prn (what the printer would receive) and
# page-NNN.png (what it would print). Nothing outside the build tree is touched.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build
demo=$build/demo
document=$here/tests/e2e/docs/colour-pages.ps
queue=demo

bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh" "$build"
echo "Built. The programs are in $build."

rm -rf "$demo"
mkdir -p "$demo"
chmod 0755 "$demo"
DESTDIR=$demo/root cmake --install "$build" > "$demo/install.log"
# The installed programs know only the system's locations; their test-root twins find the package
# under $demo/root, so that the demo touches nothing outside the build tree.
DESTDIR=$demo/root cmake --install "$build" --component orv-test-root >> "$demo/install.log"
echo "Installed the package into $demo/root (see $demo/install.log)."

filterdir=$(sed -n 's/^ORV_CUPS_FILTER_DIR:PATH=//p' "$build/CMakeCache.txt")
ppddir=$(sed -n 's/^ORV_CUPS_PPD_DIR:PATH=//p' "$build/CMakeCache.txt")
if [ ! -x "$demo/root$filterdir/gdi-filter" ]; then
  echo "NOT DONE: the build has no gdi-filter program yet, so no page could be printed."
  echo "What exists was built and installed; nothing was printed and no picture was made."
  exit 0
fi

cupsd_dir=$demo/cupsd
bash "$here/scripts/private-cupsd.sh" start "$cupsd_dir" "$demo/root" "$filterdir" > /dev/null
trap 'bash "$here/scripts/private-cupsd.sh" stop "$cupsd_dir"' EXIT
export CUPS_SERVER=$cupsd_dir/cups.sock
stream=$demo/page-stream.prn
lpadmin -p "$queue" -E -v "file://$stream" -P "$demo/root$ppddir/GC7350.ppd" 2> /dev/null
job=$(lp -d "$queue" -t "Orvalen demo" "$document" | sed -n 's/^request id is [^ ]*-\([0-9]*\) .*/\1/p')
echo "Printing $document on the GC7350 sample queue (job $job)..."
for _ in $(seq 1 600); do
  [ -z "$(lpstat -o "$queue")" ] && break
  sleep 0.5
done

log=$cupsd_dir/log/error_log
if ! grep -q "\[Job $job\] Job completed" "$log"; then
  echo "NOT DONE: the job did not complete; the scheduler's log says:"
  grep "\[Job $job\]" "$log" | grep -E '^E |\(PID' | tail -20 || true
  exit 1
fi
if [ ! -s "$stream" ]; then
  echo "NOT DONE: the job completed but the filter wrote no printer stream; its log lines:"
  grep "\[Job $job\]" "$log" | grep -E '^E |\(PID' | tail -20 || true
  exit 1
fi

# The planes of every page, then one picture per page: cyan, magenta and yellow take away red,
# green and blue, black takes away all three.
mkdir -p "$demo/planes"
set +e
"$build/tools/stream-decoder/orv-stream-decode" -o "$demo/planes/page" "$stream" > "$demo/stream-summary.txt"
decoded=$?
set -e
pages=0
for black in "$demo"/planes/page-page*-black.pbm; do
  [ -e "$black" ] || continue
  base=${black%-black.pbm}
  picture=$demo/page-${base##*-page}.png
  if [ -e "$base-cyan.pbm" ] && [ -e "$base-magenta.pbm" ] && [ -e "$base-yellow.pbm" ]; then
    for pair in r:cyan g:magenta b:yellow; do
      pamarith -and "$base-${pair#*:}.pbm" "$black" | pamdepth 255 2> /dev/null > "$demo/planes/${pair%%:*}.pgm"
    done
    rgb3toppm "$demo/planes/r.pgm" "$demo/planes/g.pgm" "$demo/planes/b.pgm" | pnmtopng > "$picture" 2> /dev/null
  else
    pnmtopng "$black" > "$picture" 2> /dev/null
  fi
  pages=$((pages + 1))
done
rm -f "$demo"/planes/[rgb].pgm

# The settings program's main window with the colour queue loaded, pictured on a headless display:
# the installed printer-setup is driven through its window by the end-to-end tests' GTK module.
program_dir=$(sed -n 's/^inline constexpr const char kUserProgramDir\[\] = "\(.*\)";/\1/p' "$here/core/InstallPaths.h")
setup=$demo/root${program_dir}printer-setup
driver=$(find "$build/tests" -name 'liborvsetupdriver.so' 2> /dev/null | head -n 1)
shot=$demo/printer-setup.png
if [ -x "$setup" ] && [ -n "$driver" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" env GTK_MODULES="$driver" LANG=C \
    ORVALEN_TEST_ROOT="$demo/root" ORV_SETUP_DRIVE="select=$queue;wait=500;shot=$shot;cancel" \
    timeout 60 "$setup" > "$demo/printer-setup.log" 2>&1 || true
fi
if [ -s "$shot" ]; then
  echo "The settings program with the $queue queue loaded: $shot"
else
  echo "NOT DONE: no picture of the settings program was made (see $demo/printer-setup.log)."
fi

echo "Printer stream: $stream ($(stat -c %s "$stream") bytes); summary in $demo/stream-summary.txt."
if [ "$decoded" -ne 0 ]; then
  echo "NOT DONE: the printer stream is malformed (see the summary); pictures were made of the pages before the fault."
fi
echo "Pictures of the $pages printed page(s): $demo/page-*.png"
[ "$decoded" -eq 0 ]

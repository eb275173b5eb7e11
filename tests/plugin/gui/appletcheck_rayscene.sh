#!/usr/bin/env bash
# appletcheck runs the ray scene sample from its unpacked package (the applet and the ray tracer
# module beside the program): the picture becomes whole (the applet's report says "complete")
# and matches qvrender's image of the window's size within a tolerance; Z moves the camera (a
# new complete picture that differs); closing the window ends the program with 0. Further
# arguments: the package and the qvrender program.
source "$(dirname "$0")/../../ui/gui/common.sh"
source "$(dirname "$0")/applet_common.sh"
package=$4
qvrender=$5

export QV_RUNTIME_KEY=
copy_program "$artefacts/rayscene/bin"
dir=$(dirname "$program")
(cd "$dir" && unzip -q -o "$package") || fail "cannot unpack $package"
report=$dir/rayscene-applet.txt
rm -f "$report"

# wait_report: waits until the applet says its picture is whole.
wait_report() {
  local tries
  for tries in $(seq $((150 * wait_scale))); do
    grep -q '^complete ' "$report" 2>/dev/null && return 0
    sleep 0.2
  done
  return 1
}
shot() { import -window "$window" "$artefacts/$1.png" && echo "$artefacts/$1.png"; }

start_program raysceneapplet.qvm
window=$(wait_window "QVEAPPs Tester") || fail "no window QVEAPPs Tester"
wait_report || fail "the picture did not become whole"
sleep 1
picture=$(shot rayscene) || fail "no screenshot"
size=$(identify -format '%wx%h' "$picture")
"$qvrender" --size "$size" --output "$artefacts/rayscene-qvrender.tga" >/dev/null ||
  fail "qvrender --size $size failed"
# The window draws each pixel's colour at the pixel's corner and blends between neighbours:
# edges differ by up to a pixel, surfaces agree. Mean absolute difference, 0..65535.
mae=$(compare -metric MAE "$picture" "$artefacts/rayscene-qvrender.tga" null: 2>&1 | cut -d' ' -f1)
[ "${mae%.*}" -lt 1500 ] || fail "the picture differs from qvrender's (MAE $mae)"

rm -f "$report"
answer "$window" z
wait_report || fail "no whole picture after Z"
sleep 1
closer=$(shot rayscene-closer) || fail "no screenshot"
[ "$(compare -metric AE "$picture" "$closer" null: 2>&1 | cut -d' ' -f1)" -gt 1000 ] ||
  fail "Z did not move the camera"

still_running || fail "the program ended"
wmctrl -c "QVEAPPs Tester" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
echo "PASS (MAE $mae of 65535)"

#!/usr/bin/env bash
# appletcheck runs the spinner sample from its unpacked package (the applet, its model and
# texture, the renderer and loader modules beside the program, as the plug-in unpacks it): the
# window appears and shows a model that moves between two screenshots and is not one colour;
# Space stops it (two screenshots equal) and Up starts it again; closing the window ends the
# program with 0. The fourth argument is the package, the sixth the applet module in it
# (spinnerapplet.qvm unless given: the gltfspinner sample is the same applet with a glTF model).
source "$(dirname "$0")/../../ui/gui/common.sh"
source "$(dirname "$0")/applet_common.sh"
package=$4
module=${6:-spinnerapplet.qvm}
name=${module%.qvm}

export QV_RUNTIME_KEY=
copy_program "$artefacts/$name/bin"
(cd "$(dirname "$program")" && unzip -q -o "$package") || fail "cannot unpack $package"

start_program "$module"
window=$(wait_window "QVEAPPs Tester") || fail "no window QVEAPPs Tester"
sleep $((2 * wait_scale))

# shot <name>: the window's client, kept as an artefact; prints its path.
shot() { import -window "$window" "$artefacts/$name-$1.png" && echo "$artefacts/$name-$1.png"; }
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
# moves <name>: true when a shot taken 1 s after the shot <name>-1 differs from it. At one or two
# degrees per frame the model has only 360 or 180 positions, so a frame rate near a multiple of
# that can bring it back to the same one a second later: then two later shots, 0.3 s apart, are
# tried too.
moves() {
  local first later try
  first=$(shot "$1-1") || return 1
  sleep 1
  for try in 2 3 4; do
    later=$(shot "$1-$try") || return 1
    [ "$(differing "$first" "$later")" -gt 100 ] && return 0
    sleep 0.3
  done
  return 1
}

moves spinner || fail "the model does not move between two screenshots"
colours=$(convert "$artefacts/$name-spinner-1.png" -format %k info:)
[ "$colours" -gt 2 ] || fail "the window shows $colours colours"

answer "$window" space
sleep 1
stopped=$(shot spinner-stopped-1)
sleep 1
[ "$(differing "$stopped" "$(shot spinner-stopped-2)")" = 0 ] || fail "Space does not stop the model"
answer "$window" Up
sleep 1
moves spinner-moving || fail "Up does not start the model again"

still_running || fail "the program ended while spinning"
wmctrl -c "QVEAPPs Tester" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
echo "PASS"

#!/usr/bin/env bash
# qvglview --model shows a real 3D Studio file (from the sample folder, the fourth argument or
# QV_SAMPLE_DATA_DIR) centred and lit: the screenshot matches the reference picture, and so does
# the window; Z and the mouse move the camera around the model, Q ends with 0. With the TGA loader
# module beside it, --texture maps an image onto a model by its texture coordinates and changes
# the picture. Skipped (77) when the sample folder is absent.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/glview.sh"
trap park_pointer EXIT
samples=${QV_SAMPLE_DATA_DIR:-${4:-}}/3ds

if [ ! -e "$samples/fels.3ds" ]; then
  echo "SKIP: no sample 3D Studio files in '$samples'"
  exit 77
fi

# shoot <name> <args...>: a screenshot of qvglview with those arguments, as PNG; prints its name.
shoot() {
  local name=$1
  shift
  rm -f "$artefacts/$name.tga"
  run_glview "$@" --screenshot "$artefacts/$name.tga"
  [ "$exit_code" = 0 ] || fail "$name: exit code $exit_code, expected 0: $(cat "$artefacts/err.txt")"
  png "$artefacts/$name.tga" || fail "$name: no screenshot"
}

shot=$(shoot model-fels --model "$samples/fels.3ds") || exit 1
d=$(distance "$references/qvglview-model-fels.png" "$shot")
echo "fels.3ds: distance $d from the reference"
below "$d" 0.05 || fail "the model's screenshot is $d away from the reference (limit 0.05)"

# compare_window <name> <what>: the settled window against the first picture, as distance $d.
compare_window() {
  settled "$window" "$1" || fail "the picture never settled ($2)"
  d=$(distance "$artefacts/model-window.png" "$artefacts/$1.png")
  echo "$2: distance $d from the start"
}
pointer_away
start_program --model "$samples/fels.3ds"
window=$(wait_window "$title_pattern") || fail "no window titled $title"
settled "$window" model-window || fail "the picture never settled"
d=$(distance "$references/qvglview-model-fels.png" "$artefacts/model-window.png")
echo "window: distance $d from the reference"
below "$d" 0.05 || fail "the window is $d away from the reference (limit 0.05)"
answer "$window" z
settled_apart "$window" model-zoomed "$artefacts/model-window.png" 0.02 || fail "the picture never settled (Z)"
d=$(distance "$artefacts/model-window.png" "$artefacts/model-zoomed.png")
echo "Z: distance $d from the start"
below 0.02 "$d" || fail "Z did not move the camera (distance $d)"
answer "$window" s
compare_window model-back "Z then S"
below "$d" 0.005 || fail "Z then S did not come back to the start (distance $d)"
# The first move sets the reference point, the second orbits.
xdotool mousemove --window "$window" 250 150
sleep $((1 * wait_scale))
orbit "$window" model-orbit "$artefacts/model-window.png" || fail "the picture never settled (orbit)"
d=$(distance "$artefacts/model-window.png" "$artefacts/model-orbit.png")
echo "orbit: distance $d from the start"
below 0.02 "$d" || fail "a mouse move did not orbit the camera (distance $d)"
answer "$window" q
wait_exit
[ "$exit_code" = 0 ] || fail "exit code $exit_code after Q, expected 0"

if [ ! -e "$bin/qvtgaloader.qvm" ]; then
  echo "no qvtgaloader.qvm: the texture is not tried"
  echo "PASS"
  exit 0
fi
# The ray tracer's picture of the demo scene as the texture, on a cube whose faces each span the
# whole image.
texture=$artefacts/model-texture.tga
(cd "$bin" && $runner "$bin/qvrender$(basename "$program" | sed -n 's/.*\(\.exe\)$/\1/p')" \
  --size 64x48 --output "$texture") >/dev/null || fail "qvrender could not make a texture"
plain=$(shoot model-cube --model "$samples/RotatingCube.3DS") || exit 1
textured=$(shoot model-cube-textured --model "$samples/RotatingCube.3DS" --texture "$texture") ||
  exit 1
d=$(distance "$plain" "$textured")
echo "RotatingCube.3DS: textured $d from the plain picture"
below 0.02 "$d" || fail "the texture did not change the model's picture (distance $d)"
echo "PASS"

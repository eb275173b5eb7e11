#!/usr/bin/env bash
# qvglview shows the demo scene under its title, as the screenshot reference has it; Z then S
# comes back to the same picture; a mouse move orbits the camera and the pointer is warped to
# (200, 200); Q ends with exit code 0.
source "$(dirname "$0")/../../ui/gui/common.sh"
source "$(dirname "$0")/glview.sh"
trap park_pointer EXIT

pointer_away
start_program
window=$(wait_window "$title_pattern") || fail "no window titled $title"
eval "$(xdotool getwindowgeometry --shell "$window")"
if [ -z "$runner" ]; then
  [ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 300 ] || fail "client size ${WIDTH}x$HEIGHT, expected 400x300"
fi
settled "$window" qvglview-start || fail "the picture never settled"
d=$(distance "$references/qvglview-400x300.png" "$artefacts/qvglview-start.png")
echo "start: distance $d from the reference"
below "$d" 0.05 || fail "the picture is $d away from the reference (limit 0.05)"

answer "$window" z
settled_apart "$window" qvglview-zoomed "$artefacts/qvglview-start.png" 0.02 || fail "the picture never settled after Z"
d=$(distance "$artefacts/qvglview-start.png" "$artefacts/qvglview-zoomed.png")
echo "Z: distance $d from the start"
below 0.02 "$d" || fail "Z did not move the camera (distance $d)"
answer "$window" s
settled "$window" qvglview-back || fail "the picture never settled after S"
d=$(distance "$artefacts/qvglview-start.png" "$artefacts/qvglview-back.png")
echo "Z then S: distance $d from the start"
below "$d" 0.005 || fail "Z then S did not come back to the start (distance $d)"

# The first move only sets the reference point; the pointer then jumps to (200, 200) and the next
# move, 60 pixels to the left, orbits the camera.
xdotool mousemove --window "$window" 250 150
sleep $((1 * wait_scale))
eval "$(xdotool getmouselocation --shell)"
WX=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print $4 }')
WY=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ { print $4 }')
[ $((X - WX)) -eq 200 ] && [ $((Y - WY)) -eq 200 ] ||
  fail "pointer at ($((X - WX)), $((Y - WY))) in the window after a move, expected (200, 200)"
settled "$window" qvglview-first-move || fail "the picture never settled after the first move"
d=$(distance "$artefacts/qvglview-start.png" "$artefacts/qvglview-first-move.png")
below "$d" 0.005 || fail "the first mouse move changed the picture (distance $d)"
orbit "$window" qvglview-orbit "$artefacts/qvglview-start.png" || fail "the picture never settled after the orbit"
d=$(distance "$artefacts/qvglview-start.png" "$artefacts/qvglview-orbit.png")
echo "orbit: distance $d from the start"
below 0.02 "$d" || fail "a mouse move did not orbit the camera (distance $d)"

answer "$window" q
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after Q, expected 0"

# Closing the window through the window manager ends it with 0 as well.
start_program
window=$(wait_window "$title_pattern") || fail "no window titled $title (second start)"
sleep $((1 * wait_scale))
wmctrl -c "$title" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
echo "PASS"

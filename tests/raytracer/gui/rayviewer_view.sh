#!/usr/bin/env bash
# rayviewer shows the demo scene under its title; Z then S comes back to the same picture; a
# mouse move orbits the camera and the pointer is warped to (200, 200); Q ends with exit code 0.
source "$(dirname "$0")/../../ui/gui/common.sh"
source "$(dirname "$0")/viewer.sh"

pointer_away
start_program
window=$(wait_window "$title_pattern") || fail "no window titled $title"
eval "$(xdotool getwindowgeometry --shell "$window")"
if [ -z "$runner" ]; then
  [ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 300 ] || fail "client size ${WIDTH}x$HEIGHT, expected 400x300"
fi
settled "$window" rayviewer-start || fail "the picture never settled"
d=$(distance "$references/rayviewer-400x300.png" "$artefacts/rayviewer-start.png")
echo "start: distance $d from the reference"
below "$d" 0.06 || fail "the picture is $d away from the reference (limit 0.06)"

answer "$window" z
settled_apart "$window" rayviewer-zoomed "$artefacts/rayviewer-start.png" 0.02 || fail "the picture never settled after Z"
d=$(distance "$artefacts/rayviewer-start.png" "$artefacts/rayviewer-zoomed.png")
echo "Z: distance $d from the start"
below 0.02 "$d" || fail "Z did not move the camera (distance $d)"
answer "$window" s
settled "$window" rayviewer-back || fail "the picture never settled after S"
d=$(distance "$artefacts/rayviewer-start.png" "$artefacts/rayviewer-back.png")
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
settled "$window" rayviewer-first-move || fail "the picture never settled after the first move"
d=$(distance "$artefacts/rayviewer-start.png" "$artefacts/rayviewer-first-move.png")
below "$d" 0.005 || fail "the first mouse move changed the picture (distance $d)"
orbit "$window" rayviewer-orbit "$artefacts/rayviewer-start.png" || fail "the picture never settled after the orbit"
d=$(distance "$artefacts/rayviewer-start.png" "$artefacts/rayviewer-orbit.png")
echo "orbit: distance $d from the start"
below 0.02 "$d" || fail "a mouse move did not orbit the camera (distance $d)"

answer "$window" q
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after Q, expected 0"
echo "PASS"

#!/usr/bin/env bash
# uitest opens "Test window" at its size with the label and the button on the dark blue
# background; closing it through the window manager ends the program with 0 and no question.
source "$(dirname "$0")/common.sh"

start_program
window=$(wait_window "Test window") || fail "no window named Test window"
sleep 0.5

eval "$(xdotool getwindowgeometry --shell "$window")"
if [ -z "$runner" ]; then
  [ "$WIDTH" -eq 300 ] && [ "$HEIGHT" -eq 200 ] || fail "client size ${WIDTH}x$HEIGHT, expected 300x200"
else
  # On Windows 300 x 200 is the outer size; the window manager draws the frame, the client is the
  # rest.
  [ "$WIDTH" -ge 280 ] && [ "$WIDTH" -le 300 ] && [ "$HEIGHT" -ge 150 ] && [ "$HEIGHT" -le 200 ] ||
    fail "client size ${WIDTH}x$HEIGHT, expected a little under 300x200"
fi

screenshot "$window" uitest-window
shot=$artefacts/uitest-window.png
[ "$(pixel "$shot" 250 150)" = "0,0,153" ] || fail "background at (250,150) is $(pixel "$shot" 250 150), expected 0,0,153"
# The label at the top-left corner and the button 30 pixels lower are drawn over the background.
for point in "5 10" "90 10" "5 45" "90 45"; do
  set -- $point
  [ "$(pixel "$shot" "$1" "$2")" != "0,0,153" ] || fail "nothing drawn at ($1,$2)"
done
# Between the label (20 high) and the button (from y 30) the background shows.
[ "$(pixel "$shot" 50 25)" = "0,0,153" ] || fail "expected background between label and button"

wmctrl -c "Test window" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
xdotool search --onlyvisible --name "^test message\$" >/dev/null 2>&1 && fail "a question appeared on close"
echo "PASS"

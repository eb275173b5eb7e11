#!/usr/bin/env bash
# The renderer's own window ("Window Sample"): while it is open PumpMessages answers 0; closing it
# through the window manager makes it answer 18, and glownwindow then ends with exit code 0.
source "$(dirname "$0")/../../../ui/gui/common.sh"

start_program pump >"$artefacts/own-window-close.txt"
window=$(wait_window "Window Sample") || fail "no window titled Window Sample"
sleep $((1 * wait_scale))
still_running || fail "glownwindow ended before its window was closed: $(cat "$artefacts/own-window-close.txt")"
screenshot "$window" own-window
wmctrl -c "Window Sample" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
cat "$artefacts/own-window-close.txt"
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0 (3: never answered 18, 4: never 0)"
echo "PASS"

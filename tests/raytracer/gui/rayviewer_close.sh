#!/usr/bin/env bash
# Closing rayviewer's window through the window manager ends the program with exit code 0.
source "$(dirname "$0")/../../ui/gui/common.sh"
source "$(dirname "$0")/viewer.sh"

start_program
window=$(wait_window "$title_pattern") || fail "no window titled $title"
sleep $((1 * wait_scale))
wmctrl -c "$title" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
echo "PASS"

#!/usr/bin/env bash
# uitest started from another working directory finds the UI manager beside itself and opens
# "Test window", as when started from its own directory.
source "$(dirname "$0")/common.sh"

elsewhere=$artefacts/elsewhere
mkdir -p "$elsewhere"
only_beside_program
start_program_in "$elsewhere"
window=$(wait_window "Test window") || fail "no window named Test window"
sleep 0.5
screenshot "$window" uitest-elsewhere
[ "$(pixel "$artefacts/uitest-elsewhere.png" 250 150)" = "0,0,153" ] ||
  fail "background at (250,150) is not the window's dark blue"
wmctrl -c "Test window" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
echo "PASS"

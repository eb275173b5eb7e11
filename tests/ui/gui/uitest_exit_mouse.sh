#!/usr/bin/env bash
# The question box answered with the mouse: clicking its No button keeps the program running,
# clicking Yes ends it with exit code 0.
source "$(dirname "$0")/common.sh"

start_program
window=$(wait_window "Test window") || fail "no window named Test window"
sleep 0.5

# Clicks Yes or No of the box: the buttons sit in its
# bottom row, Yes left of No; their places are taken from the box's size.
click_box_button() {
  local box=$1 which=$2
  eval "$(xdotool getwindowgeometry --shell "$box")"
  if [ -z "$runner" ]; then
    # Buttons 80 wide with 8 between them, right-aligned 14 from the edge, 13 + 13 from the bottom.
    local no_x=$((WIDTH - 14 - 40)) yes_x=$((WIDTH - 14 - 80 - 8 - 40)) y=$((HEIGHT - 20))
  else
    # The Windows box centres its buttons; Yes and No are the two in the middle.
    local no_x=$((WIDTH / 2 + 45)) yes_x=$((WIDTH / 2 - 45)) y=$((HEIGHT - 25))
  fi
  if [ "$which" = yes ]; then click_at "$box" "$yes_x" "$y"; else click_at "$box" "$no_x" "$y"; fi
}

click_at "$window" 50 45
box=$(wait_window "test message") || fail "clicking Exit showed no box"
sleep 0.5
click_box_button "$box" no
wait_no_window "test message" || fail "the box stayed after clicking No"
sleep 0.5
still_running || fail "the program ended after clicking No"

click_at "$window" 50 45
box=$(wait_window "test message") || fail "the second click on Exit showed no box"
sleep 0.5
click_box_button "$box" yes
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after clicking Yes, expected 0"
echo "PASS"

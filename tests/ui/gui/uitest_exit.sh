#!/usr/bin/env bash
# Clicking "Exit" asks "Really wanna quit?" in a box titled "test message"; No keeps the program
# running, Yes ends it with exit code 0. The boxes are answered with the keyboard.
source "$(dirname "$0")/common.sh"

start_program
window=$(wait_window "Test window") || fail "no window named Test window"
sleep 0.5

click_at "$window" 50 45
box=$(wait_window "test message") || fail "clicking Exit showed no box titled test message"
sleep 0.5
screenshot "$box" uitest-question
answer "$box" n
wait_no_window "test message" || fail "the box stayed after answering No"
sleep 0.5
still_running || fail "the program ended after answering No"

click_at "$window" 50 45
box=$(wait_window "test message") || fail "the second click on Exit showed no box"
sleep 0.3
answer "$box" Return  # Yes has the focus
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after answering Yes, expected 0"
echo "PASS"

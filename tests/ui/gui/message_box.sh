#!/usr/bin/env bash
# The UI manager's message boxes answered by keyboard and by their close box, through the uiboxtest
# program, whose exit code is the answer: AskYesNoCancel gives 1 Yes, 0 No, 2 anything else;
# AskYesNo 1 only for Yes; ShowMessage the box's result (1 for OK).
source "$(dirname "$0")/common.sh"

# case <kind> <how> <expected exit code>; how is a key name or "close" (the close box).
case_() {
  local kind=$1 how=$2 expected=$3 box code
  start_program "$kind"
  box=$(wait_window "test box") || fail "$kind: no box titled test box"
  sleep 0.5
  if [ "$how" = close ]; then
    wmctrl -c "test box" || fail "$kind: wmctrl could not close the box"
  else
    answer "$box" "$how"
  fi
  wait_exit; code=$exit_code
  [ "$code" = "$expected" ] || fail "$kind answered with $how: exit code $code, expected $expected"
  echo "ok: $kind $how -> $code"
}

start_program yesnocancel
box=$(wait_window "test box") || fail "no box titled test box"
sleep 0.5
screenshot "$box" message-box-yesnocancel
answer "$box" Escape
wait_exit; code=$exit_code
[ "$code" = 2 ] || fail "yesnocancel answered with Escape: exit code $code, expected 2"

case_ yesnocancel close 2
case_ yesnocancel y 1
case_ yesnocancel n 0
case_ yesnocancel Return 1
case_ yesno y 1
case_ yesno n 0
case_ ok Return 1
# A box with only OK gives OK when closed, as the Windows box does; Wine's box answers Cancel
# there, so the case is checked natively only.
[ -z "$runner" ] && case_ ok close 1
echo "PASS"

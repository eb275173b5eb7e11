#!/usr/bin/env bash
# Minimising rayviewer's window and bringing it back shows the scene again, not an empty window:
# the viewer hears the real size again when the window is restored.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/viewer.sh"

# window_state <window id>: the window manager's state list of the window.
window_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }

start_program
window=$(wait_window "$title_pattern") || fail "no window titled $title"
settled "$window" rayviewer-before-minimise || fail "the picture never settled"

xdotool windowminimize "$window" || fail "xdotool could not minimise the window"
for tries in $(seq $((25 * wait_scale))); do
  window_state "$window" | grep -q _NET_WM_STATE_HIDDEN && break
  sleep 0.2
done
window_state "$window" | grep -q _NET_WM_STATE_HIDDEN || fail "the window was not minimised"
# A few frames while minimised, as a user would leave it.
sleep $((1 * wait_scale))
still_running || fail "the program ended while minimised"

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || wmctrl -i -a "$window" ||
  fail "the window could not be restored"
for tries in $(seq $((25 * wait_scale))); do
  window_state "$window" | grep -q _NET_WM_STATE_HIDDEN || break
  sleep 0.2
done
window_state "$window" | grep -q _NET_WM_STATE_HIDDEN && fail "the window stayed minimised"
settled "$window" rayviewer-restored || fail "the picture never settled after restoring"
d=$(distance "$references/rayviewer-400x300.png" "$artefacts/rayviewer-restored.png")
echo "restored: distance $d from the reference"
below "$d" 0.06 || fail "after restoring the picture is $d away from the reference (limit 0.06)"

answer "$window" q
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after Q, expected 0"
echo "PASS"

#!/usr/bin/env bash
# Full screen at the screen's own size: the display mode is switched (to the same size), the
# window is borderless at the requested size and above the others. At a size the display does
# not offer the window stays an ordinary framed window. Both close through the window manager.
source "$(dirname "$0")/../../../ui/gui/common.sh"

read -r screen_width screen_height < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')

# open_full_screen <width> <height> <name>: starts glownwindow, sets window to its window.
open_full_screen() {
  start_program fullscreen "$1" "$2" >"$artefacts/$3.txt"
  window=$(wait_window "Window Sample") || fail "no window titled Window Sample ($3)"
  sleep $((1 * wait_scale))
  still_running || fail "glownwindow ended early: $(cat "$artefacts/$3.txt")"
  screenshot "$window" "$3"
}

close_window() {
  wmctrl -c "Window Sample" || fail "wmctrl could not close the window"
  wait_exit
  [ "$exit_code" = 0 ] || fail "exit code $exit_code after closing, expected 0"
}

frame() { xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //'; }
state() { xprop -id "$1" _NET_WM_STATE; }
size() { xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }

open_full_screen "$screen_width" "$screen_height" full-screen
[ "$(frame "$window")" = "0, 0, 0, 0" ] || fail "full-screen window has a frame: $(frame "$window")"
state "$window" | grep -q _NET_WM_STATE_ABOVE || fail "full-screen window is not above the others: $(state "$window")"
[ "$(size "$window")" = "${screen_width}x$screen_height" ] || fail "full-screen window is $(size "$window")"
close_window

open_full_screen 320 240 windowed
[ "$(frame "$window")" != "0, 0, 0, 0" ] || fail "the windowed window has no frame"
state "$window" | grep -q _NET_WM_STATE_ABOVE && fail "the windowed window is above the others"
close_window
echo "PASS"

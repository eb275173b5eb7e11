#!/usr/bin/env bash
# The hello sample on a page, through the real plug-in beside the player: its window fills the
# plug-in area (320 x 200, 10 pixels into the page); the applet sees the element's attributes and
# "@temp_path" = its own download folder; a key pressed in the page reaches the applet (its label
# and report) and the page (the player's output); the button's URL request reaches the player;
# closing the window ends the applet and the player with 0.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/../../../plugin/gui/applet_common.sh"
source "$(dirname "$0")/player_common.sh"

cp "$hello_package" "$artefacts/hello.qva"
cat >"$artefacts/hello.html" <<'PAGE'
<html><body><embed type="application/qv-applet" src="hello.qva" greeting="hi there"></body></html>
PAGE
title="qvaplayer - hello.html"

start_player --download-dir "$(as_program_sees "$artefacts/downloads")" hello.html
window=$(wait_window "$title") || fail "no player window; $(player_err)"
copy=$(download_of 1) || fail "not downloaded; output: $(player_out)"
folder=$(dirname "$copy")
report=$folder/hello-applet.txt
for tries in $(seq $((25 * wait_scale))); do [ -s "$report" ] && break; sleep 0.2; done
[ -s "$report" ] || fail "the applet wrote no report into $folder; $(player_err)"
wait_text "Hello! Last key: none" || fail "no applet label; texts: $(window_texts | tr '\n' '|')"

# The element's attributes and the package directory, nothing else.
expected="parameter @temp_path=$(as_program_sees "$folder")
parameter greeting=hi there
parameter src=hello.qva
parameter type=application/qv-applet"
got=$(grep '^parameter ' "$report" | tr -d '\r' | sort)
[ "$got" = "$expected" ] || fail "parameters: $(echo "$got" | tr '\n' '|')"

# The applet's white window covers the plug-in area exactly.
sleep 0.5
screenshot "$window" hello
box=$(white_box "$artefacts/hello.png")
[ "$box" = "320x200+10+10" ] || fail "the applet window is at $box, expected 320x200+10+10"
[ "$(pixel "$artefacts/hello.png" 5 5)" = "208,216,232" ] || fail "no page around the applet"

press_in_page "$window" a
wait_output "qvaplayer: key 65" || fail "the page did not get the key; output: $(player_out)"
wait_text "Hello! Last key: 65" || fail "the applet did not get the key; texts: $(window_texts | tr '\n' '|')"
for tries in $(seq $((25 * wait_scale))); do grep -qx 'key 65' <(tr -d '\r' <"$report") && break; sleep 0.2; done
grep -qx 'key 65' <(tr -d '\r' <"$report") || fail "the report does not show the key: $(cat "$report")"

# The button at (10, 40) of the applet, 120 x 30.
click_at "$window" 80 65
wait_output 'qvaplayer: open URL "http://example.com/qv/hello.html" in "_blank"' ||
  fail "no URL request; output: $(player_out)"

close_player "$title"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing, expected 0; $(player_err)"
# Nothing said by the player or the plug-in (a sanitizer's statistics may follow a clean run).
! player_err | grep -Eq '^(qvaplayer|npqvarunner):' || fail "standard error: $(player_err)"
echo "PASS"

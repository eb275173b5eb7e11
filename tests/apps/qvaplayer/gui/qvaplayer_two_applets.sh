#!/usr/bin/env bash
# Two hello applets on one page, one after another: both run in their own plug-in areas (the
# second one smaller), each with its own download folder; a key of the page reaches both; closing
# the window ends both and the player with 0.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/../../../plugin/gui/applet_common.sh"
source "$(dirname "$0")/player_common.sh"

cp "$hello_package" "$artefacts/hello.qva"
cat >"$artefacts/two.html" <<'PAGE'
<html><body>
<embed type="application/qv-applet" src="hello.qva" name="first">
<object data="hello.qva" width="200" height="120"><param name="name" value="second"></object>
</body></html>
PAGE
title="qvaplayer - two.html"

start_player --download-dir "$(as_program_sees "$artefacts/downloads")" two.html
window=$(wait_window "$title") || fail "no player window; $(player_err)"
reports=()
for applet in 1 2; do
  copy=$(download_of $applet) || fail "applet $applet not downloaded; output: $(player_out)"
  reports+=("$(dirname "$copy")/hello-applet.txt")
done
[ "${reports[0]}" != "${reports[1]}" ] || fail "both applets in one folder"
for report in "${reports[@]}"; do
  for tries in $(seq $((25 * wait_scale))); do [ -s "$report" ] && break; sleep 0.2; done
done
grep -qx 'parameter name=first' <(tr -d '\r' <"${reports[0]}") || fail "first report: $(cat "${reports[0]}")"
grep -qx 'parameter name=second' <(tr -d '\r' <"${reports[1]}") || fail "second report: $(cat "${reports[1]}")"
for tries in $(seq $((25 * wait_scale))); do
  [ "$(window_texts | grep -cFx 'Hello! Last key: none')" = 2 ] && break
  sleep 0.2
done
[ "$(window_texts | grep -cFx 'Hello! Last key: none')" = 2 ] ||
  fail "not two applet labels; texts: $(window_texts | tr '\n' '|')"

sleep 0.5
screenshot "$window" two
[ "$(white_box "$artefacts/two.png" 330x220+0+0)" = "320x200+10+10" ] ||
  fail "first applet at $(white_box "$artefacts/two.png" 330x220+0+0)"
[ "$(white_box "$artefacts/two.png" 230x220+330+0)" = "200x120+10+10" ] ||
  fail "second applet at $(white_box "$artefacts/two.png" 230x220+330+0) of the right part"

press_in_page "$window" b
wait_output "qvaplayer: key 66" || fail "the page did not get the key; output: $(player_out)"
for report in "${reports[@]}"; do
  for tries in $(seq $((25 * wait_scale))); do grep -qx 'key 66' <(tr -d '\r' <"$report") && break; sleep 0.2; done
  grep -qx 'key 66' <(tr -d '\r' <"$report") || fail "$report does not show the key: $(cat "$report")"
done

close_player "$title"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing, expected 0; $(player_err)"
# Nothing said by the player or the plug-in (a sanitizer's statistics may follow a clean run).
! player_err | grep -Eq '^(qvaplayer|npqvarunner):' || fail "standard error: $(player_err)"
echo "PASS"

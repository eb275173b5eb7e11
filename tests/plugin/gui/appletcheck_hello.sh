#!/usr/bin/env bash
# appletcheck runs the hello applet from a directory whose name holds blanks, given two words
# (only the first is used): the window "QVEAPPs Tester" at (100, 100), 320 x 200, white; the
# applet sees exactly one parameter, "@temp_path", the program's whole directory (not the
# applet's); a key shows in the applet's label; its button's OpenURL shows the box text; closing
# the window ends the program with 0.
source "$(dirname "$0")/../../ui/gui/common.sh"
source "$(dirname "$0")/applet_common.sh"

export QV_RUNTIME_KEY=
copy_program "$artefacts/dir with blanks/bin"
dir=$(cd "$(dirname "$program")" && pwd -P)
mkdir -p "$dir/applet"
cp "$hello_module" "$dir/applet/"
report=$dir/hello-applet.txt
rm -f "$report"
if [ -n "$runner" ]; then applet='applet\helloapplet.qvm'; else applet=applet/helloapplet.qvm; fi

start_program "$applet" ignored-second-word
window=$(wait_window "QVEAPPs Tester") || fail "no window QVEAPPs Tester"
sleep 0.5

eval "$(xwininfo -id "$window" | sed -n 's/^ *Absolute upper-left X: *\(-*[0-9]*\)/X=\1/p; s/^ *Absolute upper-left Y: *\(-*[0-9]*\)/Y=\1/p; s/^ *Width: *\([0-9]*\)/WIDTH=\1/p; s/^ *Height: *\([0-9]*\)/HEIGHT=\1/p')"
if [ -z "$runner" ]; then
  [ "$WIDTH" -eq 320 ] && [ "$HEIGHT" -eq 200 ] || fail "client size ${WIDTH}x$HEIGHT, expected 320x200"
else
  # On Windows 320 x 200 is the outer size; the client is the rest.
  [ "$WIDTH" -ge 300 ] && [ "$WIDTH" -le 320 ] && [ "$HEIGHT" -ge 150 ] && [ "$HEIGHT" -le 200 ] ||
    fail "client size ${WIDTH}x$HEIGHT, expected a little under 320x200"
fi
# The window (frame and all) starts at (100, 100): the client lies just inside.
[ "$X" -ge 100 ] && [ "$X" -le 112 ] && [ "$Y" -ge 100 ] && [ "$Y" -le 140 ] ||
  fail "client at ($X, $Y), expected just inside (100, 100)"

screenshot "$window" appletcheck-hello
shot=$artefacts/appletcheck-hello.png
[ "$(pixel "$shot" 250 150)" = "255,255,255" ] || fail "background at (250,150) is $(pixel "$shot" 250 150), expected white"

# Exactly one parameter: the program's own directory, blanks and all.
expected="parameter @temp_path=$(as_program_sees "$dir")"
for tries in $(seq $((25 * wait_scale))); do [ -s "$report" ] && break; sleep 0.2; done
[ "$(grep '^parameter ' "$report" | tr -d '\r')" = "$expected" ] ||
  fail "parameters: $(grep '^parameter ' "$report" | tr '\n' '|'), expected $expected"

answer "$window" a
wait_text "Hello! Last key: 65" || fail "the label does not show the key; texts: $(window_texts | tr '\n' '|')"
grep -qx 'key 65' <(tr -d '\r' <"$report") || fail "the report does not show the key: $(cat "$report")"

before=$(managed)
click_at "$window" 70 55
wait_text 'The qveapp requested to open http://example.com/qv/hello.html\non _blank' ||
  fail "no OpenURL box; texts: $(window_texts | tr '\n' '|')"
box=$(new_window "$before" "$window") || fail "the OpenURL box is no window of its own"
import -window root "$artefacts/appletcheck-hello-openurl.png"
answer "$box" Return
wait_no_window_id() { for tries in $(seq $((25 * wait_scale))); do xwininfo -id "$1" >/dev/null 2>&1 || return 0; managed | grep -qx "$1" || return 0; sleep 0.2; done; return 1; }
wait_no_window_id "$box" || fail "the box stayed after OK"
still_running || fail "the program ended with the box"

wmctrl -c "QVEAPPs Tester" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
echo "PASS"

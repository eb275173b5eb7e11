#!/usr/bin/env bash
# The player as a browser, seen from a stand-in plug-in that writes down every call: the tables'
# sizes and versions; per applet, in page order, a new instance in embed mode with the element's
# attributes in page order and unchanged, set-window with a window whose grandparent is the top
# window and the element's place and size, the package copied into a fresh folder of its own and
# delivered as a file after new-stream (or as data through write when the plug-in asks for
# that); get-URL printed and successful; keys of the page printed; closing the window destroys
# the instances, shuts the plug-in down and ends with 0.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/../../../plugin/gui/applet_common.sh"
source "$(dirname "$0")/player_common.sh"

export QV_STANDIN_LOG=$artefacts/standin.log QV_STANDIN_MODE=
cp "$hello_package" "$artefacts/pkg.qva"
bytes=$(stat -c %s "$artefacts/pkg.qva")
cat >"$artefacts/page.html" <<'PAGE'
<HTML><body><h1>Two applets</h1>
<!-- <embed src="commented.qva"> -->
<Embed TYPE="application/qv-applet" src=pkg.qva width="300" height='150' title="a &amp; b" flag>
<p>between</p>
<object data="./pkg.qva#x"><param name=speed value="3"><embed src=fallback.qva></object>
</body></HTML>
PAGE
page_url=$(printf 'file://%s%s' "$([ -n "$runner" ] && echo /Z:)" "$artefacts/pkg.qva")

# A download folder relative to the working directory, which the plug-in changes.
start_player --plugin "$(as_program_sees "$standin")" --download-dir downloads page.html
window=$(wait_window "qvaplayer - page.html") || fail "no player window; $(player_err)"
first=$(download_of 1) || fail "applet 1 not downloaded; output: $(player_out)"
second=$(download_of 2) || fail "applet 2 not downloaded; output: $(player_out)"
sleep 0.5

# The page: 10 pixels around and between the applets; the plug-in windows are dark until an
# applet draws (the stand-in draws nothing).
eval "$(xwininfo -id "$window" | sed -n 's/^ *Width: *\([0-9]*\)/WIDTH=\1/p; s/^ *Height: *\([0-9]*\)/HEIGHT=\1/p')"
[ "$WIDTH" = 650 ] && [ "$HEIGHT" = 220 ] || fail "page ${WIDTH}x$HEIGHT, expected 650x220"
screenshot "$window" standin
shot=$artefacts/standin.png
for probe in "5 5 208,216,232" "315 100 208,216,232" "20 20 64,64,64" "305 155 64,64,64" \
             "330 20 64,64,64" "635 205 64,64,64" "100 170 208,216,232"; do
  set -- $probe
  [ "$(pixel "$shot" "$1" "$2")" = "$3" ] || fail "pixel ($1, $2) is $(pixel "$shot" "$1" "$2"), expected $3"
done

press_in_page "$window" a
wait_output "qvaplayer: key 65" || fail "the page did not get the key; output: $(player_out)"

close_player "qvaplayer - page.html"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing, expected 0; $(player_err)"
wait_output "qvaplayer: window closed" || fail "no end line; output: $(player_out)"

# Every call, in order. On Windows the plug-in's table comes first, then the browser's.
if [ -n "$runner" ]; then
  start="entrypoints size=$plugin_table_size
initialize size=$browser_table_size version=0x000d"
else
  start="initialize size=$browser_table_size version=0x000d
entrypoints size=$plugin_table_size"
fi
expected="$start
new type=application/qv-applet mode=1 argc=6
arg TYPE=application/qv-applet
arg src=pkg.qva
arg width=300
arg height=150
arg title=a & b
arg flag=
setwindow x=10 y=10 width=300 height=150 type=1 grandparent-is-top=yes
newstream type=application/qv-applet url=$page_url end=$bytes seekable=0 proposed=1
asfile path=$(as_program_sees "$first") bytes=$bytes
useragent qvaplayer/1.0
geturl result=0
destroystream reason=0 written=0
new type=application/qv-applet mode=1 argc=2
arg data=./pkg.qva#x
arg speed=3
setwindow x=320 y=10 width=320 height=200 type=1 grandparent-is-top=yes
newstream type=application/qv-applet url=$page_url end=$bytes seekable=0 proposed=1
asfile path=$(as_program_sees "$second") bytes=$bytes
useragent qvaplayer/1.0
geturl result=0
destroystream reason=0 written=0
destroy
destroy
shutdown"
diff <(echo "$expected") <(tr -d '\r' <"$QV_STANDIN_LOG") >"$artefacts/calls.diff" ||
  fail "calls differ (expected < > got): $(cat "$artefacts/calls.diff")"
[ "$(player_out | grep -c '^qvaplayer: open URL "http://example.com/standin.html" in "_top"$')" = 2 ] ||
  fail "get-URL not printed twice; output: $(player_out)"

# Each applet's own fresh folder, holding only the copy.
[ "$(dirname "$first")" != "$(dirname "$second")" ] || fail "both applets downloaded into $(dirname "$first")"
for copy in "$first" "$second"; do
  [ "$(dirname "$(dirname "$copy")")" = "$artefacts/downloads" ] || fail "$copy is not in a folder of the download folder"
  [ "$(ls "$(dirname "$copy")")" = pkg.qva ] || fail "$(dirname "$copy") holds $(ls "$(dirname "$copy")")"
  cmp -s "$copy" "$hello_package" || fail "$copy differs from the package"
done

# A package alone, with attributes of the command line, to a plug-in that wants the data but
# takes at most 100 bytes per write: every byte is offered until taken, in order.
rm -f "$QV_STANDIN_LOG"
export QV_STANDIN_MODE=normal-stream-100
start_player --plugin "$(as_program_sees "$standin")" \
  --download-dir "$(as_program_sees "$artefacts/downloads")" pkg.qva width=200 colour=red src=ignored
window=$(wait_window "qvaplayer - pkg.qva") || fail "no player window for the package; $(player_err)"
download_of 1 >/dev/null || fail "package not downloaded; output: $(player_out)"
close_player "qvaplayer - pkg.qva"
[ "$exit_code" = 0 ] || fail "exit code $exit_code for the package, expected 0; $(player_err)"
got=$(tr -d '\r' <"$QV_STANDIN_LOG" | grep -v -e '^initialize' -e '^entrypoints' -e '^newstream')
expected="new type=application/qv-applet mode=1 argc=4
arg type=application/qv-applet
arg src=pkg.qva
arg width=200
arg colour=red
setwindow x=10 y=10 width=200 height=200 type=1 grandparent-is-top=yes
destroystream reason=0 written=$bytes
destroy
shutdown"
[ "$got" = "$expected" ] || fail "package calls: $(echo "$got" | tr '\n' '|')"

# A plug-in that answers a write with -1: the stream ends with a network error, the player with 1.
rm -f "$QV_STANDIN_LOG"
export QV_STANDIN_MODE=normal-stream-refused
run_player --plugin "$(as_program_sees "$standin")" pkg.qva
[ "$exit_code" = 1 ] && player_err | grep -Fxq "qvaplayer: the plug-in refused the package of applet 1 (NPError 1)" &&
  tr -d '\r' <"$QV_STANDIN_LOG" | grep -qx "destroystream reason=1 written=0" ||
  fail "refused write: exit code $exit_code, $(player_err), calls $(tr '\n' '|' <"$QV_STANDIN_LOG")"

# A page far wider than a window can be: the applets past 32767 pixels are not played, with a word.
rm -f "$QV_STANDIN_LOG"
export QV_STANDIN_MODE=
printf '<embed src=pkg.qva width=9999 height=20>%.0s' $(seq 215000) >"$artefacts/wide.html"
start_player --plugin "$(as_program_sees "$standin")" --download-dir downloads wide.html
wait_window "qvaplayer - wide.html" >/dev/null || fail "no window for the wide page; $(player_err)"
close_player "qvaplayer - wide.html"
[ "$exit_code" = 0 ] && player_err | grep -Fxq "qvaplayer: applets 4 to 215000 are not played: the page is 32767 pixels wide at most" &&
  [ "$(tr -d '\r' <"$QV_STANDIN_LOG" | grep -c '^new ')" = 3 ] &&
  tr -d '\r' <"$QV_STANDIN_LOG" | grep -q "^setwindow x=20028 y=10 width=9999 height=20 " ||
  fail "wide page: exit code $exit_code, $(player_err), calls $(grep -e '^new' -e '^setwindow' "$QV_STANDIN_LOG" | tr '\n' '|')"
echo "PASS"

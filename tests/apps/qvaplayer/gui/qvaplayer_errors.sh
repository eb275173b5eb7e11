#!/usr/bin/env bash
# What the player says when it cannot play: each case its message on standard error (with the
# usage text for a wrong command line), its exit code, and no window left behind. A plug-in that
# refuses an instance is still shut down.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/../../../plugin/gui/applet_common.sh"
source "$(dirname "$0")/player_common.sh"

export QV_STANDIN_LOG=$artefacts/standin.log
cp "$hello_package" "$artefacts/pkg.qva"
cp "$hello_module" "$artefacts/"
printf '<html><body><p>Nothing <img src="a.qva"> to play.</p></body></html>\n' >"$artefacts/empty.html"
printf '<embed src="missing.qva">\n' >"$artefacts/missing.html"
printf '<embed src="http://example.com/a.qva">\n' >"$artefacts/remote.html"
printf '<embed src="pkg.qva">\n' >"$artefacts/page.html"
{ printf '<embed src=pkg.qva'; printf ' a%d' $(seq 32767); printf '>\n'; } >"$artefacts/many.html"
truncate -s 1025M "$artefacts/big.qva"  # sparse: nothing is written
# A page's bytes are quoted escaped: ESC and an OSC title change ended by BEL never reach the
# terminal.
printf '<embed src="x\033]0;owned\007.qva">\n' >"$artefacts/escapes.html"
standin_path=$(as_program_sees "$standin")
module_path=$(as_program_sees "$artefacts/$(basename "$hello_module")")

# mode | arguments (one word each, separated by ' ; ') | exit code | message on standard error
cases=(
  " | | 2 | qvaplayer: no page or package given"
  " | --plugin | 2 | qvaplayer: --plugin needs a value"
  " | --fast ; page.html | 2 | qvaplayer: unknown option --fast"
  " | page.html ; a=b | 2 | qvaplayer: attributes (a=b) are given with a package only; a page has its own"
  " | nowhere.html | 1 | qvaplayer: cannot read the page nowhere.html"
  " | downloads | 1 | qvaplayer: cannot read the page downloads"
  " | empty.html | 1 | qvaplayer: no applet in empty.html: no <embed> or <object> of type application/qv-applet or with a .qva source"
  " | missing.html | 1 | qvaplayer: applet 1: package not found: $(as_program_sees "$artefacts/missing.qva")"
  " | remote.html | 1 | qvaplayer: applet 1: cannot fetch http://example.com/a.qva: the player reads local files only"
  " | missing.qva | 1 | qvaplayer: applet 1: package not found: $(as_program_sees "$artefacts/missing.qva")"
  " | escapes.html | 1 | qvaplayer: applet 1: package not found: $(as_program_sees "$artefacts/x")\\x1b]0;owned\\x07.qva"
  " | --plugin ; nothere.so ; page.html | 1 | qvaplayer: cannot load the plug-in library nothere.so"
  " | --plugin ; $module_path ; page.html | 1 | qvaplayer: $module_path is not a browser plug-in: it does not export NP_"
  " | --plugin ; $standin_path ; many.html | 1 | qvaplayer: applet 1 has 32768 attributes; a plug-in is given 32767 at most"
  " | --plugin ; $standin_path ; --download-dir ; nowhere ; page.html | 1 | qvaplayer: applet 1: cannot make a download folder in $(as_program_sees "$artefacts/nowhere") (it must exist and be writable)"
  " | --plugin ; $standin_path ; big.qva | 1 | qvaplayer: applet 1 is not played: the page's downloads would pass 1 GiB"
  "refuse-init | --plugin ; $standin_path ; page.html | 1 | qvaplayer: the plug-in refused to initialise (NPError 8)"
  "refuse-new | --plugin ; $standin_path ; page.html | 1 | qvaplayer: the plug-in refused applet 1 (NPError 5)"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r mode words code message <<<"$entry"
  mode=$(echo $mode)
  code=$(echo $code)
  message=${message# }
  args=()
  IFS=';' read -ra parts <<<"$words"
  for part in "${parts[@]}"; do
    part=$(echo $part)
    [ -n "$part" ] && args+=("$part")
  done
  rm -f "$QV_STANDIN_LOG"
  export QV_STANDIN_MODE=$mode
  run_player "${args[@]}"
  [ "$exit_code" = "$code" ] || fail "${args[*]}: exit code $exit_code, expected $code; $(player_err)"
  player_err | grep -Fq -- "$message" ||
    fail "${args[*]}: standard error $(player_err | tr '\n' '|'), expected $message"
  if [ "$code" = 2 ]; then
    player_err | grep -q '^usage: qvaplayer' || fail "${args[*]}: no usage text"
  fi
  [ -z "$(player_out | grep -v '^qvaplayer: applet 1 downloaded')" ] ||
    fail "${args[*]}: standard output $(player_out)"
  xdotool search --name '^qvaplayer - ' >/dev/null 2>&1 && fail "${args[*]}: a window was left"
done
# The refused instance was never destroyed, but the plug-in was shut down.
[ "$(tr -d '\r' <"$QV_STANDIN_LOG" | grep -c -e '^destroy$' -e '^shutdown$')" = 1 ] &&
  tr -d '\r' <"$QV_STANDIN_LOG" | grep -qx shutdown ||
  fail "after a refused instance: $(tr '\n' '|' <"$QV_STANDIN_LOG")"
# Without a display (Linux; a Wine program without one may leave the prefix's desktop process
# unusable for later tests).
if [ -z "$runner" ]; then
  export QV_STANDIN_MODE=
  rm -f "$QV_STANDIN_LOG"
  DISPLAY= run_player --plugin "$standin_path" page.html
  [ "$exit_code" = 1 ] && player_err | grep -Fxq "qvaplayer: cannot open the display (is DISPLAY set?)" ||
    fail "without a display: exit code $exit_code, $(player_err)"
  tr -d '\r' <"$QV_STANDIN_LOG" | grep -qx shutdown || fail "without a display the plug-in was not shut down"
fi
echo "PASS"

#!/usr/bin/env bash
# The gltfspinner sample (a glTF model and its PNG texture, with the renderer and the loader
# modules in the package) on a page, through the real plug-in beside the player: the applet's
# picture in the page is not one colour and moves between two screenshots; closing the window
# ends the player with 0. The eighth argument is the package.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/../../../plugin/gui/applet_common.sh"
source "$(dirname "$0")/player_common.sh"

cp "$8" "$artefacts/gltfspinner.qva"
cat >"$artefacts/crate.html" <<'PAGE'
<html><body><embed type="application/qv-applet" src="gltfspinner.qva" width="320" height="240"></body></html>
PAGE
start_player --download-dir "$(as_program_sees "$artefacts/downloads")" crate.html
window=$(wait_window "qvaplayer - crate.html") || fail "no player window; $(player_err)"
download_of 1 >/dev/null || fail "not downloaded; output: $(player_out)"
sleep $((3 * wait_scale))

# The applet's area of the page, 320 x 240 at (10, 10).
shot() {
  screenshot "$window" "$1"
  convert "$artefacts/$1.png" -crop 320x240+10+10 +repage "$artefacts/$1-applet.png"
  echo "$artefacts/$1-applet.png"
}
first=$(shot crate-1)
sleep 1
second=$(shot crate-2)
colours=$(convert "$second" -format %k info:)
[ "$colours" -gt 20 ] || fail "the applet shows $colours colours; $(player_err)"
[ "$(compare -metric AE "$first" "$second" null: 2>&1 | cut -d' ' -f1)" -gt 100 ] ||
  fail "the crate does not turn between two screenshots"
close_player "qvaplayer - crate.html"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing, expected 0"
echo "PASS"

#!/usr/bin/env bash
# rayviewer started from another working directory finds the UI manager and the ray tracer
# beside itself and shows the scene, as when started from its own directory.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/viewer.sh"

elsewhere=$artefacts/elsewhere
mkdir -p "$elsewhere"
only_beside_program
start_program_in "$elsewhere"
window=$(wait_window "$title_pattern") || fail "no window titled $title"
settled "$window" rayviewer-elsewhere || fail "the picture never settled"
d=$(distance "$references/rayviewer-400x300.png" "$artefacts/rayviewer-elsewhere.png")
echo "started elsewhere: distance $d from the reference"
below "$d" 0.06 || fail "the picture is $d away from the reference (limit 0.06)"
answer "$window" q
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after Q, expected 0"
echo "PASS"

#!/usr/bin/env bash
# Without qvraytracer.qvm beside it rayviewer shows "An error occured during initialization" in a
# message box and, once it is answered, ends with exit code 0. Runs a copy of the program and
# the UI manager module in a directory of their own.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/viewer.sh"

alone=$artefacts/no-tracer
rm -rf "$alone"
mkdir -p "$alone"
dir=$(dirname "$program")
cp "$program" "$alone/"
cp "$dir"/qvuimanager*.qvm "$alone/"
[ -e "$dir/qvmemmgr.qvm" ] && cp "$dir/qvmemmgr.qvm" "$alone/"
program=$alone/$(basename "$program")
export QV_RUNTIME_KEY=

# Top-level windows that the window manager manages, as decimal ids.
managed() { wmctrl -l | while read -r id _; do printf '%d\n' "$id"; done | sort; }
before=$(managed)
start_program
window=$(wait_window "$title_pattern") || fail "no window titled $title"
box=
for tries in $(seq $((25 * wait_scale))); do
  sleep 0.2
  box=$(comm -13 <(echo "$before") <(managed) | grep -vx "$window" | head -n 1)
  [ -n "$box" ] && break
done
[ -n "$box" ] || fail "no message box appeared"
sleep $((1 * wait_scale))
import -window root "$artefacts/rayviewer-no-tracer-screen.png"
still_running || fail "the program ended without waiting for the box"
answer "$box" Return
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after the message, expected 0"
echo "PASS"

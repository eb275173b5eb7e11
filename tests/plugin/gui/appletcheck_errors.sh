#!/usr/bin/env bash
# appletcheck without an applet to run: no argument (an empty first word), a missing library and
# a module that is no applet. Each time the window "QVEAPPs Tester" is made, the box says
# "Error: Cannot load " and the first word, and the exit code is 1.
source "$(dirname "$0")/../../ui/gui/common.sh"
source "$(dirname "$0")/applet_common.sh"

export QV_RUNTIME_KEY=
copy_program "$artefacts/errors"

case_() {
  local what=$1 expected=$2 before box code
  shift 2
  before=$(managed)
  start_program "$@"
  wait_window "QVEAPPs Tester" >/dev/null || fail "$what: no window QVEAPPs Tester"
  wait_text "$expected" || fail "$what: no box saying '$expected'; texts: $(window_texts | tr '\n' '|')"
  box=$(new_window "$before" "$(xdotool search --onlyvisible --name '^QVEAPPs Tester$' | head -n 1)") ||
    fail "$what: the box is no window of its own"
  import -window root "$artefacts/appletcheck-$what.png"
  still_running || fail "$what: the program ended without waiting for the box"
  answer "$box" Return
  wait_exit; code=$exit_code
  [ "$code" = 1 ] || fail "$what: exit code $code, expected 1"
  echo "ok: $what"
}

case_ no-argument "Error: Cannot load "
case_ missing "Error: Cannot load missing.qvm" missing.qvm
case_ not-an-applet "Error: Cannot load qvproploader.qvm" qvproploader.qvm
echo "PASS"

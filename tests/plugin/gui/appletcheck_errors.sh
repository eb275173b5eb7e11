#!/usr/bin/env bash
# appletcheck without an applet to run: no argument (an empty first word), a missing library, a
# file that is no library and a module that is no applet. Each time the window "QVEAPPs Tester"
# is made, the box says "Error: Cannot load " and the first word, standard error says why (before
# anyone answers the box), and the exit code is 1.
source "$(dirname "$0")/../../ui/gui/common.sh"
source "$(dirname "$0")/applet_common.sh"

export QV_RUNTIME_KEY=
copy_program "$artefacts/errors"

case_() {
  local what=$1 expected=$2 reason=$3 before box code
  shift 3
  before=$(managed)
  start_program "$@" 2>"$artefacts/errors-$what.err"
  wait_window "QVEAPPs Tester" >/dev/null || fail "$what: no window QVEAPPs Tester"
  wait_text "$expected" || fail "$what: no box saying '$expected'; texts: $(window_texts | tr '\n' '|')"
  box=$(new_window "$before" "$(xdotool search --onlyvisible --name '^QVEAPPs Tester$' | head -n 1)") ||
    fail "$what: the box is no window of its own"
  import -window root "$artefacts/appletcheck-$what.png"
  still_running || fail "$what: the program ended without waiting for the box"
  tr -d '\r' <"$artefacts/errors-$what.err" | grep -Fq -- "$reason" ||
    fail "$what: standard error does not say '$reason': $(cat "$artefacts/errors-$what.err")"
  # The system's texts name the file where they hold a place for it.
  ! grep -Fq '%1' "$artefacts/errors-$what.err" ||
    fail "$what: standard error keeps a placeholder: $(cat "$artefacts/errors-$what.err")"
  answer "$box" Return
  wait_exit; code=$exit_code
  [ "$code" = 1 ] || fail "$what: exit code $code, expected 1"
  echo "ok: $what"
}

echo "no library" >"$(dirname "$program")/broken.qvm"
case_ no-argument "Error: Cannot load " "appletcheck: cannot load : no applet module was named"
case_ missing "Error: Cannot load missing.qvm" \
  "appletcheck: cannot load missing.qvm: missing.qvm was not found. Looked for it at:" missing.qvm
case_ broken "Error: Cannot load broken.qvm" "broken.qvm failed to load: " broken.qvm
case_ not-an-applet "Error: Cannot load qvproploader.qvm" \
  'qvproploader.qvm is a module of the type "Properties Loader", not an applet' qvproploader.qvm
echo "PASS"

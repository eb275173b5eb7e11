#!/usr/bin/env bash
# Without a display (DISPLAY unset, or naming a display that does not exist) the program says so
# on standard error and ends with exit code 1, instead of running on with no window.
source "$(dirname "$0")/common.sh"

name=$(basename "$program")
# A display number that no server serves.
for n in $(seq 700 799); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done

# expect_no_display <label> <env arguments...>: runs the program in that environment.
expect_no_display() {
  local label=$1 log=$artefacts/$name-$1.log limit=$((20 * wait_scale)) code
  shift
  # shellcheck disable=SC2086
  (cd "$(dirname "$program")" && exec env "$@" timeout "$limit" $runner "$program") \
    >/dev/null 2>"$log"
  code=$?
  [ "$code" != 124 ] || fail "$label: still running after ${limit} s"
  [ "$code" = 1 ] || fail "$label: exit code $code, expected 1; standard error: $(cat "$log")"
  grep -q "no display could be opened" "$log" ||
    fail "$label: exit code $code, standard error: $(cat "$log")"
  echo "$label: exit code $code: $(cat "$log")"
}

expect_no_display no-display -u DISPLAY
expect_no_display bad-display DISPLAY=":$n"
echo "PASS"

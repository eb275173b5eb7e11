#!/usr/bin/env bash
# A copy of the program with every module but the UI manager, started from another directory:
# it says on standard error that the UI manager module could not be loaded, naming the file and
# the places searched, and ends with exit code 1 instead of ending silently with 0.
source "$(dirname "$0")/common.sh"

name=$(basename "$program")
alone=$artefacts/${name%.exe}-no-ui-manager
rm -rf "$alone"
mkdir -p "$alone/bin" "$alone/elsewhere"
cp "$program" "$alone/bin/"
cp "$(dirname "$program")"/*.qvm "$alone/bin/"
rm -f "$alone/bin"/qvuimanager*.qvm
program=$alone/bin/$name
only_beside_program

log=$artefacts/${name%.exe}-no-ui-manager.log
limit=$((20 * wait_scale))
# shellcheck disable=SC2086
(cd "$alone/elsewhere" && exec timeout "$limit" $runner "$program") >/dev/null 2>"$log"
code=$?
# Windows programs end their lines with CR LF.
tr -d '\r' <"$log" >"$log.tmp" && mv "$log.tmp" "$log"
cat "$log"
[ "$code" != 124 ] || fail "still running after ${limit} s"
[ "$code" = 1 ] || fail "exit code $code, expected 1"
grep -Eq "UI Manager module qvuimanager(x11|w32)\.qvm could not be loaded" "$log" ||
  fail "standard error does not name the UI manager module"
# The places searched, with the program's own directory and the working directory by name.
grep -Eq "the program's directory: .*no-ui-manager[/\\\\]bin\$" "$log" ||
  fail "standard error does not name the program's directory"
grep -Eq "the working directory: .*no-ui-manager[/\\\\]elsewhere\$" "$log" ||
  fail "standard error does not name the working directory"
for place in "the system directory" "the runtime directory"; do
  grep -q "$place" "$log" || fail "standard error does not mention $place"
done
echo "PASS"

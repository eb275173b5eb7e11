#!/usr/bin/env bash
# Real keys typed into a page that embeds the hello applet reach the applet's listener (its
# report shows the last key) and still reach the page (the host counts them); the instance ends
# with the host. Usage: np_keys.sh "<runner>" <npkeyhost> <artefact dir> <hello.qva>
source "$(dirname "$0")/../../../ui/gui/common.sh"
hello_package=$4

folder=$artefacts/page
rm -rf "$folder"
mkdir -p "$folder"
cp "$hello_package" "$folder/hello.qva"
report=$folder/hello-applet.txt
hostkeys=$folder/host-keys.txt

if [ -n "$runner" ]; then package='page\hello.qva'; else package=page/hello.qva; fi
start_program_in "$artefacts" "$package"
window=$(wait_window "npqvarunner test page") || fail "no test page window"
for tries in $(seq $((50 * wait_scale))); do grep -q '^key none' "$report" 2>/dev/null && break; sleep 0.2; done
grep -q '^key none' "$report" 2>/dev/null || fail "the applet did not start: $(cat "$report" 2>&1)"
screenshot "$window" np-keys-page

# The pointer away from the page, so that the keys go to the focused top window.
xdotool mousemove 0 0
typed=0
for key in a b Left; do
  answer "$window" "$key"
  typed=$((typed + 1))
  case $key in a) code=65 ;; b) code=66 ;; Left) code=37 ;; esac
  for tries in $(seq $((25 * wait_scale))); do grep -qx "key $code" <(tr -d '\r' <"$report") && break; sleep 0.2; done
  grep -qx "key $code" <(tr -d '\r' <"$report") || fail "key $key did not reach the applet: $(tr '\n' '|' <"$report")"
  for tries in $(seq $((25 * wait_scale))); do [ "$(tr -d '\r' <"$hostkeys")" -ge "$typed" ] 2>/dev/null && break; sleep 0.2; done
  [ "$(tr -d '\r' <"$hostkeys")" -ge "$typed" ] 2>/dev/null || fail "the page got $(cat "$hostkeys") key presses, expected $typed"
done
screenshot "$window" np-keys-typed

touch "$folder/stop"
wait_exit
[ "$exit_code" = 0 ] || fail "the host ended with $exit_code"
echo "keys reached the applet and the page ($(tr -d '\r' <"$hostkeys") presses)"

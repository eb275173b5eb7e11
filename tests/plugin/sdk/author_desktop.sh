#!/usr/bin/env bash
# An applet author's project built against the installed SDK alone and run by the installed
# programs, with no variable set: appletcheck and qvaplayer find the modules of their own
# installation. The counter counts a click; the cube's package brings the renderer named in
# MODULES; an unknown module stops the configuration; an applet whose Run returns with its window
# open is pointed out by appletcheck and by the plug-in.
# Usage: author_desktop.sh <source dir> <prefix> <work dir> <compiler> <compile flags> <link flags> <build type>
set -u
source_dir=$1 prefix=$2 work=$3 compiler=$4 compile_flags=$5 link_flags=$6 build_type=$7
author=$work/author

source "$source_dir/tests/ui/gui/common.sh" "" "$prefix/bin/appletcheck" "$work"
unset QV_SYSTEM_DIR
export QV_RUNTIME_KEY=
# The sanitizer build's leak checker lists the suppressions it used on standard error; the checks
# below want the programs' own words there (leaks still fail the run).
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0"
rm -rf "$author" "$author-unknown"

for file in bin/appletcheck bin/qvaplayer bin/qvglview lib/qv/libnpqvarunner.so \
            lib/qv/qvoglrenderer.qvm lib/cmake/QV/QVModules.cmake; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done

configure() {
  cmake -S "$source_dir/tests/plugin/sdk/author" -B "$1" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
        -DSAMPLES="$source_dir/examples/applets" -DCMAKE_BUILD_TYPE="$build_type" \
        -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_CXX_FLAGS="$compile_flags" \
        -DCMAKE_MODULE_LINKER_FLAGS="$link_flags" "${@:2}" >"$1.log" 2>&1
}
configure "$author-unknown" -DAUTHOR_UNKNOWN_MODULE=ON && fail "an unknown module was accepted"
grep -q "unknown module qvnosuchmodule" "$author-unknown.log" ||
  fail "no 'unknown module': $(cat "$author-unknown.log")"
configure "$author" || fail "configuring against the installed SDK failed: $(cat "$author.log")"
cmake --build "$author" >"$author/build.log" 2>&1 || fail "building failed: $(cat "$author/build.log")"

entries() { unzip -Z1 "$1" | sort | tr '\n' ' '; }
[ "$(entries "$author/counter/counter.qva")" = "counterapplet.qvm qveapp.cfg " ] ||
  fail "counter.qva holds $(entries "$author/counter/counter.qva")"
[ "$(entries "$author/cube/cube.qva")" = "cubeapplet.qvm qveapp.cfg qvoglrenderer.qvm " ] ||
  fail "cube.qva holds $(entries "$author/cube/cube.qva")"

# The counter, from another directory than the program's: a click on its button is counted.
start_program_in "$work" "$author/counter/counterapplet.qvm" 2>"$work/counter.err"
wait_window "QVEAPPs Tester" >/dev/null || fail "no window QVEAPPs Tester: $(cat "$work/counter.err")"
button=$(wait_window "Count") || fail "no Count button"
xdotool search --name '^Clicks: 0  Keys: 0$' >/dev/null || fail "no counter label"
click_at "$button" 20 10
for tries in $(seq 25); do
  xdotool search --name '^Clicks: 1  Keys: 0$' >/dev/null && break
  sleep 0.2
done
xdotool search --name '^Clicks: 1  Keys: 0$' >/dev/null || fail "the click was not counted"
wmctrl -c "QVEAPPs Tester" || fail "wmctrl could not close the window"
wait_exit
[ "$exit_code" = 0 ] || fail "counter: exit code $exit_code: $(cat "$work/counter.err")"
[ ! -s "$work/counter.err" ] || fail "counter: standard error: $(cat "$work/counter.err")"

# The applet that forgets its loop, under appletcheck and in the plug-in.
start_program "$author/quitterapplet.qvm" 2>"$work/quitter.err"
wait_exit
grep -q "appletcheck: the applet's Run returned while its window was still open" \
  "$work/quitter.err" || fail "appletcheck did not say that Run returned: $(cat "$work/quitter.err")"
program=$prefix/bin/qvaplayer
(cd "$author" && exec "$program" quitter.qva) 2>"$work/player.err" &
program_pid=$!
for tries in $(seq 50); do
  grep -q "returned from Run while its window was still open" "$work/player.err" && break
  sleep 0.2
done
wmctrl -c "qvaplayer - quitter.qva"
wait_exit
grep -q "npqvarunner: the applet in .* returned from Run while its window was still open" \
  "$work/player.err" || fail "the plug-in did not say that Run returned: $(cat "$work/player.err")"
echo "PASS"

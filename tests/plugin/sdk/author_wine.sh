#!/usr/bin/env bash
# An applet author's project cross-built against the installed Windows SDK and run by its
# programs under Wine, as author_desktop.sh does on Linux: the counter's window and label, the
# renderer packed from MODULES, and the applet that forgets its loop pointed out by appletcheck
# and by the plug-in in qvaplayer.
# Usage: author_wine.sh <source dir> <prefix> <work dir> <toolchain file> <build type> "<runner>" <window-texts tool>
set -u
source_dir=$1 prefix=$2 work=$3 toolchain=$4 build_type=$5 runner_words=$6 texts_tool=$7
author=$work/author

source "$source_dir/tests/ui/gui/common.sh" "$runner_words" "$prefix/bin/appletcheck.exe" "$work"
source "$source_dir/tests/plugin/gui/applet_common.sh" "" "" "" - "$texts_tool"
export QV_RUNTIME_KEY=
rm -rf "$author"

for file in bin/appletcheck.exe bin/qvaplayer.exe bin/qvglview.exe bin/npqvarunner.dll \
            bin/qvoglrenderer.qvm lib/cmake/QV/QVModules.cmake; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done
# The cross toolchain looks for packages below its own root only: the package is named directly.
cmake -S "$source_dir/tests/plugin/sdk/author" -B "$author" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQV_DIR="$prefix/lib/cmake/QV" \
      -DSAMPLES="$source_dir/examples/applets" -DCMAKE_BUILD_TYPE="$build_type" \
      >"$work/configure.log" 2>&1 || fail "configuring failed: $(cat "$work/configure.log")"
cmake --build "$author" >"$work/build.log" 2>&1 || fail "building failed: $(cat "$work/build.log")"
[ "$(unzip -p "$author/counter/counter.qva" qveapp.cfg)" = "main_w32=counterapplet.qvm" ] ||
  fail "counter's qveapp.cfg reads: $(unzip -p "$author/counter/counter.qva" qveapp.cfg)"
unzip -Z1 "$author/cube/cube.qva" | grep -qx qvoglrenderer.qvm || fail "cube.qva lacks the renderer"

start_program_in "$work" "$(as_program_sees "$author/counter/counterapplet.qvm")" 2>"$work/counter.err"
wait_window "QVEAPPs Tester" >/dev/null || fail "no window QVEAPPs Tester: $(cat "$work/counter.err")"
wait_text "Clicks: 0  Keys: 0" || fail "no counter label; texts: $(window_texts | tr '\n' '|')"
wmctrl -c "QVEAPPs Tester" || fail "wmctrl could not close the window"
wait_exit
[ "$exit_code" = 0 ] || fail "counter: exit code $exit_code: $(cat "$work/counter.err")"

start_program_in "$work" "$(as_program_sees "$author/quitterapplet.qvm")" 2>"$work/quitter.err"
wait_exit
tr -d '\r' <"$work/quitter.err" |
  grep -q "appletcheck: the applet's Run returned while its window was still open" ||
  fail "appletcheck did not say that Run returned: $(cat "$work/quitter.err")"

program=$prefix/bin/qvaplayer.exe
start_program_in "$author" quitter.qva 2>"$work/player.err"
for tries in $(seq $((50 * wait_scale))); do
  grep -q "returned from Run while its window was still open" "$work/player.err" && break
  sleep 0.2
done
wmctrl -c "qvaplayer - quitter.qva"
wait_exit
tr -d '\r' <"$work/player.err" |
  grep -q "npqvarunner: the applet in .* returned from Run while its window was still open" ||
  fail "the plug-in did not say that Run returned: $(cat "$work/player.err")"
echo "PASS"

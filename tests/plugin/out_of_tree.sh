#!/usr/bin/env bash
# The hello sample built out of tree, as an applet author builds it: QV installed with
# cmake --install into a prefix of its own (sdk/install.sh), the sample configured with
# find_package(QV) and packed by qv_add_applet, then run by the installed appletcheck, which finds
# its modules in its own installation's modules' directory.
# Usage: out_of_tree.sh <source dir> <prefix> <work dir> <compiler> <compile flags> <link flags> <build type>
set -u
source_dir=$1 prefix=$2 work=$3 compiler=$4 compile_flags=$5 link_flags=$6 build_type=$7
sample=$work/hello

# The GUI helpers, for the installed program.
source "$source_dir/tests/ui/gui/common.sh" "" "$prefix/bin/appletcheck" "$work"
rm -rf "$sample"

for file in bin/appletcheck lib/qv/qvuimanagerx11.qvm lib/cmake/QV/QVConfig.cmake \
            include/qv/plugin/QVApplet.h include/qv/plugin/QVAppletHost.h share/qv/applets/hello.qva; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done

cmake -S "$source_dir/examples/applets/hello" -B "$sample" -G Ninja \
      -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE="$build_type" \
      -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_CXX_FLAGS="$compile_flags" \
      -DCMAKE_MODULE_LINKER_FLAGS="$link_flags" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; fail "configuring the sample against the installed QV failed"; }
cmake --build "$sample" >"$work/build.log" 2>&1 ||
  { cat "$work/build.log"; fail "building the sample failed"; }

# The package: the generated configuration naming the module, and the module itself, which
# exports its two entry points and nothing else.
[ "$(unzip -Z1 "$sample/hello.qva" | tr '\n' ' ')" = "qveapp.cfg helloapplet.qvm " ] ||
  fail "hello.qva holds $(unzip -Z1 "$sample/hello.qva" | tr '\n' ' ')"
[ "$(unzip -p "$sample/hello.qva" qveapp.cfg)" = "main_linux=helloapplet.qvm" ] ||
  fail "qveapp.cfg reads: $(unzip -p "$sample/hello.qva" qveapp.cfg)"
[ "$(nm -D --defined-only "$sample/helloapplet.qvm" | awk '{print $3}' | sort | tr '\n' ' ')" = "CreateMod ReleaseMod " ] ||
  fail "the module exports: $(nm -D --defined-only "$sample/helloapplet.qvm")"

# The installed appletcheck runs it; the modules come from its installation, with no variable.
unset QV_SYSTEM_DIR
export QV_RUNTIME_KEY=
report=$prefix/bin/hello-applet.txt
start_program "$sample/helloapplet.qvm"
window=$(wait_window "QVEAPPs Tester") || fail "no window QVEAPPs Tester"
for tries in $(seq 25); do [ -s "$report" ] && break; sleep 0.2; done
[ "$(grep '^parameter ' "$report")" = "parameter @temp_path=$(cd "$prefix/bin" && pwd -P)" ] ||
  fail "parameters: $(cat "$report" 2>/dev/null)"
wmctrl -c "QVEAPPs Tester" || fail "wmctrl could not close the window"
wait_exit; code=$exit_code
[ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
echo "PASS"

#!/usr/bin/env bash
# Installs what is missing, then checks the formatting of every tracked C/C++ file, builds and
# tests QV on every target: linux, linux-asan, the fuzz targets (a bounded run each), the web
# build (its suites under node, then its browser tests in headless Chromium), the i386 Windows
# build and the x86_64 Windows build. Prints a summary line per check and target and a total line
# at the end; any failure fails the run.
#
# The i386 build runs under the 64-bit Wine 10 of a Debian 13 chroot in its WoW64 mode (no i386
# Linux program is executed, so this works also where the kernel refuses them); the x86_64 build
# under the same Wine as a 64-bit program. tools/wine-session.sh holds each Windows suite's Wine
# session.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "$(id -u)" -eq 0 ]; then
  bash tools/setup.sh || exit 1
else
  bash tools/setup.sh --check || exit 1
fi

jobs=${QV_JOBS:-$(nproc)}
# CI builds fresh clones in changing folders: paths relative to the tree let ccache hit anyway.
export CCACHE_BASEDIR=$root
export CCACHE_NOHASHDIR=1
logs=$root/build/logs
mkdir -p "$logs"
summary=()
total_passed=0
total_failed=0
status=0

# CTest runs in a process group of its own, so that an interruption ends all of it (the tests and,
# through tools/wine-session.sh, the Wine session) by that group's id: CTest itself goes on with
# the next test after a Ctrl-C.
group_pid=
run_group() {
  set -m
  "$@" </dev/null &
  group_pid=$!
  set +m
  wait "$group_pid"
  local rc=$?
  group_pid=
  return "$rc"
}
# Waits until the whole group has ended (bounded): the Wine session ends its server and mounts.
stop_group() {
  [ -n "$group_pid" ] || return 0
  kill -TERM -- "-$group_pid" 2>/dev/null
  wait "$group_pid" 2>/dev/null
  local try
  for try in $(seq 300); do
    kill -0 -- "-$group_pid" 2>/dev/null || break
    sleep 0.1
  done
  group_pid=
}
ctest_to_log() {
  local log=$1
  shift
  "$@" 2>&1 | tee "$log"
}

source tools/display.sh
trap 'stop_group; qv_stop_display' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
qv_start_display || {
  echo "test: could not start a virtual display" >&2
  exit 1
}

# Every tracked C/C++ file must be formatted as .clang-format says.
check_format() {
  echo "== format"
  local files=() log=$logs/format.log
  mapfile -d '' files < <(git ls-files -z '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')
  if [ ${#files[@]} -eq 0 ]; then
    summary+=("format: no tracked C/C++ files found (not a git checkout?)")
    status=1
    return
  fi
  if printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run --Werror >"$log" 2>&1; then
    summary+=("format: ${#files[@]} files formatted as .clang-format says")
  else
    local bad
    bad=$(grep -oE '^[^:]+:[0-9]+:[0-9]+: error' "$log" | cut -d: -f1 | sort -u)
    head -n 40 "$log"
    summary+=("format: FAILED, $(wc -l <<<"$bad") of ${#files[@]} files differ from clang-format's output: $(paste -sd ' ' <<<"$bad")")
    status=1
  fi
}

build_preset() {
  local preset=$1
  echo "== build $preset"
  cmake --preset "$preset" >"$logs/$preset-configure.log" 2>&1 || {
    cat "$logs/$preset-configure.log"
    return 1
  }
  local log=$logs/$preset-build.log rc
  cmake --build --preset "$preset" -j "$jobs" >"$log" 2>&1
  rc=$?
  # Warnings and errors, without the progress lines.
  grep -v '^\[' "$log" | tail -n 40
  return "$rc"
}

# test_preset <preset> [<what ran it> <wrapper command...>]
test_preset() {
  local preset=$1 note=${2:-}
  shift $(($# > 1 ? 2 : 1))
  local log=$logs/$preset-ctest.log
  echo "== test $preset${note:+ ($note)}"
  local start=$SECONDS
  run_group ctest_to_log "$log" "$@" ctest --preset "$preset" -j "$jobs"
  local rc=$? seconds=$((SECONDS - start))
  summarise_ctest "$preset" "$log" "$seconds" "$note" || return 1
  return "$rc"
}

# summarise_ctest <name> <log> <seconds> <note>: the summary line of a CTest run from its log.
summarise_ctest() {
  local name=$1 log=$2 seconds=$3 note=$4
  local line passed=0 failed=0
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    summary+=("$name: tests did not run (see $log)${note:+ ($note)}")
    return 1
  fi
  local all
  failed=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  all=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((all - failed))
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  summary+=("$name: $passed passed, $failed failed in ${seconds}s${note:+ ($note)}")
}

# The browser tests of the wasm build (CTest label "web"): the demo page, the web player and its
# page script in headless Chromium. Run after the linux build, whose qvrender traces the
# reference picture of the ray-traced scene, and apart from the node suites.
run_web_target() {
  if ! build_preset wasm; then
    summary+=("web: wasm build failed")
    status=1
    return
  fi
  local log=$logs/web-ctest.log note="browser tests of the wasm build, headless Chromium"
  echo "== test web ($note)"
  local start=$SECONDS
  run_group ctest_to_log "$log" ctest --preset wasm -L web
  local rc=$?
  summarise_ctest web "$log" $((SECONDS - start)) "$note" || rc=1
  [ "$rc" -eq 0 ] || status=1
}

run_target() {
  local preset=$1
  if ! build_preset "$preset"; then
    summary+=("$preset: build failed")
    status=1
    return
  fi
  test_preset "$preset" || status=1
}

# A Windows build's suite runs in a Wine session of its own (prefix, warm server, and for win32
# the chroot's mounts), ended when CTest ends, fails or is interrupted.
run_windows_target() {
  local preset=$1
  if ! build_preset "$preset"; then
    summary+=("$preset: build failed")
    status=1
    return
  fi
  local wine
  wine=$(source tools/wine-env.sh "$preset" && qv_wine_description)
  test_preset "$preset" "$wine" bash tools/wine-session.sh "$preset" || status=1
}

check_format
run_target linux
run_target linux-asan

# Every fuzz target for a bounded time on its seed corpus; a crash fails the run.
if bash tools/fuzz.sh; then
  summary+=("fuzz: every target ran clean for ${QV_FUZZ_SECONDS:-30}s")
else
  summary+=("fuzz: FAILED (see build/fuzz-artifacts/)")
  status=1
fi

# The web build's suites run under node (the CTest emulator of the wasm preset); its browser
# tests (label "web") follow with a summary line of their own.
without_browser_tests() { "$@" -LE web; }
run_node_target() {
  local preset=$1
  if ! build_preset "$preset"; then
    summary+=("$preset: build failed")
    status=1
    return
  fi
  test_preset "$preset" node without_browser_tests || status=1
}
run_node_target wasm
run_web_target

run_windows_target win32
run_windows_target win64

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
echo "total: $total_passed passed, $total_failed failed"
exit "$status"

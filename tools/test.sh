#!/usr/bin/env bash
# Installs what is missing, then builds and tests QV on every target: linux, linux-asan, the fuzz
# targets (a bounded run each) and the Windows build under Wine. Prints each target's CTest
# summary and a total line at the end.
#
# The Windows tests run the i386 build under 32-bit Wine. On machines that cannot execute i386
# code (some virtual machines run 64-bit user code only) the i386 build is still compiled and
# linked, and the same tests run on the x86_64 Windows build under 64-bit Wine instead.
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

source tools/display.sh
qv_start_display || { echo "test: could not start a virtual display" >&2; exit 1; }
trap 'qv_stop_display; [ -n "${wine_arch:-}" ] && (source tools/wine-env.sh "$wine_arch"; /usr/lib/wine/wineserver -k 2>/dev/null); true' EXIT

build_preset() {
  local preset=$1
  echo "== build $preset"
  cmake --preset "$preset" >"$logs/$preset-configure.log" 2>&1 || { cat "$logs/$preset-configure.log"; return 1; }
  local log=$logs/$preset-build.log rc
  cmake --build --preset "$preset" -j "$jobs" >"$log" 2>&1
  rc=$?
  # Warnings and errors, without the progress lines.
  grep -v '^\[' "$log" | tail -n 40
  return "$rc"
}

test_preset() {
  local preset=$1
  local log=$logs/$preset-ctest.log
  echo "== test $preset"
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line passed=0 failed=0
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local all
    failed=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    all=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((all - failed))
  fi
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  summary+=("$preset: $passed passed, $failed failed")
  return "$rc"
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

run_target linux
run_target linux-asan

# Every fuzz target for a bounded time on its seed corpus; a crash fails the run.
if bash tools/fuzz.sh; then
  summary+=("fuzz: every target ran clean for ${QV_FUZZ_SECONDS:-30}s")
else
  summary+=("fuzz: FAILED (see build/fuzz-artifacts/)")
  status=1
fi

if tools/can-run-i386.sh; then
  wine_arch=win32
else
  echo "== this machine cannot execute i386 code: win32 is built only, its tests run on the x86_64 Windows build"
  if build_preset win32; then
    summary+=("win32: built (tests run as win64 under 64-bit Wine)")
  else
    summary+=("win32: build failed")
    status=1
  fi
  wine_arch=win64
fi
if build_preset "$wine_arch"; then
  bash tools/wine-prepare.sh "$wine_arch"
  test_preset "$wine_arch" || status=1
else
  summary+=("$wine_arch: build failed")
  status=1
fi

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
echo "total: $total_passed passed, $total_failed failed"
exit "$status"

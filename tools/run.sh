#!/usr/bin/env bash
# The main job: installs what is missing, builds the native target and starts rayviewer.
# Without a display it runs rayviewer on a virtual one, waits for the finished picture, saves a
# screenshot of it and ends; exit code 1 when rayviewer does not start or shows nothing.
#
# Options (for tests and scripts):
#   --prebuilt DIR     use the programs already built in DIR: no setup, no build
#   --screenshot FILE  where the screenshot goes (default build/linux/rayviewer.png)
# QV_RUN_WINDOW_SECONDS and QV_RUN_SETTLE_SECONDS change how long it waits for the window
# (default 60) and for the picture to stop changing (default 120).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bin=
shot=$root/build/linux/rayviewer.png
while [ $# -gt 0 ]; do
  case $1 in
    --prebuilt) bin=$(cd "$2" && pwd); shift 2 ;;
    --screenshot) shot=$2; shift 2 ;;
    *) echo "usage: run.sh [--prebuilt DIR] [--screenshot FILE]" >&2; exit 2 ;;
  esac
done
case $shot in /*) ;; *) shot=$PWD/$shot ;; esac

if [ -z "$bin" ]; then
  if [ "$(id -u)" -eq 0 ]; then
    bash tools/setup.sh
  else
    bash tools/setup.sh --check
  fi
  cmake --preset linux >/dev/null
  cmake --build --preset linux -j "$(nproc)"
  bin=$root/build/linux/bin
fi

cd "$bin"
if [ ! -x ./rayviewer ]; then
  echo "run: rayviewer is not built yet; running the core and framework tests instead"
  ./core_tests --gtest_brief=1
  ./framework_tests --gtest_brief=1
  exit 0
fi
if [ -n "${DISPLAY:-}" ]; then
  exec ./rayviewer
fi

# No display: show it on a virtual one. Everything waited for below is bounded; on a busy machine
# the picture takes longer, so the limits are generous.
window_seconds=${QV_RUN_WINDOW_SECONDS:-60}   # for rayviewer's window to appear
settle_seconds=${QV_RUN_SETTLE_SECONDS:-120}  # for the picture to stop changing
steady_shots=3                                # screenshots in a row, half a second apart, that must be equal
title_pattern='^Raytracer: \(q=exit, z=zoom in, s=zoom out\)$'

viewer=
work=$(mktemp -d)
source "$root/tools/display.sh"
finish() {
  local code=$?
  set +e
  if [ -n "$viewer" ]; then
    kill "$viewer" 2>/dev/null || true
    for _ in $(seq 25); do
      kill -0 "$viewer" 2>/dev/null || break
      sleep 0.2
    done
    kill -KILL "$viewer" 2>/dev/null || true
    wait "$viewer" 2>/dev/null || true
  fi
  qv_stop_display
  rm -rf "$work"
  exit "$code"
}
trap finish EXIT
trap 'exit 130' INT TERM
fail() {
  echo "run: $*" >&2
  exit 1
}

qv_start_display || fail "no display here, and a virtual display (Xvfb) could not be started"
# A window mapped while the window manager is still starting up can stay unmapped for good.
for _ in $(seq 50); do
  wmctrl -m >/dev/null 2>&1 && break
  sleep 0.1
done
./rayviewer &
viewer=$!

# The window, while rayviewer is still running.
window=
for _ in $(seq $((window_seconds * 5))); do
  kill -0 "$viewer" 2>/dev/null || {
    code=0
    wait "$viewer" || code=$?
    viewer=
    fail "rayviewer ended (exit code $code) before it showed its window"
  }
  window=$(xdotool search --onlyvisible --name "$title_pattern" 2>/dev/null | head -n 1) || true
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || fail "rayviewer showed no window within $window_seconds s"

# The picture is finished once several screenshots in a row are equal and show more than one
# colour: a window that is still black (or not yet drawn) never counts as finished.
colours() { convert "$1" -format '%k' info: 2>/dev/null || echo 0; }
previous=$work/previous.png
current=$work/current.png
same=0
settled=no
deadline=$((SECONDS + settle_seconds))
while [ $SECONDS -lt $deadline ]; do
  kill -0 "$viewer" 2>/dev/null || { viewer=; fail "rayviewer ended before its picture was finished"; }
  sleep 0.5
  import -window "$window" "$current" 2>/dev/null || continue
  if [ -e "$previous" ] && [ "$(compare -metric AE "$previous" "$current" null: 2>&1)" = 0 ]; then
    same=$((same + 1))
  else
    same=1
  fi
  mv "$current" "$previous"
  if [ "$same" -ge "$steady_shots" ] && [ "$(colours "$previous")" -gt 1 ]; then
    settled=yes
    break
  fi
done
if [ "$settled" != yes ]; then
  if [ -e "$previous" ] && [ "$(colours "$previous")" -le 1 ]; then
    fail "rayviewer's window stayed one colour for $settle_seconds s: it shows nothing"
  fi
  fail "rayviewer's picture was still changing after $settle_seconds s"
fi
mkdir -p "$(dirname "$shot")"
cp "$previous" "$shot"
echo "run: no display here; rayviewer ran on a virtual display, screenshot saved to $shot"

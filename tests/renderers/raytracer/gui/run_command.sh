#!/usr/bin/env bash
# The README's run command on a machine without a display (DISPLAY unset: it starts a virtual
# display of its own, leaving the test display alone). With the real rayviewer it saves a
# screenshot of the finished scene and exits 0; when rayviewer ends before showing a window, or
# shows nothing but one colour, it says so, saves nothing and exits 1.
# Usage: run_command.sh <source dir> <bin dir> <artefact dir>
set -u
source_dir=$1
bin=$2
artefacts=$3
mkdir -p "$artefacts"
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}
# run <prebuilt dir> <screenshot>: the run command, headless; its output is kept in <screenshot>.out.
run() {
  rm -f "$2"
  env -u DISPLAY -u QV_USE_DISPLAY bash "$source_dir/tools/run.sh" --prebuilt "$1" --screenshot "$2" \
    >"$2.out" 2>&1
}

# The real program: exit 0, and the screenshot shows the scene.
run "$bin" "$artefacts/run.png"
code=$?
cat "$artefacts/run.png.out"
if [ "$code" != 0 ] || [ ! -s "$artefacts/run.png" ]; then
  fail "the run command gave exit code $code and no screenshot"
else
  colours=$(convert "$artefacts/run.png" -format '%k' info:)
  [ "$colours" -gt 1 ] || fail "the screenshot is one colour"
  reference=$source_dir/tests/renderers/raytracer/golden/rayviewer-400x300.png
  size=$(identify -format '%wx%h' "$reference")
  convert "$artefacts/run.png" -resize "$size!" "$artefacts/run-resized.png"
  d=$(compare -metric RMSE "$reference" "$artefacts/run-resized.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
  echo "screenshot: $colours colours, distance $d from the reference"
  awk -v v="$d" 'BEGIN { exit !(v < 0.06) }' || fail "the screenshot is $d away from the reference"
fi

# Stand-ins for rayviewer: one that fails at once, one whose window stays black.
title='Raytracer: (q=exit, z=zoom in, s=zoom out)'
mkdir -p "$artefacts/fails" "$artefacts/black"
printf '#!/bin/sh\nexit 3\n' >"$artefacts/fails/rayviewer"
printf '#!/bin/sh\nexec display -title "%s" -size 400x300 xc:black\n' "$title" >"$artefacts/black/rayviewer"
chmod +x "$artefacts/fails/rayviewer" "$artefacts/black/rayviewer"
for case in "fails:ended (exit code 3) before" "black:one colour"; do
  name=${case%%:*}
  expected=${case#*:}
  QV_RUN_WINDOW_SECONDS=60 QV_RUN_SETTLE_SECONDS=5 run "$artefacts/$name" "$artefacts/$name.png"
  code=$?
  [ "$code" = 1 ] || fail "$name: exit code $code, expected 1"
  grep -q "$expected" "$artefacts/$name.png.out" ||
    fail "$name: the run command did not say '$expected': $(cat "$artefacts/$name.png.out")"
  [ ! -e "$artefacts/$name.png" ] || fail "$name: a screenshot was saved"
  ! pgrep -f "^display -title Raytracer" >/dev/null || fail "$name: the stand-in still runs"
done
[ "$status" = 0 ] && echo "PASS"
exit $status

# Sourced by the rayviewer GUI tests (and through glview.sh by qvglview's), after the UI tests'
# helpers (common.sh): waiting for the progressive image to settle, comparing pictures and the
# steps that every scene viewer passes.
title="Raytracer: (q=exit, z=zoom in, s=zoom out)"
# The same as a pattern for wait_window (parentheses taken literally).
title_pattern="Raytracer: \\(q=exit, z=zoom in, s=zoom out\\)"
references=$(cd "$(dirname "${BASH_SOURCE[0]}")/../golden" && pwd)

# settled <window id> <name>: screenshots the window until two in a row are the same (the image
# is complete and the camera still); keeps the last as <artefacts>/<name>.png.
settled() {
  local tries previous=$artefacts/$2-previous.png current=$artefacts/$2.png
  import -window "$1" "$previous" 2>/dev/null
  for tries in $(seq $((40 * wait_scale))); do
    sleep 0.5
    import -window "$1" "$current" 2>/dev/null || continue
    if [ "$(compare -metric AE "$previous" "$current" null: 2>&1)" = 0 ]; then
      rm -f "$previous"
      return 0
    fi
    mv "$current" "$previous"
  done
  return 1
}

# distance <a> <b>: root mean square difference of two pictures, 0 to 1, after bringing the
# second to the size of the first (a Windows client area is a little smaller than the window).
distance() {
  local size
  size=$(identify -format '%wx%h' "$1")
  convert "$2" -resize "$size!" "$artefacts/resized.png"
  compare -metric RMSE "$1" "$artefacts/resized.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/'
}

# below <value> <limit>: whether value < limit, as decimals.
below() { awk -v v="$1" -v l="$2" 'BEGIN { exit !(v < l) }'; }

# settled_apart <window id> <name> <from> <limit>: settled, and waits on (bounded) while the
# settled picture is still within limit of the picture <from>: on a loaded machine a program may
# take a while to see a key or a mouse move, and until then its picture is settled but unchanged.
# Fails only when the picture never settles; the caller measures the distance itself.
settled_apart() {
  local tries
  for tries in $(seq $((5 * wait_scale))); do
    settled "$1" "$2" || return 1
    below "$(distance "$3" "$artefacts/$2.png")" "$4" || return 0
    sleep 0.5
  done
  return 0
}

# orbit <window id> <name> <from>: moves the pointer 60 pixels left of (200, 200), where the
# viewer keeps it, and waits until the settled picture differs from <from> by 0.02 or more. Wine
# now and then drops a pointer motion that comes shortly after the program moved the pointer
# itself; the move is then made again, at most three times, alternating sides.
orbit() {
  local x tries=0
  for x in 140 260 140; do
    tries=$((tries + 1))
    xdotool mousemove --window "$1" "$x" 200
    settled_apart "$1" "$2" "$3" 0.02 || return 1
    below "$(distance "$3" "$artefacts/$2.png")" 0.02 || return 0
    echo "orbit: the move to ($x, 200) changed nothing (try $tries)"
  done
  return 0
}

# pointer_away: puts the pointer in the screen's bottom-right corner, away from where a window
# appears: a window that opens under it gets a mouse move before the test's first one (Wine
# sends it), and that move would set the viewer's reference point.
pointer_away() {
  local width height
  read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
  xdotool mousemove $((width - 1)) $((height - 1))
}

# check_viewing <name> <limit>: the steps of a scene viewer's window (apps/common/SceneViewer):
# it opens under its title with a 400x300 client area (outside Wine) and shows the picture of
# <references>/<name>-400x300.png within <limit>; Z then S comes back to the same picture; the
# first mouse move changes nothing and leaves the pointer at (200, 200), the next one orbits the
# camera; Q ends it with exit code 0. Pictures are kept as <artefacts>/<name>-*.png.
check_viewing() {
  local name=$1 limit=$2 d code
  pointer_away
  start_program
  window=$(wait_window "$title_pattern") || fail "no window titled $title"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  if [ -z "$runner" ]; then
    [ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 300 ] || fail "client size ${WIDTH}x$HEIGHT, expected 400x300"
  fi
  settled "$window" "$name-start" || fail "the picture never settled"
  d=$(distance "$references/$name-400x300.png" "$artefacts/$name-start.png")
  echo "start: distance $d from the reference"
  below "$d" "$limit" || fail "the picture is $d away from the reference (limit $limit)"

  answer "$window" z
  settled_apart "$window" "$name-zoomed" "$artefacts/$name-start.png" 0.02 || fail "the picture never settled after Z"
  d=$(distance "$artefacts/$name-start.png" "$artefacts/$name-zoomed.png")
  echo "Z: distance $d from the start"
  below 0.02 "$d" || fail "Z did not move the camera (distance $d)"
  answer "$window" s
  settled "$window" "$name-back" || fail "the picture never settled after S"
  d=$(distance "$artefacts/$name-start.png" "$artefacts/$name-back.png")
  echo "Z then S: distance $d from the start"
  below "$d" 0.005 || fail "Z then S did not come back to the start (distance $d)"

  # The first move only sets the reference point; the pointer then jumps to (200, 200) and the next
  # move, 60 pixels to the left, orbits the camera.
  xdotool mousemove --window "$window" 250 150
  sleep $((1 * wait_scale))
  eval "$(xdotool getmouselocation --shell)"
  WX=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print $4 }')
  WY=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ { print $4 }')
  [ $((X - WX)) -eq 200 ] && [ $((Y - WY)) -eq 200 ] ||
    fail "pointer at ($((X - WX)), $((Y - WY))) in the window after a move, expected (200, 200)"
  settled "$window" "$name-first-move" || fail "the picture never settled after the first move"
  d=$(distance "$artefacts/$name-start.png" "$artefacts/$name-first-move.png")
  below "$d" 0.005 || fail "the first mouse move changed the picture (distance $d)"
  orbit "$window" "$name-orbit" "$artefacts/$name-start.png" || fail "the picture never settled after the orbit"
  d=$(distance "$artefacts/$name-start.png" "$artefacts/$name-orbit.png")
  echo "orbit: distance $d from the start"
  below 0.02 "$d" || fail "a mouse move did not orbit the camera (distance $d)"

  answer "$window" q
  wait_exit; code=$exit_code
  [ "$code" = 0 ] || fail "exit code $code after Q, expected 0"
}

# check_closing: closing a scene viewer's window through the window manager ends it with exit
# code 0.
check_closing() {
  local code
  start_program
  window=$(wait_window "$title_pattern") || fail "no window titled $title"
  sleep $((1 * wait_scale))
  wmctrl -c "$title" || fail "wmctrl could not close the window"
  wait_exit; code=$exit_code
  [ "$code" = 0 ] || fail "exit code $code after closing, expected 0"
}

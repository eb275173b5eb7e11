# Sourced by the qvglview GUI tests, after the UI tests' helpers (common.sh) and the ray tracer
# viewer's picture helpers (settled, distance, below).
source "$(dirname "${BASH_SOURCE[0]}")/../../raytracer/gui/viewer.sh"
title="OpenGL: (q=exit, z=zoom in, s=zoom out)"
title_pattern="OpenGL: \\(q=exit, z=zoom in, s=zoom out\\)"
references=$(cd "$(dirname "${BASH_SOURCE[0]}")/../golden" && pwd)
bin=$(dirname "$program")

# run_glview <args...>: runs qvglview in its folder and waits; sets exit_code, keeps standard
# output and error in $artefacts/out.txt and err.txt.
run_glview() {
  # shellcheck disable=SC2086
  (cd "$bin" && exec $runner "$program" "$@") >"$artefacts/out.txt" 2>"$artefacts/err.txt"
  exit_code=$?
}

# png <tga>: converts a screenshot to PNG beside it and prints the PNG's name.
png() {
  convert "$1" "${1%.tga}.png" && echo "${1%.tga}.png"
}

# park_pointer: puts the pointer back in the middle of the screen, where a fresh display has it,
# so that the next program's window does not open under it (Windows programs get a mouse move
# when a window appears under the pointer).
park_pointer() {
  local width height
  read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
  xdotool mousemove $((width / 2)) $((height / 2))
}

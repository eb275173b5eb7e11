# Sourced by the appletcheck GUI tests after the UI tests' common.sh. Extra arguments of every
# test: <test>.sh "<runner>" <appletcheck> <artefact dir> <hello module> <window-texts tool or ->

hello_module=$4
window_texts_tool=$5

# window_texts: the text of every window on the display, one per line, line feeds as \n. Native
# windows carry their texts as their names (child windows and the message box's text too); the
# Windows build's texts are read by a Windows tool.
window_texts() {
  if [ -n "$runner" ]; then
    # shellcheck disable=SC2086
    $runner "$window_texts_tool" 2>/dev/null | tr -d '\r'
  else
    local id
    for id in $(xwininfo -root -tree 2>/dev/null | grep -o '^ *0x[0-9a-f]*'); do
      xprop -id "$id" -notype _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p'
    done
  fi
}

# wait_text <text>: waits until a window shows exactly that text (escaped as window_texts prints).
wait_text() {
  local tries
  for tries in $(seq $((25 * wait_scale))); do
    window_texts | grep -Fxq -- "$1" && return 0
    sleep 0.2
  done
  return 1
}

# Top-level windows that the window manager manages, as decimal ids.
managed() { wmctrl -l | while read -r id _; do printf '%d\n' "$id"; done | sort; }

# new_window <ids before> [id to leave out]: the id of a managed window that appeared since.
new_window() {
  local tries found
  for tries in $(seq $((25 * wait_scale))); do
    found=$(comm -13 <(echo "$1") <(managed) | grep -vx "${2:-none}" | head -n 1)
    if [ -n "$found" ]; then
      echo "$found"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# A copy of appletcheck and the modules it loads in a directory of its own; program then names
# the copy. The directory's name may hold blanks.
copy_program() {
  local dir=$1 from
  from=$(dirname "$program")
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$program" "$dir/"
  cp "$from"/qvuimanager*.qvm "$from/qvproploader.qvm" "$dir/"
  [ -e "$from/qvmemmgr.qvm" ] && cp "$from/qvmemmgr.qvm" "$dir/"
  program=$dir/$(basename "$program")
}

# The directory as the program sees it: the Windows build under Wine sees Z:\ and backslashes.
as_program_sees() {
  if [ -n "$runner" ]; then
    printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"
  else
    printf '%s' "$1"
  fi
}

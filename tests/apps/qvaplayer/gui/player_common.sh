# Sourced by the player's GUI tests after the UI tests' common.sh and the applet tests' helpers.
# Extra arguments: <test>.sh ... <hello module> <window-texts tool> <stand-in plug-in>
# <hello package>. The player writes its standard output and error into the artefact folder.
standin=$6
hello_package=$7
rm -rf "$artefacts"
mkdir -p "$artefacts/downloads"
stdout_file=$artefacts/stdout.txt
stderr_file=$artefacts/stderr.txt

# The player's 64-bit builds hand over tables of 64-bit pointers.
case "$(file -b "$program")" in
  *PE32+* | *64-bit*) browser_table_size=176 plugin_table_size=120 ;;
  *) browser_table_size=88 plugin_table_size=60 ;;
esac

# start_player [args...]: the player in the artefact folder, its output kept.
start_player() {
  # shellcheck disable=SC2086
  (cd "$artefacts" && exec $runner "$program" "$@" >"$stdout_file" 2>"$stderr_file") &
  program_pid=$!
}

# run_player [args...]: the player to its end; its exit code in exit_code.
run_player() {
  start_player "$@"
  wait_exit
}

player_out() { tr -d '\r' <"$stdout_file" 2>/dev/null; }
player_err() { tr -d '\r' <"$stderr_file" 2>/dev/null; }

# wait_output <line>: waits until the player printed exactly that line on standard output.
wait_output() {
  local tries
  for tries in $(seq $((25 * wait_scale))); do
    player_out | grep -Fxq -- "$1" && return 0
    sleep 0.2
  done
  return 1
}

# as_unix <path the program printed>: the path on this side (Wine's Z: drive is the root).
as_unix() {
  if [ -n "$runner" ]; then
    printf '%s' "$1" | sed 's/^[Zz]://' | tr '\\' '/'
  else
    printf '%s' "$1"
  fi
}

# download_of <applet number>: the file the player downloaded that applet's package to (Unix
# path), once it said so.
download_of() {
  local tries line
  for tries in $(seq $((25 * wait_scale))); do
    line=$(player_out | sed -n "s/^qvaplayer: applet $1 downloaded to \"\\(.*\\)\"\$/\\1/p")
    if [ -n "$line" ]; then
      as_unix "$line"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# press_in_page <window> <key>: the key typed into the player's window with the pointer outside
# it, so the key goes to the top window and not to a window under the pointer.
press_in_page() {
  xdotool mousemove 0 0
  answer "$1" "$2"
}

# white_box <image> [crop]: the bounding box "WxH+X+Y" of the pure white pixels (of the crop
# "WxH+X+Y" of the image, given relative to the crop).
white_box() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -fill black +opaque white -bordercolor black -border 1 \
    -format '%@' info: | awk -F'[x+]' '{ printf "%dx%d+%d+%d", $1, $2, $3 - 1, $4 - 1 }'
}

# close_player <title>: closes the window through the window manager; the exit code in exit_code.
close_player() {
  wmctrl -c "$1" || fail "wmctrl could not close $1"
  wait_exit
}

# Sourced by the GUI tests. Usage of every test: <test>.sh "<runner>" <program> <artefact dir>
# The runner is empty for native programs and the Wine runner for Windows builds; the test display
# (Xvfb with openbox) is already up and DISPLAY exported by the test runner.
set -u
runner=$1
program=$2
artefacts=$3
mkdir -p "$artefacts"
program_pid=
# Wine starts slower than a native program, and so does a sanitized one (the sanitizer build sets
# QV_WAIT_SCALE).
if [ -n "$runner" ]; then wait_scale=4; else wait_scale=${QV_WAIT_SCALE:-1}; fi

fail() {
  echo "FAIL: $*" >&2
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  exit 1
}

# start_program [args...]: runs the program in the background from its own directory.
start_program() {
  # shellcheck disable=SC2086
  (cd "$(dirname "$program")" && exec $runner "$program" "$@") &
  program_pid=$!
}

# start_program_in <directory> [args...]: as start_program, with another working directory.
start_program_in() {
  local directory=$1
  shift
  # shellcheck disable=SC2086
  (cd "$directory" && exec $runner "$program" "$@") &
  program_pid=$!
}

# only_beside_program: no runtime directory and an empty system directory, so that modules can
# only be found beside the program or in the working directory (Linux; the Windows system
# directory holds no modules anyway).
only_beside_program() {
  mkdir -p "$artefacts/empty-system"
  export QV_RUNTIME_KEY= QV_SYSTEM_DIR=$artefacts/empty-system
}

# wait_window <name>: prints the id of the first visible window of that exact name.
wait_window() {
  local id tries
  for tries in $(seq $((50 * wait_scale))); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# wait_no_window <name>: succeeds once no visible window of that name is left.
wait_no_window() {
  local tries
  for tries in $(seq $((25 * wait_scale))); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}

# wait_exit: waits for the program to end and sets exit_code to its exit code, or to "running"
# when it did not end in time.
wait_exit() {
  local tries
  exit_code=running
  for tries in $(seq $((50 * wait_scale))); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      wait "$program_pid"
      exit_code=$?
      program_pid=
      return 0
    fi
    sleep 0.2
  done
}

# still_running: whether the program has not ended.
still_running() { kill -0 "$program_pid" 2>/dev/null; }

# answer <window id> <key>: gives the window the focus and types the key (press and release).
answer() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"
  sleep 0.2
  xdotool key "$2"
}

# click_at <window id> <x> <y>: a left click at that point of the window.
click_at() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.2
  xdotool click 1
}

# pixel <image> <x> <y>: the colour there as "r,g,b".
pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# screenshot <window id> <name>: keeps the window and the whole screen as test artefacts.
screenshot() {
  import -window "$1" "$artefacts/$2.png"
  import -window root "$artefacts/$2-screen.png"
}

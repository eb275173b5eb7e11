# Sourced: starts and stops a virtual X display (Xvfb with a light window manager) for the GUI
# tests and for Wine. Uses the caller's DISPLAY when QV_USE_DISPLAY=1.
qv_display_pids=()

qv_start_display() {
  if [ "${QV_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  # Xvfb picks a free display number itself and reports it: no race with other runs that start a
  # display at the same moment.
  local number= fd tries
  exec {fd}< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null </dev/null)
  qv_display_pids+=($!)
  read -r -t 60 -u "$fd" number
  exec {fd}<&-
  if [ -z "$number" ]; then
    echo "display: Xvfb did not report a display within 60 s" >&2
    qv_stop_display
    return 1
  fi
  export DISPLAY=":$number"
  # The window manager (the GUI tests close windows through it), with a bounded wait, generous
  # for a busy machine.
  openbox >/dev/null 2>&1 </dev/null &
  qv_display_pids+=($!)
  for tries in $(seq 600); do
    wmctrl -m >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "display: the window manager did not start on $DISPLAY within 60 s" >&2
  qv_stop_display
  return 1
}

qv_stop_display() {
  local pid
  for pid in "${qv_display_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  qv_display_pids=()
}

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
  # for a busy machine. One that ends before it answers (seen once on a loaded machine) is
  # started again.
  local manager= starts=0
  for tries in $(seq 600); do
    if [ -z "$manager" ] || ! kill -0 "$manager" 2>/dev/null; then
      [ "$starts" -lt 3 ] || break
      starts=$((starts + 1))
      openbox >/dev/null 2>&1 </dev/null &
      manager=$!
      qv_display_pids+=("$manager")
    fi
    wmctrl -m >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "display: the window manager did not answer on $DISPLAY within 60 s ($starts starts)" >&2
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

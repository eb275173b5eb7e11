# Sourced: starts and stops a virtual X display (Xvfb with a light window manager) for the GUI
# tests and for Wine. Uses the caller's DISPLAY when QV_USE_DISPLAY=1.
qv_display_pids=()

qv_start_display() {
  if [ "${QV_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    qv_display_pids+=($!)
    export DISPLAY=":$n"
    local tries
    for tries in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || return 1
    openbox >/dev/null 2>&1 </dev/null &
    qv_display_pids+=($!)
    return 0
  done
  return 1
}

qv_stop_display() {
  local pid
  for pid in "${qv_display_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  qv_display_pids=()
}

#!/usr/bin/env bash
# Runs a command in a Wine session for one Windows build, and ends the session afterwards:
#   wine-session.sh <win32|win64> <command> [args...]
# for example `bash tools/wine-session.sh win32 ctest --preset win32`. Inside the command,
# tools/wine-run.sh (CTest's emulator) runs the build's programs in this session.
#
# The session creates the Wine prefix on first use and starts a persistent Wine server before the
# command: a test program then starts in about 0.1 s instead of 0.7 s. It first builds
# the chroot's mounts (proc, sysfs, /dev, a private /run/user/0 and /tmp, the X socket folder,
# and this tree and the prefix folder bound at the same paths, so that paths match on both
# sides) in a mount namespace of its own, held by one process: nothing is mounted on the host,
# and the mounts vanish with that process.
#
# When the command ends, fails or is interrupted (INT, TERM), the session ends everything it
# started by process ids: the command's process group, the server, any process left in the
# namespace, the namespace holder. Sessions on one prefix run one at a time. The exit code is
# the command's.
set -u
tools=$(cd "$(dirname "$0")" && pwd)
source "$tools/wine-env.sh" "${1:-}" || exit 2
shift
[ $# -gt 0 ] || {
  echo "usage: wine-session.sh <win32|win64> <command> [args...]" >&2
  exit 2
}
tree=$(cd "$tools/.." && pwd -P)

server_pid=
holder_pid=
command_pid=
command_status=1

# The namespace holder: mounts, says "ready", then waits until its input closes.
holder_script='
set -e
root=$1
shift
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mkdir -p "$root/run/user/0"
mount -t tmpfs -o mode=700 tmpfs "$root/run/user/0"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
if [ -d /tmp/.X11-unix ]; then
  mkdir "$root/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
fi
for path; do
  if [ -d "$path" ]; then
    mkdir -p "$root$path"
  else
    mkdir -p "$(dirname "$root$path")"
    touch "$root$path"
  fi
  mount --rbind "$path" "$root$path"
  mount --make-rslave "$root$path"
done
# Ended by the session (by its id) once everything in the namespace has ended.
trap "" INT TERM
echo ready
read -r _ || true
'

# Runs a program of this Wine in the session. Only this script holds the session lock: Wine's
# system processes, which may outlive a run, must not inherit it.
in_wine() {
  qv_wine_exec "$@" {session_lock}>&-
}

start_holder() {
  if ! bash "$tools/wow64-chroot.sh" check; then
    echo "wine-session: the WoW64 chroot in $QV_WINE_ROOT is missing or incomplete; run tools/setup.sh as root" >&2
    return 1
  fi
  local binds=("$tree" "$qv_wine_prefix_root") extra
  if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
    binds+=("$XAUTHORITY")
  fi
  IFS=: read -r -a extra <<<"${QV_WINE_BINDS:-}"
  binds+=("${extra[@]}")
  # The real sample files that loader tests read lie beside the tree, not in it.
  local samples=${QV_SAMPLE_DATA_DIR:-}
  if [ -z "$samples" ] && [ -f "$tree/build/$qv_wine_arch/CMakeCache.txt" ]; then
    samples=$(sed -n 's/^QV_SAMPLE_DATA_DIR:[A-Z]*=//p' "$tree/build/$qv_wine_arch/CMakeCache.txt")
  fi
  if [ -n "$samples" ] && [ -d "$samples" ]; then
    binds+=("$(cd "$samples" && pwd -P)")
  fi
  coproc holder {
    exec unshare --mount --propagation slave bash -c "$holder_script" _ "$QV_WINE_ROOT" "${binds[@]}" 2>&1 {session_lock}>&-
  }
  holder_pid=$holder_PID
  local line=
  read -r -t 30 line <&"${holder[0]}"
  if [ "$line" != ready ]; then
    echo "wine-session: could not mount the chroot's folders: $line" >&2
    return 1
  fi
}

# The command runs in a process group of its own (job control), so that an interruption ends
# all of it (CTest, the test scripts, the test programs) through that group's id: CTest itself
# goes on with the next test after a Ctrl-C.
run_command() {
  set -m
  if [ -t 0 ]; then
    "$@" </dev/null {session_lock}>&- &
  else
    "$@" {session_lock}>&- &
  fi
  command_pid=$!
  set +m
  wait "$command_pid"
  command_status=$?
  command_pid=
}

# Ends the command's group, with the Wine processes in it (which stop_session would end too):
# TERM first, KILL for what is left after a few seconds.
stop_command() {
  [ -n "$command_pid" ] || return 0
  kill -TERM -- "-$command_pid" 2>/dev/null
  wait "$command_pid" 2>/dev/null
  local try
  for try in $(seq 50); do
    kill -0 -- "-$command_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL -- "-$command_pid" 2>/dev/null
  command_pid=
}

stop_session() {
  if [ -n "$server_pid" ]; then
    # Ends the prefix's Wine processes and the server; the server's own id if it lingers.
    in_wine "$QV_WINE_SERVER" -k >/dev/null 2>&1
    local try
    for try in $(seq 50); do
      kill -0 "$server_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    server_pid=
  fi
  if [ -n "$holder_pid" ]; then
    # Whatever is still inside the namespace (a Wine process that outlived its server) goes
    # first, by its id; then the holder, and the mounts with it.
    local namespace process
    namespace=$(readlink "/proc/$holder_pid/ns/mnt")
    for process in /proc/[0-9]*; do
      process=${process#/proc/}
      [ "$process" != "$holder_pid" ] || continue
      [ "$(readlink "/proc/$process/ns/mnt" 2>/dev/null)" = "$namespace" ] && kill -KILL "$process" 2>/dev/null
    done
    kill -KILL "$holder_pid" 2>/dev/null
    wait "$holder_pid" 2>/dev/null
    holder_pid=
  fi
}
trap 'stop_command; stop_session; exit "$command_status"' EXIT
trap 'command_status=130; exit' INT
trap 'command_status=143; exit' TERM

# One session per prefix at a time: a second one waits (its server would share the prefix).
mkdir -p "$qv_wine_prefix_root"
exec {session_lock}>"$WINEPREFIX.session-lock"
if ! flock -n "$session_lock"; then
  echo "wine-session: waiting for another session on $WINEPREFIX to end" >&2
  flock "$session_lock"
fi
start_holder || exit 1
export QV_WINE_SESSION=$qv_wine_arch:$holder_pid
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-session: creating the Wine prefix $WINEPREFIX"
  in_wine "$QV_WINE_LOADER" wineboot -i >/dev/null 2>&1 </dev/null
  # X11 without probing for Wayland; a crash never waits in a dialog.
  in_wine "$QV_WINE_LOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
  in_wine "$QV_WINE_LOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  in_wine "$QV_WINE_SERVER" -w
fi

# A server left from an earlier run may hold services started on another display: start afresh.
in_wine "$QV_WINE_SERVER" -k >/dev/null 2>&1
in_wine "$QV_WINE_SERVER" -w >/dev/null 2>&1
# Detached from this script's output: otherwise the Wine services that the first test starts
# inherit CTest's pipes, and CTest waits on them. In a process group of its own, so that a Ctrl-C
# leaves it to stop_session. It stays a minute after the last Wine process ends: long enough for
# the gaps between tests, short enough to end by itself should this script be killed outright.
qv_wine_command
set -m
"${qv_wine_cmd[@]}" "$QV_WINE_SERVER" --foreground --persistent=60 >/dev/null 2>&1 </dev/null {session_lock}>&- &
server_pid=$!
set +m
in_wine "$QV_WINE_LOADER" wineboot >/dev/null 2>&1 </dev/null

if [ "$qv_wine_arch" = win32 ]; then
  # 32-bit code must run inside the 64-bit Wine, or no i386 test can.
  in_wine "$QV_WINE_LOADER" 'C:\windows\syswow64\cmd.exe' /c 'exit 7' >/dev/null 2>&1 </dev/null
  code=$?
  if [ "$code" != 7 ]; then
    echo "wine-session: 32-bit code does not run in the chroot's WoW64 Wine (a 32-bit cmd.exe /c exit 7 gave $code)" >&2
    exit 1
  fi
fi

run_command "$@"
exit "$command_status"

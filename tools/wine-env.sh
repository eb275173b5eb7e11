# Sourced with one argument, win32 or win64: sets up the environment for running the project's
# Windows programs under Wine, in a prefix of the project's own for that build.
#
# Both builds run under the 64-bit Wine 10 of a Debian 13 chroot (tools/setup.sh prepares it),
# each in a prefix of its own:
# win32: the i386 build, which that Wine runs in its WoW64 mode inside one 64-bit process. The
#   same path on every machine, including those whose kernel refuses i386 programs. The prefix
#   is a 64-bit one: 32-bit programs see C:\windows\syswow64 and the 32-bit registry view.
# win64: the x86_64 build. Not the host's Wine 8: there OpenGL drawn into a child window (an
#   applet inside the plug-in's page) never reaches the screen, while Wine 10 shows it.
qv_wine_arch=${1:?win32 or win64}
qv_wine_prefix_root=${QV_WINE_PREFIX_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/qv}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs: the tests need neither. No crash debugger either: a crashing
# test program must end (and fail its test), not wait for someone to answer the debugger.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
# The chroot's root.
QV_WINE_ROOT=${QV_WOW64_ROOT:-${QV_DEPS_DIR:-/opt/qv-deps}/trixie}
case $qv_wine_arch in
  win32) export WINEPREFIX=$qv_wine_prefix_root/wine-wow64 ;;
  # Named apart from the prefix that the host's Wine 8 used for this build before.
  win64) export WINEPREFIX=$qv_wine_prefix_root/wine10-win64 ;;
  *)
    echo "wine-env: unknown architecture $qv_wine_arch" >&2
    return 2
    ;;
esac
# Called directly: Debian's /usr/bin/wine wrapper would ask for the missing 32-bit loader.
QV_WINE_LOADER=/usr/lib/wine/wine64
# Debian's wineserver wrapper adds -p0, which would end a persistent server at once.
QV_WINE_SERVER=/usr/lib/wine/wineserver64
export QV_WINE_ROOT QV_WINE_LOADER QV_WINE_SERVER

# Which Wine runs the build, for the test summary.
qv_wine_description() {
  local version
  version=$(dpkg-query --admindir="${QV_WINE_ROOT%/}/var/lib/dpkg" -W -f='${Version}' wine64 2>/dev/null)
  version=${version%%.*}
  if [ "$qv_wine_arch" = win32 ]; then
    echo "WoW64 Wine $version in a Debian 13 chroot"
  else
    echo "Wine $version in a Debian 13 chroot"
  fi
}

# qv_wine_command: sets the array qv_wine_cmd to the command that runs a program of this Wine
# (loader, server) in the current directory: an entry into the chroot, in the mount namespace of
# the running session (tools/wine-session.sh).
qv_wine_command() {
  # The chroot's own PATH and HOME; the server's socket in the session's private /run/user/0,
  # not in a /tmp/wine-XXXXXX folder.
  qv_wine_cmd=(
    nsenter --target "${QV_WINE_SESSION#*:}" --mount -- chroot "$QV_WINE_ROOT"
    /usr/bin/env --chdir="$PWD" -u LD_PRELOAD -u LD_LIBRARY_PATH -u TMPDIR
    PATH=/usr/local/bin:/usr/bin:/bin HOME=/root XDG_RUNTIME_DIR=/run/user/0
  )
}

# qv_wine_exec <program> [args...]: runs it as qv_wine_command describes.
qv_wine_exec() {
  qv_wine_command
  "${qv_wine_cmd[@]}" "$@"
}

# Whether a session for this build is running: QV_WINE_SESSION is "<arch>:<process id>", the id
# of the session's namespace holder.
qv_wine_session_running() {
  local session=${QV_WINE_SESSION:-}
  [ "${session%%:*}" = "$qv_wine_arch" ] && [ -e "/proc/${session#*:}/ns/mnt" ]
}

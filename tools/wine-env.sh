# Sourced with one argument, win32 or win64: sets up the environment for running the project's
# Windows programs under Wine, in a prefix of the project's own for that architecture.
qv_wine_arch=${1:?win32 or win64}
export WINEARCH=$qv_wine_arch
export WINEPREFIX=${QV_WINE_PREFIX_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/qv}/wine-$qv_wine_arch
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs: the tests need neither. No crash debugger either: a crashing
# test program must end (and fail its test), not wait for someone to answer the debugger.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
case $qv_wine_arch in
  win32) QV_WINE_LOADER=/usr/lib/wine/wine ;;
  win64) QV_WINE_LOADER=/usr/lib/wine/wine64 ;;
  *) echo "wine-env: unknown architecture $qv_wine_arch" >&2; return 2 ;;
esac
export QV_WINE_LOADER

# Creates the prefix on first use. Several tests may start at once, so only one creates it.
qv_wine_ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$QV_WINE_LOADER" wineboot -i >/dev/null 2>&1 </dev/null
      /usr/lib/wine/wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
}

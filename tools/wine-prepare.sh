#!/usr/bin/env bash
# Creates the Wine prefix if needed and starts a persistent, warm Wine server before CTest runs.
# The server is detached from this script's output: otherwise the Wine services that the first
# test starts inherit CTest's pipes and CTest waits on them.
set -u
source "$(dirname "$0")/wine-env.sh" "$1" || exit 2
qv_wine_ensure_prefix
# A server left from an earlier run may hold services started on another display: start afresh.
/usr/lib/wine/wineserver -k >/dev/null 2>&1
/usr/lib/wine/wineserver -w >/dev/null 2>&1
setsid /usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null &
"$QV_WINE_LOADER" wineboot >/dev/null 2>&1 </dev/null

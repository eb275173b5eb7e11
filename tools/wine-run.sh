#!/usr/bin/env bash
# CTest's emulator for the Windows builds: wine-run.sh <win32|win64> <program.exe> [args...]
set -u
source "$(dirname "$0")/wine-env.sh" "$1" || exit 2
shift
qv_wine_ensure_prefix
exec "$QV_WINE_LOADER" "$@"

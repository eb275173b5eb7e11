#!/usr/bin/env bash
# CTest's emulator for the Windows builds: wine-run.sh <win32|win64> <program.exe> [args...]
# Runs the program in the running Wine session of that build (tools/wine-session.sh), or in a
# session of its own when there is none (slower: the Wine server starts cold).
set -u
tools=$(cd "$(dirname "$0")" && pwd)
source "$tools/wine-env.sh" "${1:-}" || exit 2
if ! qv_wine_session_running; then
  exec bash "$tools/wine-session.sh" "$1" bash "$tools/wine-run.sh" "$@"
fi
shift
qv_wine_command
exec "${qv_wine_cmd[@]}" "$QV_WINE_LOADER" "$@"

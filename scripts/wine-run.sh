#!/usr/bin/env bash
# Runs a Windows program under Wine: wine-run.sh PREFIX win32|win64 PROGRAM [ARGS...]
# Used by ctest as the cross-compiling emulator; the prefix is created on first use.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1" "$2"
shift 2
wine_ensure_prefix
wine_start_server
exec "$WINELOADER" "$@"

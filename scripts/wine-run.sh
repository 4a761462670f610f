#!/usr/bin/env bash
# Runs a Windows program, 32- or 64-bit, under Wine: wine-run.sh PREFIX PROGRAM [ARGS...]
# Used by ctest as the cross-compiling emulator; the prefix is created on first use.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1"
shift
wine_ensure_prefix
wine_start_server
exec "$WINELOADER" "$@"

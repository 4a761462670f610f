#!/usr/bin/env bash
# Runs a test that needs files made elsewhere (another preset's build, the MinGW tools), or, when one
# is missing, says which and why and exits 77, which the test's SKIP_RETURN_CODE turns into "skipped".
# Usage: run_if_built.sh WHY FILE... -- COMMAND [ARGUMENT...]
#   WHY: where the files come from, e.g. "build the native preset first"
set -u
if [ "${1:-}" = --help ] || [ $# -lt 3 ]; then
  echo "usage: run_if_built.sh WHY FILE... -- COMMAND [ARGUMENT...]"
  [ "${1:-}" = --help ]; exit $?
fi
why=$1
shift
missing=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  [ -e "$1" ] || missing+=("$1")
  shift
done
if [ $# -eq 0 ]; then
  echo "run_if_built.sh: no -- before the command" >&2
  exit 2
fi
shift
if [ ${#missing[@]} -gt 0 ]; then
  echo "skipped: ${missing[*]} missing ($why)"
  exit 77
fi
exec "$@"

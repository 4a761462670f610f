#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy at the root) on our sources in the native build's compile database;
# exit 1 when it finds anything.  Configures the native preset first when it has no database yet.
# Usage: scripts/tidy.sh [FILE...]   (default: every source of ours in the database)
set -euo pipefail
if [ "${1:-}" = --help ]; then
  echo "usage: scripts/tidy.sh [FILE...]   clang-tidy on our sources, with the native build's compile_commands.json"
  exit 0
fi
cd "$(dirname "$0")/.."
build=build/native
command -v clang-tidy >/dev/null || { echo "tidy.sh: clang-tidy is missing (scripts/bootstrap.sh installs it)" >&2; exit 1; }
if [ ! -f $build/compile_commands.json ]; then
  cmake --preset native -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >build/configure-native.log 2>&1 ||
    { cat build/configure-native.log >&2; exit 1; }
fi
# The generated header autorun-disc includes exists after configuring; nothing else must be built.
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(python3 -c '
import json, os, sys
root = os.getcwd()
for entry in json.load(open(sys.argv[1])):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    if path.startswith(root + "/") and not path.startswith(root + "/build/"):
        print(os.path.relpath(path, root))' $build/compile_commands.json | sort -u)
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
printf '%s\n' "${files[@]}" |
  xargs -P "${TIDY_JOBS:-2}" -n 4 clang-tidy -p $build --quiet >"$log" 2>/dev/null || true
if grep -qE ': (warning|error):' "$log"; then
  cat "$log"
  echo "tidy.sh: $(grep -cE ': (warning|error):' "$log") finding(s) in ${#files[@]} files" >&2
  exit 1
fi
echo "tidy.sh: no findings in ${#files[@]} files"

#!/bin/sh
# Starts the Linux launcher "autorun" that lies beside this script on the disc, with the disc's
# root as the current directory, where the launcher finds its settings file bin2lnx.dat.
#
# Desktops often mount removable media "noexec".  The kernel then refuses to execute the launcher
# where it lies, and the dynamic loader can't map its code from there either, so running it through
# ld.so does not help.  The script then copies the launcher (one self-contained file) into a
# temporary folder that allows execution, runs the copy with "--launcher-dir" naming the disc, so
# that the game and the splash picture are still taken from the disc, and removes the copy when the
# launcher has ended (about two seconds later; the game runs on by itself).
disc=$(cd "$(dirname "$0")" && pwd) || exit 1
cd "$disc" || exit 1

# 126: the shell found the launcher but could not execute it.
./autorun
status=$?
[ "$status" -eq 126 ] || [ "$status" -eq 127 ] || exit "$status"

copy=""
trap 'rm -rf "$copy"' EXIT
trap 'exit 130' INT TERM
for parent in "${XDG_RUNTIME_DIR:-}" "${TMPDIR:-/tmp}" /var/tmp "${HOME:-}/.cache"; do
  [ -n "$parent" ] && [ -d "$parent" ] && [ -w "$parent" ] || continue
  copy=$(mktemp -d "$parent/autorun.XXXXXX") || continue
  if cp "$disc/autorun" "$copy/autorun" && chmod 700 "$copy/autorun"; then
    "$copy/autorun" --launcher-dir "$disc"
    status=$?
    [ "$status" -eq 126 ] || exit "$status"
  fi
  rm -rf "$copy"
  copy=""
done
echo "autorun.sh: cannot run $disc/autorun, neither from the disc nor from a temporary folder" >&2
exit 126

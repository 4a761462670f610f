# What the scripts that build a library from Debian's source packages share.  Sourced by them once they
# have set `prefix` (where the library is installed) and `stamp` (a file in it whose name says how it was
# built, so that a prefix built another way is built again).

# dependency_done FILE...: true when the prefix holds every FILE (relative to it) and the stamp.
dependency_done() {
  local file
  for file in "$@"; do [ -f "$prefix/$file" ] || return 1; done
  [ -f "$stamp" ]
}

# debian_source PACKAGE [FOLDER]: prints the package's unpacked source, fetched and unpacked once into
# FOLDER (default src-PACKAGE) beside the prefix.
debian_source() {
  "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh" "$1" "$(dirname "$prefix")/${2:-src-$1}"
}

# start_work NAME WHAT: says what is being built, and empties the prefix and the work folder beside it
# (`work`; the build's log goes to "$work.log").
start_work() {
  echo "$1: building $2"
  work="$prefix.build"
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
}

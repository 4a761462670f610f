# Sourced by the bootstrap scripts: apt-get that survives a mirror caught mid-sync.
# A damaged index (one file of the wrong size) makes `apt-get update` fail although every other
# index is fine, and an install then may not find matching versions across architectures.

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Refreshes the package indexes, trying three times; when an index is still broken, says so in one
# line and goes on with what apt has.
apt_update() {
  local attempt
  for attempt in 1 2 3; do
    as_root apt-get update -q "$@" && return 0
    [ "$attempt" = 3 ] || sleep $((attempt * 5))
  done
  echo "bootstrap: warning: apt-get update failed 3 times (a damaged index, perhaps a mirror mid-sync); going on with the indexes apt has" >&2
}

# Installs packages; when the resolver fails (for example because a damaged index left one
# architecture's security updates out), tries again pinned to the machine's own release.
apt_install() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" && return 0
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 1
  echo "bootstrap: the install failed; trying again pinned to $codename" >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends -t "$codename" "$@"
}

# Checks shared by the tool tests, sourced by them: run the tool, compare its exit status and output.
# The sourcing script sets tool_name (for messages) and the array tool_command (how to run the tool),
# or calls checks_in_work_folder.
failures=0

# checks_in_work_folder NAME COMMAND...: the checks run COMMAND (NAME in messages), and the test goes on
# in a fresh folder, removed at exit (made writable first, for tests that take permissions away).
checks_in_work_folder() {
  tool_name=$1
  shift
  tool_command=("$@")
  work=$(mktemp -d)
  trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
  cd "$work" || exit 1
}
fail() {
  local message="$*"
  [ "${#message}" -le 400 ] || message="${message:0:400}..."
  echo "FAIL: $message" >&2
  failures=$((failures + 1))
}

# run ARGS...: runs the tool; its exit status lands in $status, its output in the files out and err.
run() {
  "${tool_command[@]}" "$@" >out 2>err
  status=$?
}

expect_status() {
  local want=$1
  shift
  run "$@"
  [ "$status" -eq "$want" ] || fail "$tool_name $*: exit status $status, expected $want; stderr: $(cat err)"
}

# expect_error STATUS PATTERN ARGS...: fails with one line on stderr matching PATTERN, nothing on stdout.
expect_error() {
  local want=$1 pattern=$2
  shift 2
  expect_status "$want" "$@"
  [ "$(wc -l <err)" -eq 1 ] || fail "$tool_name $*: stderr is not one line: $(cat err)"
  grep -q -- "$pattern" err || fail "$tool_name $*: stderr lacks '$pattern': $(cat err)"
  [ ! -s out ] || fail "$tool_name $*: wrote to stdout: $(cat out)"
}

# Ends the test script with the verdict.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all $tool_name checks passed"
  exit 0
}

#!/usr/bin/env bash
# One bounded libFuzzer run of one target, for the tests and for scripts/fuzz.sh.
# Usage: run_fuzz.sh [--time SECONDS] FUZZER SEEDS WORK
#   FUZZER  the fuzz target's executable
#   SEEDS   the seed corpus in the source tree, only read
#   WORK    the run's folder: corpus/ (what the fuzzer found, kept from run to run), artifacts/
#           (inputs that crashed, hung or leaked; an earlier run's move to previous-artifacts/),
#           fuzz.log and summary.txt
# Exits 0 when the run ended without a finding; otherwise prints the finding and how to reproduce it.
set -euo pipefail
seconds=30
if [ "${1:-}" = --time ]; then seconds=$2; shift 2; fi
[ $# -eq 3 ] || { sed -n '2,9p' "$0" >&2; exit 2; }
fuzzer=$1 seeds=$2 work=$3
name=$(basename "$fuzzer")

# An input taking this long is a hang; the splash decoder needs milliseconds for any input we seed.
unit_timeout_s=10
# Findings of an earlier run stay at hand in previous-artifacts/ but don't fail this one.
if [ -n "$(ls -A "$work/artifacts" 2>/dev/null)" ]; then
  rm -rf "$work/previous-artifacts"
  mv "$work/artifacts" "$work/previous-artifacts"
fi
mkdir -p "$work/corpus" "$work/artifacts"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}print_stacktrace=1"
symbolizer=$(command -v llvm-symbolizer || command -v llvm-symbolizer-14 || true)
[ -z "$symbolizer" ] || export ASAN_SYMBOLIZER_PATH="$symbolizer"

started=$(date +%s)
status=0
# New inputs go to the first folder, so the seeds in the source tree stay as they are.
"$fuzzer" -max_total_time="$seconds" -timeout="$unit_timeout_s" -rss_limit_mb=2048 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus" "$seeds" >"$work/fuzz.log" 2>&1 ||
  status=$?
elapsed=$(($(date +%s) - started))

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log")
corpus=$(find "$work/corpus" -type f | wc -l)
findings=$(find "$work/artifacts" -type f | sort)
result=ok
[ "$status" -eq 0 ] && [ -z "$findings" ] || result=FAILED
echo "$name: ${executions:-?} executions in ${elapsed} s, corpus ${corpus} inputs, $result" | tee "$work/summary.txt"
[ "$result" = ok ] && exit 0

grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|ALARM|.*-timeout|.*out-of-memory|    #[0-9]+ )' "$work/fuzz.log" |
  head -n 40 || true
echo "full log: $work/fuzz.log"
for input in $findings; do echo "reproduce: $fuzzer $input"; done
[ -n "$findings" ] || echo "$name: the fuzzer exited with status $status without leaving an input"
exit 1

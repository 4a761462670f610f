#!/usr/bin/env bash
# Longer fuzz runs than the tests' bounded ones: builds the native-asan preset and runs each fuzz
# target in turn.  The corpus each target builds up is kept in the build folder and grows from run
# to run; inputs that crash, hang or leak are left beside it (the output names them).
set -euo pipefail
targets_all=(settings_fuzzer jpeg_decoder_fuzzer bin2dat_arguments_fuzzer pe_resources_fuzzer icon_file_fuzzer
  splash_picture_fuzzer autorun_inf_fuzzer disc_folder_fuzzer)
usage() {
  cat <<USAGE
usage: scripts/fuzz.sh [--time SECONDS] [TARGET...]
  --time SECONDS  how long each target runs (default 600)
  TARGET          ${targets_all[*]} (default: all)
Each target works in build/native-asan/tests/fuzz/runs/TARGET/: corpus/, artifacts/, fuzz.log.
USAGE
}
seconds=600
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --help | -h) usage; exit 0 ;;
    --time) seconds=${2:?--time needs a value}; shift 2 ;;
    -*) usage >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=("${targets_all[@]}")
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
mkdir -p build
scripts/build.sh native-asan

build=build/native-asan/tests/fuzz
failed=0
for target in "${targets[@]}"; do
  [ -x "$build/$target" ] || { echo "fuzz.sh: no fuzz target '$target'" >&2; exit 2; }
  tests/fuzz/run_fuzz.sh --time "$seconds" "$build/$target" "tests/fuzz/seeds/$target" "$build/runs/$target" ||
    failed=1
done
exit "$failed"

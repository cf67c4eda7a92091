#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each for SECONDS (default 600)
# on JOBS cores (default 2), starting from seeds made from the sample package and from every
# earlier finding (tests/fuzz/regressions/<target>/, each one fixed). The corpus grows in
# build/fuzz/corpus/<target>; a finding is saved in build/fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [JOBS] [TARGET...]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
jobs=${2:-2}
shift $(($# < 2 ? $# : 2))
. scripts/lib/deps.sh
setup_install_deps >/dev/null || { echo "could not install the build dependencies"; exit 1; }
fuzz=build/fuzz
mkdir -p build
{ cmake --preset fuzz && cmake --build --preset fuzz -j "$(nproc)"; } >build/fuzz-build.log 2>&1 || {
  tail -30 build/fuzz-build.log
  exit 1
}
python3 tests/fuzz/seeds.py "$fuzz/seeds"
mkdir -p "$fuzz/findings"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(ls "$fuzz/seeds"))
status=0
for target in "${targets[@]}"; do
  mkdir -p "$fuzz/corpus/$target"
  if "$fuzz/$target" -max_total_time="$seconds" -fork="$jobs" -ignore_crashes=0 \
    -artifact_prefix="$fuzz/findings/$target-" -print_final_stats=0 \
    "$fuzz/corpus/$target" "$fuzz/seeds/$target" \
    $(ls -d "tests/fuzz/regressions/$target" 2>/dev/null) >"$fuzz/$target.log" 2>&1; then
    echo "$target: nothing found in ${seconds}s"
  else
    echo "$target: FOUND (see $fuzz/$target.log and $fuzz/findings/)"
    grep -a -E 'model broken|ERROR: |SUMMARY' "$fuzz/$target.log" | head -5
    status=1
  fi
done
exit $status

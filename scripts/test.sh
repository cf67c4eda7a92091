#!/usr/bin/env bash
# Runs every test of the project: formatting, the portable core natively under the
# sanitizers, the Win32 adapters and contracts under Wine, and SETUP.EXE end to end.
# Installs what it needs first. Ends with a line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/lib/deps.sh
. scripts/lib/build.sh
. scripts/lib/wine.sh

setup_install_deps || { echo "could not install the build dependencies"; exit 1; }

logs=$root/build/logs
mkdir -p "$logs"
passed=0
failed=0

# Runs one suite, counting the tests its GoogleTest summary reports; a suite that exits
# non-zero without reporting a failure counts as one failure.
run_suite() {
  local name=$1
  shift
  local log=$logs/$name.log status=0
  "$@" >"$log" 2>&1 || status=$?
  local p f
  p=$(tr -d '\r' <"$log" | grep -a -E '^\[  PASSED  \] [0-9]+ test' | tail -1 | awk '{print $4}')
  f=$(tr -d '\r' <"$log" | grep -a -E '^\[  FAILED  \] [0-9]+ test' | tail -1 | awk '{print $4}')
  p=${p:-0}
  f=${f:-0}
  if [ "$status" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi
  passed=$((passed + p))
  failed=$((failed + f))
  echo "$name: $p passed, $f failed (log: ${log#"$root"/})"
  if [ "$f" -ne 0 ]; then
    tr -d '\r' <"$log" | grep -a -E '^\[  FAILED  \]|Failure|error|ERROR' | head -40
    echo "--- last lines of $name ---"
    tr -d '\r' <"$log" | tail -30
  fi
}

# One check counted as one test.
run_check() {
  local name=$1
  shift
  if "$@" >"$logs/$name.log" 2>&1; then
    passed=$((passed + 1))
    echo "$name: passed"
  else
    failed=$((failed + 1))
    echo "$name: FAILED"
    tail -40 "$logs/$name.log"
  fi
}

run_check format scripts/check-format.sh

for preset in native mingw-i686 mingw-x86_64; do
  if ! setup_build "$preset" >"$logs/build-$preset.log" 2>&1; then
    echo "build $preset: FAILED"
    grep -E 'error|warning' "$logs/build-$preset.log" | head -40
    tail -20 "$logs/build-$preset.log"
    echo "0 passed, 1 failed"
    exit 1
  fi
  echo "build $preset: ok"
done

# The shipped program and the sample's CAPI DLL must load on Windows NT 4.0.
nt40_lists=(scripts/nt40/allowed-imports.txt scripts/nt40/denied-imports.txt)
run_check nt40-program python3 scripts/nt40/audit-imports.py build/i686/medium/SETUP.EXE \
  "${nt40_lists[@]}"
run_check nt40-capi-dll python3 scripts/nt40/audit-imports.py --dll build/i686/CAPI2032.DLL \
  "${nt40_lists[@]}"

run_suite core-native build/native/core_tests
# Every reader of outside input under libFuzzer for a few seconds each, from the seeds and the
# earlier findings; scripts/fuzz.sh runs them long.
run_check fuzz scripts/fuzz.sh 5 1

setup_wine_prefix "$root/build/wine-tests"
setup_wine_unmanaged_windows
run_suite win32-wine setup_wine_run wine build/x86_64/win32_tests.exe
setup_wine_stop

if [ -x tests/e2e/run.sh ]; then
  run_suite e2e-wine tests/e2e/run.sh
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

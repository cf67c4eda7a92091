#!/usr/bin/env bash
# Runs SETUP.EXE end to end under Wine, in a fresh prefix that looks like Windows NT 4.0 in
# the build tree, and ends every Wine process of the prefix afterwards, also on failure.
#   tests/e2e/run.sh [BUILD_DIR] [driver options]   BUILD_DIR defaults to build/x86_64
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/x86_64}" 2>/dev/null && pwd) ||
  { echo "no build tree ${1:-$root/build/x86_64}"; exit 1; }
shift $(($# > 0 ? 1 : 0))
. "$root/scripts/lib/wine.sh"
[ -f "$build/e2e_driver.exe" ] && [ -f "$build/medium/SETUP.EXE" ] ||
  { echo "missing e2e_driver.exe or medium/SETUP.EXE in $build: build the tree first"; exit 1; }
trap setup_wine_stop EXIT
trap 'exit 130' INT TERM
setup_wine_prefix "$build/wine-e2e"
setup_wine_unmanaged_windows
# The bound keeps a hung program from stopping the whole test run.
setup_wine_run timeout 900 wine "$build/e2e_driver.exe" \
  --medium="$(setup_wine_path "$build/medium")" "$@"

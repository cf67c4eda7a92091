#!/usr/bin/env bash
# The main job: builds SETUP.EXE (the shipped 32-bit program and the 64-bit one that Wine runs
# here) and starts it from the sample medium under Wine, in a prefix that looks like
# Windows NT 4.0. Installs what it needs first.
#   With a display: SETUP.EXE opens on it; arguments are passed on (e.g. /lDeutsch, /c, /d).
#   Without one: it runs on a virtual display, where the end-to-end driver walks the intro
#   and the main dialog, installs the package through the real dialogs, prints what the
#   install made (registry keys, files, AutoExec.NT, service group order), reconfigures and
#   deinstalls it again, and saves a PNG of each window on the way into
#   build/x86_64/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/lib/deps.sh
. scripts/lib/build.sh
. scripts/lib/wine.sh

setup_install_deps
mkdir -p "$root/build"
for preset in mingw-i686 mingw-x86_64; do
  echo "Building $preset"
  setup_build "$preset" >"$root/build/run-sample-$preset.log" 2>&1 || {
    tail -30 "$root/build/run-sample-$preset.log"
    exit 1
  }
done

build=$root/build/x86_64
trap setup_wine_stop EXIT
trap 'exit 130' INT TERM
echo "Preparing the Wine prefix"
setup_wine_prefix "$build/wine-sample"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting SETUP.EXE from $build/medium"
  (cd "$build/medium" && wine SETUP.EXE "$@")
else
  shots=$build/screenshots
  rm -rf "$shots"
  mkdir -p "$shots"
  echo "No display: installing and deinstalling with SETUP.EXE on a virtual display"
  setup_wine_unmanaged_windows
  setup_wine_run timeout 900 wine "$build/e2e_driver.exe" \
    --medium="$(setup_wine_path "$build/medium")" \
    --screenshots="$(setup_wine_path "$shots")" --gtest_filter='InstallWalk.InstallsReinstallsAndDeinstallsThePackage' | tr -d '\r'
  for bmp in "$shots"/*.bmp; do
    python3 scripts/bmp-to-png.py "$bmp" "${bmp%.bmp}.png"
    rm "$bmp"
  done
  echo "Screenshots of SETUP.EXE:"
  ls -1 "$shots"/*.png
fi

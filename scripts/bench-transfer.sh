#!/usr/bin/env bash
# Benchmark of the install's file transfer: a medium at the file lists' limit (260 compressed
# files of mixed sizes, 20 additional files) through the three batches under Wine, as the
# dialogs run them and as /s runs them, against two floors: the same work done by cp and
# msexpand (the dialogs' goal: at most 1.15 times that), and the same files expanded in one
# native process (the unattended transfer's goal: at most 5 times that).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/lib/deps.sh
. scripts/lib/build.sh
. scripts/lib/wine.sh
setup_install_deps

cmake --preset mingw-x86_64 >/dev/null
cmake --build build/x86_64 -j "$(nproc)" --target transfer_bench >/dev/null
# The floor is built without the unit tests' sanitizers, optimised.
cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release -DSETUP_SANITIZE=OFF >/dev/null
cmake --build build/bench-native -j "$(nproc)" --target expand_floor >/dev/null

work=$root/build/bench
rm -rf "$work"
mkdir -p "$work"
python3 tests/bench/make_medium.py "$(command -v mscompress)" "$work/medium" "$work/originals"

setup_wine_prefix "$work/prefix"
trap setup_wine_stop EXIT
# The milliseconds of one transfer into a fresh destination; $1 "" or "unattended".
time_transfer() {
  rm -rf "$work/install"
  mkdir -p "$work/install/windows"
  setup_wine_run wine build/x86_64/transfer_bench.exe "$(setup_wine_path "$work/medium")" \
    "$(setup_wine_path "$work/install/dest")" "$(setup_wine_path "$work/install/windows")" $1 |
    tr -d '\r' | awk '/^transfer_ms/ {print $2}'
}
transfer=$(time_transfer "")
unattended=$(time_transfer unattended)
native=$(build/bench-native/expand_floor "$work/medium" "$work/native" | awk '/^floor_ms/ {print $2}')

# The floor: each additional file copied, each compressed one expanded, once.
mkdir -p "$work/floor/g0" "$work/floor/g1" "$work/floor/g2" "$work/floor/g3"
start=$(date +%s%N)
cp "$work/medium/SETUP.KVX" "$work/medium/SETUP.EXE" "$work/floor/"
cp "$work"/medium/doc/*.TXT "$work/floor/"
for dir in g0 g1 g2 g3; do
  for file in "$work/medium/$dir"/*_; do
    msexpand <"$file" >"$work/floor/$dir/$(basename "${file%_}")N"
  done
done
floor=$(( ($(date +%s%N) - start) / 1000000 ))

echo "transfer under Wine, dialogs:    ${transfer} ms"
echo "transfer under Wine, unattended: ${unattended} ms"
echo "cp and msexpand:                 ${floor} ms"
echo "expanded in one native process:  ${native} ms"
awk -v t="$transfer" -v u="$unattended" -v f="$floor" -v n="$native" 'BEGIN {
  n = n > 0 ? n : 1
  printf "dialogs against cp and msexpand:  %.2f (goal: at most 1.15)\n", t / f
  printf "dialogs against one process:      %.2f\n", t / n
  printf "unattended against one process:   %.2f (goal: at most 5)\n", u / n
}'

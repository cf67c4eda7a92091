#!/usr/bin/env bash
# Benchmark of the install's file transfer: a medium at the file lists' limit (260 compressed
# files of mixed sizes, 20 additional files) through the three batches under Wine, against
# the floor of the same work done by cp and msexpand. Prints both times and their ratio; the
# goal is a ratio of at most 1.15.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/lib/deps.sh
. scripts/lib/build.sh
. scripts/lib/wine.sh
setup_install_deps

cmake --preset mingw-x86_64 >/dev/null
cmake --build build/x86_64 -j "$(nproc)" --target transfer_bench >/dev/null

work=$root/build/bench
rm -rf "$work"
mkdir -p "$work"
python3 tests/bench/make_medium.py "$(command -v mscompress)" "$work/medium" "$work/originals"

setup_wine_prefix "$work/prefix"
trap setup_wine_stop EXIT
mkdir -p "$work/install/windows"
transfer=$(setup_wine_run wine build/x86_64/transfer_bench.exe "$(setup_wine_path "$work/medium")" \
  "$(setup_wine_path "$work/install/dest")" "$(setup_wine_path "$work/install/windows")" |
  tr -d '\r' | awk '/^transfer_ms/ {print $2}')

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

echo "transfer under Wine: ${transfer} ms"
echo "cp and msexpand:     ${floor} ms"
awk -v t="$transfer" -v f="$floor" 'BEGIN { printf "ratio: %.2f (goal: at most 1.15)\n", t / f }'

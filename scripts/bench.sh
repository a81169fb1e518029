#!/usr/bin/env bash
# One table of codec speed: LZARI as the baseline commit had it and as this
# tree has it, zlib -6 and xz -6, encode and decode in MB/s on C headers, a
# large binary, random bytes and a run of one byte, with current/baseline.
# BASELINE=<commit> picks the baseline (default dfa555d, the codec before
# the speed work); extra arguments go to codec_bench (--min-seconds S).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
baseline=${BASELINE:-dfa555d}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target codec_bench >/dev/null

# The baseline codec straight from history, built as the release preset
# builds the current one, into a library that exports only the shim.
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build/release/CMakeCache.txt)
git -C "$root" archive "$baseline" codec | tar -x -C "$work"
"${compiler:-c++}" -std=c++17 -O3 -DNDEBUG -fno-exceptions -fno-rtti -fPIC -fvisibility=hidden \
    -shared -I"$work" "$work"/codec/*.cpp bench/baseline_shim.cpp -o "$work/baseline.so"

build/release/bench/codec_bench --baseline "$work/baseline.so" "$@"

# Rows measured by other means.
row() { printf '%-36s %10s\n' "$1" "$2"; }
row "peak RSS of lzari on 1 GiB, MB" "n/a (lzari holds whole files in memory)"
setup=build/windows/product/setup.exe
if [ -f "$setup" ]; then
    row "installer runtime, bytes" "$(scripts/runtime-size.sh "$setup" | sed -n 's/^runtime: \([0-9,]*\) bytes.*/\1/p')"
else
    row "installer runtime, bytes" "n/a (build the windows preset)"
fi

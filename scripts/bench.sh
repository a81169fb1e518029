#!/usr/bin/env bash
# One table of codec speed: LZARI as the baseline commit had it and as this
# tree has it, zlib -6 and xz -6, encode and decode in MB/s on C headers, a
# large binary, random bytes and a run of one byte, with current/baseline.
# BASELINE=<commit> picks the baseline (default dfa555d, the codec before
# the speed work); extra arguments go to codec_bench (--min-seconds S).
# Then the peak memory of the lzari tool in each mode on a generated file of
# RSS_MIB MiB (default 1024; 0 skips it; compressing takes about 2 minutes).
# Then the installer's rows (scripts/bench-installer.sh): packing, and the
# time from starting setup.exe to its folder prompt under Wine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
baseline=${BASELINE:-dfa555d}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target codec_bench lzari wine-layer >/dev/null

# The baseline codec straight from history, built as the release preset
# builds the current one, into a library that exports only the shim.
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build/release/CMakeCache.txt)
git -C "$root" archive "$baseline" codec | tar -x -C "$work"
"${compiler:-c++}" -std=c++17 -O3 -DNDEBUG -fno-exceptions -fno-rtti -fPIC -fvisibility=hidden \
    -shared -I"$work" "$work"/codec/*.cpp bench/codec_shim.cpp -o "$work/baseline.so"
# This tree's codec as the i686 runtime builds it: -Os, and the integer
# paths, for its compiler targets the i686 without SSE2 or a 128-bit
# multiply. It runs here as x86_64 code, with 64-bit registers the i686
# does not have.
"${compiler:-c++}" -std=c++17 -Os -U__SSE2__ -U__SIZEOF_INT128__ -DNDEBUG -fno-exceptions -fno-rtti -fPIC -fvisibility=hidden \
    -shared -I"$root" codec/*.cpp bench/codec_shim.cpp -o "$work/runtime.so"

build/release/bench/codec_bench --baseline "$work/baseline.so" --runtime "$work/runtime.so" "$@"

# Rows measured by other means.
row() { printf '%-36s %10s\n' "$1" "$2"; }

# C headers over and over: text that takes the encoder's every path.
generate() {
    local mib=$1 out=$2 headers="$work/headers"
    find /usr/include -name '*.h' -type f | sort | awk 'NR <= 2000' | xargs cat >"$headers"
    while cat "$headers"; do :; done 2>/dev/null | head -c "$((mib << 20))" >"$out" || true
}
# Peak resident memory of one lzari run, in MB.
peak() {
    local kb
    kb=$( { /usr/bin/time -f %M build/release/tools/lzari/lzari "$@" >/dev/null; } 2>&1 | tail -1)
    echo "$((kb / 1024))"
}
rss_mib=${RSS_MIB:-1024}
if [ "$rss_mib" -gt 0 ] && [ -x /usr/bin/time ]; then
    file="$work/data"
    generate "$rss_mib" "$file"
    compress=$(peak -c "$file")
    build/release/tools/lzari/lzari -k "$file"
    decompress=$(peak -d -f -k "$file.lzr")
    row "peak RSS of lzari on $rss_mib MiB, MB" "-c $compress, -d $decompress, -t $(peak -t "$file.lzr"), -l $(peak -l "$file.lzr")"
    row "peak RSS of lzari from a pipe, MB" "-c $(cat "$file" | peak -c), -dc $(cat "$file.lzr" | peak -dc)"
else
    row "peak RSS of lzari, MB" "n/a (RSS_MIB=0 or no GNU time: scripts/setup-deps.sh)"
fi
for arch in i686 x64; do
    preset=windows
    [ "$arch" = x64 ] && preset=windows-x64
    setup=build/$preset/product/setup.exe
    if [ -f "$setup" ]; then
        row "installer runtime ($arch), bytes" \
            "$(scripts/runtime-size.sh "$setup" | sed -n 's/^runtime: \([0-9,]*\) bytes.*/\1/p')"
    else
        row "installer runtime ($arch), bytes" "n/a (build the $preset preset)"
    fi
done

# shellcheck source=bench-installer.sh
. scripts/bench-installer.sh
installer_rows

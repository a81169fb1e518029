#!/usr/bin/env bash
# Builds the optimised codec benchmark and runs it; the table of speed and
# ratio per codec and input comes last. Extra arguments go to codec_bench
# (e.g. --benchmark_filter=lzari).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset release >/dev/null
cmake --build build/release -j2 --target codec_bench
build/release/bench/codec_bench "$@"

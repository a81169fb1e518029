#!/usr/bin/env bash
# Runs each fuzz target for SECONDS (default 60), keeping a corpus per
# target under BUILD_DIR/fuzz-corpus/. Exits non-zero on any crash.
# Usage: scripts/run-fuzzers.sh [BUILD_DIR] [SECONDS]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/fuzz}
seconds=${2:-60}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset fuzz -S "$root" >/dev/null
fi
cmake --build "$build" -j2 --target fuzz_decode fuzz_roundtrip fuzz_encoder_forms fuzz_mkinstaller_inputs

# Seeds: a few small files, as plain bytes for the round trip and the
# encoder forms and as encoded containers (both versions) for the decoder.
seed_dir=$build/fuzz-seeds
mkdir -p "$seed_dir"
printf 'abc' >"$seed_dir/abc"
printf 'abcabcabcabc' >"$seed_dir/abcx4"
printf '          leading spaces then text\n' >"$seed_dir/spaces"
head -c 3000 "$root/codec/decoder.cpp" >"$seed_dir/source"
head -c 2000 /bin/ls >"$seed_dir/binary"
printf ' x%70sabababababababababababab' '' >"$seed_dir/spaces-then-pairs"
printf 'LZar\xb0\xa8\xc2\x00\x03\x00\x00\x00' >"$seed_dir/abc.v0"
printf 'LzaR\xb0\xa8\xc1\xe0\x0d\x70\x0c\x00\x00\x00\x01\x02\x03\x04\x05\x06\x07\x08' >"$seed_dir/abcx4.v1"

# For mkinstaller's inputs the first byte picks the kind: 0 logo, 1 icon,
# 2 manifest.
{ printf '\x01'; cat "$root/product/icon.ico"; } >"$seed_dir/icon.in"
{ printf '\x02'; cat "$root/product/manifest.toml"; } >"$seed_dir/manifest.in"
{ printf '\x02'; printf '[product]\nname = "A"\narch = "x64"\n[[file]]\nname = "A.EXE"\ntime = 2024-05-01T12:00:00Z\n'; } \
  >"$seed_dir/small-manifest.in"

status=0
for target in fuzz_decode fuzz_roundtrip fuzz_encoder_forms fuzz_mkinstaller_inputs; do
  corpus=$build/fuzz-corpus/$target
  mkdir -p "$corpus"
  cp -n "$seed_dir"/* "$corpus"/ 2>/dev/null || true
  echo "== $target for ${seconds}s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -max_len=8192 \
      -artifact_prefix="$build/fuzz-corpus/$target-" "$corpus" 2>"$build/$target.log"; then
    tail -40 "$build/$target.log"
    echo "$target: crash, see $build/$target.log" >&2
    status=1
  else
    tail -2 "$build/$target.log"
  fi
done
exit $status

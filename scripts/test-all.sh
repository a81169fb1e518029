#!/usr/bin/env bash
# Every test: installs what is missing, builds all presets, runs the native
# tests (ASan/UBSan), the fuzzers for a bounded time, and the Wine tests, and
# makes the tools' packages.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup-deps.sh

jobs=${JOBS:-$(nproc)}
fuzz_seconds=${FUZZ_SECONDS:-60}

# Each step says how long the one before it took.
step_name="" step_start=$SECONDS
step() {
    [ -n "$step_name" ] && printf '(%s: %d s)\n' "$step_name" $((SECONDS - step_start))
    step_name=$* step_start=$SECONDS
    printf '\n== %s ==\n' "$*"
}

step "host tools (release)"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"

step "native tests (ASan/UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

step "fuzzers (${fuzz_seconds}s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target fuzz_decode fuzz_roundtrip fuzz_encoder_forms fuzz_mkinstaller_inputs
./scripts/run-fuzzers.sh build/fuzz "$fuzz_seconds"

step "windows builds: the x64 and the i686 runtime"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

step "Wine tests of the x64 installer (the whole suite)"
ctest --preset windows-x64

problem=$(. scripts/wine-env.sh && wine_32bit_problem)
if [ -n "$problem" ]; then
    step "Wine tests of the i686 installer: this machine cannot run 32-bit x86 programs ($problem); what needs it is skipped"
else
    step "Wine tests of the i686 installer (its 32-bit-only cases and a smoke set)"
fi
ctest --preset windows

step "the tools for Windows and their Wine tests"
cmake --preset windows-tools >/dev/null
cmake --build --preset windows-tools -j "$jobs"
ctest --preset windows-tools

step "tools' package"
CMAKE_BUILD_PARALLEL_LEVEL=$jobs cmake --workflow --preset package >/dev/null
ls -l build/packages/*.deb build/packages/*.tar.gz

step "all tests passed"

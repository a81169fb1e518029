#!/usr/bin/env bash
# Every test: installs what is missing, builds all presets, runs the native
# tests (ASan/UBSan), the fuzzers for a bounded time, and the Wine tests, and
# makes the tools' packages.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup-deps.sh

jobs=${JOBS:-$(nproc)}
fuzz_seconds=${FUZZ_SECONDS:-60}

step() { printf '\n== %s ==\n' "$*"; }

step "host tools (release)"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"

step "native tests (ASan/UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

step "fuzzers (${fuzz_seconds}s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target fuzz_decode fuzz_roundtrip
./scripts/run-fuzzers.sh build/fuzz "$fuzz_seconds"

step "windows build and Wine tests"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
ctest --preset windows

step "the tools for Windows and their Wine tests"
cmake --preset windows-tools >/dev/null
cmake --build --preset windows-tools -j "$jobs"
ctest --preset windows-tools

step "tools' package"
CMAKE_BUILD_PARALLEL_LEVEL=$jobs cmake --workflow --preset package >/dev/null
ls -l build/packages/*.deb build/packages/*.tar.gz

step "all tests passed"

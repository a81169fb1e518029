#!/usr/bin/env bash
# run-under-wine.sh BUILD_DIR NAME TOOL.exe COMMAND [ARGS...]
# Runs COMMAND with a prefix of its own (NAME) in which drive D: is a fresh
# temporary folder and nothing else of the host is reachable. COMMAND gets
# TMPDIR (that folder), TOOL_UNDER_TEST (TOOL.exe's C: path in the prefix) and
# TOOL_RUNNER (runs its arguments under Wine in the current folder, which
# must lie under TMPDIR; it is then D:\...). Exit 77 (skipped) when TOOL.exe
# or COMMAND is not built.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/wine-env.sh
. "$here/../../scripts/wine-env.sh"

build=$1 name=$2 tool=$3
shift 3
[ -f "$tool" ] && [ -x "$1" ] || { echo "not built: $tool or $1" >&2; exit 77; }
wine_env_init "$build"
export WINEPREFIX="$WINE_HARNESS_DIR/$name"
wine_prefix_new "$WINEPREFIX" win64 >/dev/null
export TMPDIR="$WINE_HARNESS_DIR/$name-drive-d"
rm -rf "$TMPDIR" && mkdir -p "$TMPDIR"
ln -sfn "$TMPDIR" "$WINEPREFIX/dosdevices/d:"
trap 'wine_prefix_finish; rm -rf "$TMPDIR" "$WINEPREFIX"' EXIT
# The tests start Wine hundreds of times. A wineserver that ends 3 s after
# its last client can close its socket under one just connecting ("recvmsg:
# Connection reset by peer"); this one stays until wine_prefix_finish. So do
# the system processes Wine starts with its first program: they are started
# here, away from the pipes through which the tests read a tool's output.
wineserver -p </dev/null >/dev/null 2>&1
"$here/wine-runner" cmd /c exit </dev/null >/dev/null 2>&1
TOOL_UNDER_TEST=$(wine_stage "$WINEPREFIX" "$tool" tools)
export TOOL_UNDER_TEST
export TOOL_RUNNER="$here/wine-runner"
"$@"

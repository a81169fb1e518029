#!/usr/bin/env bash
# Ctrl+C while an output is staged: Wine turns SIGINT into the console event,
# whose handler must delete the temporary that the tool still holds open.
set -euo pipefail
cd "$TMPDIR"
fail() { echo "FAIL: $*" >&2; exit 1; }
staged() { compgen -G '.out.bin.*' >/dev/null; }

"$TOOL_RUNNER" "$TOOL_UNDER_TEST" out.bin &
runner=$!
for _ in $(seq 300); do staged && break; sleep 0.1; done
staged || fail "the probe staged no output"
# The Windows program is Wine's loader process, started by the runner.
probe=$(pgrep -n -f staged_output_probe -P "$runner")
kill -INT "$probe"
wait "$runner" || true  # Wine gives no status of its own to a Ctrl+C
staged && fail "Ctrl+C left the temporary $(compgen -G '.out.bin.*')"
[ ! -e out.bin ] || fail "Ctrl+C left out.bin"
echo "Ctrl+C removed the staged temporary"

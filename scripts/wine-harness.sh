#!/usr/bin/env bash
# Shared Wine state of one test run, for ctest's fixture tests:
#   wine-harness.sh setup BUILD_DIR    new template prefix, the shared prefix
#                                      that wine-run uses, and an Xvfb display;
#                                      for an i686 build (WINE_HARNESS_ARCH=x86)
#                                      on a machine that cannot run 32-bit
#                                      programs, only that answer, for the
#                                      tests to skip on
#   wine-harness.sh cleanup BUILD_DIR  end the shared prefix's processes and
#                                      stop that Xvfb
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

action=${1:?usage: wine-harness.sh setup|cleanup BUILD_DIR}
wine_env_init "${2:?usage: wine-harness.sh setup|cleanup BUILD_DIR}"
shared="$WINE_HARNESS_DIR/shared"
display_file="$WINE_HARNESS_DIR/display"

stop_display() {
    local pid
    [ -f "$display_file" ] || return 0
    pid=$(sed -n 2p "$display_file")
    if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then
        kill "$pid" 2>/dev/null || true
    fi
    rm -f "$display_file"
}

stop_shared_prefix() {
    [ -d "$shared" ] || return 0
    WINEPREFIX="$shared" wine_prefix_finish
}

case $action in
setup)
    stop_shared_prefix
    stop_display
    wine_templates_reset
    wine_32bit_problem >"$WINE_HARNESS_DIR/32-bit-problem"
    if [ "$WINE_HARNESS_ARCH" = x86 ] && [ -s "$WINE_HARNESS_DIR/32-bit-problem" ]; then
        echo "no prefix: this machine cannot run 32-bit x86 programs: $(cat "$WINE_HARNESS_DIR/32-bit-problem")"
        echo "the Wine tests of this i686 build are skipped"
        exit 77
    fi
    started=$(date +%s.%N)
    wine_prefix_new "$shared" win64 >/dev/null
    copied=$(date +%s.%N)
    awk -v s="$started" -v c="$copied" 'BEGIN { printf "template prefix booted and copied: %.1f s\n", c - s }'
    if [ "${WINE_HARNESS_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        printf '%s\n\n' "$DISPLAY" >"$display_file"
    else
        unset DISPLAY
        wine_display_start
        # The display outlives this script: cleanup stops it by its pid.
        printf '%s\n%s\n' "$DISPLAY" "$WINE_XVFB_PID" >"$display_file"
        disown "$WINE_XVFB_PID" 2>/dev/null || true
    fi
    echo "shared prefix $shared on display $(head -1 "$display_file")"
    ;;
cleanup)
    stop_shared_prefix
    stop_display
    ;;
*)
    echo "usage: wine-harness.sh setup|cleanup BUILD_DIR" >&2
    exit 2
    ;;
esac

# Scenario runner (usage in tests/win/README.md): source it from a scenario
# script, then run_scenario NAME EXE [options] -- STEP..., or its two halves
# scenario_prepare and scenario_drive to put files into the prefix between
# them. Needs WINE_HARNESS_BUILD, WINE_HARNESS_ARCH and WINE_DRIVER (ctest
# sets them); WINE_HARNESS_USE_DISPLAY=1 runs on $DISPLAY instead of a
# private Xvfb.

_scenario_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../../scripts/wine-env.sh
. "$_scenario_lib_dir/../../../scripts/wine-env.sh"

: "${WINE_HARNESS_BUILD:?set WINE_HARNESS_BUILD to the Windows build folder}"
wine_env_init "$WINE_HARNESS_BUILD"
_scenario_suffix=""
[ "$WINE_HARNESS_ARCH" = x64 ] && _scenario_suffix=-x64
: "${WINE_DRIVER:=$WINE_HARNESS_BUILD/tools/verify/driver/driver$_scenario_suffix.exe}"

SCENARIO_SKIP=77

# Exits with the skip code when FILE is missing (not built yet).
scenario_require() { # FILE
    if [ ! -f "$1" ]; then
        echo "skipped: $1 is not built"
        exit "$SCENARIO_SKIP"
    fi
}

scenario_prepare() { # NAME [--winver V] [--arch A] [--no-start-menu]
    local name=$1 arch=win64 configure=()
    shift
    # An i686 build's scenarios are skipped where 32-bit programs cannot run;
    # checks that run nothing (before any prefix) still run there.
    wine_require_arch
    while [ $# -gt 0 ]; do
        case $1 in
            --arch) arch=$2; shift 2 ;;
            --winver) configure+=(--winver "$2"); shift 2 ;;
            --no-start-menu) configure+=(--no-start-menu); shift ;;
            *) echo "scenario_prepare: unknown option $1" >&2; return 2 ;;
        esac
    done
    SCENARIO_PREFIX="$WINE_HARNESS_DIR/runs/$name"
    wine_prefix_new "$SCENARIO_PREFIX" "$arch" || return 1
    wine_prefix_configure "$SCENARIO_PREFIX" "${configure[@]}" || return 1
    SCENARIO_PROFILE=$(wine_profile_dir "$SCENARIO_PREFIX")
    export SCENARIO_PREFIX SCENARIO_PROFILE
}

# Answers the driver's "SHOT name" lines with a screenshot of the display.
_scenario_take_shot() { # SCENARIO SHOT
    local dir="$WINE_HARNESS_BUILD/screenshots" file
    mkdir -p "$dir"
    file="$dir/$1-$2.png"
    if import -window root -display "$DISPLAY" "$file" 2>"$dir/.import-error"; then
        echo "screenshot $file"
        echo ok >&"$_scenario_answers"
    else
        echo "fail $(head -1 "$dir/.import-error")" >&"$_scenario_answers"
    fi
}

scenario_drive() { # NAME EXE [driver options] -- STEP...
    local name=$1 exe=$2 options=() steps_file line status
    shift 2
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        case $1 in
            --no-userprofile) options+=(--no-userprofile); shift ;;
            *) echo "scenario_drive: unknown option $1" >&2; return 2 ;;
        esac
    done
    [ "${1:-}" = -- ] && shift
    local driver
    driver=$(wine_stage "$SCENARIO_PREFIX" "$WINE_DRIVER" harness) || return 1
    if [ "$exe" != - ]; then
        options+=(--exe "$(wine_stage "$SCENARIO_PREFIX" "$exe" Downloads)") || return 1
    fi
    steps_file="$SCENARIO_PREFIX/drive_c/harness/driver-steps.txt"
    printf '%s\n' "$@" >"$steps_file"
    [ $# -eq 0 ] && : >"$steps_file"

    local saved_display=${DISPLAY-} had_display=${DISPLAY+x}
    [ "${WINE_HARNESS_USE_DISPLAY:-0}" = 1 ] || unset DISPLAY
    wine_display_start || return 1
    export WINEPREFIX="$SCENARIO_PREFIX"

    echo "scenario $name: $exe on display $DISPLAY"
    # Two FIFOs rather than a coprocess: bash drops a coprocess's descriptors
    # as soon as it ends, racing the loop that reads its last lines.
    local fifos="$SCENARIO_PREFIX/driver-fifos" lines
    rm -rf "$fifos" && mkdir -p "$fifos" && mkfifo "$fifos/answers" "$fifos/lines" || return 1
    wine_exec "$driver" --shots "${options[@]}" --steps-file "$(wine_winpath "$steps_file")" \
        <"$fifos/answers" >"$fifos/lines" 2>&1 &
    local driver_pid=$!
    exec {_scenario_answers}>"$fifos/answers" {lines}<"$fifos/lines"
    while IFS= read -r line <&"$lines"; do
        line=${line%$'\r'}
        case $line in
            "SHOT "*) _scenario_take_shot "$name" "${line#SHOT }" ;;
            *) printf '%s\n' "$line" ;;
        esac
    done
    exec {_scenario_answers}>&- {lines}<&-
    wait "$driver_pid"
    status=$?

    wine_prefix_finish
    wine_display_stop
    unset WINEPREFIX
    if [ -n "$had_display" ]; then export DISPLAY="$saved_display"; fi
    echo "scenario $name: driver exit code $status"
    return "$status"
}

run_scenario() { # NAME EXE [options] -- STEP...
    local name=$1 exe=$2 prepare=() drive=()
    shift 2
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        case $1 in
            --winver | --arch) prepare+=("$1" "$2"); shift 2 ;;
            --no-start-menu) prepare+=("$1"); shift ;;
            --no-userprofile) drive+=("$1"); shift ;;
            *) echo "run_scenario: unknown option $1" >&2; return 2 ;;
        esac
    done
    scenario_prepare "$name" "${prepare[@]}" || return 1
    scenario_drive "$name" "$exe" "${drive[@]}" "$@"
}

# Scenario runner (usage in tests/win/README.md): source it from a scenario
# script, then run_scenario NAME EXE [options] -- STEP..., or its two halves
# scenario_prepare and scenario_drive to put files into the prefix between
# them. The prefix comes from the harness's template; the driving is the
# native command tests/win/lib/scenario.cpp's. Needs WINE_HARNESS_BUILD,
# WINE_HARNESS_ARCH and WINE_DRIVER (ctest sets them);
# WINE_HARNESS_USE_DISPLAY=1 runs on $DISPLAY instead of a private Xvfb.

_scenario_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../../scripts/wine-env.sh
. "$_scenario_lib_dir/../../../scripts/wine-env.sh"

: "${WINE_HARNESS_BUILD:?set WINE_HARNESS_BUILD to the Windows build folder}"
wine_env_init "$WINE_HARNESS_BUILD"
_scenario_suffix=""
[ "$WINE_HARNESS_ARCH" = x64 ] && _scenario_suffix=-x64
: "${WINE_DRIVER:=$WINE_HARNESS_BUILD/tools/verify/driver/driver$_scenario_suffix.exe}"
export WINE_DRIVER
# The native build's command over the layer of `mkinstaller verify`.
: "${SCENARIO_COMMAND:=$_scenario_lib_dir/../../../build/native/tests/native/scenario}"

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
    SCENARIO_PROFILE=$(wine_prefix_new "$SCENARIO_PREFIX" "$arch" "${configure[@]}") || return 1
    export SCENARIO_PREFIX SCENARIO_PROFILE
}

scenario_drive() { # NAME EXE [--no-userprofile] -- STEP...
    scenario_require "$SCENARIO_COMMAND"
    WINEPREFIX="$SCENARIO_PREFIX" "$SCENARIO_COMMAND" drive "$@"
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

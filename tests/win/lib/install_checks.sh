# Checks shared by the installation scenarios: the steps up to the prompt and
# through an install, and what the installer leaves on the Unix side (file
# bytes and times, links). Source it after scenario.sh; then call
# scenario_cases_run CASE to run the function case_CASE (dashes as underscores).
_install_checks_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
helpers="$WINE_HARNESS_BUILD/tests/win/install"
product_dir="$_install_checks_dir/../../../product"
reference="$product_dir/manifest.toml"
product_setup="$WINE_HARNESS_BUILD/product/setup.exe"
programs_dir="$WINE_HARNESS_BUILD/product/programs"
title="Software Installation Utility"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { # WHAT HAVE WANT
    if [ "$2" = "$3" ]; then echo "ok   $1: $2"; else fail "$1: \"$2\", expected \"$3\""; fi
}
expect_absent() { # UNIX_PATH WHAT
    if [ -e "$1" ]; then fail "$2 exists"; else echo "ok   $2 absent"; fi
}

# Steps up to the folder prompt, with the probe lines the prefix gives.
prompt_steps() { # [OS_TEXT ARCH_TEXT]
    printf '%s\n' wait-window MAIN "$title" 20000 wait-visible SelectButton 1 30000 \
        expect-text OsText "${1:-Operating System: Windows-7}" expect-text ArchitectureText "${2:-Architecture: 64-bit}" \
        expect-text StatusText "The files will be stored in the following folder:" \
        expect-text MessageText "Install in this folder or some other path of your choosing?" \
        expect-visible FolderText 1 expect-enabled InstallButton 1 \
        expect-visible UnpackProgress 0 expect-visible ExitButton 0
}

installed_steps() {
    printf '%s\n' click "install in this folder" wait-visible ExitButton 1 30000 \
        expect-text MessageText "The software has been successfully installed." \
        expect-visible InstallButton 0 expect-visible SelectButton 0 expect-visible CopyProgress 0
}

# Waits for the fatal report, checks the window behind it, takes a picture,
# then checks the report itself and the exit code.
fatal_steps() { # CODE TEXT SHOT [STEP...]
    local code=$1 text=$2 shot=$3
    shift 3
    printf '%s\n' wait-window "#32770" "Fatal Error Code $code" 30000 "$@" shot "$shot" \
        wait-fatal "$code" "$text" wait-exit 1
}

# The C: spelling of a Unix path inside the scenario's drive C.
prefix_winpath() { # UNIX_PATH
    WINEPREFIX="$SCENARIO_PREFIX" wine_winpath "$1"
}

# Runs a helper program of the tests from the scenario's drive C.
prefix_run() { # PROGRAM [ARGS...]
    wine_layer run --into harness "$SCENARIO_PREFIX" "$@"
}

run_steps() { # NAME EXE [drive options] -- STEP...
    scenario_drive "$@" || fail "driver steps of $1"
}

# What an install left in UNIX_DIR (and the links to it, with --links),
# compared with MANIFEST by the checks of `mkinstaller verify`: every
# difference but the EXPECTED lines fails.
check_install() { # [--expect LINES] MANIFEST UNIX_DIR [--row NAME]... [--links WINDOWS_FOLDER]
    local expected="" differences
    if [ "$1" = --expect ]; then expected=$2; shift 2; fi
    scenario_require "$SCENARIO_COMMAND"
    differences=$(WINEPREFIX="$SCENARIO_PREFIX" "$SCENARIO_COMMAND" check "$1" "$(prefix_winpath "$2")" "${@:3}" \
        --source-dir "$programs_dir" --source-dir "$product_dir" --profile "$SCENARIO_PROFILE" 2>&1)
    expect_eq "differences of ${2#"$SCENARIO_PREFIX/"} from $(basename "$1")" "$differences" "$expected"
}
default_dir() { echo "$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"; }

scenario_cases_run() { # CASE
    local case_name=$1
    case_function="case_${case_name//-/_}"
    if ! declare -F "$case_function" >/dev/null; then
        echo "unknown case $case_name" >&2
        exit 2
    fi
    "$case_function"
    [ "$failures" -eq 0 ] || { echo "$case_name: $failures check(s) failed"; exit 1; }
    echo "$case_name: passed"
}

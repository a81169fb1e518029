# Checks shared by the installation scenarios: the steps up to the prompt and
# through an install, and what the installer leaves on the Unix side (file
# bytes and times, links). Source it after scenario.sh; then call
# scenario_cases_run CASE to run the function case_CASE (dashes as underscores).
_install_checks_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
helpers="$WINE_HARNESS_BUILD/tests/win/install"
product_dir="$_install_checks_dir/../../../product"
product_setup="$WINE_HARNESS_BUILD/product/setup.exe"
programs_dir="$WINE_HARNESS_BUILD/product/programs"
title="Software Installation Utility"
description='Varnoset, charts for the small office
by Holbrine Software
Marrow Falls, Vermont'
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
    local program
    program=$(wine_stage "$SCENARIO_PREFIX" "$1" harness) || return 1
    shift
    WINEPREFIX="$SCENARIO_PREFIX" wine_exec "$program" "$@"
}

run_steps() { # NAME EXE [drive options] -- STEP...
    scenario_drive "$@" || fail "driver steps of $1"
}

# Installed files: the packed bytes, and all three times equal to the stored
# one, as Windows reports them (the driver's file-times, before the contents
# are read, since reading moves the access time) and as stat sees them.
check_files() { # UNIX_DIR ROW...   (each row NAME|SOURCE|ISO_TIME)
    local dir=$1 row name source time want line folder steps=()
    shift
    declare -A reported=()
    folder=$(prefix_winpath "$dir")
    for row in "$@"; do steps+=(file-times "$folder" "${row%%|*}"); done
    while IFS= read -r line; do
        reported[${line##* }]=${line% *}
    done < <(prefix_run "$WINE_DRIVER" "${steps[@]}" 2>/dev/null | tr -d '\r' | sed -n 's/^times //p')
    WINEPREFIX="$SCENARIO_PREFIX" wine_prefix_finish
    for row in "$@"; do
        IFS='|' read -r name source time <<<"$row"
        if [ ! -f "$dir/$name" ]; then fail "$name was not written"; continue; fi
        # FILETIME: 100 ns ticks since 1601-01-01.
        want=$((($(date -u -d "$time" +%s) + 11644473600) * 10000000))
        expect_eq "$name creation, access and write times" "${reported[$name]:-none}" "$want $want $want"
        expect_eq "$name Unix write time" "$(stat -c %Y "$dir/$name")" "$(date -u -d "$time" +%s)"
        cmp -s "$dir/$name" "$source" || fail "$name differs from $source"
    done
}

# A saved link: target, working folder, description, and the show command
# from the header (offset 0x3C), since lnkinfo prints 0 whatever it holds.
check_link() { # LNK TARGET WORKING_FOLDER DESCRIPTION
    local info
    if [ ! -f "$1" ]; then fail "no link $1"; return; fi
    info=$(lnkinfo "$1" 2>&1)
    expect_eq "$1 target" "$(sed -n 's/^\tLocal path\t*: //p' <<<"$info")" "$2"
    expect_eq "$1 working directory" "$(sed -n 's/^\tWorking directory\t*: //p' <<<"$info")" "$3"
    expect_eq "$1 description" "$(awk '/^\tDescription/ { sub(/^\tDescription\t*: /, ""); on = 1 }
                /^\tWorking directory/ { on = 0 } on' <<<"$info")" "$4"
    expect_eq "$1 show command" "$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')" 1
}

# Row name, packed source and stored time of the reference product.
reference_rows=(
    "Varnoset.EXE|$programs_dir/Varnoset.EXE|1998-06-14T10:32:00Z"
    "Varnoset.HLP|$product_dir/Varnoset.HLP|1998-06-12T16:05:00Z"
    "Tollvane.EXE|$programs_dir/Tollvane.EXE|1998-06-14T10:31:00Z"
    "graph1.bmp|$product_dir/graph1.bmp|1998-05-30T09:00:00Z"
    "graph2.gif|$product_dir/graph2.gif|1998-05-30T09:01:00Z"
    "graph3.jpg|$product_dir/graph3.jpg|1998-05-30T09:02:00Z"
)
default_dir() { echo "$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"; }
desktop_link() { # [WINDOWS_FOLDER]
    local folder=${1:-'C:\Holbrine\Varnoset'}
    check_link "$SCENARIO_PROFILE/Desktop/Varnoset.lnk" "$folder\\Varnoset.EXE" "$folder" "$description"
}
check_reference_links() { # WINDOWS_FOLDER
    desktop_link "$1"
    check_link "$SCENARIO_PROFILE/Start Menu/Programs/Holbrine/Varnoset.lnk" "$1\\Varnoset.EXE" "$1" "$description"
}

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

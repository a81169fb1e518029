#!/usr/bin/env bash
# End-to-end scenarios of a whole installation, each in a fresh Wine prefix:
#   install_scenarios.sh CASE
# Every case drives setup.exe with the GUI driver, then checks on the Unix
# side what the installer left in the prefix.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../lib/scenario.sh"

case_name=${1:?usage: install_scenarios.sh CASE}
source_dir=$(cd "$here/../../.." && pwd)
product_setup="$WINE_HARNESS_BUILD/product/setup.exe"
csv_setup="$WINE_HARNESS_BUILD/tests/win/install/csv_setup.exe"
helpers="$WINE_HARNESS_BUILD/tests/win/install"
title="Software Installation Utility"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok   $*"; }

expect_eq() { # WHAT HAVE WANT
    if [ "$2" = "$3" ]; then pass "$1: $2"; else fail "$1: \"$2\", expected \"$3\""; fi
}

# Steps up to the folder prompt, with the probe lines the prefix gives.
prompt_steps() { # OS_TEXT ARCH_TEXT
    printf '%s\n' wait-window MAIN "$title" 20000 wait-visible SelectButton 1 30000 \
        expect-text OsText "$1" expect-text ArchitectureText "$2" \
        expect-text StatusText "The files will be stored in the following folder:" \
        expect-text MessageText "Install in this folder or some other path of your choosing?" \
        expect-visible FolderText 1 expect-visible InstallButton 1 expect-enabled InstallButton 1 \
        expect-visible UnpackProgress 0 expect-visible ExitButton 0
}

installed_steps() {
    printf '%s\n' click "install in this folder" wait-visible ExitButton 1 30000 \
        expect-text MessageText "The software has been successfully installed." \
        expect-visible InstallButton 0 expect-visible SelectButton 0 expect-visible CopyProgress 0
}

# FILETIME of a UTC time: 100 ns ticks since 1601-01-01.
file_time_of() { # ISO_TIME
    echo $((($(date -u -d "$1" +%s) + 11644473600) * 10000000))
}

# The C: spelling of a Unix path inside the scenario's drive C.
prefix_winpath() { # UNIX_PATH
    local relative=${1#"$SCENARIO_PREFIX/drive_c/"}
    printf 'C:\\%s\n' "${relative//\//\\}"
}

# Runs the file_times helper in the scenario's prefix.
windows_file_times() { # WINDOWS_FOLDER NAME...
    WINEPREFIX="$SCENARIO_PREFIX" wine "$helpers/file_times.exe" "$@" 2>/dev/null | tr -d '\r'
    WINEPREFIX="$SCENARIO_PREFIX" wine_prefix_finish
}

# Installed files: the packed bytes, and all three times equal to the stored
# one. The times are read first: reading the contents would move the access
# time.
check_files() { # UNIX_DIR ROW...   (each row NAME|SOURCE|ISO_TIME)
    local dir=$1 row name source time want names=() line
    shift
    for row in "$@"; do names+=("${row%%|*}"); done
    declare -A reported=()
    while IFS= read -r line; do
        reported[${line%% *}]=$line
    done < <(windows_file_times "$(prefix_winpath "$dir")" "${names[@]}")
    for row in "$@"; do
        IFS='|' read -r name source time <<<"$row"
        if [ ! -f "$dir/$name" ]; then fail "$name was not written"; continue; fi
        want=$(file_time_of "$time")
        read -r _ _ _ created accessed written <<<"${reported[$name]:-}"
        expect_eq "$name creation time" "${created:-none}" "$want"
        expect_eq "$name access time" "${accessed:-none}" "$want"
        expect_eq "$name write time" "${written:-none}" "$want"
        expect_eq "$name Unix write time" "$(stat -c %Y "$dir/$name")" "$(date -u -d "$time" +%s)"
        if cmp -s "$dir/$name" "$source"; then pass "$name holds the packed bytes"; else fail "$name differs from $source"; fi
    done
}

# A saved link: target, working folder, description, and the show command
# from the header (offset 0x3C), since lnkinfo prints 0 whatever it holds.
check_link() { # LNK TARGET FOLDER DESCRIPTION
    local info
    if [ ! -f "$1" ]; then fail "no link $1"; return; fi
    info=$(lnkinfo "$1" 2>&1)
    expect_eq "$(basename "$1") target" "$(sed -n 's/^\tLocal path\t*: //p' <<<"$info")" "$2"
    expect_eq "$(basename "$1") working directory" \
        "$(sed -n 's/^\tWorking directory\t*: //p' <<<"$info")" "$3"
    expect_eq "$(basename "$1") description" \
        "$(awk '/^\tDescription/ { sub(/^\tDescription\t*: /, ""); on = 1 }
                /^\tWorking directory/ { on = 0 } on' <<<"$info")" "$4"
    expect_eq "$(basename "$1") show command" "$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')" 1
}

run_steps() { # NAME EXE [drive options] -- STEP...
    scenario_drive "$@" || fail "driver steps of $1"
}

finish() {
    if [ "$failures" -gt 0 ]; then
        echo "$case_name: $failures check(s) failed"
        exit 1
    fi
    echo "$case_name: passed"
    exit 0
}

. "$here/install_cases.sh"

case_function="case_${case_name//-/_}"
if ! declare -F "$case_function" >/dev/null; then
    echo "unknown case $case_name" >&2
    exit 2
fi
"$case_function"
finish

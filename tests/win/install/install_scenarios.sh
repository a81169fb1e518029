#!/usr/bin/env bash
# End-to-end scenarios of a whole installation, each in a fresh Wine prefix:
#   install_scenarios.sh CASE
# Every case (a function case_NAME, dashes as underscores) drives a setup.exe
# with the GUI driver, then checks on the Unix side what the installer left.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../lib/scenario.sh"
. "$here/../lib/install_checks.sh"

# Cancel restores the default; a drive root is refused until another choice.
case_browse() {
    scenario_prepare browse || exit 1
    mkdir -p "$SCENARIO_PREFIX/drive_c/Chosen" "$SCENARIO_PREFIX/drive_d"
    ln -s ../drive_d "$SCENARIO_PREFIX/dosdevices/d:"
    choose() { # PATH SHOWN ENABLED
        printf '%s\n' click "select another folder" browse "$1" wait-text FolderText "$2" 5000 wait-enabled InstallButton "$3" 5000
    }
    mapfile -t steps < <(prompt_steps
        printf '%s\n' click "select another folder" wait-window "#32770" "Browse for Folder" 10000 \
            expect-enabled InstallButton 0 shot browser browse cancel \
            wait-text FolderText 'C:\Holbrine\Varnoset' 5000 wait-enabled InstallButton 1 5000
        choose 'C:\Chosen' 'C:\Chosen' 1; choose cancel 'C:\Holbrine\Varnoset' 1
        choose 'D:\' 'D:\' 0; printf '%s\n' shot drive-root-refused; choose 'C:\Chosen' 'C:\Chosen' 1
        installed_steps
        printf '%s\n' click Exit wait-exit 0)
    run_steps browse "$product_setup" -- "${steps[@]}"
    check_install "$reference" "$SCENARIO_PREFIX/drive_c/Chosen" --links 'C:\Chosen'
    expect_absent "$SCENARIO_PREFIX/drive_c/Holbrine" "the default folder"
}

# A folder so long that the link's target path would not fit its buffer:
# the files are written, then the desktop link step reports the long name.
# One level below C:, since Wine's browser selects deeper folders unreliably.
case_long_folder() {
    scenario_prepare long-folder || exit 1
    local relative
    relative=$(printf 'L%.0s' $(seq 246))  # C:\ and 246 letters: 249 characters
    mkdir -p "$SCENARIO_PREFIX/drive_c/$relative"
    mapfile -t steps < <(prompt_steps
        printf '%s\n' click "select another folder" browse "C:\\$relative" \
            wait-text FolderText "C:\\$relative" 5000 wait-enabled InstallButton 1 5000 click "install in this folder"
        fatal_steps 254 "can't create link on desktop\nWin Err Code 206: filename exced range" long-folder)
    run_steps long-folder "$product_setup" -- "${steps[@]}"
    check_install "$reference" "$SCENARIO_PREFIX/drive_c/$relative"
    expect_absent "$SCENARIO_PROFILE/Desktop/Varnoset.lnk" "desktop link"
}

# A second installation over the first: programs, an empty row and links are
# written anew, the user's .CSV file, a folder of a .CSV name and a row marked
# keep_existing are left as they are, a lower-case .csv is an ordinary file.
case_reinstall() {
    scenario_prepare reinstall || exit 1
    local dir="$SCENARIO_PREFIX/drive_c/Holbrine/Tests/Tallyvane" target='C:\Holbrine\Tests\Tallyvane'
    local group="$SCENARIO_PROFILE/Start Menu/Programs/Holbrine Tests"
    mapfile -t steps < <(prompt_steps; printf '%s\n' expect-text FolderText "$target"
        installed_steps; printf '%s\n' click Exit wait-exit 0)
    run_steps reinstall "$helpers/csv_product_setup.exe" -- "${steps[@]}"
    check_install "$here/csv_product.toml" "$dir" --links "$target"

    printf 'user figures\n' >"$dir/LEDGER.CSV"
    touch -d 2020-01-01T00:00:00Z "$dir/LEDGER.CSV"
    rm "$dir/ARCHIVE.CSV"
    mkdir "$dir/ARCHIVE.CSV"
    printf 'kept\n' >"$dir/ARCHIVE.CSV/inside.txt"
    printf 'user settings\n' >"$dir/SETTINGS.INI"
    for f in "$dir/notes.csv" "$dir/empty.txt" "$dir/Tallyvane.EXE" "$SCENARIO_PROFILE/Desktop/Tallyvane.lnk" "$group/Tallyvane.lnk"; do
        printf 'changed\n' >"$f"
    done

    run_steps reinstall "$helpers/csv_product_setup.exe" -- "${steps[@]}"
    check_install "$here/csv_product.toml" "$dir" --row Tallyvane.EXE --row notes.csv --row empty.txt --links "$target"
    expect_eq "LEDGER.CSV kept" "$(cat "$dir/LEDGER.CSV")" "user figures"
    expect_eq "LEDGER.CSV time kept" "$(stat -c %Y "$dir/LEDGER.CSV")" "$(date -u -d 2020-01-01T00:00:00Z +%s)"
    expect_eq "ARCHIVE.CSV folder kept" "$(cat "$dir/ARCHIVE.CSV/inside.txt" 2>&1)" "kept"
    expect_eq "SETTINGS.INI kept" "$(cat "$dir/SETTINGS.INI")" "user settings"
}

# Installs until a fault stops it; STEPS check the window behind the report.
install_until_fault() { # NAME SETUP CODE TEXT [drive options] -- [STEP...]
    local name=$1 setup=$2 code=$3 text=$4 drive=()
    shift 4
    while [ $# -gt 0 ] && [ "$1" != -- ]; do drive+=("$1"); shift; done
    shift
    mapfile -t steps < <(prompt_steps; printf '%s\n' click "install in this folder"
        fatal_steps "$code" "$text" "$name" expect-visible InstallButton 0 expect-visible SelectButton 0 \
            expect-visible ExitButton 0 "$@")
    run_steps "$name" "$setup" "${drive[@]}" -- "${steps[@]}"
}

# A fault while copying graph1.bmp: the rows before it stay, later ones are
# not written, and the file in the way is untouched.
rows_before_graph1=(--row Varnoset.EXE --row Varnoset.HLP --row Tollvane.EXE)
copy_fault() { # NAME CODE TEXT [OLD_CONTENTS]
    install_until_fault "$1" "$product_setup" "$2" "$3" -- \
        expect-text MessageText "Copying files..." expect-visible CopyProgress 1
    check_install "$reference" "$(default_dir)" "${rows_before_graph1[@]}"
    expect_absent "$(default_dir)/graph2.gif" "graph2.gif (after the failing row)"
    [ $# -lt 4 ] || expect_eq "graph1.bmp untouched" "$(cat "$(default_dir)/graph1.bmp")" "$4"
}

case_read_only() {
    scenario_prepare read-only || exit 1
    mkdir -p "$(default_dir)"
    printf 'old picture\n' >"$(default_dir)/graph1.bmp"
    chmod a-w "$(default_dir)/graph1.bmp"
    copy_fault read-only 293 "can't delete file graph1.bmp\nWin Err Code 5: access denied" "old picture"
}

# The install folder on a drive of 48 KiB (a tmpfs; a mount point inside
# drive C would be a reparse point, which the installer refuses): the first
# three rows (44 KiB in pages) fit, graph1.bmp (72,054 bytes) does not.
# Needs a private mount namespace, so the case runs itself again under unshare.
case_disk_full() {
    if [ -z "${INSTALL_MOUNT_NAMESPACE:-}" ]; then
        INSTALL_MOUNT_NAMESPACE=1 exec unshare -m --propagation private bash "$0" "$case_name" ||
            { echo "skipped: no mount namespace here"; exit "$SCENARIO_SKIP"; }
    fi
    scenario_prepare disk-full || exit 1
    local drive="$SCENARIO_PREFIX/drive_d"
    mkdir -p "$drive"
    mount -t tmpfs -o size=48k tmpfs "$drive" || { echo "skipped: can't mount a tmpfs"; exit "$SCENARIO_SKIP"; }
    mkdir "$drive/Full"
    ln -s ../drive_d "$SCENARIO_PREFIX/dosdevices/d:"
    # Windows fails the write with error 112 (code 304); Wine writes what fits
    # and reports success with fewer bytes, which is the short-write report.
    mapfile -t steps < <(prompt_steps
        printf '%s\n' click "select another folder" browse 'D:\Full' wait-enabled InstallButton 1 5000 \
            click "install in this folder"
        fatal_steps 309 "file write error graph1.bmp\nWin Err Code 0: no error or error success" disk-full \
            expect-text MessageText "Copying files..." expect-visible CopyProgress 1)
    run_steps disk-full "$product_setup" -- "${steps[@]}"
    check_install "$reference" "$drive/Full" "${rows_before_graph1[@]}"
    expect_absent "$drive/Full/graph2.gif" "graph2.gif (after the failing row)"
    umount "$drive"
}

case_no_start_menu() {
    scenario_prepare no-start-menu --no-start-menu || exit 1
    install_until_fault no-start-menu "$product_setup" 265 \
        "can't create folder in start menu\nWin Err Code 3: path not found" --
    check_install --expect 'Start-menu link Holbrine\Varnoset.lnk: missing' "$reference" "$(default_dir)" \
        --links 'C:\Holbrine\Varnoset'
}

case_no_userprofile() {
    scenario_prepare no-userprofile || exit 1
    install_until_fault no-userprofile "$product_setup" 240 \
        "can't get user profile\nWin Err Code 203: envvar not found" --no-userprofile --
    check_install "$reference" "$(default_dir)"
    expect_absent "$SCENARIO_PROFILE/Desktop/Varnoset.lnk" "desktop link"
}

# Group names too long for the paths built from them: the group folder
# (240 characters of name) and the link inside it (220). The desktop link is
# made first and stays.
long_group_fault() { # NAME CODE TEXT GROUP_LENGTH
    scenario_prepare "$1" || exit 1
    local user
    user=$(basename "$SCENARIO_PROFILE")
    # C:\users\USER\Start Menu\Programs\GROUP\NAME.lnk: 30 + user + group, then + 13.
    if [ "$1" = long-group-link ] && [ $((30 + ${#user} + 220)) -gt 259 -o $((43 + ${#user} + 220)) -le 259 ]; then
        echo "skipped: user name \"$user\" does not put the link path over the limit"
        exit "$SCENARIO_SKIP"
    fi
    install_until_fault "$1" "$helpers/${1//-/_}_setup.exe" "$2" "$3" --
    check_install --expect "Start-menu link $(printf 'G%.0s' $(seq "$4"))\\Varnoset.lnk: missing" \
        "$here/${1//-/_}.toml" "$(default_dir)" --links 'C:\Holbrine\Varnoset'
}

case_long_group() {
    long_group_fault long-group 265 "can't create folder in start menu\nWin Err Code 206: filename exced range" 240
    expect_eq "Start-menu folders" "$(ls -A "$SCENARIO_PROFILE/Start Menu/Programs" 2>&1)" ""
}

case_long_group_link() {
    long_group_fault long-group-link 275 "can't create link on start menu\nWin Err Code 206: filename exced range" 220
    expect_eq "group folder contents" "$(ls -A "$SCENARIO_PROFILE/Start Menu/Programs/"G* 2>&1)" ""
}

case_arch_32() {
    scenario_prepare arch-32 --arch win32 || exit 1
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 32-bit"; installed_steps; printf '%s\n' click Exit wait-exit 0)
    run_steps arch-32 "$product_setup" -- "${steps[@]}"
    check_install "$reference" "$(default_dir)"
}

# Start-up stops before unpacking: nothing is written anywhere. EXE is "-"
# when the steps start a copy inside the prefix.
startup_fault() { # NAME EXE CODE TEXT [STEP...]
    local name=$1 exe=$2 code=$3 text=$4
    shift 4
    mapfile -t steps < <(printf '%s\n' "$@"; fatal_steps "$code" "$text" fatal)
    run_steps "$name" "$exe" -- "${steps[@]}"
    expect_absent "$SCENARIO_PREFIX/drive_c/Holbrine" "install folder"
}

case_no_notepad() {
    scenario_prepare no-notepad || exit 1
    rm -f "$SCENARIO_PREFIX/drive_c/windows/notepad.exe"
    startup_fault no-notepad "$product_setup" 151 "can't get architecture\nWin Err Code 2: file not found" \
        expect-text ArchitectureText Architecture
}

# The accepted versions and winxp64 are covered by the window scenarios.
case_version_nt40() {
    scenario_prepare version-nt40 --winver nt40 || exit 1
    startup_fault version-nt40 "$product_setup" 144 "unsupported windows version" \
        expect-text OsText "Operating System" expect-text ArchitectureText Architecture
}

# setup.exe with its GRAPH3.JPG payload replaced by FILE in a copy inside the
# prefix.
payload_fault() { # NAME FILE CODE TEXT
    local name=$1
    scenario_prepare "$name" || exit 1
    cp "$product_setup" "$SCENARIO_PREFIX/drive_c/setup.exe"
    cp "$2" "$SCENARIO_PREFIX/drive_c/graph3.container"
    startup_fault "$name" - "$3" "$4" patch-resource 'C:\setup.exe' RCDATA GRAPH3.JPG 'C:\graph3.container' \
        start 'C:\setup.exe' wait-window "#32770" "Fatal Error Code $3" 30000 \
        expect-text StatusText "extracting files" expect-visible UnpackProgress 1 \
        expect-visible InstallButton 0 shot extracting
}

# The same payload in the older container: "LZar", the stream and the size,
# without the appended FILETIME.
case_old_container() {
    local file="$WINE_HARNESS_DIR/graph3.v0"
    wrestool -x --raw -t10 -n GRAPH3.JPG "$product_setup" >"$file.v1"
    { printf 'LZar'; tail -c +5 "$file.v1" | head -c $(($(stat -c %s "$file.v1") - 12)); } >"$file"
    payload_fault old-container "$file" 636 "resource was compressed with the wrong version of LZARI"
}

# A stream of two bytes that claims 100,000 decoded bytes.
case_damaged_stream() {
    local file="$WINE_HARNESS_DIR/graph3.damaged"
    printf 'LzaR\xff\xff\xa0\x86\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$file"
    payload_fault damaged-stream "$file" 640 "can't decode resource graph3.jpg"
}

# A sound payload of almost 4 GiB: the process cannot hold it, and the report
# says so rather than blaming the payload. The stream is long enough for the
# size it claims, so the decoder tries to allocate it. No 32-bit process can;
# an x64 process could, so its address space is capped below that (Wine
# itself starts in less than 3 GB).
case_no_memory() {
    local file="$WINE_HARNESS_DIR/graph3.huge"
    { printf 'LzaR'; head -c 4194304 /dev/zero; printf '\xf0\xff\xff\xff\x00\x00\x00\x00\x00\x00\x00\x00'; } >"$file"
    [ "$WINE_HARNESS_ARCH" = x64 ] && export SCENARIO_WINE_MEMORY_KB=3000000
    payload_fault no-memory "$file" 643 "not enough memory for resource graph3.jpg"
}

# DLLs named like those the installer, its window and its dialogs load once
# it runs, put beside setup.exe and preferred to the system's own (n,b), as
# Windows prefers a program's folder: none is loaded, and the install
# completes. Left out are the DLLs that Wine's own system DLLs import while
# the process starts (version, shlwapi, shcore, rpcrt4, imm32, ...): Wine
# looks for those in the program's folder too, where Windows takes a
# KnownDLL's imports from the system folder.
planted_dlls=(comctl32 uxtheme oleaut32 comdlg32 propsys dwmapi msimg32
    userenv apphelp winmm sxs cryptbase profapi)
case_planted_dlls() {
    scenario_prepare planted-dlls || exit 1
    local downloads="$SCENARIO_PREFIX/drive_c/Downloads" name overrides=""
    mkdir -p "$downloads"
    for name in "${planted_dlls[@]}"; do
        cp "$helpers/planted_dll.dll" "$downloads/$name.dll"
        overrides+="$name,"
    done
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;${overrides%,}=n,b"
    # The bait works: a program that takes no care loads it from its folder.
    wine_layer run --into Downloads "$SCENARIO_PREFIX" "$helpers/load_library.exe" comctl32.dll
    WINEPREFIX="$SCENARIO_PREFIX" wine_prefix_finish
    [ -f "$downloads/comctl32.dll.loaded" ] || fail "the planted comctl32.dll is not loaded by the control program"
    rm -f "$downloads"/*.loaded "$downloads/load_library.exe"

    mapfile -t steps < <(prompt_steps
        printf '%s\n' click "select another folder" wait-window "#32770" "Browse for Folder" 10000 \
            browse cancel wait-enabled InstallButton 1 5000
        installed_steps; printf '%s\n' click Exit wait-exit 0)
    run_steps planted-dlls "$product_setup" -- "${steps[@]}"
    check_install "$reference" "$(default_dir)" --links 'C:\Holbrine\Varnoset'
    expect_eq "planted DLLs loaded" "$(cd "$downloads" && ls -- *.loaded 2>/dev/null)" ""
}

# A dangling link named like a payload: refused with the create report,
# and nothing appears where it points.
case_dangling_link() {
    scenario_prepare dangling-link || exit 1
    mkdir -p "$(default_dir)" "$SCENARIO_PREFIX/drive_c/Elsewhere"
    ln -s "$SCENARIO_PREFIX/drive_c/Elsewhere/graph1.bmp" "$(default_dir)/graph1.bmp"
    copy_fault dangling-link 299 "can't create file graph1.bmp\nWin Err Code 80: file exists"
    expect_absent "$SCENARIO_PREFIX/drive_c/Elsewhere/graph1.bmp" "file behind the link"
}

# The Start-menu group folder is a link to elsewhere: refused before a
# link is saved through it; the desktop link is made first and stays.
case_linked_group() {
    scenario_prepare linked-group || exit 1
    mkdir -p "$SCENARIO_PREFIX/drive_c/Elsewhere"
    ln -s "$SCENARIO_PREFIX/drive_c/Elsewhere" "$SCENARIO_PROFILE/Start Menu/Programs/Holbrine"
    install_until_fault linked-group "$product_setup" 265 \
        "can't create folder in start menu\nWin Err Code 4395: unknown error code 4395" --
    check_install --expect 'Start-menu link Holbrine\Varnoset.lnk: missing' "$reference" "$(default_dir)" \
        --links 'C:\Holbrine\Varnoset'
    expect_eq "folder behind the link" "$(ls -A "$SCENARIO_PREFIX/drive_c/Elsewhere")" ""
}

# The default folder's parent is a link to elsewhere: the folder counts as
# one that cannot be made (the prompt stays, nothing is written through
# the link); another folder then installs.
case_linked_folder() {
    scenario_prepare linked-folder || exit 1
    mkdir -p "$SCENARIO_PREFIX/drive_c/Elsewhere" "$SCENARIO_PREFIX/drive_c/Chosen"
    ln -s "$SCENARIO_PREFIX/drive_c/Elsewhere" "$SCENARIO_PREFIX/drive_c/Holbrine"
    mapfile -t steps < <(prompt_steps
        printf '%s\n' click "install in this folder" wait-idle 5000 expect-visible InstallButton 1 \
            expect-text MessageText "Install in this folder or some other path of your choosing?" \
            click "select another folder" browse 'C:\Chosen' wait-enabled InstallButton 1 5000
        installed_steps; printf '%s\n' click Exit wait-exit 0)
    run_steps linked-folder "$product_setup" -- "${steps[@]}"
    expect_eq "folder behind the link" "$(ls -A "$SCENARIO_PREFIX/drive_c/Elsewhere")" ""
    check_install "$reference" "$SCENARIO_PREFIX/drive_c/Chosen" --links 'C:\Chosen'
}

scenario_cases_run "${1:?usage: install_scenarios.sh CASE}"

# The cases of install_scenarios.sh, one function each (case_NAME for the
# case NAME with dashes as underscores). Sourced; uses its helpers.

product_dir="$source_dir/product"
programs_dir="$WINE_HARNESS_BUILD/product/programs"
description='Varnoset, charts for the small office
by Holbrine Software
Marrow Falls, Vermont'

# Row name, packed source and stored time of the reference product.
reference_rows=(
    "Varnoset.EXE|$programs_dir/Varnoset.EXE|1998-06-14T10:32:00Z"
    "Varnoset.HLP|$product_dir/Varnoset.HLP|1998-06-12T16:05:00Z"
    "Tollvane.EXE|$programs_dir/Tollvane.EXE|1998-06-14T10:31:00Z"
    "graph1.bmp|$product_dir/graph1.bmp|1998-05-30T09:00:00Z"
    "graph2.gif|$product_dir/graph2.gif|1998-05-30T09:01:00Z"
    "graph3.jpg|$product_dir/graph3.jpg|1998-05-30T09:02:00Z"
)

check_reference_files() { # UNIX_DIR
    check_files "$1" "${reference_rows[@]}"
}

check_reference_links() { # WINDOWS_FOLDER
    check_link "$SCENARIO_PROFILE/Desktop/Varnoset.lnk" "$1\\Varnoset.EXE" "$1" "$description"
    check_link "$SCENARIO_PROFILE/Start Menu/Programs/Holbrine/Varnoset.lnk" \
        "$1\\Varnoset.EXE" "$1" "$description"
}

expect_absent() { # UNIX_PATH WHAT
    if [ -e "$1" ]; then fail "$2 exists"; else pass "$2 absent"; fi
}

# Waits for the fatal report, checks the window behind it, takes a picture,
# then checks the report itself and the exit code.
fatal_steps() { # CODE TEXT SHOT [STEP...]
    local code=$1 text=$2 shot=$3
    shift 3
    printf '%s\n' wait-window "#32770" "Fatal Error Code $code" 30000 "$@" shot "$shot" \
        wait-fatal "$code" "$text" wait-exit 1
}

case_default() {
    scenario_prepare default || exit 1
    mapfile -t steps < <(printf '%s\n' wait-window MAIN "$title" 20000 shot startup
        prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
        printf '%s\n' expect-text FolderText 'C:\Holbrine\Varnoset' \
            expect-text DescriptionText "This program will install\nVersion 2.18 of Varnoset\n${description//$'\n'/\\n}\n" \
            shot prompt
        installed_steps
        printf '%s\n' shot installed click Exit wait-exit 0)
    run_steps default "$product_setup" -- "${steps[@]}"
    check_reference_files "$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"
    check_reference_links 'C:\Holbrine\Varnoset'
}

case_browse() {
    scenario_prepare browse || exit 1
    mkdir -p "$SCENARIO_PREFIX/drive_c/Chosen" "$SCENARIO_PREFIX/drive_d"
    ln -s ../drive_d "$SCENARIO_PREFIX/dosdevices/d:"
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
        printf '%s\n' click "select another folder" wait-window "#32770" "Browse for Folder" 10000 \
            expect-enabled InstallButton 0 shot browser browse cancel \
            wait-text FolderText 'C:\Holbrine\Varnoset' 5000 wait-enabled InstallButton 1 5000 \
            click "select another folder" browse 'C:\Chosen' \
            wait-text FolderText 'C:\Chosen' 5000 wait-enabled InstallButton 1 5000 \
            click "select another folder" browse cancel \
            wait-text FolderText 'C:\Holbrine\Varnoset' 5000 wait-enabled InstallButton 1 5000 \
            click "select another folder" browse 'D:\' wait-text FolderText 'D:\' 5000 \
            wait-enabled InstallButton 0 5000 shot drive-root-refused \
            click "select another folder" browse 'C:\Chosen' \
            wait-text FolderText 'C:\Chosen' 5000 wait-enabled InstallButton 1 5000
        installed_steps
        printf '%s\n' click Exit wait-exit 0)
    run_steps browse "$product_setup" -- "${steps[@]}"
    check_reference_files "$SCENARIO_PREFIX/drive_c/Chosen"
    check_reference_links 'C:\Chosen'
    expect_absent "$SCENARIO_PREFIX/drive_c/Holbrine" "the default folder"
}

# A folder so long that the link's target path would not fit its buffer:
# the files are written, then the desktop link step reports the long name.
case_long_folder() {
    scenario_prepare long-folder || exit 1
    # One level below C:, since Wine's browser selects deeper folders unreliably.
    local relative
    relative=$(printf 'L%.0s' $(seq 246))
    local windows="C:\\$relative"
    mkdir -p "$SCENARIO_PREFIX/drive_c/$relative"
    expect_eq "folder length" "${#windows}" 249
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
        printf '%s\n' click "select another folder" browse "$windows" \
            wait-text FolderText "$windows" 5000 wait-enabled InstallButton 1 5000 \
            click "install in this folder"
        fatal_steps 254 "can't create link on desktop\nWin Err Code 206: filename exced range" long-folder)
    run_steps long-folder "$product_setup" -- "${steps[@]}"
    check_reference_files "$SCENARIO_PREFIX/drive_c/$relative"
    expect_absent "$SCENARIO_PROFILE/Desktop/Varnoset.lnk" "desktop link"
}

csv_rows=(
    "Tallyvane.EXE|$programs_dir/Varnoset.EXE|2001-02-03T04:05:06Z"
    "LEDGER.CSV|$here/ledger.csv|2001-02-03T04:05:07Z"
    "ARCHIVE.CSV|$here/ledger.csv|2001-02-03T04:05:08Z"
    "notes.csv|$here/notes.csv|2001-02-03T04:05:09Z"
    "empty.txt|$here/empty.txt|2001-02-03T04:05:10Z"
)

csv_row() { # NAME
    local row
    for row in "${csv_rows[@]}"; do [ "${row%%|*}" = "$1" ] && echo "$row"; done
}

csv_install_steps() {
    prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
    printf '%s\n' expect-text FolderText 'C:\Holbrine\Tests\Tallyvane'
    installed_steps
    printf '%s\n' click Exit wait-exit 0
}

# A second installation over the first: programs and links are written anew,
# the user's .CSV file and a folder of a .CSV name are left as they are, a
# lower-case .csv is an ordinary file.
case_reinstall() {
    scenario_prepare reinstall || exit 1
    local dir="$SCENARIO_PREFIX/drive_c/Holbrine/Tests/Tallyvane"
    local group="$SCENARIO_PROFILE/Start Menu/Programs/Holbrine Tests"
    local target='C:\Holbrine\Tests\Tallyvane'
    local csv_description='Tallyvane, a test product
by Holbrine Software
Marrow Falls, Vermont'
    mapfile -t steps < <(csv_install_steps)
    run_steps reinstall "$csv_setup" -- "${steps[@]}"
    check_files "$dir" "${csv_rows[@]}"

    printf 'user figures\n' >"$dir/LEDGER.CSV"
    touch -d 2020-01-01T00:00:00Z "$dir/LEDGER.CSV"
    rm "$dir/ARCHIVE.CSV"
    mkdir "$dir/ARCHIVE.CSV"
    printf 'kept\n' >"$dir/ARCHIVE.CSV/inside.txt"
    printf 'changed\n' >"$dir/notes.csv"
    printf 'broken\n' >"$dir/Tallyvane.EXE"
    printf 'not a link\n' >"$SCENARIO_PROFILE/Desktop/Tallyvane.lnk"
    printf 'not a link\n' >"$group/Tallyvane.lnk"

    run_steps reinstall "$csv_setup" -- "${steps[@]}"
    check_files "$dir" "$(csv_row Tallyvane.EXE)" "$(csv_row notes.csv)" "$(csv_row empty.txt)"
    expect_eq "LEDGER.CSV kept" "$(cat "$dir/LEDGER.CSV")" "user figures"
    expect_eq "LEDGER.CSV time kept" "$(stat -c %Y "$dir/LEDGER.CSV")" \
        "$(date -u -d 2020-01-01T00:00:00Z +%s)"
    expect_eq "ARCHIVE.CSV folder kept" "$(cat "$dir/ARCHIVE.CSV/inside.txt" 2>&1)" "kept"
    check_link "$SCENARIO_PROFILE/Desktop/Tallyvane.lnk" "$target\\Tallyvane.EXE" "$target" "$csv_description"
    check_link "$group/Tallyvane.lnk" "$target\\Tallyvane.EXE" "$target" "$csv_description"
}

# Installs the reference product until a fault stops it: the window shows the
# copying state behind the report, files before the failing row stay.
install_until_fault() { # NAME CODE TEXT [drive options]
    local name=$1 code=$2 text=$3
    shift 3
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
        printf '%s\n' click "install in this folder"
        fatal_steps "$code" "$text" "$name" expect-visible InstallButton 0 expect-visible SelectButton 0 \
            expect-visible ExitButton 0)
    run_steps "$name" "$product_setup" "$@" -- "${steps[@]}"
}

install_until_copy_fault() { # NAME CODE TEXT
    local name=$1 code=$2 text=$3
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
        printf '%s\n' click "install in this folder"
        fatal_steps "$code" "$text" "$name" expect-text MessageText "Copying files..." \
            expect-visible CopyProgress 1 expect-visible InstallButton 0 expect-visible ExitButton 0)
    run_steps "$name" "$product_setup" -- "${steps[@]}"
}

check_rows_before_graph1() { # UNIX_DIR
    check_files "$1" "${reference_rows[@]:0:3}"
    expect_absent "$1/graph2.gif" "graph2.gif (after the failing row)"
}

case_read_only() {
    scenario_prepare read-only || exit 1
    local dir="$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"
    mkdir -p "$dir"
    printf 'old picture\n' >"$dir/graph1.bmp"
    chmod a-w "$dir/graph1.bmp"
    install_until_copy_fault read-only 293 "can't delete file graph1.bmp\nWin Err Code 5: access denied"
    check_rows_before_graph1 "$dir"
    expect_eq "read-only graph1.bmp untouched" "$(cat "$dir/graph1.bmp")" "old picture"
}

case_locked() {
    scenario_prepare locked || exit 1
    local dir="$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"
    mkdir -p "$dir"
    printf 'open elsewhere\n' >"$dir/graph1.bmp"
    rm -f "$SCENARIO_PREFIX/drive_c/held.ready"
    WINEPREFIX="$SCENARIO_PREFIX" wine "$helpers/hold_file.exe" 'C:\Holbrine\Varnoset\graph1.bmp' \
        'C:\held.ready' 'C:\held.stop' &
    local waited
    for waited in $(seq 100); do
        [ -f "$SCENARIO_PREFIX/drive_c/held.ready" ] && break
        sleep 0.2
    done
    [ -f "$SCENARIO_PREFIX/drive_c/held.ready" ] || fail "hold_file did not open graph1.bmp"
    install_until_copy_fault locked 293 "can't delete file graph1.bmp\nWin Err Code 32: sharing violation"
    wait
    check_rows_before_graph1 "$dir"
    expect_eq "locked graph1.bmp untouched" "$(cat "$dir/graph1.bmp")" "open elsewhere"
}

# The install folder on a 48 KiB tmpfs: the first three rows (44 KiB in
# pages) fit, graph1.bmp (72,054 bytes) does not. Needs a private mount
# namespace, so the case runs itself again under unshare.
case_disk_full() {
    if [ -z "${INSTALL_MOUNT_NAMESPACE:-}" ]; then
        INSTALL_MOUNT_NAMESPACE=1 exec unshare -m --propagation private bash "$0" "$case_name" ||
            { echo "skipped: no mount namespace here"; exit "$SCENARIO_SKIP"; }
    fi
    scenario_prepare disk-full || exit 1
    local top="$SCENARIO_PREFIX/drive_c/Holbrine"
    mkdir -p "$top"
    if ! mount -t tmpfs -o size=48k tmpfs "$top"; then
        echo "skipped: can't mount a tmpfs"
        exit "$SCENARIO_SKIP"
    fi
    # Windows fails the write with error 112 (code 304); Wine writes what fits
    # and reports success with fewer bytes, which is the short-write report.
    install_until_copy_fault disk-full 309 "file write error graph1.bmp\nWin Err Code 0: no error or error success"
    check_rows_before_graph1 "$top/Varnoset"
    umount "$top"
}

case_no_start_menu() {
    scenario_prepare no-start-menu --no-start-menu || exit 1
    install_until_fault no-start-menu 265 "can't create folder in start menu\nWin Err Code 3: path not found"
    check_reference_files "$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"
    check_link "$SCENARIO_PROFILE/Desktop/Varnoset.lnk" 'C:\Holbrine\Varnoset\Varnoset.EXE' \
        'C:\Holbrine\Varnoset' "$description"
}

case_no_userprofile() {
    scenario_prepare no-userprofile || exit 1
    install_until_fault no-userprofile 240 "can't get user profile\nWin Err Code 203: envvar not found" \
        --no-userprofile
    check_reference_files "$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"
    expect_absent "$SCENARIO_PROFILE/Desktop/Varnoset.lnk" "desktop link"
}

# Start-up stops before unpacking: nothing is written anywhere.
startup_fault() { # NAME EXE CODE TEXT SHOT [prepare options] -- [STEP...]
    local name=$1 exe=$2 code=$3 text=$4 shot=$5
    shift 5
    local prepare=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do prepare+=("$1"); shift; done
    [ "${1:-}" = -- ] && shift
    [ "$exe" = - ] || scenario_prepare "$name" "${prepare[@]}" || exit 1
    mapfile -t steps < <(printf '%s\n' "$@"; fatal_steps "$code" "$text" "$shot")
    run_steps "$name" "$exe" -- "${steps[@]}"
    expect_absent "$SCENARIO_PREFIX/drive_c/Holbrine" "install folder"
}

case_no_notepad() {
    scenario_prepare no-notepad || exit 1
    rm -f "$SCENARIO_PREFIX/drive_c/windows/notepad.exe"
    startup_fault no-notepad - 151 "can't get architecture\nWin Err Code 2: file not found" fatal -- \
        start "$(wine_winpath "$product_setup")" expect-text ArchitectureText Architecture
}

# The accepted versions and winxp64 are covered by the window scenarios.
case_version_nt40() {
    startup_fault version-nt40 "$product_setup" 144 "unsupported windows version" fatal \
        --winver nt40 -- expect-text OsText "Operating System" expect-text ArchitectureText Architecture
}

case_arch_32() {
    scenario_prepare arch-32 --arch win32 || exit 1
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 32-bit"
        installed_steps; printf '%s\n' click Exit wait-exit 0)
    run_steps arch-32 "$product_setup" -- "${steps[@]}"
    check_reference_files "$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"
}

# setup.exe with its GRAPH3.JPG payload replaced (or removed) in a copy inside
# the prefix; start-up must stop before anything is written.
payload_fault() { # NAME CONTAINER_FILE|--delete CODE TEXT
    local name=$1 replacement=$2 code=$3 text=$4 source
    scenario_prepare "$name" || exit 1
    cp "$product_setup" "$SCENARIO_PREFIX/drive_c/setup.exe"
    source=--delete
    if [ "$replacement" != --delete ]; then
        cp "$replacement" "$SCENARIO_PREFIX/drive_c/graph3.container"
        source='C:\graph3.container'
    fi
    startup_fault "$name" - "$code" "$text" fatal -- \
        patch-resource 'C:\setup.exe' RCDATA GRAPH3.JPG "$source" start 'C:\setup.exe' \
        wait-window "#32770" "Fatal Error Code $code" 30000 \
        expect-text StatusText "extracting files" expect-visible UnpackProgress 1 \
        expect-visible InstallButton 0 shot extracting
}

graph3_container() {
    wrestool -x --raw -t10 -n GRAPH3.JPG "$product_setup"
}

# The same payload in the older container: "LZar", the stream and the size,
# without the appended FILETIME.
case_old_container() {
    local file="$WINE_HARNESS_DIR/graph3.v0"
    local length
    graph3_container >"$file.v1"
    length=$(stat -c %s "$file.v1")
    { printf 'LZar'; tail -c +5 "$file.v1" | head -c $((length - 12)); } >"$file"
    payload_fault old-container "$file" 636 "resource was compressed with the wrong version of LZARI"
}

case_missing_resource() {
    payload_fault missing-resource --delete 603 \
        "can't find resource graph3.jpg\nWin Err Code 1814: resource name not found"
}

# A stream of two bytes that claims 100,000 decoded bytes.
case_damaged_stream() {
    local file="$WINE_HARNESS_DIR/graph3.damaged"
    printf 'LzaR\xff\xff\xa0\x86\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$file"
    payload_fault damaged-stream "$file" 640 "can't decode resource graph3.jpg"
}

case_bad_magic() {
    local file="$WINE_HARNESS_DIR/graph3.badmagic"
    { printf 'PK\x03\x04'; graph3_container | tail -c +5; } >"$file"
    payload_fault bad-magic "$file" 640 "can't decode resource graph3.jpg"
}

case_too_short() {
    local file="$WINE_HARNESS_DIR/graph3.short"
    printf 'LzaR\x01\x02\x03' >"$file"
    payload_fault too-short "$file" 640 "can't decode resource graph3.jpg"
}

# Group names too long for the paths built from them: the group folder
# (240 characters of name) and the link inside it (220). The desktop link is
# made first and stays.
long_group_fault() { # NAME SETUP CODE TEXT
    local name=$1 setup=$2 code=$3 text=$4 user
    scenario_prepare "$name" || exit 1
    user=$(basename "$SCENARIO_PROFILE")
    # C:\users\USER\Start Menu\Programs\GROUP: 30 + user + group characters.
    if [ "$name" = long-group-link ] && { [ $((30 + ${#user} + 220)) -gt 259 ] ||
        [ $((43 + ${#user} + 220)) -le 259 ]; }; then
        echo "skipped: user name \"$user\" does not put the link path over the limit"
        exit "$SCENARIO_SKIP"
    fi
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
        printf '%s\n' click "install in this folder"
        fatal_steps "$code" "$text" "$name")
    run_steps "$name" "$setup" -- "${steps[@]}"
    check_files "$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset" "${reference_rows[0]}"
    check_link "$SCENARIO_PROFILE/Desktop/Varnoset.lnk" 'C:\Holbrine\Varnoset\Varnoset.EXE' \
        'C:\Holbrine\Varnoset' "$description"
}

case_long_group() {
    long_group_fault long-group "$helpers/long_group_setup.exe" 265 \
        "can't create folder in start menu\nWin Err Code 206: filename exced range"
    expect_eq "Start-menu folders" "$(ls -A "$SCENARIO_PROFILE/Start Menu/Programs" 2>&1)" ""
}

case_long_group_link() {
    long_group_fault long-group-link "$helpers/long_group_link_setup.exe" 275 \
        "can't create link on start menu\nWin Err Code 206: filename exced range"
    expect_eq "group folder contents" "$(ls -A "$SCENARIO_PROFILE/Start Menu/Programs/"G* 2>&1)" ""
}

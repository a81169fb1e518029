# Wine environment shared by every script that runs Windows code here.
# Source it, then call the functions; nothing runs at source time except
# setting variables. Every prefix lives under the build folder and HOME points
# at a throwaway folder, so nothing reaches the user's ~/.wine or home.
#
#   wine_env_init BUILD_DIR        variables, throwaway HOME, sane Wine settings
#   wine_exec PROGRAM [ARGS...]    runs a Windows program of $WINE_HARNESS_ARCH
#   wine_exe_arch FILE             x86 or x64, from the program's header
#   wine_32bit_problem             why 32-bit programs cannot run here, or nothing
#   wine_require_arch              exits 77 (skipped) where the arch cannot run
#   wine_templates_reset           forget the templates of an earlier run
#   wine_template ARCH             make (once) the template prefix for win64|win32
#   wine_prefix_new DEST ARCH      fresh prefix DEST copied from the template
#   wine_prefix_configure DEST [--winver V] [--no-start-menu]
#   wine_display_start             start Xvfb unless DISPLAY is set
#   wine_display_stop              stop the Xvfb that wine_display_start started
#   wine_prefix_finish             end every process of $WINEPREFIX and wait
#   wine_winpath UNIX_PATH         the Windows spelling of a path in $WINEPREFIX/drive_X
#   wine_stage PREFIX FILE FOLDER  copy FILE into PREFIX's C:\FOLDER, print its C: path

wine_env_init() {
    local build_dir
    build_dir=$(cd "$1" && pwd)
    export WINE_HARNESS_DIR="$build_dir/wine"
    mkdir -p "$WINE_HARNESS_DIR/home"
    export HOME="$WINE_HARNESS_DIR/home"
    export XDG_CONFIG_HOME="$HOME/.config"
    export XDG_DATA_HOME="$HOME/.local/share"
    export XDG_CACHE_HOME="$HOME/.cache"
    export XDG_DESKTOP_DIR="$HOME/Desktop"
    # Keep wineboot from offering Mono/Gecko downloads and the menu builder
    # from turning Start-menu links into Linux menu entries.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEDEBUG="${WINEDEBUG:--all}"
    unset WINEARCH WINESERVER WINELOADER
    # x86 (the i686 build) or x64: the programs that the build makes.
    export WINE_HARNESS_ARCH="${WINE_HARNESS_ARCH:-x86}"
}

# Debian's `wine` starts the 32-bit loader whenever wine32 is installed, and a
# kernel without 32-bit support refuses that loader; 64-bit programs and
# prefixes therefore go through the 64-bit loader directly.
wine_loader64() {
    if command -v wine64 >/dev/null 2>&1; then
        command -v wine64
    elif [ -x /usr/lib/wine/wine64 ]; then
        echo /usr/lib/wine/wine64
    else
        command -v wine
    fi
}

wine_loader32() {
    if [ -x /usr/lib/wine/wine ]; then echo /usr/lib/wine/wine; else command -v wine; fi
}

# Prints why this machine cannot run 32-bit Windows programs; prints nothing
# where it can. The 32-bit loader is an i386 program: where the kernel runs
# it, Wine runs 32-bit Windows code.
wine_32bit_problem() {
    local loader output
    loader=$(wine_loader32) || { echo "no Wine loader for 32-bit programs is installed"; return 0; }
    # Through bash, which says why the kernel refused it; timeout's own exec
    # would hand a refused binary to /bin/sh as a script.
    if ! output=$(timeout 20 bash -c '"$0" --version' "$loader" 2>&1 </dev/null); then
        echo "the 32-bit Wine loader $loader does not start (${output##*: })"
    fi
}

# The answer of wine_32bit_problem, found once per test run: the harness's
# setup writes it (an empty file where 32-bit programs run).
wine_32bit_problem_once() {
    local answer="$WINE_HARNESS_DIR/32-bit-problem"
    [ -f "$answer" ] || wine_32bit_problem >"$answer"
    cat "$answer"
}

# Ends a test of an i686 program with the skip code where this machine cannot
# run it, saying why.
wine_require_arch() {
    [ "$WINE_HARNESS_ARCH" = x86 ] || return 0
    local problem
    problem=$(wine_32bit_problem_once)
    [ -z "$problem" ] && return 0
    echo "skipped: this machine cannot run 32-bit x86 programs: $problem"
    exit 77
}

# x86 or x64: the machine field of a Windows program's PE header.
wine_exe_arch() { # FILE
    local pe machine
    pe=$(od -An -t u4 --endian=little -j 60 -N 4 "$1" | tr -d ' ')
    machine=$(od -An -t x2 --endian=little -j "$((pe + 4))" -N 2 "$1" | tr -d ' ')
    case $machine in
        8664) echo x64 ;;
        014c) echo x86 ;;
        *) echo "wine_exe_arch: $1 is neither an x86 nor an x64 Windows program" >&2; return 1 ;;
    esac
}

wine_exec() { # PROGRAM [ARGS...]
    if [ "$WINE_HARNESS_ARCH" = x64 ]; then
        local loader
        loader=$(wine_loader64)
        WINELOADER="$loader" "$loader" "$@"
    else
        wine "$@"
    fi
}

# Forgets the templates so the next wine_template boots a new one: each test
# run starts from a prefix that no earlier run touched.
# Takes each template's lock, so no copy or boot is in progress meanwhile.
wine_templates_reset() {
    local arch
    for arch in win64 win32; do
        (
            flock 9 || exit 1
            rm -rf "$(wine_template_dir "$arch")"
        ) 9>"$WINE_HARNESS_DIR/template-$arch.lock"
    done
}

wine_template_dir() { # ARCH
    printf '%s/template-%s\n' "$WINE_HARNESS_DIR" "$1"
}

# Makes the template prefix for ARCH (win64 or win32) once; concurrent callers
# wait on a lock instead of booting twice.
wine_template() { # ARCH
    local arch=$1 dir loader
    dir=$(wine_template_dir "$arch")
    if [ "$arch" = win64 ]; then loader=$(wine_loader64); else loader=$(wine_loader32); fi
    (
        flock 9 || exit 1
        [ -f "$dir/.ready" ] && exit 0
        rm -rf "$dir"
        # The lock's descriptor is closed for Wine: the wineserver, services.exe
        # and explorer.exe that wineboot leaves behind would otherwise hold it.
        WINEPREFIX="$dir" WINEARCH="$arch" WINELOADER="$loader" "$loader" wineboot -i \
            >"$WINE_HARNESS_DIR/wineboot-$arch.log" 2>&1 9>&- ||
            { echo "wineboot -i failed for $arch; see $WINE_HARNESS_DIR/wineboot-$arch.log" >&2; exit 1; }
        WINEPREFIX="$dir" wineserver -w 9>&-
        wine_reg_set "$dir" 'Software\\Wine\\X11 Driver' Decorated N
        wine_profile_real_folders "$dir"
        # Drive Z: is the host's root: a program under test, or the folder
        # browser, could write anywhere through it. Programs start from C:.
        rm -f "$dir/dosdevices/z:"
        touch "$dir/.ready"
    ) 9>"$WINE_HARNESS_DIR/template-$arch.lock"
}

# Writes one string value into a stopped prefix's user.reg. Editing the file
# while no wineserver runs is the same as `reg add`, without starting Wine.
wine_reg_set() { # PREFIX KEY NAME VALUE   (KEY under HKCU, backslashes doubled)
    local prefix=$1 key=$2 name=$3 value=$4
    printf '\n[%s] 0\n"%s"="%s"\n' "$key" "$name" "$value" >>"$prefix/user.reg"
}

# A new Wine profile links Desktop, Documents and the like to the Unix home;
# make them ordinary folders inside the prefix so links saved there stay there.
wine_profile_real_folders() { # PREFIX
    local prefix=$1 link profile
    while IFS= read -r -d '' link; do
        rm -f "$link"
        mkdir -p "$link"
    done < <(find "$prefix/drive_c/users" -type l -print0)
    for profile in "$prefix"/drive_c/users/*; do
        mkdir -p "$profile/Desktop"
    done
}

wine_profile_dir() { # PREFIX
    local profile
    for profile in "$1"/drive_c/users/*; do
        [ "$(basename "$profile")" = Public ] && continue
        [ -d "$profile" ] && { printf '%s\n' "$profile"; return 0; }
    done
    return 1
}

wine_prefix_new() { # DEST ARCH
    local dest=$1 arch=$2
    wine_template "$arch" || return 1
    local template lock
    template=$(wine_template_dir "$arch")
    rm -rf "$dest"
    mkdir -p "$(dirname "$dest")"
    exec {lock}>"$WINE_HARNESS_DIR/template-$arch.lock"
    flock -s "$lock" || return 1
    if [ ! -f "$template/.ready" ]; then
        exec {lock}>&-
        echo "the $arch template was reset meanwhile; run again" >&2
        return 1
    fi
    # The system folders (1.3 GB, read-only in use) are shared as hard links:
    # 20 ms instead of seconds for a full copy. Whatever Wine or a program may
    # rewrite in place gets a private copy: the registry, the .ini files and
    # the user profiles.
    cp -al "$template" "$dest"
    rm -f "$dest/.ready" "$dest/wineserver" "$dest"/*.reg "$dest"/drive_c/windows/*.ini
    cp -a "$template"/*.reg "$dest/"
    cp -a "$template"/drive_c/windows/*.ini "$dest/drive_c/windows/"
    rm -rf "$dest/drive_c/users"
    cp -a "$template/drive_c/users" "$dest/drive_c/users"
    exec {lock}>&-
}

# Per-run settings of a stopped prefix: the Windows version Wine reports and
# the Start Menu folder that Windows keeps directly in the profile.
wine_prefix_configure() { # DEST [--winver V] [--no-start-menu]
    local dest=$1 winver="" start_menu=1 profile
    shift
    while [ $# -gt 0 ]; do
        case $1 in
            --winver) winver=$2; shift 2 ;;
            --no-start-menu) start_menu=0; shift ;;
            *) echo "wine_prefix_configure: unknown option $1" >&2; return 2 ;;
        esac
    done
    [ -n "$winver" ] && wine_reg_set "$dest" 'Software\\Wine' Version "$winver"
    profile=$(wine_profile_dir "$dest") || { echo "no user profile in $dest" >&2; return 1; }
    if [ "$start_menu" = 1 ]; then
        mkdir -p "$profile/Start Menu/Programs"
    else
        rm -rf "$profile/Start Menu"
    fi
}

# Starts Xvfb on a display number it picks itself, unless a display is given.
wine_display_start() {
    WINE_XVFB_PID=""
    [ -n "${DISPLAY:-}" ] && return 0
    local fifo number
    fifo=$(mktemp -u "${TMPDIR:-/tmp}/wine-xvfb.XXXXXX")
    mkfifo "$fifo"
    Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp 7>"$fifo" >/dev/null 2>&1 &
    WINE_XVFB_PID=$!
    read -r -t 20 number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "Xvfb did not start" >&2
        kill "$WINE_XVFB_PID" 2>/dev/null
        WINE_XVFB_PID=""
        return 1
    fi
    export DISPLAY=":$number"
}

wine_display_stop() {
    if [ -n "${WINE_XVFB_PID:-}" ]; then
        kill "$WINE_XVFB_PID" 2>/dev/null
        wait "$WINE_XVFB_PID" 2>/dev/null
        WINE_XVFB_PID=""
        unset DISPLAY
    fi
}

# Ends whatever still runs in $WINEPREFIX and waits until its wineserver is
# gone, so no run leaks processes into the next.
wine_prefix_finish() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    return 0
}

wine_winpath() { # UNIX_PATH inside $WINEPREFIX/drive_X
    local drives="${WINEPREFIX:?wine_winpath needs WINEPREFIX}/drive_" relative
    case $1 in
        "$drives"[c-z]/*) relative=${1#"$drives"} ;;
        *) echo "wine_winpath: $1 is on no drive of $WINEPREFIX" >&2; return 1 ;;
    esac
    relative=${relative/\//:\/}
    printf '%s\n' "${relative^}" | tr / '\\'
}

# Programs run from inside the prefix: there is no drive that reaches the
# build folder.
wine_stage() { # PREFIX FILE FOLDER
    local dest="$1/drive_c/$3"
    mkdir -p "$dest" && cp "$2" "$dest/" || return 1
    WINEPREFIX=$1 wine_winpath "$dest/$(basename "$2")"
}

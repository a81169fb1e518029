# Wine environment shared by every script that runs Windows code here.
# Source it, then call the functions; nothing runs at source time except
# setting variables. Prefixes, loaders and programs go through the Wine
# layer's command (tools/wine-layer/main.cpp, built by the release preset;
# WINE_LAYER names another), the code that `mkinstaller verify` runs; what is
# left here is the environment of a run and the display that its tests share.
# Every prefix lives under the build folder and HOME points at a throwaway
# folder, so nothing reaches the user's ~/.wine or home.
#
#   wine_env_init BUILD_DIR        variables, throwaway HOME, sane Wine settings
#   wine_layer ARGS...             the Wine layer's command (wine-layer --help)
#   wine_layer_command             its path
#   wine_32bit_problem             why 32-bit programs cannot run here, or nothing
#   wine_require_arch              exits 77 (skipped) where the arch cannot run
#   wine_templates_reset           forget the templates of an earlier run
#   wine_prefix_new DEST ARCH [OPTION...]
#                                  a prefix copied from the template of ARCH
#                                  (win64|win32, booted once); prints its profile
#   wine_stage PREFIX FILE FOLDER  copy FILE into PREFIX's C:\FOLDER, print its C: path
#   wine_display_start             start Xvfb unless DISPLAY is set
#   wine_display_stop              stop the Xvfb that wine_display_start started
#   wine_prefix_finish             end every process of $WINEPREFIX and wait
#   wine_winpath UNIX_PATH         the Windows spelling of a path in $WINEPREFIX/drive_X

_wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

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

# The command's path, for a script that execs it.
wine_layer_command() {
    local command=${WINE_LAYER:-$_wine_env_root/build/release/tools/wine-layer/wine-layer}
    if [ ! -x "$command" ]; then
        echo "wine_layer: $command is not built (cmake --build --preset release --target wine-layer)" >&2
        return 2
    fi
    printf '%s\n' "$command"
}

wine_layer() {
    local command
    command=$(wine_layer_command) || return 2
    "$command" "$@"
}

wine_32bit_problem() {
    wine_layer problem32
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

# Forgets the templates so the next wine_prefix_new boots a new one: each
# test run starts from a prefix that no earlier run touched. Takes each
# template's lock, so no copy or boot is in progress meanwhile.
wine_templates_reset() {
    local arch
    for arch in win64 win32; do
        (
            flock 9 || exit 1
            rm -rf "$WINE_HARNESS_DIR/template-$arch"
        ) 9>"$WINE_HARNESS_DIR/template-$arch.lock"
    done
}

wine_prefix_new() { # DEST ARCH [--winver V] [--no-start-menu]
    local dest=$1 arch=$2
    shift 2
    wine_layer prefix "$dest" --arch "$arch" --template "$WINE_HARNESS_DIR/template-$arch" "$@"
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
    wine_layer stage --into "$3" "$1" "$2"
}

#!/usr/bin/env bash
# The main job: builds the tools, the runtime and the reference product's
# setup.exe, then runs it under Wine in a fresh prefix of its own.
#   With a display ($DISPLAY): the installer opens in a window there; use it.
#   Without one: a private Xvfb, and the GUI driver walks through an install,
#   saving a screenshot of each state.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./scripts/setup-deps.sh

jobs=${JOBS:-$(nproc)}
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

build="$root/build/windows"
setup="$build/product/setup.exe"
echo "built $setup ($(stat -c %s "$setup") bytes)"

export WINE_HARNESS_BUILD="$build"
. "$root/tests/win/lib/scenario.sh"
wine_templates_reset
wine_template win64
scenario_prepare demo --winver win7
echo "fresh Wine prefix: $SCENARIO_PREFIX"

if [ -n "${DISPLAY:-}" ]; then
    echo "running setup.exe on display $DISPLAY; close its window or press Exit to finish"
    WINEPREFIX="$SCENARIO_PREFIX" wine "$(wine_stage "$SCENARIO_PREFIX" "$setup" Downloads)" ||
        echo "setup.exe ended with exit code $?"
    WINEPREFIX="$SCENARIO_PREFIX" wine_prefix_finish
else
    rm -f "$build"/screenshots/demo-*.png
    scenario_drive demo "$setup" -- \
        wait-window MAIN "Software Installation Utility" 20000 shot 1-startup \
        wait-visible SelectButton 1 20000 wait-idle 20000 shot 2-prompt \
        click SelectButton wait-window "#32770" "Browse for Folder" 10000 shot 3-browser \
        browse cancel wait-enabled InstallButton 1 5000 \
        click InstallButton wait-visible ExitButton 1 60000 wait-idle 20000 shot 4-installed \
        expect-text MessageText "The software has been successfully installed." \
        click ExitButton wait-exit 0
    echo
    echo "screenshots of each state:"
    ls -1 "$build"/screenshots/demo-*.png
fi

installed="$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"
if [ -d "$installed" ]; then
    echo
    echo "installed into C:\\Holbrine\\Varnoset ($installed):"
    ls -l --time-style=+%Y-%m-%dT%H:%M:%S "$installed"
    find "$SCENARIO_PROFILE" -name 'Varnoset.lnk' -printf 'link: %p\n'
fi

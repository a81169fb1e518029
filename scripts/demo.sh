#!/usr/bin/env bash
# The main job: builds the tools, the runtime and the reference product's
# setup.exe, then runs it under Wine in a fresh prefix of its own.
#   With a display ($DISPLAY): the installer opens in a window there; use it.
#   Without one: `mkinstaller verify` installs it on a private Xvfb into the
#   default folder and a chosen one, saving a screenshot of each state, and
#   checks every file, time and link.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./scripts/setup-deps.sh

jobs=${JOBS:-$(nproc)}
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"

# The i686 installer is the default; a machine that cannot run 32-bit
# programs gets the same product as x64.
problem=$(. scripts/wine-env.sh && wine_32bit_problem)
if [ -n "$problem" ]; then
    echo "this machine cannot run 32-bit x86 programs ($problem): building and running the x64 installer"
    preset=windows-x64 arch=x64 suffix=-x64
else
    preset=windows arch=x86 suffix=""
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"

build="$root/build/$preset"
setup="$build/product/setup.exe"
echo "built $setup ($(stat -c %s "$setup") bytes, $arch)"

if [ -n "${DISPLAY:-}" ]; then
    export WINE_HARNESS_BUILD="$build" WINE_HARNESS_ARCH="$arch"
    . "$root/tests/win/lib/scenario.sh"
    wine_templates_reset
    scenario_prepare demo --winver win7
    echo "fresh Wine prefix: $SCENARIO_PREFIX"
    echo "running setup.exe on display $DISPLAY; close its window or press Exit to finish"
    wine_layer run --into Downloads "$SCENARIO_PREFIX" "$setup" ||
        echo "setup.exe ended with exit code $?"
    WINEPREFIX="$SCENARIO_PREFIX" wine_prefix_finish
    installed="$SCENARIO_PREFIX/drive_c/Holbrine/Varnoset"
    if [ -d "$installed" ]; then
        echo
        echo "installed into C:\\Holbrine\\Varnoset ($installed):"
        ls -l --time-style=+%Y-%m-%dT%H:%M:%S "$installed"
        find "$SCENARIO_PROFILE" -name 'Varnoset.lnk' -printf 'link: %p\n'
    fi
else
    shots="$build/screenshots/demo"
    rm -rf "$shots"
    "$root/build/release/tools/mkinstaller/mkinstaller" verify product/manifest.toml "$setup" \
        --source-dir "$build/product/programs" --winver win7 --folder 'C:\Apps\Varnoset' --shots "$shots" \
        --driver "$build/tools/verify/driver/driver$suffix.exe"
    echo
    echo "screenshots of each state:"
    ls -1 "$shots"/*.png
fi

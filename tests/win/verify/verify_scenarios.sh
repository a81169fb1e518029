#!/usr/bin/env bash
# `mkinstaller verify` on built installers: each case names an installer, the
# manifest it is checked against, the exit code and the lines verify must print.
#   verify_scenarios.sh MKINSTALLER DRIVER CASE
# The installers are of the build's arch (WINE_HARNESS_ARCH); i686 ones are
# skipped where the machine cannot run them, but for the case that checks
# that verify refuses them there.
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${WINE_HARNESS_BUILD:?set WINE_HARNESS_BUILD to the Windows build folder}
mkinstaller=$1 driver=$2 case_name=$3
programs="$build/product/programs" work="$build/tests/win/verify/$case_name"
# shellcheck source=../../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
wine_env_init "$build"
if [ "$case_name" = refused-without-32-bit ]; then
    if [ "$WINE_HARNESS_ARCH" != x86 ] || [ -z "$(wine_32bit_problem_once)" ]; then
        echo "skipped: this machine runs 32-bit x86 programs, so verify does not refuse them"
        exit 77
    fi
else
    wine_require_arch
fi
rm -rf "$work" && mkdir -p "$work" || exit 1

reference=("$root/product/manifest.toml" "$build/product/setup.exe" --source-dir "$programs")
status_wanted=1
case $case_name in
reference)  # as built; another version; the browser two levels down ("\n" no line break)
    arguments=("${reference[@]}" --winver winxp --folder 'C:\new place\Varnoset' --shots "$work")
    status_wanted=0
    lines=('installs every file, time and link as packed \(2 installs') ;;
second-product)  # a user data row, an empty file, 20 MiB, another group, a PNG logo (shots)
    arguments=("$root/tests/win/product/second.toml" "$build/tests/win/product/second_setup.exe"
        --source-dir "$build/tests/win/product" --source-dir "$programs" --source-dir "$root/product" --shots "$work")
    status_wanted=0
    lines=('installs every file, time and link as packed') ;;
mismatch)  # a manifest changed after packing: another source, time and description
    sed -e 's/^name = "graph3.jpg"/&\nsource = "graph2.gif"/' -e 's/1998-05-30T09:00:00Z/1998-05-30T09:00:00.5Z/' \
        -e 's/Marrow Falls, Vermont/Marrow Falls, Maine/' "$root/product/manifest.toml" >"$work/manifest.toml"
    arguments=("$work/manifest.toml" "$build/product/setup.exe" --source-dir "$programs" --source-dir "$root/product")
    lines=('^C:\\Holbrine\\Varnoset: graph3\.jpg: [0-9]+ bytes, expected [0-9]+ as .*/graph2\.gif$'
        'graph1\.bmp: creation time 1998-05-30T09:00:00Z, expected 1998-05-30T09:00:00\.5Z$'
        'graph1\.bmp: access time 1998-05-30T09:00:00Z, expected 1998-05-30T09:00:00\.5Z$'
        'graph1\.bmp: write time 1998-05-30T09:00:00Z, expected 1998-05-30T09:00:00\.5Z$'
        'desktop link Varnoset\.lnk: description ".*Vermont", expected ".*Maine"$'
        'Start-menu link Holbrine\\Varnoset\.lnk: description ".*Vermont", expected ".*Maine"$'
        '^mkinstaller verify: 6 differences') ;;
fatal)  # the installer stops with a fatal report before the Start-menu link
    arguments=("$root/tests/win/install/long_group.toml" "$build/tests/win/install/long_group_setup.exe"
        --source-dir "$root/tests/win/install" --source-dir "$programs" --source-dir "$root/product")
    lines=('through the window: step [0-9]+ wait-visible "ExitButton".* a fatal report is showing: "Fatal Error Code 265"'
        'Start-menu link G+\\Varnoset\.lnk: missing$' '^mkinstaller verify: 2 differences') ;;
hostile)  # writes by every route into $work (compiled in), and reads a variable
    arguments=("$root/product/manifest.toml" "$build/tests/win/verify/hostile_setup.exe" --source-dir "$programs")
    export HOSTILE_TEST_SECRET=1
    lines=('through the window: .*; the installer has ended with exit code 0$') ;;
refused-without-32-bit)  # stops before any prefix or display, saying what would work
    arguments=("${reference[@]}")
    status_wanted=2
    lines=('^mkinstaller verify: this machine cannot run 32-bit Windows programs \(.*\); pack with arch = "x64" in \[product\], or verify on a machine with 32-bit support$') ;;
*)
    echo "unknown case $case_name" >&2
    exit 2 ;;
esac

output=$("$mkinstaller" verify "${arguments[@]}" --driver "$driver" 2>&1)
status=$?
printf '%s\n' "$output"
failed=0
[ "$status" = "$status_wanted" ] || { echo "FAIL: exit code $status, expected $status_wanted"; failed=1; }
for line in "${lines[@]}"; do
    grep -Eq -- "$line" <<<"$output" || { echo "FAIL: no line matching: $line"; failed=1; }
done
if [ "$case_name" = hostile ] && [ -n "$(ls -A "$work")" ]; then
    echo "FAIL: the installer wrote outside verify's work folder:" "$(ls -A "$work")"
    failed=1
fi
exit "$failed"

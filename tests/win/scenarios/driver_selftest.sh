#!/usr/bin/env bash
# The driver's checks shown to fail: each case gives the reference product's
# window a wrong expectation (or moves one of its buttons by a pixel) and
# expects the driver to exit 1 with a line that names the fault.
#   driver_selftest.sh CASE
set -uo pipefail
. "$(dirname "$0")/../lib/scenario.sh"

setup="$WINE_HARNESS_BUILD/product/setup.exe"
scenario_require "$setup"
case_name=${1:?usage: driver_selftest.sh CASE}
started=(wait-window MAIN "Software Installation Utility" 20000 wait-visible SelectButton 1 20000 wait-idle 20000)

# expected output line (grep -E) | steps after start-up
case $case_name in
layout-fault)
    expect='layout: ExitButton +\([0-9]+, .* WRONG, expected \('
    steps=(nudge ExitButton 1 check-layout) ;;
wrong-text)
    expect='FAIL step 4 expect-text .*OsText text is "Operating System: Windows-7", expected "Operating System: Windows-XP"'
    steps=(expect-text OsText "Operating System: Windows-XP") ;;
hidden-button)
    expect='FAIL step 4 click "Exit": "Exit" is hidden'
    steps=(click Exit) ;;
wrong-exit-code)
    expect='FAIL step 5 wait-exit "1": exit code 0, expected 1'
    steps=(close wait-exit 1) ;;
*)
    echo "unknown case $case_name" >&2
    exit 2 ;;
esac

output=$(run_scenario "selftest-$case_name" "$setup" --winver win7 -- "${started[@]}" "${steps[@]}")
status=$?
printf '%s\n' "$output"
if [ "$status" != 1 ] || ! grep -Eq -- "$expect" <<<"$output"; then
    echo "SELFTEST FAILED: driver exit code $status (expected 1) or no line matching: $expect"
    exit 1
fi
echo "selftest $case_name passed"

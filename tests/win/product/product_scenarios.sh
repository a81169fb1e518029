#!/usr/bin/env bash
# Starting the installed program from its link (the second product is
# checked by `mkinstaller verify`, tests/win/verify):
#   product_scenarios.sh CASE
set -uo pipefail
product_tests=$(cd "$(dirname "$0")" && pwd)
. "$product_tests/../lib/scenario.sh"
. "$product_tests/../lib/install_checks.sh"
second_dir="$WINE_HARNESS_BUILD/tests/win/product"

# The reference product installed with the defaults; its desktop link, opened
# as Explorer opens it, starts the installed Varnoset.EXE (the link's working
# folder is read by check_install).
case_desktop_link() {
    local opener="$second_dir/open_document.exe" output
    scenario_require "$opener"
    scenario_prepare desktop-link || exit 1
    mapfile -t steps < <(prompt_steps; installed_steps; printf '%s\n' click Exit wait-exit 0)
    run_steps desktop-link "$product_setup" -- "${steps[@]}"
    check_install "$reference" "$(default_dir)" --links 'C:\Holbrine\Varnoset'

    [ "${WINE_HARNESS_USE_DISPLAY:-0}" = 1 ] || unset DISPLAY
    wine_display_start || exit 1
    output=$(prefix_run "$opener" \
        "$(prefix_winpath "$SCENARIO_PROFILE/Desktop/Varnoset.lnk")" VarnosetMain "Varnoset 2.18" 2>/dev/null | tr -d '\r')
    echo "$output"
    WINEPREFIX="$SCENARIO_PREFIX" wine_prefix_finish
    wine_display_stop
    expect_eq "program started by the link" "$(sed -n 's/^program //p' <<<"$output")" 'C:\Holbrine\Varnoset\Varnoset.EXE'
    expect_eq "its exit code after closing" "$(sed -n 's/^exit //p' <<<"$output")" 0
}

scenario_cases_run "${1:?usage: product_scenarios.sh CASE}"

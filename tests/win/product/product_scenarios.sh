#!/usr/bin/env bash
# Scenarios of a second product and of starting the installed program:
#   product_scenarios.sh CASE
set -uo pipefail
product_tests=$(cd "$(dirname "$0")" && pwd)
. "$product_tests/../lib/scenario.sh"
. "$product_tests/../lib/install_checks.sh"
second_dir="$WINE_HARNESS_BUILD/tests/win/product"

# Default install through the window (the converted PNG logo in the
# screenshots), then the bytes, the three times and both links of every row,
# and the properties Windows shows for the setup program.
case_second_product() {
    local setup="$second_dir/second_setup.exe" target='C:\Ferrule\Brambleton'
    local lines='Brambleton, stock cards for the workshop
by Ferrule Works
Hollis Bend, Oregon'
    scenario_require "$setup"
    scenario_prepare second-product || exit 1
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
        printf '%s\n' expect-text FolderText "$target" \
            expect-text DescriptionText "This program will install\nVersion 3.1 of Brambleton\n${lines//$'\n'/\\n}\n"
        printf '%s\n' shot prompt
        installed_steps
        printf '%s\n' shot installed click Exit wait-exit 0)
    run_steps second-product "$setup" -- "${steps[@]}"
    check_files "$SCENARIO_PREFIX/drive_c/Ferrule/Brambleton" \
        "Brambleton.EXE|$programs_dir/Varnoset.EXE|2003-09-14T08:15:00Z" \
        "STOCK.CSV|$product_tests/stock.csv|2003-09-12T17:40:30Z" \
        "journal.log|$product_tests/journal.log|2003-09-01T00:00:02Z" \
        "Patterns.DAT|$second_dir/patterns.dat|2003-08-30T23:59:58Z"
    expect_eq "Patterns.DAT size" "$(stat -c %s "$SCENARIO_PREFIX/drive_c/Ferrule/Brambleton/Patterns.DAT")" 20971520
    check_link "$SCENARIO_PROFILE/Desktop/Brambleton.lnk" "$target\\Brambleton.EXE" "$target" "$lines"
    check_link "$SCENARIO_PROFILE/Start Menu/Programs/Ferrule Works/Brambleton.lnk" \
        "$target\\Brambleton.EXE" "$target" "$lines"
    expect_eq "file properties" "$(prefix_run "$helpers/version_info.exe" 'C:\Downloads\second_setup.exe' 2>/dev/null | tr -d '\r')" \
        "Version: 3.1.0.0
CompanyName: Ferrule Works
FileDescription: Brambleton Setup
FileVersion: 3.1
ProductName: Brambleton
ProductVersion: 3.1"
}

# The reference product installed with the defaults; its desktop link, opened
# as Explorer opens it, starts the installed Varnoset.EXE in the install folder.
case_desktop_link() {
    local opener="$second_dir/open_document.exe" output
    scenario_require "$opener"
    scenario_prepare desktop-link || exit 1
    mapfile -t steps < <(prompt_steps "Operating System: Windows-7" "Architecture: 64-bit"
        installed_steps; printf '%s\n' click Exit wait-exit 0)
    run_steps desktop-link "$product_setup" -- "${steps[@]}"
    check_reference_links 'C:\Holbrine\Varnoset'

    [ "${WINE_HARNESS_USE_DISPLAY:-0}" = 1 ] || unset DISPLAY
    wine_display_start || exit 1
    output=$(prefix_run "$opener" \
        "$(prefix_winpath "$SCENARIO_PROFILE/Desktop/Varnoset.lnk")" VarnosetMain "Varnoset 2.18" 2>/dev/null | tr -d '\r')
    echo "$output"
    WINEPREFIX="$SCENARIO_PREFIX" wine_prefix_finish
    wine_display_stop
    expect_eq "program started by the link" "$(sed -n 's/^program //p' <<<"$output")" 'C:\Holbrine\Varnoset\Varnoset.EXE'
    expect_eq "its working folder" "$(sed -n 's/^folder //p' <<<"$output")" 'C:\Holbrine\Varnoset\'
    expect_eq "its exit code after closing" "$(sed -n 's/^exit //p' <<<"$output")" 0
}

scenario_cases_run "${1:?usage: product_scenarios.sh CASE}"

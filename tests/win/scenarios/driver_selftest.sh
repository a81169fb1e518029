#!/usr/bin/env bash
# The driver checked against a stand-in window (mock_installer.exe): each case
# runs its steps and expects the driver's exit code and one line of its
# output. The failing cases show that a wrong window, text, layout or exit
# code is reported, not passed over.
#   driver_selftest.sh CASE
set -uo pipefail
. "$(dirname "$0")/../lib/scenario.sh"

mock="$WINE_HARNESS_BUILD/tests/win/driver/mock_installer.exe"
scenario_require "$mock"
title="Software Installation Utility"
case_name=${1:?usage: driver_selftest.sh CASE}

# expected exit code | expected output line (grep -E) | steps
case $case_name in
window)
    expect=(0 'ok   step [0-9]+ wait-exit "0"')
    steps=(wait-window MAIN "$title" 20000 expect-children 13
           wait-visible SelectButton 1 20000 wait-idle 20000
           expect-class LogoWindow LOGO expect-class StatusText STATIC expect-class CopyProgress msctls_progress32
           expect-text WarningText "You may need to disable your antivirus before proceeding."
           expect-text DescriptionText 'This program will install\nVersion 1.0 of Mock\na stand-in\n'
           expect-visible ExitButton 0 expect-enabled InstallButton 1
           rects check-layout shot started close wait-exit 0) ;;
layout-fault)
    export MOCK_FAULT=exit-button-shifted
    expect=(1 'layout: ExitButton is \(([0-9]+), .*expected \(')
    steps=(wait-window MAIN "$title" 20000 wait-visible SelectButton 1 20000 check-layout) ;;
wrong-text)
    expect=(1 'FAIL step 2 expect-text .*OsText text is "Operating System", expected "Operating System: Windows-XP"')
    steps=(wait-window MAIN "$title" 20000 expect-text OsText "Operating System: Windows-XP") ;;
hidden-button)
    expect=(1 'FAIL step 3 click "Exit": button "Exit" is hidden')
    steps=(wait-window MAIN "$title" 20000 wait-visible SelectButton 1 20000 click Exit) ;;
wrong-exit-code)
    expect=(1 'FAIL step 5 wait-exit "1": exit code 0, expected 1')
    steps=(wait-window MAIN "$title" 20000 wait-visible SelectButton 1 20000 wait-idle 20000 close wait-exit 1) ;;
ignored-notification)
    expect=(0 'ok   step 7 wait-exit "0"')
    steps=(wait-window MAIN "$title" 20000 wait-idle 20000 send-command IDC_EXIT 1 sleep 500 expect-running
           send-command IDC_EXIT 0 wait-exit 0) ;;
browse)
    expect=(0 'ok   step [0-9]+ wait-text "FolderText" "C:\\Mock\\Folder"')
    steps=(wait-window MAIN "$title" 20000 wait-visible SelectButton 1 20000
           click "select another folder" browse 'C:\windows' wait-text FolderText 'C:\windows' 5000
           shot browsed
           click "select another folder" browse cancel wait-text FolderText 'C:\Mock\Folder' 5000) ;;
fatal-report)
    expect=(0 'ok   step [0-9]+ wait-exit "1"')
    steps=(patch-resource 'C:\mock.exe' BITMAP LOGO --delete start 'C:\mock.exe'
           wait-fatal 603 "can't find resource LOGO\nWin Err Code 1813: mock" wait-exit 1) ;;
*)
    echo "unknown case $case_name" >&2
    exit 2 ;;
esac

exe=$mock
scenario_prepare "selftest-$case_name" || exit 1
if [ "$case_name" = fatal-report ]; then
    cp "$mock" "$SCENARIO_PREFIX/drive_c/mock.exe"
    exe=-
fi
output=$(scenario_drive "selftest-$case_name" "$exe" -- "${steps[@]}")
status=$?
printf '%s\n' "$output"
if [ "$status" != "${expect[0]}" ]; then
    echo "SELFTEST FAILED: driver exit code $status, expected ${expect[0]}"
    exit 1
fi
if ! grep -Eq -- "${expect[1]}" <<<"$output"; then
    echo "SELFTEST FAILED: no output line matching: ${expect[1]}"
    exit 1
fi
echo "selftest $case_name passed"

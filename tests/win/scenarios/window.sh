#!/usr/bin/env bash
# The reference product's window as a user meets it: classes, texts,
# visibility, layout, the ways to close it, the fatal report of a missing
# logo, and the version and width lines on each Windows that Wine imitates.
#   window.sh CASE
set -uo pipefail
. "$(dirname "$0")/../lib/scenario.sh"

setup="$WINE_HARNESS_BUILD/product/setup.exe"
scenario_require "$setup"
case_name=${1:?usage: window.sh CASE}

title="Software Installation Utility"
# The reference product's manifest (product/manifest.toml) in the intro format.
intro='This program will install\nVersion 2.18 of Varnoset\nVarnoset, charts for the small office\nby Holbrine Software\nMarrow Falls, Vermont\n'
started=(wait-window MAIN "$title" 20000 wait-visible SelectButton 1 20000 wait-idle 20000)

# WS_POPUP, WS_VISIBLE, WS_CAPTION and WS_SYSMENU, then
# WS_EX_DLGMODALFRAME and WS_EX_TOPMOST; the system adds WS_CLIPSIBLINGS and
# WS_EX_WINDOWEDGE to a top-level window with a caption.
main_style="0x94C80000 ex 0x00000109"
# role | class | style at the prompt (its WS_VISIBLE bit as shown) | ID | text at the prompt
children=(
    "LogoWindow       LOGO              0x50000000 0    -"
    "DescriptionText  STATIC            0x50000001 0    $intro"
    "OsText           STATIC            0x50000001 0    Operating System: Windows-7"
    "ArchitectureText STATIC            0x50000001 0    Architecture: 64-bit"
    "WarningText      STATIC            0x50000001 0    You may need to disable your antivirus before proceeding."
    "StatusText       STATIC            0x50000001 0    The files will be stored in the following folder:"
    "MessageText      STATIC            0x50000001 0    Install in this folder or some other path of your choosing?"
    "FolderText       STATIC            0x50000001 0    C:\\Holbrine\\Varnoset"
    "UnpackProgress   msctls_progress32 0x40000000 1028 -"
    "CopyProgress     msctls_progress32 0x40000000 1028 -"
    "InstallButton    BUTTON            0x50000000 1025 install in this folder"
    "SelectButton     BUTTON            0x50000000 1026 select another folder"
    "ExitButton       BUTTON            0x40000000 1028 Exit"
)

# The roles are the main window's children in creation order.
child_steps() {
    local row role class style id text
    for row in "${children[@]}"; do
        read -r role class style id text <<<"$row"
        steps+=(expect-class "$role" "$class" expect-style "$role" "$style" expect-id "$role" "$id")
        [ "$text" != - ] && steps+=(expect-text "$role" "$text")
    done
}

prefix_options=(--winver win7)
exe=$setup
case $case_name in
controls)
    steps=("${started[@]}" expect-children 13 expect-text MainWindow "$title" expect-style MainWindow "$main_style")
    child_steps
    steps+=(expect-enabled InstallButton 1 expect-enabled SelectButton 1 shot prompt close wait-exit 0) ;;
layout)
    steps=("${started[@]}" check-layout close wait-exit 0) ;;
layout-logo-*)
    exe="$WINE_HARNESS_BUILD/tests/win/scenarios/fit-${case_name#layout-logo-}-setup.exe"
    scenario_require "$exe"
    steps=("${started[@]}" check-layout shot window close wait-exit 0) ;;
close-box)
    steps=("${started[@]}" close wait-exit 0) ;;
exit-command)
    # Exit is hidden until an install, yet a WM_COMMAND sent straight to the
    # window still reaches it: only BN_CLICKED (0) and BN_DOUBLECLICKED (5)
    # count, for every button ID.
    steps=("${started[@]}"
           send-command IDC_EXIT 1 send-command IDC_EXIT 6 send-command IDC_INSTALL 1 send-command IDC_SELECT 2
           sleep 1000 expect-running expect-visible MainWindow 1 expect-visible InstallButton 1
           send-command IDC_EXIT 0 wait-exit 0) ;;
logo-missing)
    # With the only bitmap gone, the lookup fails on the type.
    exe=-
    steps=(patch-resource 'C:\setup.exe' BITMAP LOGO --delete start 'C:\setup.exe' shot fatal
           wait-fatal 603 "can't find resource LOGO\nWin Err Code 1813: resource type not found" wait-exit 1) ;;
version-*)
    # version-WINVER-ARCH-EXPECTED: what the two probe lines say on that system.
    IFS=- read -r _ winver arch os width <<<"$case_name"
    width=${width/bit/-bit}
    prefix_options=(--winver "$winver" --arch "$arch")
    steps=("${started[@]}" expect-text OsText "Operating System: Windows-$os"
           expect-text ArchitectureText "Architecture: $width" close wait-exit 0) ;;
unsupported-*)
    # unsupported-WINVER-ARCH: a version outside the five known ones. The
    # report comes before the probe lines change and before anything is
    # unpacked, so the window behind it still shows its initial texts.
    IFS=- read -r _ winver arch <<<"$case_name"
    prefix_options=(--winver "$winver" --arch "$arch")
    steps=(wait-window MAIN "$title" 20000 wait-window '#32770' "Fatal Error Code 144" 20000
           expect-text OsText "Operating System" expect-text ArchitectureText "Architecture"
           expect-text DescriptionText "$intro" expect-text StatusText "" expect-text MessageText ""
           expect-visible UnpackProgress 1 expect-visible FolderText 0 expect-visible InstallButton 0
           expect-visible SelectButton 0 check-layout shot unsupported
           wait-fatal 144 "unsupported windows version" wait-exit 1) ;;
*)
    echo "unknown case $case_name" >&2
    exit 2 ;;
esac

scenario_prepare "window-$case_name" "${prefix_options[@]}" || exit 1
[ "$exe" = - ] && cp "$setup" "$SCENARIO_PREFIX/drive_c/setup.exe"
scenario_drive "window-$case_name" "$exe" -- "${steps[@]}"

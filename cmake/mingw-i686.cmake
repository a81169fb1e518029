# Cross toolchain for the installer runtime: 32-bit Windows via MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Windows executables (gtest programs, the GUI driver) run under Wine in the
# test run's shared prefix, so ctest treats them like native programs.
get_filename_component(_installer_source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_installer_source_dir}/scripts/wine-run")

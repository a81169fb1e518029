# Cross toolchain for the installer runtime: 32-bit Windows via MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
set(MINGW_TESTS_UNDER_WINE ON)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

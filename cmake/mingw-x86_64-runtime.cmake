# Cross toolchain for the installer runtime on 64-bit Windows: x86_64
# MinGW-w64, with its test programs under Wine as in the i686 build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(MINGW_TESTS_UNDER_WINE ON)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

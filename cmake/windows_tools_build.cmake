# The tools for 64-bit Windows have a build of their own (windows-tools
# preset, x86_64 MinGW), which the windows build runs, so that one build
# makes every Windows program.
include(${CMAKE_CURRENT_LIST_DIR}/inner_build.cmake)
add_inner_build(TARGET windows_tools PRESET windows-tools ALL
                BYPRODUCTS ${CMAKE_SOURCE_DIR}/build/windows-tools/tools/lzari/lzari.exe)

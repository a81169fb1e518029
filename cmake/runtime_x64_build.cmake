# The x86_64 runtime has a build of its own (windows-x64 preset), which the
# i686 build runs, after its own host tools as both use them, so that one
# build makes both stubs for the tools' package.
include(${CMAKE_CURRENT_LIST_DIR}/inner_build.cmake)
set(INSTALLER_X64_BUILD ${CMAKE_SOURCE_DIR}/build/windows-x64)
add_inner_build(TARGET runtime_x64 PRESET windows-x64 ALL
                BYPRODUCTS ${INSTALLER_X64_BUILD}/app/setup-stub-x64.exe
                           ${INSTALLER_X64_BUILD}/tools/verify/driver/driver-x64.exe)
add_dependencies(runtime_x64 host_tools)

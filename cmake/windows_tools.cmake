# The tools for Windows (windows-tools preset): the same sources as the
# Linux tools, each with its Windows platform layer.
#
# CLI11 is header-only and not packaged for MinGW: the cross build sees the
# host's copy through a folder that holds nothing else, never through the
# host's whole include folder.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
file(CREATE_LINK /usr/include/CLI ${host_headers}/CLI SYMBOLIC)
set(CLI11_INCLUDE_DIR ${host_headers} CACHE PATH "CLI11 headers for the Windows tools" FORCE)

add_subdirectory(codec)
add_subdirectory(tools/lzari)
add_subdirectory(tests/windows_tools)

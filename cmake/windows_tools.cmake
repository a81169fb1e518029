# The tools for Windows (windows-tools preset): the same sources as the
# Linux tools, each with its Windows platform layer.
#
# CLI11, toml++ and stb are header-only and not packaged for MinGW: the cross
# build sees the host's copies through a folder that holds nothing else,
# never through the host's whole include folder.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
foreach(library CLI toml++ stb)
  file(CREATE_LINK /usr/include/${library} ${host_headers}/${library} SYMBOLIC)
endforeach()
set(CLI11_INCLUDE_DIR ${host_headers} CACHE PATH "CLI11 headers for the Windows tools" FORCE)
include_directories(SYSTEM ${host_headers})

# Its stub ships with the tools; its setup.exe is what the Wine tests compare with.
set(INSTALLER_WINDOWS_BUILD ${CMAKE_SOURCE_DIR}/build/windows CACHE PATH "Windows build whose stub the tools ship and the Wine tests use")

# The tools are x86_64 programs: their Wine tests run on every machine.
set(INSTALLER_ARCH x64)

add_subdirectory(codec)
add_subdirectory(common)
add_subdirectory(tools/common)
add_subdirectory(tools/lzari)
add_subdirectory(tools/mkinstaller)
add_subdirectory(tests/windows_tools)

# The tools' .zip (cpack in this build): the layout mkinstaller.exe finds its
# stubs in, bin/ and share/mkinstaller/, with the stubs of the windows and
# windows-x64 builds.
install(TARGETS lzari mkinstaller RUNTIME DESTINATION bin)
install(FILES ${INSTALLER_WINDOWS_BUILD}/app/setup-stub.exe ${CMAKE_SOURCE_DIR}/build/windows-x64/app/setup-stub-x64.exe
        DESTINATION share/mkinstaller)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION .)
# Windows has no man: the manual pages, with the manifest reference, as HTML.
foreach(page mkinstaller lzari)
  set(html ${CMAKE_BINARY_DIR}/doc/${page}.html)
  add_custom_command(OUTPUT ${html}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
                     COMMAND mandoc -T html ${CMAKE_SOURCE_DIR}/docs/${page}.1 > ${html}
                     DEPENDS ${CMAKE_SOURCE_DIR}/docs/${page}.1 VERBATIM)
  list(APPEND manual_pages ${html})
endforeach()
add_custom_target(manual_pages_html ALL DEPENDS ${manual_pages})
install(FILES ${manual_pages} DESTINATION doc)
set(CPACK_PACKAGE_NAME mkinstaller)
set(CPACK_PACKAGE_VERSION ${INSTALLER_RELEASE})
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME mkinstaller-${INSTALLER_RELEASE}-windows-x86_64)
include(CPack)

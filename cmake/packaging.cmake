# The tools' package (release preset): mkinstaller and lzari of this build,
# with the stubs and GUI drivers that the Windows builds made, taken as
# inputs (INSTALLER_WINDOWS_BUILD, INSTALLER_WINDOWS_X64_BUILD). The layout
# is the one mkinstaller looks for them in: bin/mkinstaller and
# share/mkinstaller/.
#   cmake --install build/release --prefix DIR
#   cpack --preset tools      (a .deb and a .tar.gz of the same files)
set(INSTALLER_WINDOWS_BUILD ${CMAKE_SOURCE_DIR}/build/windows
    CACHE PATH "The i686 Windows build whose stub and GUI driver the package carries")
set(INSTALLER_WINDOWS_X64_BUILD ${CMAKE_SOURCE_DIR}/build/windows-x64
    CACHE PATH "The x86_64 Windows build whose stub and GUI driver the package carries")

install(TARGETS mkinstaller lzari RUNTIME DESTINATION bin)
install(FILES ${INSTALLER_WINDOWS_BUILD}/app/setup-stub.exe
              ${INSTALLER_WINDOWS_BUILD}/tools/verify/driver/driver.exe
              ${INSTALLER_WINDOWS_X64_BUILD}/app/setup-stub-x64.exe
              ${INSTALLER_WINDOWS_X64_BUILD}/tools/verify/driver/driver-x64.exe
        DESTINATION share/mkinstaller)

# Man pages and the changelog compressed as Debian has them (gzip -n: no name
# or time inside, so the same sources give the same bytes).
set(packaged_docs ${CMAKE_BINARY_DIR}/packaged-docs)
foreach(doc mkinstaller.1 lzari.1 changelog)
  add_custom_command(OUTPUT ${packaged_docs}/${doc}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${packaged_docs}
                     COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/docs/${doc} > ${packaged_docs}/${doc}.gz
                     DEPENDS ${CMAKE_SOURCE_DIR}/docs/${doc} VERBATIM)
  list(APPEND packaged_doc_files ${packaged_docs}/${doc}.gz)
endforeach()
add_custom_target(packaged_docs ALL DEPENDS ${packaged_doc_files})
install(FILES ${packaged_docs}/mkinstaller.1.gz ${packaged_docs}/lzari.1.gz DESTINATION share/man/man1)
install(FILES ${packaged_docs}/changelog.gz ${CMAKE_SOURCE_DIR}/docs/copyright DESTINATION share/doc/mkinstaller)

set(INSTALLER_PACKAGE_CONTACT "mkinstaller maintainers <mkinstaller@example.org>"
    CACHE STRING "Maintainer named in the .deb")
set(CPACK_PACKAGE_NAME mkinstaller)
set(CPACK_PACKAGE_VERSION ${INSTALLER_RELEASE})
set(CPACK_PACKAGE_CONTACT ${INSTALLER_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "packs Windows programs into single-file setup.exe installers")
# Lines of at most 80 characters, as Debian's control files want them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "mkinstaller writes a product described by a TOML manifest into a copy of a\n"
       "prebuilt installer stub (i686 or x64); no compiler runs. The setup.exe it\n"
       "makes shows one window, unpacks its payload, asks for a folder, installs the\n"
       "files with their stored times and places desktop and Start-menu shortcuts.\n"
       "mkinstaller verify proves under Wine, in a sandbox, that a setup.exe installs.\n"
       "lzari compresses, decompresses, lists and tests the LZARI payload containers.")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_FILE_NAME mkinstaller-${INSTALLER_RELEASE}-linux-${CMAKE_HOST_SYSTEM_PROCESSOR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # dpkg-shlibdeps finds libc and libstdc++
# What `mkinstaller verify` runs (Wine, a private X display, screenshots, the
# sandbox) and what [sign] runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine, wine64, xvfb, imagemagick, bubblewrap")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS osslsigncode)
set(CPACK_STRIP_FILES ON)  # the programs; the stubs are installed as they were built
include(CPack)


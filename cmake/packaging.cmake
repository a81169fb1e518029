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
install(FILES ${CMAKE_SOURCE_DIR}/docs/mkinstaller.1 ${CMAKE_SOURCE_DIR}/docs/lzari.1
        DESTINATION share/man/man1)

set(INSTALLER_PACKAGE_CONTACT "mkinstaller maintainers <mkinstaller@example.org>"
    CACHE STRING "Maintainer named in the .deb")
set(CPACK_PACKAGE_NAME mkinstaller)
set(CPACK_PACKAGE_VERSION ${INSTALLER_RELEASE})
set(CPACK_PACKAGE_CONTACT ${INSTALLER_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "packs Windows programs into single-file setup.exe installers")
set(CPACK_PACKAGE_DESCRIPTION
    "mkinstaller writes a product described by a TOML manifest into a copy of a prebuilt installer stub; no compiler runs. mkinstaller verify proves under Wine that a setup.exe installs. lzari compresses, decompresses, lists and tests the LZARI payload containers.")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_FILE_NAME mkinstaller-${INSTALLER_RELEASE}-linux-${CMAKE_HOST_SYSTEM_PROCESSOR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # dpkg-shlibdeps finds libc, libstdc++ and toml++
include(CPack)


# The tools' package, made by the Windows build because it has both halves:
# mkinstaller and lzari from the host build (cmake/host_tools.cmake) and the
# stubs, its own and the x86_64 build's (cmake/runtime_x64_build.cmake), each
# with its GUI driver for mkinstaller verify. The layout is the
# one mkinstaller looks for them in: bin/mkinstaller and share/mkinstaller/.
#   cmake --install build/windows --prefix DIR
#   cpack --preset tools      (a .deb and a .tar.gz of the same files)
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  # The default of a Windows build would be a C:/ path; the tools run here.
  set(CMAKE_INSTALL_PREFIX /usr/local CACHE PATH "Where cmake --install puts the tools" FORCE)
endif()

install(PROGRAMS ${INSTALLER_HOST_TOOLS}/mkinstaller/mkinstaller ${INSTALLER_HOST_TOOLS}/lzari/lzari
        DESTINATION bin)
install(FILES $<TARGET_FILE:setup_stub> $<TARGET_FILE:mkinstaller_driver> ${INSTALLER_X64_STUB} ${INSTALLER_X64_DRIVER}
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

# Installs the .tar.gz into a fresh prefix and packs the reference product
# with the installed mkinstaller alone.
add_test(NAME tools_package
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/tools_package_test.sh
          ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/product/manifest.toml
          ${CMAKE_BINARY_DIR}/product/programs ${CMAKE_BINARY_DIR}/product/setup.exe)

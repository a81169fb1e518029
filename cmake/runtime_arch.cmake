# The architecture of a Windows build of the runtime: x86 (i686, the default
# installer, windows preset) or x64 (x86_64, windows-x64 preset). Both link
# the same sources; what differs is named here once.
#   INSTALLER_ARCH            x86 | x64
#   INSTALLER_ARCH_SUFFIX     "" | "-x64", added to the stub's and driver's names
#   INSTALLER_SYMBOL_PREFIX   "_" | "": i686 C symbols carry an underscore
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(INSTALLER_ARCH x64)
  set(INSTALLER_ARCH_SUFFIX -x64)
  set(INSTALLER_SYMBOL_PREFIX "")
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^i[3-6]86$")
  set(INSTALLER_ARCH x86)
  set(INSTALLER_ARCH_SUFFIX "")
  set(INSTALLER_SYMBOL_PREFIX _)
else()
  message(FATAL_ERROR "the installer runtime builds for i686 or x86_64, not ${CMAKE_SYSTEM_PROCESSOR}")
endif()

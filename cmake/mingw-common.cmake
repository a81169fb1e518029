# What the MinGW-w64 toolchains share; the including file sets
# CMAKE_SYSTEM_PROCESSOR and MINGW_TRIPLET first. The posix thread model
# is used because GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime's builds run their Windows executables (gtest programs, the GUI
# driver) under Wine in the test run's shared prefix, so ctest treats them
# like native programs.
if(MINGW_TESTS_UNDER_WINE)
  get_filename_component(_installer_source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${_installer_source_dir}/scripts/wine-run")
endif()

# The tools for 64-bit Windows have a build of their own (windows-tools
# preset, x86_64 MinGW): the windows build configures it when it is not yet
# and brings it up to date, so that one build makes every Windows program.
set(windows_tools_build ${CMAKE_SOURCE_DIR}/build/windows-tools)
if(NOT EXISTS ${windows_tools_build}/CMakeCache.txt)
  message(STATUS "Configuring the Windows tools (windows-tools preset) in ${windows_tools_build}")
  execute_process(COMMAND ${CMAKE_COMMAND} --preset windows-tools
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} RESULT_VARIABLE status OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "configuring the windows-tools preset failed")
  endif()
endif()
add_custom_target(windows_tools ALL
  COMMAND ${CMAKE_COMMAND} --build ${windows_tools_build} --parallel ${INSTALLER_HOST_JOBS}
  BYPRODUCTS ${windows_tools_build}/tools/lzari/lzari.exe
  COMMENT "Bringing the Windows tools in ${windows_tools_build} up to date"
  USES_TERMINAL
  VERBATIM)

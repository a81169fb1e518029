# The x86_64 runtime has a build of its own (windows-x64 preset): the i686
# build configures it when it is not yet and brings it up to date, after its
# own host tools, so that one build makes both stubs for the tools' package.
set(runtime_x64_build ${CMAKE_SOURCE_DIR}/build/windows-x64)
if(NOT EXISTS ${runtime_x64_build}/CMakeCache.txt)
  message(STATUS "Configuring the x86_64 runtime (windows-x64 preset) in ${runtime_x64_build}")
  execute_process(COMMAND ${CMAKE_COMMAND} --preset windows-x64
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} RESULT_VARIABLE status OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "configuring the windows-x64 preset failed")
  endif()
endif()
set(INSTALLER_X64_STUB ${runtime_x64_build}/app/setup-stub-x64.exe)
set(INSTALLER_X64_DRIVER ${runtime_x64_build}/tools/mkinstaller/driver/driver-x64.exe)
add_custom_target(runtime_x64 ALL
  COMMAND ${CMAKE_COMMAND} --build ${runtime_x64_build} --parallel ${INSTALLER_HOST_JOBS}
  BYPRODUCTS ${INSTALLER_X64_STUB} ${INSTALLER_X64_DRIVER}
  COMMENT "Bringing the x86_64 runtime in ${runtime_x64_build} up to date"
  USES_TERMINAL
  VERBATIM)
# The inner build runs the same host tools' build: after the outer one.
add_dependencies(runtime_x64 host_tools)

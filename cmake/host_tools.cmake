# The Windows build runs tools of a native build (INSTALLER_HOST_TOOLS, by
# default the release preset's tools folder): pack_error_table and
# mkinstaller while building, and it ships mkinstaller and lzari in the
# tools' package. That build is configured here when it is not yet, and the
# host_tools target brings it up to date before anything runs its tools, so
# `cmake --build --preset windows` works on a fresh tree and never runs a
# stale mkinstaller.
get_filename_component(host_build ${INSTALLER_HOST_TOOLS} DIRECTORY)
if(NOT EXISTS ${host_build}/CMakeCache.txt)
  if(NOT host_build STREQUAL "${CMAKE_SOURCE_DIR}/build/release")
    message(FATAL_ERROR "INSTALLER_HOST_TOOLS: ${host_build} is not a configured build of this project")
  endif()
  message(STATUS "Configuring the host tools (release preset) in ${host_build}")
  execute_process(COMMAND ${CMAKE_COMMAND} --preset release
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} RESULT_VARIABLE status OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "configuring the release preset failed")
  endif()
endif()

# The inner build cannot share the outer one's job limit, so it takes one
# job of its own unless told otherwise.
set(INSTALLER_HOST_JOBS 1 CACHE STRING "Parallel jobs of the host tools' build run by the windows build")
set(host_tool_targets mkinstaller lzari pack_error_table)
set(host_programs
  ${INSTALLER_HOST_TOOLS}/mkinstaller/mkinstaller
  ${INSTALLER_HOST_TOOLS}/lzari/lzari
  ${INSTALLER_HOST_TOOLS}/pack_error_table)
add_custom_target(host_tools
  COMMAND ${CMAKE_COMMAND} --build ${host_build} --parallel ${INSTALLER_HOST_JOBS} --target ${host_tool_targets}
  BYPRODUCTS ${host_programs}
  COMMENT "Bringing the host tools in ${host_build} up to date"
  USES_TERMINAL
  VERBATIM)

# add_inner_build(TARGET <name> PRESET <preset> [DIR <folder>] [ALL]
#                 [BUILD_TARGETS <t>...] [BYPRODUCTS <file>...])
#
# Another build of this project that this one runs: configured here with its
# preset when it is not yet (in build/<preset>, unless DIR names another
# folder, which must then be configured already), and brought up to date by
# the custom target TARGET. The inner build cannot share the outer one's job limit, so it takes
# INSTALLER_HOST_JOBS jobs (one by default).
set(INSTALLER_HOST_JOBS 1 CACHE STRING "Parallel jobs of the builds that the windows build runs")

function(add_inner_build)
  cmake_parse_arguments(PARSE_ARGV 0 arg "ALL" "TARGET;PRESET;DIR" "BUILD_TARGETS;BYPRODUCTS")
  set(dir ${CMAKE_SOURCE_DIR}/build/${arg_PRESET})
  if(arg_DIR AND NOT arg_DIR STREQUAL dir)
    if(NOT EXISTS ${arg_DIR}/CMakeCache.txt)
      message(FATAL_ERROR "${arg_DIR} is not a configured build of this project")
    endif()
    set(dir ${arg_DIR})
  elseif(NOT EXISTS ${dir}/CMakeCache.txt)
    message(STATUS "Configuring the ${arg_PRESET} preset in ${dir}")
    execute_process(COMMAND ${CMAKE_COMMAND} --preset ${arg_PRESET}
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} RESULT_VARIABLE status OUTPUT_QUIET)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "configuring the ${arg_PRESET} preset failed")
    endif()
  endif()
  set(build_targets)
  if(arg_BUILD_TARGETS)
    set(build_targets --target ${arg_BUILD_TARGETS})
  endif()
  set(all)
  if(arg_ALL)
    set(all ALL)
  endif()
  add_custom_target(${arg_TARGET} ${all}
    COMMAND ${CMAKE_COMMAND} --build ${dir} --parallel ${INSTALLER_HOST_JOBS} ${build_targets}
    BYPRODUCTS ${arg_BYPRODUCTS}
    COMMENT "Bringing the ${arg_PRESET} build in ${dir} up to date"
    USES_TERMINAL
    VERBATIM)
endfunction()

# add_inner_build(TARGET <name> PRESET <preset> [DIR <folder>] [ALL]
#                 [BUILD_TARGETS <t>...] [BYPRODUCTS <file>...])
#
# Another build of this project that this one runs: the custom target TARGET
# configures it with its preset when it is not yet (in build/<preset>, unless
# DIR names another folder, which must then be configured already) and brings
# it up to date. That happens when TARGET builds, never while this build is
# configured. The inner build cannot share the outer one's job limit, so it
# takes INSTALLER_HOST_JOBS jobs (one by default).
set(INSTALLER_HOST_JOBS 1 CACHE STRING "Parallel jobs of the builds that the windows build runs")

function(add_inner_build)
  cmake_parse_arguments(PARSE_ARGV 0 arg "ALL" "TARGET;PRESET;DIR" "BUILD_TARGETS;BYPRODUCTS")
  set(dir ${CMAKE_SOURCE_DIR}/build/${arg_PRESET})
  set(preset ${arg_PRESET})
  if(arg_DIR AND NOT arg_DIR STREQUAL dir)
    if(NOT EXISTS ${arg_DIR}/CMakeCache.txt)
      message(FATAL_ERROR "${arg_DIR} is not a configured build of this project")
    endif()
    set(dir ${arg_DIR})
    set(preset "")
  endif()
  set(all)
  if(arg_ALL)
    set(all ALL)
  endif()
  add_custom_target(${arg_TARGET} ${all}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DBUILD_DIR=${dir} -DPRESET=${preset}
            -DJOBS=${INSTALLER_HOST_JOBS} "-DTARGETS=${arg_BUILD_TARGETS}"
            -P ${CMAKE_SOURCE_DIR}/cmake/inner_build_run.cmake
    BYPRODUCTS ${arg_BYPRODUCTS}
    COMMENT "Bringing the ${arg_PRESET} build in ${dir} up to date"
    USES_TERMINAL
    VERBATIM)
endfunction()

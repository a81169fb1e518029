# The command of an inner build's target (inner_build.cmake):
#   cmake -DSOURCE_DIR=... -DBUILD_DIR=... [-DPRESET=...] -DJOBS=N [-DTARGETS=a;b] -P inner_build_run.cmake
# Configures BUILD_DIR with PRESET when it holds no configured build, then
# builds TARGETS there (every target when none is named).
if(PRESET AND NOT EXISTS ${BUILD_DIR}/CMakeCache.txt)
  message(STATUS "Configuring the ${PRESET} preset in ${BUILD_DIR}")
  execute_process(COMMAND ${CMAKE_COMMAND} --preset ${PRESET}
                  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "configuring the ${PRESET} preset failed")
  endif()
endif()
set(targets)
if(TARGETS)
  set(targets --target ${TARGETS})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --parallel ${JOBS} ${targets} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "building ${BUILD_DIR} failed")
endif()

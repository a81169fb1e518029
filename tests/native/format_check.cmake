# Every C++ source of the project against .clang-format (cmake -P, with
# SOURCE_DIR and CLANG_FORMAT): a file out of the layout fails the test,
# named with the lines clang-format would change.
cmake_policy(SET CMP0009 NEW)
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
list(FILTER folders EXCLUDE REGEX "^(build|\\.)")
set(sources)
foreach(folder ${folders})
  if(IS_DIRECTORY ${SOURCE_DIR}/${folder})
    file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${found})
  endif()
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "sources out of the layout; run clang-format -i on them")
endif()

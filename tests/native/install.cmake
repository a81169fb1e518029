# The portable helper of the file writing (the user-data file name), with its
# test. Included from tests/native/CMakeLists.txt.
add_library(install_portable STATIC ${CMAKE_SOURCE_DIR}/payload/user_data.cpp)
target_include_directories(install_portable PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(install_portable PUBLIC installer_common)

add_executable(install_tests
  ${CMAKE_CURRENT_LIST_DIR}/install_user_data_test.cpp)
target_link_libraries(install_tests PRIVATE install_portable GTest::gtest_main)
gtest_discover_tests(install_tests)

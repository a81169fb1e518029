# Portable helpers of the folder choice, the shortcuts and the file writing,
# with their tests. Included from tests/native/CMakeLists.txt.
add_library(install_portable STATIC ${CMAKE_SOURCE_DIR}/payload/user_data.cpp)
target_include_directories(install_portable PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(install_portable PUBLIC runtime_shared)

add_executable(install_tests
  ${CMAKE_CURRENT_LIST_DIR}/install_folder_rules_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install_path_join_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install_user_data_test.cpp)
target_link_libraries(install_tests PRIVATE install_portable GTest::gtest_main)
gtest_discover_tests(install_tests)

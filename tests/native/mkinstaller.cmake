# mkinstaller: its rules, packing, and the command's refusals. Included from
# tests/native/CMakeLists.txt.
add_executable(mkinstaller_tests
  ${CMAKE_CURRENT_LIST_DIR}/mkinstaller_cli_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mkinstaller_stub_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mkinstaller_images_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mkinstaller_logo_fit_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mkinstaller_pack_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mkinstaller_rules_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mkinstaller_shell_link_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mkinstaller_test_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/verify_display_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/verify_prefix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scratch_folder.cpp)
target_link_libraries(mkinstaller_tests PRIVATE mkinstaller_core GTest::gtest_main)
target_compile_definitions(mkinstaller_tests PRIVATE MKINSTALLER_PATH="$<TARGET_FILE:mkinstaller>"
  SETUP_IMAGE_CHECK="/usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/win/setup_image_check.py")
add_dependencies(mkinstaller_tests mkinstaller)
gtest_discover_tests(mkinstaller_tests DISCOVERY_TIMEOUT 60)

# The Wine scenarios drive a setup program and compare an install with its
# manifest through the layer of `mkinstaller verify` (tests/win/lib/scenario.sh).
add_executable(scenario ${CMAKE_SOURCE_DIR}/tests/win/lib/scenario.cpp)
target_link_libraries(scenario PRIVATE mkinstaller_core)

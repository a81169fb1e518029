# The payload codec's tests. Included from tests/native/CMakeLists.txt.
add_executable(codec_tests
  ${CMAKE_CURRENT_LIST_DIR}/codec_vectors_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec_coder_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec_container_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec_roundtrip_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec_robustness_test.cpp)
target_link_libraries(codec_tests PRIVATE lzari_codec GTest::gtest_main)
gtest_discover_tests(codec_tests)

# The 50 MB round trip takes long under the sanitizers: its own executable,
# labelled slow, still part of every test run.
add_executable(codec_slow_tests ${CMAKE_CURRENT_LIST_DIR}/codec_large_test.cpp)
target_link_libraries(codec_slow_tests PRIVATE lzari_codec GTest::gtest_main)
gtest_discover_tests(codec_slow_tests PROPERTIES LABELS slow TIMEOUT 900)

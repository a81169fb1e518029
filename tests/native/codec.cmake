# The payload codec's tests. Included from tests/native/CMakeLists.txt.
set(codec_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/codec_vectors_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec_coder_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec_roundtrip_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec_encoder_forms_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec_robustness_test.cpp)
add_executable(codec_tests ${codec_test_sources} ${CMAKE_CURRENT_LIST_DIR}/codec_container_test.cpp)
target_link_libraries(codec_tests PRIVATE lzari_codec installer_common GTest::gtest_main)
gtest_discover_tests(codec_tests)

# The 50 MB round trip takes long under the sanitizers: its own executable,
# labelled slow, still part of every test run.
add_executable(codec_slow_tests ${CMAKE_CURRENT_LIST_DIR}/codec_large_test.cpp)
target_link_libraries(codec_slow_tests PRIVATE lzari_codec installer_common GTest::gtest_main)
gtest_discover_tests(codec_slow_tests PROPERTIES LABELS slow TIMEOUT 900)

# The i686 installer's codec takes the integer paths (its compiler targets
# the i686 without SSE2 or a 128-bit multiply; x86_64 always has both). The
# same sources and tests, built without either, check those paths natively on every machine,
# whether or not it can run the i686 build's Wine tests.
add_library(lzari_codec_integer STATIC ${LZARI_CODEC_SOURCES} ${CMAKE_SOURCE_DIR}/codec/threaded_encoder.cpp
            ${CMAKE_SOURCE_DIR}/codec/stream_decoder.cpp)
target_link_libraries(lzari_codec_integer PUBLIC Threads::Threads)
target_include_directories(lzari_codec_integer PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(lzari_codec_integer PUBLIC -U__SSE2__ -U__SIZEOF_INT128__)
add_executable(codec_integer_path_tests ${codec_test_sources})
target_link_libraries(codec_integer_path_tests PRIVATE lzari_codec_integer installer_common GTest::gtest_main)
gtest_discover_tests(codec_integer_path_tests TEST_PREFIX integer_path.)

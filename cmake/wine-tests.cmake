# Helpers for tests that run Windows code under Wine.
#
# Every such test requires the fixture "wine_prefix", whose setup test makes
# the run's template prefix and shared prefix and starts an Xvfb display, and
# whose cleanup test ends them (scripts/wine-harness.sh). Windows test
# programs run through CMAKE_CROSSCOMPILING_EMULATOR (scripts/wine-run) in
# the shared prefix; scenarios make their own prefix from the template.
#
# Both runtime builds register their tests here. The x64 build runs the whole
# suite, on every machine. The i686 build runs the cases that only a 32-bit
# Windows has (a win32 prefix) and a smoke set of the rest, which proves that
# the shared sources behave the same when built for i686; set
# INSTALLER_WINE_FULL_SUITE to run all of them. Where the machine cannot run
# 32-bit programs, every i686 test reports itself skipped (exit code 77),
# saying why.

set(WINE_HARNESS_SCRIPTS "${CMAKE_SOURCE_DIR}/scripts")
# Native test programs and tools come from the native build.
set(INSTALLER_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build/native CACHE PATH "Native build whose tests and tools the Wine tests use")

option(INSTALLER_WINE_FULL_SUITE "Run every Wine test in this build, not just its share" OFF)
set(WINE_32BIT_ONLY_TESTS
  install.arch-32 window.version-win2k-win32-2K-32bit window.version-winxp-win32-XP-32bit)
set(WINE_I686_SMOKE_TESTS
  runtime_win_tests install_win_tests install.browse install.reinstall install.planted-dlls
  install.damaged-stream window.controls window.layout verify.reference
  product.desktop-link)

# Sets OUT to whether this build runs the Wine test NAME.
function(wine_test_wanted name out)
  set(wanted TRUE)
  if(INSTALLER_ARCH STREQUAL x64 AND name IN_LIST WINE_32BIT_ONLY_TESTS)
    set(wanted FALSE)
  elseif(INSTALLER_ARCH STREQUAL x86 AND NOT INSTALLER_WINE_FULL_SUITE AND NOT name IN_LIST WINE_32BIT_ONLY_TESTS
         AND NOT name IN_LIST WINE_I686_SMOKE_TESTS)
    set(wanted FALSE)
  endif()
  set(${out} ${wanted} PARENT_SCOPE)
endfunction()

# The fixture's two tests exist once per build, whichever folder asks first
# (a fixture name is global to ctest; if(TEST) sees only the current folder).
function(wine_harness_fixture)
  get_property(added GLOBAL PROPERTY WINE_HARNESS_FIXTURE_ADDED)
  if(added)
    return()
  endif()
  set_property(GLOBAL PROPERTY WINE_HARNESS_FIXTURE_ADDED TRUE)
  add_test(NAME wine_prefix_setup
           COMMAND "${WINE_HARNESS_SCRIPTS}/wine-harness.sh" setup "${CMAKE_BINARY_DIR}")
  add_test(NAME wine_prefix_cleanup
           COMMAND "${WINE_HARNESS_SCRIPTS}/wine-harness.sh" cleanup "${CMAKE_BINARY_DIR}")
  set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix LABELS wine TIMEOUT 300 SKIP_RETURN_CODE 77
                       ENVIRONMENT "WINE_HARNESS_ARCH=${INSTALLER_ARCH}")
  set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix LABELS wine TIMEOUT 60
                       ENVIRONMENT "WINE_HARNESS_ARCH=${INSTALLER_ARCH}")
endfunction()

# wine_add_test(NAME TARGET [ARGS...]): runs a Windows test program under Wine.
function(wine_add_test name target)
  wine_test_wanted(${name} wanted)
  if(NOT wanted)
    return()
  endif()
  wine_harness_fixture()
  add_test(NAME ${name} COMMAND ${target} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix LABELS wine TIMEOUT 300 SKIP_RETURN_CODE 77)
endfunction()

# wine_add_scenario(NAME SCRIPT [ARGS...]): a bash scenario script that drives
# a setup.exe with the GUI driver (tests/win/lib/scenario.sh), and checks what
# it installed, both through the native build's scenario command. Exit code 77 means
# the executable under test is not built yet, or cannot run here: the test
# is skipped.
function(wine_add_scenario name script)
  wine_test_wanted(${name} wanted)
  if(NOT wanted)
    return()
  endif()
  wine_harness_fixture()
  add_test(NAME ${name} COMMAND bash "${script}" ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_prefix
    LABELS wine
    TIMEOUT 300
    SKIP_RETURN_CODE 77
    ENVIRONMENT "WINE_HARNESS_BUILD=${CMAKE_BINARY_DIR};WINE_HARNESS_ARCH=${INSTALLER_ARCH};WINE_DRIVER=$<TARGET_FILE:mkinstaller_driver>;\
SCENARIO_COMMAND=${INSTALLER_NATIVE_BUILD}/tests/native/scenario")
endfunction()

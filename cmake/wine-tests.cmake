# Helpers for tests that run Windows code under Wine.
#
# Every such test requires the fixture "wine_prefix", whose setup test makes
# the run's template prefix and shared prefix and starts an Xvfb display, and
# whose cleanup test ends them (scripts/wine-harness.sh). Windows test
# programs run through CMAKE_CROSSCOMPILING_EMULATOR (scripts/wine-run) in
# the shared prefix; scenarios make their own prefix from the template.

set(WINE_HARNESS_SCRIPTS "${CMAKE_SOURCE_DIR}/scripts")

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
  set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix LABELS wine TIMEOUT 300)
  set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix LABELS wine TIMEOUT 60)
endfunction()

# wine_add_test(NAME TARGET [ARGS...]): runs a Windows test program under Wine.
function(wine_add_test name target)
  wine_harness_fixture()
  add_test(NAME ${name} COMMAND ${target} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix LABELS wine TIMEOUT 300)
endfunction()

# wine_add_scenario(NAME SCRIPT [ARGS...]): a bash scenario script that drives
# a setup.exe with the GUI driver (tests/win/lib/scenario.sh). Exit code 77
# means the executable under test is not built yet: the test is skipped.
function(wine_add_scenario name script)
  wine_harness_fixture()
  add_test(NAME ${name} COMMAND bash "${script}" ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_prefix
    LABELS wine
    TIMEOUT 300
    SKIP_RETURN_CODE 77
    ENVIRONMENT "WINE_HARNESS_BUILD=${CMAKE_BINARY_DIR};WINE_DRIVER=$<TARGET_FILE:mkinstaller_driver>")
endfunction()

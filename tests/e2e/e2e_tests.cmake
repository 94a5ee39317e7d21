# End-to-end tests: every tests/e2e/test_*.py is one ctest test, run with the system's Python 3.
# Tests that drive Wine share one Xvfb display and Wine prefix, started once per run by the
# e2e_setup fixture and stopped by e2e_cleanup, and run one at a time. A test file whose first
# lines hold the marker "e2e: no-wine" needs neither and runs on its own.
set(WH_E2E_PYTHON /usr/bin/python3 CACHE FILEPATH "Python 3 that runs the end-to-end tests")
set(WH_E2E_DIR ${CMAKE_BINARY_DIR}/e2e)
set(WH_E2E_SOURCES ${CMAKE_CURRENT_LIST_DIR})
set(WH_E2E_TIMEOUT 240 CACHE STRING "Time-out of one end-to-end test file, in seconds")
set(WH_E2E_ENVIRONMENT
  "WH_E2E_DIR=${WH_E2E_DIR}"
  "WH_WIN32_DIR=${WH_WIN32_DIR}"
  "WH_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "PYTHONPATH=${WH_E2E_SOURCES}"
  "PYTHONDONTWRITEBYTECODE=1"
  "PYTHONUNBUFFERED=1")

add_test(NAME e2e_setup COMMAND ${WH_E2E_PYTHON} ${WH_E2E_SOURCES}/harness.py setup)
add_test(NAME e2e_cleanup COMMAND ${WH_E2E_PYTHON} ${WH_E2E_SOURCES}/harness.py cleanup)
set_tests_properties(e2e_setup PROPERTIES FIXTURES_SETUP wh_e2e TIMEOUT 300
  RESOURCE_LOCK wh_e2e_display ENVIRONMENT "${WH_E2E_ENVIRONMENT}")
set_tests_properties(e2e_cleanup PROPERTIES FIXTURES_CLEANUP wh_e2e TIMEOUT 120
  RESOURCE_LOCK wh_e2e_display ENVIRONMENT "${WH_E2E_ENVIRONMENT}")

file(GLOB WH_E2E_TEST_FILES CONFIGURE_DEPENDS ${WH_E2E_SOURCES}/test_*.py)
foreach(test_file ${WH_E2E_TEST_FILES})
  get_filename_component(test_stem ${test_file} NAME_WE)
  string(REGEX REPLACE "^test_" "e2e_" test_name ${test_stem})
  add_test(NAME ${test_name} COMMAND ${WH_E2E_PYTHON} ${test_file})
  set_tests_properties(${test_name} PROPERTIES TIMEOUT ${WH_E2E_TIMEOUT} ENVIRONMENT "${WH_E2E_ENVIRONMENT}")
  file(STRINGS ${test_file} no_wine LIMIT_INPUT 1024 REGEX "e2e: no-wine")
  if(NOT no_wine)
    set_tests_properties(${test_name} PROPERTIES FIXTURES_REQUIRED wh_e2e RESOURCE_LOCK wh_e2e_display)
  endif()
endforeach()

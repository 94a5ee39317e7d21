# End-to-end tests: every tests/e2e/test_*.py is one ctest test per Windows build it runs against,
# run with the system's Python 3. The 64-bit build is always tested; the 32-bit one too where this
# machine can execute i386 code and has the 32-bit Wine (tools/can_run_i386.sh --installed, the
# check that setup and the Makefile also ask). Tests of one build that drive Wine share one Xvfb
# display and Wine prefix, started once per run by that build's e2e_setup_<build> fixture and
# stopped by e2e_cleanup_<build>, and run one at a time. A test file whose first lines hold the marker "e2e: no-wine" needs neither,
# and runs against both builds everywhere.
set(WH_E2E_PYTHON /usr/bin/python3 CACHE FILEPATH "Python 3 that runs the end-to-end tests")
set(WH_E2E_SOURCES ${CMAKE_CURRENT_LIST_DIR})
set(WH_E2E_TIMEOUT 240 CACHE STRING "Time-out of one end-to-end test file, in seconds")

execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/can_run_i386.sh --installed RESULT_VARIABLE wh_no_i386
  OUTPUT_VARIABLE wh_i386_answer OUTPUT_STRIP_TRAILING_WHITESPACE)
if(wh_no_i386 EQUAL 0)
  set(WH_E2E_BUILDS win64 win32)
  message(STATUS "End-to-end tests: the 64-bit and the 32-bit build (this machine runs the 32-bit Wine)")
else()
  set(WH_E2E_BUILDS win64)
  message(STATUS "End-to-end tests: the 64-bit build only (the 32-bit Wine runs here? ${wh_i386_answer})")
endif()

string(JOIN " " wh_e2e_builds_text ${WH_E2E_BUILDS})
set(WH_E2E_COMMON_ENVIRONMENT
  "WH_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "WH_E2E_BUILDS=${wh_e2e_builds_text}"
  "PYTHONPATH=${WH_E2E_SOURCES}"
  "PYTHONDONTWRITEBYTECODE=1"
  "PYTHONUNBUFFERED=1")
# Which builds this run tests, and why; fails when that disagrees with the check.
add_test(NAME e2e_builds COMMAND ${WH_E2E_PYTHON} ${WH_E2E_SOURCES}/builds_check.py)
set_tests_properties(e2e_builds PROPERTIES TIMEOUT 60
  ENVIRONMENT "${WH_E2E_COMMON_ENVIRONMENT};WH_WIN_ROOT=${WH_WIN_ROOT}")

file(GLOB WH_E2E_TEST_FILES CONFIGURE_DEPENDS ${WH_E2E_SOURCES}/test_*.py)
# Tests that need no Wine read the files of both builds on any machine.
foreach(build win64 win32)
  set(environment ${WH_E2E_COMMON_ENVIRONMENT}
    "WH_E2E_DIR=${CMAKE_BINARY_DIR}/e2e/${build}"
    "WH_WIN_DIR=${WH_WIN_ROOT}/${build}")
  list(FIND WH_E2E_BUILDS ${build} runs_here)
  if(NOT runs_here EQUAL -1)
    add_test(NAME e2e_setup_${build} COMMAND ${WH_E2E_PYTHON} ${WH_E2E_SOURCES}/harness.py setup)
    add_test(NAME e2e_cleanup_${build} COMMAND ${WH_E2E_PYTHON} ${WH_E2E_SOURCES}/harness.py cleanup)
    set_tests_properties(e2e_setup_${build} PROPERTIES FIXTURES_SETUP wh_e2e_${build} TIMEOUT 300
      RESOURCE_LOCK wh_e2e_display ENVIRONMENT "${environment}")
    set_tests_properties(e2e_cleanup_${build} PROPERTIES FIXTURES_CLEANUP wh_e2e_${build} TIMEOUT 120
      RESOURCE_LOCK wh_e2e_display ENVIRONMENT "${environment}")
  endif()

  foreach(test_file ${WH_E2E_TEST_FILES})
    file(STRINGS ${test_file} no_wine LIMIT_INPUT 1024 REGEX "e2e: no-wine")
    if(NOT no_wine AND runs_here EQUAL -1)
      continue()
    endif()
    get_filename_component(test_stem ${test_file} NAME_WE)
    string(REGEX REPLACE "^test_" "e2e_" test_name ${test_stem})
    set(test_name ${test_name}_${build})
    add_test(NAME ${test_name} COMMAND ${WH_E2E_PYTHON} ${test_file})
    set_tests_properties(${test_name} PROPERTIES TIMEOUT ${WH_E2E_TIMEOUT} ENVIRONMENT "${environment}")
    if(NOT no_wine)
      set_tests_properties(${test_name} PROPERTIES FIXTURES_REQUIRED wh_e2e_${build} RESOURCE_LOCK wh_e2e_display)
    endif()
  endforeach()

  # The key poller, which watches where raw input is refused, passes the expansion tests as well.
  if(NOT runs_here EQUAL -1)
    add_test(NAME e2e_expansion_polling_${build} COMMAND ${WH_E2E_PYTHON} ${WH_E2E_SOURCES}/test_expansion.py)
    set_tests_properties(e2e_expansion_polling_${build} PROPERTIES TIMEOUT ${WH_E2E_TIMEOUT}
      ENVIRONMENT "${environment};WORDHATCH_KEY_WATCH=poll"
      FIXTURES_REQUIRED wh_e2e_${build} RESOURCE_LOCK wh_e2e_display)
  endif()
endforeach()

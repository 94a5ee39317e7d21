# Native build: build-time tools, the host tests and the registration of the end-to-end tests.
enable_testing()
find_package(GTest REQUIRED)

set(WH_WARNINGS ${WH_COMMON_WARNINGS})
set(WH_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

# Build-time tools run on this machine; they are built without sanitizers so the build stays quick.
add_library(wh_pack_text STATIC tools/pack_text.cpp)
target_include_directories(wh_pack_text PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(wh_pack_text PRIVATE ${WH_WARNINGS} -O2)
add_executable(pack_text tools/pack_text_main.cpp)
target_link_libraries(pack_text wh_pack_text)
add_executable(make_icon tools/make_icon.cpp)
target_compile_options(make_icon PRIVATE ${WH_WARNINGS})
set_target_properties(pack_text make_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# The portable core with the recording fake platform, sanitized.
add_library(wh_core_host STATIC ${WH_CORE_SOURCES} ${WH_FAKE_PLATFORM_SOURCES})
target_include_directories(wh_core_host PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(wh_core_host PUBLIC ${WH_SANITIZE} PRIVATE ${WH_WARNINGS} -g)
target_link_options(wh_core_host PUBLIC ${WH_SANITIZE})

file(GLOB WH_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*_test.cpp)
add_executable(unit_tests ${WH_UNIT_TESTS})
target_link_libraries(unit_tests wh_core_host wh_pack_text GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${WH_WARNINGS} -g)
target_compile_definitions(unit_tests PRIVATE WH_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")

include(tests/bench/host_bench.cmake)

# Each fuzz target replays its stored inputs once; see cmake/fuzz.cmake.
include(cmake/fuzz.cmake)

# End-to-end tests drive the Windows build under Wine; see tests/e2e/.
set(WH_WIN_ROOT ${CMAKE_BINARY_DIR}/.. CACHE PATH "Folder of the Windows builds win32/ and win64/")
include(tests/e2e/e2e_tests.cmake OPTIONAL)

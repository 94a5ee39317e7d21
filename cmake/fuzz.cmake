# Fuzz targets: every tests/fuzz/<name>_fuzz.cpp, over the portable core and the recording fake.
# In the fuzz build (WH_FUZZ, with clang) each becomes the libFuzzer program fuzz_<name>, which
# `make fuzz` runs; in the host build each becomes fuzz_replay_<name>, which ctest runs once on
# the target's seed corpus and regression cases.
file(GLOB WH_FUZZ_TARGET_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
set(WH_FUZZ_INPUTS ${CMAKE_SOURCE_DIR}/tests/fuzz)
set(WH_FUZZ_WARNINGS ${WH_COMMON_WARNINGS})

if(WH_FUZZ)
  set(WH_FUZZ_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_library(wh_core_fuzz STATIC ${WH_CORE_SOURCES} ${WH_FAKE_PLATFORM_SOURCES} tests/fuzz/fuzz_support.cpp)
  target_include_directories(wh_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
  # The core is instrumented for coverage; only the programs link libFuzzer's main.
  target_compile_options(wh_core_fuzz PUBLIC ${WH_FUZZ_SANITIZE} -fsanitize=fuzzer-no-link -g -O1
    PRIVATE ${WH_FUZZ_WARNINGS})
  target_link_options(wh_core_fuzz PUBLIC ${WH_FUZZ_SANITIZE} -fsanitize=fuzzer)
endif()

foreach(source ${WH_FUZZ_TARGET_SOURCES})
  get_filename_component(stem ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${stem})
  if(WH_FUZZ)
    add_executable(fuzz_${name} ${source})
    target_link_libraries(fuzz_${name} wh_core_fuzz)
    target_compile_options(fuzz_${name} PRIVATE ${WH_FUZZ_WARNINGS})
  else()
    add_executable(fuzz_replay_${name} ${source} tests/fuzz/fuzz_support.cpp tests/fuzz/replay_main.cpp)
    target_link_libraries(fuzz_replay_${name} wh_core_host)
    target_compile_options(fuzz_replay_${name} PRIVATE ${WH_FUZZ_WARNINGS} -g)
    add_test(NAME fuzz_replay_${name} COMMAND fuzz_replay_${name} ${WH_FUZZ_INPUTS}/corpus/${name}
      ${WH_FUZZ_INPUTS}/regressions/${name})
    set_tests_properties(fuzz_replay_${name} PROPERTIES TIMEOUT 120
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
  endif()
endforeach()

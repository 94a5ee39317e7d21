# The host figures of `make bench`: the portable core over the recording fake, optimised and
# without sanitizers, built only when the bench asks for it.
add_library(wh_core_bench STATIC EXCLUDE_FROM_ALL ${WH_CORE_SOURCES} ${WH_FAKE_PLATFORM_SOURCES})
target_include_directories(wh_core_bench PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(wh_core_bench PRIVATE ${WH_WARNINGS} -O2)
add_executable(host_bench EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/host_bench.cpp
               ${CMAKE_CURRENT_LIST_DIR}/host_bench_rules.cpp ${CMAKE_CURRENT_LIST_DIR}/host_bench_search.cpp
               ${CMAKE_CURRENT_LIST_DIR}/host_bench_include.cpp)
target_link_libraries(host_bench wh_core_bench)
target_compile_options(host_bench PRIVATE ${WH_WARNINGS} -O2)

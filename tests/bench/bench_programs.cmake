# The benchmark's reference program, built like WordHatch.exe (same processor, static, system DLLs only):
#   bench/ideal_expander.exe   the plainest possible expander that `make bench` compares with
set(WH_BENCH_PROGRAMS_DIR ${CMAKE_BINARY_DIR}/bench)

add_executable(wh_bench_ideal_expander WIN32 ${CMAKE_CURRENT_LIST_DIR}/ideal_expander.cpp)
set_target_properties(wh_bench_ideal_expander PROPERTIES OUTPUT_NAME ideal_expander
  RUNTIME_OUTPUT_DIRECTORY ${WH_BENCH_PROGRAMS_DIR})
target_compile_options(wh_bench_ideal_expander PRIVATE ${WH_WIN_FLAGS})
target_compile_definitions(wh_bench_ideal_expander PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE
  _WIN32_WINNT=0x0501 WINVER=0x0501)
target_link_options(wh_bench_ideal_expander PRIVATE ${WH_WIN_LINK})
target_link_libraries(wh_bench_ideal_expander PRIVATE user32 shell32 kernel32)

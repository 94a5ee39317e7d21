# Test-only Windows helpers for the end-to-end tests, built like WordHatch.exe (for the same processor, static):
#   e2e/target.exe      a window with an edit that reports what is typed into it
#   e2e/probe.exe       a console program that inspects other windows, the clipboard and exe resources
#   e2e/probe_hook.dll  loaded by Wine into another program when the probe reads its menu
set(WH_E2E_PROGRAMS_DIR ${CMAKE_BINARY_DIR}/e2e)
set(WH_E2E_PROGRAM_SOURCES ${CMAKE_CURRENT_LIST_DIR}/programs)

add_executable(wh_e2e_target WIN32 ${WH_E2E_PROGRAM_SOURCES}/target.cpp)
add_executable(wh_e2e_probe ${WH_E2E_PROGRAM_SOURCES}/probe.cpp ${WH_E2E_PROGRAM_SOURCES}/probe_clipboard.cpp
  ${WH_E2E_PROGRAM_SOURCES}/probe_menu.cpp ${WH_E2E_PROGRAM_SOURCES}/probe_resources.cpp)
add_library(wh_e2e_probe_hook SHARED ${WH_E2E_PROGRAM_SOURCES}/probe_hook.cpp)
set_target_properties(wh_e2e_target PROPERTIES OUTPUT_NAME target)
set_target_properties(wh_e2e_probe PROPERTIES OUTPUT_NAME probe)
set_target_properties(wh_e2e_probe_hook PROPERTIES OUTPUT_NAME probe_hook PREFIX "")
add_dependencies(wh_e2e_probe wh_e2e_probe_hook)
# The probe looks the hook up by its plain name, without the stdcall decoration.
target_link_options(wh_e2e_probe_hook PRIVATE -Wl,--kill-at)

foreach(program wh_e2e_target wh_e2e_probe wh_e2e_probe_hook)
  set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WH_E2E_PROGRAMS_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${WH_E2E_PROGRAMS_DIR})
  target_compile_options(${program} PRIVATE ${WH_WIN_FLAGS})
  target_compile_definitions(${program} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE
    _WIN32_WINNT=0x0501 WINVER=0x0501)
  target_link_options(${program} PRIVATE ${WH_WIN_LINK})
  target_link_libraries(${program} PRIVATE user32 gdi32 shell32 kernel32 psapi)
endforeach()

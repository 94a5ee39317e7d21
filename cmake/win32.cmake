# Windows build: WordHatch.exe and the test-only helpers, cross-compiled for 32-bit Windows.
enable_language(RC)
set(WH_HOST_TOOLS "" CACHE PATH "Folder of the natively built tools (pack_text, make_icon)")
if(NOT WH_HOST_TOOLS)
  message(FATAL_ERROR "WH_HOST_TOOLS must name the folder of the native build's tools")
endif()

# The C and C++ runtimes are linked in, so the program imports only the system's own DLLs.
set(WH_WIN_FLAGS -Wall -Wextra -Werror -Os -fno-exceptions -fno-rtti)
set(WH_WIN_LINK -static -static-libgcc -static-libstdc++ -s)

# Resources generated at build time: the packed texts and the icon.
set(WH_GEN ${CMAKE_BINARY_DIR}/gen)
file(MAKE_DIRECTORY ${WH_GEN})
foreach(text help default_triggers)
  add_custom_command(OUTPUT ${WH_GEN}/${text}.pk
    COMMAND ${WH_HOST_TOOLS}/pack_text ${CMAKE_SOURCE_DIR}/resources/${text}.txt ${WH_GEN}/${text}.pk
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/${text}.txt ${WH_HOST_TOOLS}/pack_text
    COMMENT "Packing ${text}.txt")
endforeach()
add_custom_command(OUTPUT ${WH_GEN}/WordHatch.ico
  COMMAND ${WH_HOST_TOOLS}/make_icon ${WH_GEN}/WordHatch.ico
  DEPENDS ${WH_HOST_TOOLS}/make_icon
  COMMENT "Drawing WordHatch.ico")
set(WH_RC_INPUTS ${WH_GEN}/help.pk ${WH_GEN}/default_triggers.pk ${WH_GEN}/WordHatch.ico
  ${CMAKE_SOURCE_DIR}/resources/WordHatch.manifest ${CMAKE_SOURCE_DIR}/resources/resource_ids.h)
set_source_files_properties(resources/WordHatch.rc PROPERTIES OBJECT_DEPENDS "${WH_RC_INPUTS}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${WH_GEN} -I${CMAKE_SOURCE_DIR}/resources")

add_executable(WordHatch WIN32 ${WH_APP_SOURCES} ${WH_CORE_SOURCES} ${WH_WIN32_PLATFORM_SOURCES}
  resources/WordHatch.rc)
target_include_directories(WordHatch PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(WordHatch PRIVATE ${WH_WIN_FLAGS})
target_compile_definitions(WordHatch PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
target_link_options(WordHatch PRIVATE ${WH_WIN_LINK})
target_link_libraries(WordHatch PRIVATE comctl32 comdlg32 gdi32 user32 kernel32 advapi32 shell32)

include(tests/e2e/e2e_programs.cmake OPTIONAL)
include(tests/bench/bench_programs.cmake OPTIONAL)

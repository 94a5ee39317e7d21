# Windows build: WordHatch.exe and the test-only helpers, cross-compiled for 32-bit or 64-bit
# Windows by the toolchain file (cmake/mingw-i686.cmake or cmake/mingw-x86_64.cmake).
enable_language(RC)
set(WH_HOST_TOOLS "" CACHE PATH "Folder of the natively built tools (pack_text, make_icon)")
if(NOT WH_HOST_TOOLS)
  message(FATAL_ERROR "WH_HOST_TOOLS must name the folder of the native build's tools")
endif()

# The C and C++ runtimes are linked in, so the program imports only the system's own DLLs.
set(WH_WIN_FLAGS ${WH_COMMON_WARNINGS} -Os -fno-exceptions -fno-rtti)
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
# The manifest names the program's own processor: Windows refuses to start a 64-bit program whose
# manifest says x86 (a side-by-side configuration error).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WH_MANIFEST_ARCHITECTURE amd64)
else()
  set(WH_MANIFEST_ARCHITECTURE x86)
endif()
configure_file(${CMAKE_SOURCE_DIR}/resources/WordHatch.manifest.in ${WH_GEN}/WordHatch.manifest @ONLY)
set(WH_RC_INPUTS ${WH_GEN}/help.pk ${WH_GEN}/default_triggers.pk ${WH_GEN}/WordHatch.ico
  ${WH_GEN}/WordHatch.manifest ${CMAKE_SOURCE_DIR}/resources/resource_ids.h)
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

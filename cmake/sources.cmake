# The one list of the portable core's sources, compiled into the program and into the host tests.
set(WH_CORE_SOURCES
  common/text.cpp
  common/heap.cpp
  common/status_text.cpp
  common/state.cpp
  triggers/key_names.cpp
  triggers/packed_text.cpp
  triggers/trigger_loader.cpp
  watcher/key_poller.cpp
)

# The Win32 side of the platform seam, linked into the program only.
set(WH_WIN32_PLATFORM_SOURCES
  platform/win32_keyboard.cpp
  platform/win32_memory.cpp
  platform/win32_files.cpp
  platform/win32_resources.cpp
  platform/win32_ui.cpp
  platform/win32_clock.cpp
  platform/win32_mouse.cpp
)

# The application shell: Win32 only.
set(WH_APP_SOURCES
  app/main.cpp
  app/main_window.cpp
)

# The one list of the portable core's sources, compiled into the program and into the host tests.
set(WH_CORE_SOURCES
  common/text.cpp
  common/utf8.cpp
  common/utf16.cpp
  common/heap.cpp
  common/status_text.cpp
  common/state.cpp
  triggers/key_names.cpp
  triggers/packed_text.cpp
  triggers/text_encoding.cpp
  triggers/trigger_loader.cpp
  watcher/key_poller.cpp
  watcher/key_layout.cpp
  watcher/matcher.cpp
  watcher/typed_history.cpp
  watcher/expansion.cpp
  watcher/tilde_remap.cpp
  player/keystrokes.cpp
  player/output_player.cpp
  player/mouse_commands.cpp
  player/program_commands.cpp
  player/window_commands.cpp
  picklist/pick_list.cpp
  app/shell_rules.cpp
  app/settings.cpp
  app/trigger_save.cpp
  app/link_cursor_shape.cpp
  app/registry_helpers.cpp
  app/autostart.cpp
  app/clipboard_clean.cpp
  app/track_mouse.cpp
  app/tray_option.cpp
  app/help_file.cpp
  app/trigger_open.cpp
)

# The recording fake of the platform seam, which the host tests, the fuzz targets and the host
# bench run the core over.
set(WH_FAKE_PLATFORM_SOURCES
  tests/unit/fake_platform.cpp
  tests/unit/fake_layouts.cpp
  tests/unit/fake_shell_windows.cpp
  tests/unit/fake_registry_clipboard.cpp
  tests/unit/fake_keyboard_layout.cpp
  tests/unit/fake_text_codepage.cpp
)

# The Win32 side of the platform seam, linked into the program only.
set(WH_WIN32_PLATFORM_SOURCES
  platform/win32_keyboard.cpp
  platform/win32_keyboard_layout.cpp
  platform/win32_memory.cpp
  platform/win32_files.cpp
  platform/win32_resources.cpp
  platform/win32_ui.cpp
  platform/win32_clock.cpp
  platform/win32_mouse.cpp
  platform/win32_settings.cpp
  platform/win32_environment.cpp
  platform/win32_top_windows.cpp
  platform/win32_shell.cpp
  platform/win32_registry.cpp
  platform/win32_clipboard.cpp
  platform/win32_menu.cpp
  platform/win32_text_codepage.cpp
  platform/win32_wide.cpp
)

# The application shell: Win32 only.
set(WH_APP_SOURCES
  app/main.cpp
  app/main_window.cpp
  app/commands.cpp
  app/file_commands.cpp
  app/save_prompt.cpp
  app/main_title.cpp
  app/file_dialog.cpp
  app/run_end.cpp
  app/editor_font.cpp
  app/link_cursor.cpp
  app/tray_icon.cpp
  picklist/list_window.cpp
  app/tray_menu.cpp
  app/help_command.cpp
  app/about_box.cpp
  app/totals_box.cpp
)

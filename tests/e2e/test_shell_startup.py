"""Start-up and the end of the run: where the settings and trigger files are, the first placement,
the options read from the settings, the values written when the run ends, and the second start."""
import os

import harness
from shell_e2e import (CHANGED_MARK, IDM_OPT_TRAY, SC_MINIMIZE, SCREEN_HEIGHT, SCREEN_WIDTH, TITLE_PREFIX,
                       WM_ENDSESSION, WM_EXITSIZEMOVE, WM_SYSCOMMAND, ShellTestCase, read_bytes, read_settings)

DEFAULT_WIDTH, DEFAULT_HEIGHT = 780, 550
SECOND_START_TIMEOUT = 15


class PathsTest(ShellTestCase):
    def check_paths(self, relative_exe, settings_rel, triggers_rel):
        """Starts the program at relative_exe and checks the files it uses, relative to the test folder."""
        app, base = self.wordhatch_at(relative_exe)
        settings = os.path.join(base, settings_rel)
        triggers = os.path.join(base, triggers_rel)
        hwnd = app.start_and_wait_window()
        self.assertEqual(self.probe.title(hwnd), TITLE_PREFIX + harness.windows_path(triggers))
        # The missing trigger file is created from the default text and shown.
        self.assertEventually(lambda: os.path.exists(triggers) and os.path.getsize(triggers) > 0,
                              message="the default trigger file at %s" % triggers)
        self.assertEqual(app.close(), 0)
        self.assertEqual(read_settings(settings).get("window_start"), "normal",
                         "settings written to %s; the folder holds %s" % (settings, sorted(os.listdir(base))))

    def test_exe_in_a_folder_name_cuts_the_path_there(self):
        self.check_paths("x.exe.d/WordHatch.exe", "x.ini", "x.txt")

    def test_upper_case_exe_is_not_cut(self):
        self.check_paths("APP.EXE", "APP.EXE.ini", "APP.EXE.txt")

    def test_deleted_configured_file_falls_back_to_the_default_path(self):
        app = self.wordhatch()
        gone = harness.windows_path(os.path.join(app.folder, "gone.txt"))
        app.write_ini("[WordHatch Settings]\nfile=%s\n" % gone)
        hwnd = app.start_and_wait_window()
        self.assertEqual(self.probe.title(hwnd), TITLE_PREFIX + harness.windows_path(app.txt_path))
        self.assertEqual(app.close(), 0)
        self.assertEqual(read_settings(app.ini_path).get("file"), gone, "\"file\" is kept until an Open or Save")


class PlacementAndOptionsTest(ShellTestCase):
    def test_first_start_centres_a_default_window(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        left, top, right, bottom = self.probe.state(hwnd).rect
        self.assertEqual((right - left, bottom - top), (DEFAULT_WIDTH, DEFAULT_HEIGHT))
        self.assertEqual((left, top), (SCREEN_WIDTH // 2 - DEFAULT_WIDTH // 2, SCREEN_HEIGHT // 2 - DEFAULT_HEIGHT // 2))

    def test_saved_placement_is_used(self):
        app = self.wordhatch()
        app.write_ini("[WordHatch Settings]\nwindow_left=40\nwindow_top=30\nwindow_width=600\nwindow_height=400\n")
        hwnd = app.start_and_wait_window()
        self.assertEqual(self.probe.state(hwnd).rect, (40, 30, 640, 430))

    def test_end_of_a_move_saves_the_placement(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        left, top, right, bottom = self.probe.state(hwnd).rect
        self.probe.post(hwnd, WM_EXITSIZEMOVE)
        expected = {"window_left": str(left), "window_top": str(top), "window_width": str(right - left),
                    "window_height": str(bottom - top)}
        self.assertEventually(lambda: {k: read_settings(app.ini_path).get(k) for k in expected} == expected,
                              message="the placement %r in the settings" % expected)

    def tray_checked(self, ini_line):
        app = self.wordhatch()
        app.write_ini("[WordHatch Settings]\n%s\n" % ini_line)
        hwnd = app.start_and_wait_window()
        checked = self.probe.menu_item(hwnd, IDM_OPT_TRAY).checked
        self.assertEqual(app.close(), 0)
        return checked

    def test_empty_tray_value_turns_the_option_off(self):
        self.assertFalse(self.tray_checked("tray="))

    def test_tray_value_x_leaves_the_option_on(self):
        self.assertTrue(self.tray_checked("tray=x"))

    def test_tray_zero_turns_the_option_off(self):
        self.assertFalse(self.tray_checked("tray=0"))


class EndOfRunTest(ShellTestCase):
    def test_end_of_run_writes_state_font_and_count(self):
        app = self.wordhatch()
        app.write_ini("[WordHatch Settings]\nactivation_count=5\n")
        app.start_and_wait_window()
        self.assertEqual(app.close(), 0)
        settings = read_settings(app.ini_path)
        self.assertEqual(settings.get("window_start"), "normal")
        self.assertEqual(settings.get("font"), "Courier New,10")
        self.assertEqual(settings.get("activation_count"), "5", "no expansion in this run adds nothing")

    def test_maximized_start_is_kept_and_a_present_font_stays(self):
        app = self.wordhatch()
        app.write_ini("[WordHatch Settings]\nwindow_start=Maximized\nfont=Arial,12\n")
        hwnd = app.start_and_wait_window()
        self.assertTrue(self.probe.state(hwnd).maximized)
        self.assertEqual(app.close(), 0)
        settings = read_settings(app.ini_path)
        self.assertEqual(settings.get("window_start"), "maximized")
        self.assertEqual(settings.get("font"), "Arial,12")
        self.assertEqual(settings.get("activation_count"), "0")

    def test_session_end_writes_settings_without_asking(self):
        app = self.wordhatch()
        app.write_ini("[WordHatch Settings]\nactivation_count=9\n")
        hwnd = app.start_and_wait_window()
        # The file exists from the moment it is created, but is whole only once the load reports.
        self.assertEventually(lambda: self.status_text(hwnd).startswith(" Triggers Loaded:"),
                              message="the trigger file loaded")
        old = read_bytes(app.txt_path)
        self.input.type_text("q")
        self.assertEventually(lambda: self.probe.title(hwnd).endswith(CHANGED_MARK), message="an unsaved change")
        self.probe.post(hwnd, WM_ENDSESSION, 1, 0)
        self.assertEqual(app.processes[0].wait(), 0, "the run ends without a prompt")
        self.assertEqual(read_bytes(app.txt_path), old, "unsaved changes are dropped")
        settings = read_settings(app.ini_path)
        self.assertEqual((settings.get("window_start"), settings.get("activation_count")), ("normal", "9"))


class SecondStartTest(ShellTestCase):
    def test_second_start_restores_the_first_and_exits_with_zero(self):
        app = self.wordhatch()
        app.write_ini("[WordHatch Settings]\ntray=0\n")
        hwnd = app.start_and_wait_window()
        self.probe.post(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0)
        self.assertEventually(lambda: self.probe.state(hwnd).minimized, message="the first window minimised")
        second = app.start()
        self.assertEqual(second.wait(SECOND_START_TIMEOUT), 0, "exit code of the second start")
        self.assertEventually(lambda: not self.probe.state(hwnd).minimized, message="the first window restored")
        self.assertEventually(lambda: self.probe.foreground() == hwnd, message="the first window in front")
        self.assertTrue(app.processes[0].running())
        self.assertEqual(self.probe.count(harness.MAIN_CLASS), 1)


if __name__ == "__main__":
    harness.main()

"""The Options menu: Auto-start at Login against the prefix's registry, Minimize to Tray, Track
Mouse, Show Total Automations and Remove Clipboard Formatting."""
import harness
from expansion_e2e import ExpansionTestCase
from options_e2e import (IDM_OPT_AUTOSTART, IDM_OPT_CLEAN_CLIPBOARD, IDM_OPT_TOTALS, IDM_OPT_TRACK_MOUSE,
                         IDM_OPT_TRAY, RUN_KEY, OptionsTestCase, clipboard_formats, put_clipboard, reg, run_value)
from shell_e2e import read_settings

CF_TEXT = 1
HTML_FORMAT = "HTML Format"
TOTALS_TEXT = "Automations since startup: \t%d\n\nAutomations since install: \t%d"


class AutoStartTest(OptionsTestCase):
    def toggle_auto_start(self, hwnd, expected_checked):
        self.send_command(hwnd, IDM_OPT_AUTOSTART)
        self.assertEqual(self.probe.menu_item(hwnd, IDM_OPT_AUTOSTART).checked, expected_checked)

    def test_auto_start_writes_and_removes_the_run_value(self):
        reg(self.session, "delete", RUN_KEY, "/v", "WordHatch", "/f")
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.assertFalse(self.probe.menu_item(hwnd, IDM_OPT_AUTOSTART).checked)
        self.toggle_auto_start(hwnd, True)
        self.assertEqual(run_value(self.session), ("REG_EXPAND_SZ", harness.windows_path(app.exe_path)))
        self.assertEqual(app.close(), 0)
        hwnd = app.start_and_wait_window()
        self.assertTrue(self.probe.menu_item(hwnd, IDM_OPT_AUTOSTART).checked, "checked at the next start")
        self.toggle_auto_start(hwnd, False)
        self.assertIsNone(run_value(self.session))

    def test_auto_start_creates_a_missing_run_key(self):
        reg(self.session, "delete", RUN_KEY, "/f")
        self.assertNotEqual(reg(self.session, "query", RUN_KEY)[0], 0, "the Run key is gone")
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.toggle_auto_start(hwnd, True)
        self.assertEqual(run_value(self.session), ("REG_EXPAND_SZ", harness.windows_path(app.exe_path)))
        self.toggle_auto_start(hwnd, False)


class MenuOptionsTest(OptionsTestCase):
    def test_minimize_to_tray_writes_the_setting_and_the_mark(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.assertTrue(self.probe.menu_item(hwnd, IDM_OPT_TRAY).checked)
        self.send_command(hwnd, IDM_OPT_TRAY)
        self.assertEqual(read_settings(app.ini_path).get("tray"), "0")
        self.assertFalse(self.probe.menu_item(hwnd, IDM_OPT_TRAY).checked)
        self.send_command(hwnd, IDM_OPT_TRAY)
        self.assertEqual(read_settings(app.ini_path).get("tray"), "1")
        self.assertTrue(self.probe.menu_item(hwnd, IDM_OPT_TRAY).checked)

    def test_track_mouse_shows_the_cursor_relative_to_the_foreground_frame(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.probe.activate(hwnd)
        self.assertEventually(lambda: self.probe.foreground() == hwnd, message="WordHatch in front")
        left, top, _, _ = self.probe.state(hwnd).rect
        self.input.move_mouse(left + 37, top + 12)
        self.send_command(hwnd, IDM_OPT_TRACK_MOUSE)
        self.assertTrue(self.probe.menu_item(hwnd, IDM_OPT_TRACK_MOUSE).checked)
        self.assertEventually(lambda: self.status_text(hwnd) == "  37, 12",
                              message="the position (status %r)" % self.status_text(hwnd))
        self.input.move_mouse(left, top)
        self.assertEventually(lambda: self.status_text(hwnd) == "  0, 0", message="the frame's corner")
        self.send_command(hwnd, IDM_OPT_TRACK_MOUSE)
        self.assertFalse(self.probe.menu_item(hwnd, IDM_OPT_TRACK_MOUSE).checked)
        self.assertEqual(self.status_text(hwnd), " ")
        self.input.move_mouse(left + 5, top + 5)
        self.assertEqual(self.status_text(hwnd), " ", "the display has stopped")

    def test_remove_clipboard_formatting_leaves_only_plain_text(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        put_clipboard(self.probe, "text", "Bold words", "html", "<b>Bold words</b>")
        self.assertIn(HTML_FORMAT, [name for _, name in clipboard_formats(self.probe)])
        self.send_command(hwnd, IDM_OPT_CLEAN_CLIPBOARD)
        formats = clipboard_formats(self.probe)
        self.assertIn(CF_TEXT, [number for number, _ in formats])
        self.assertEqual([name for _, name in formats if name], [], "no registered format stays: %r" % formats)
        self.assertEqual(self.probe.clipboard(), "Bold words")

    def test_remove_clipboard_formatting_keeps_every_character(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        text = "Caf\u00e9 \u2192 done \u2713 \U0001F600"
        self.probe.set_clipboard(text)
        self.send_command(hwnd, IDM_OPT_CLEAN_CLIPBOARD)
        self.assertEqual(self.probe.clipboard(), text)

    def test_remove_clipboard_formatting_leaves_a_clipboard_without_text_alone(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        put_clipboard(self.probe, "html", "<i>only html</i>")
        before = clipboard_formats(self.probe)
        self.send_command(hwnd, IDM_OPT_CLEAN_CLIPBOARD)
        self.assertEqual(clipboard_formats(self.probe), before)


class TotalsTest(ExpansionTestCase):
    def test_totals_show_this_run_and_the_sum_with_earlier_runs(self):
        app, hwnd, target = self.start_expander("zq1=one\n", ini="[WordHatch Settings]\nactivation_count=10\n")
        for count in (1, 2):
            self.input.type_text("zq1")
            self.wait_target(target, "one" * count)
        self.probe.command(hwnd, IDM_OPT_TOTALS)
        box = self.wait_dialog("WordHatch Totals", hwnd)
        self.assertIn(TOTALS_TEXT % (2, 12), self.dialog_texts(box))
        self.probe.close(box)
        self.wait_no_dialog("WordHatch Totals", hwnd)


if __name__ == "__main__":
    harness.main()

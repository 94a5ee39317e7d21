"""The notification area: hiding into it on minimise, the icon's callback and menu, Show, the
end of a run while hidden, a second start, and the icon's return when the shell's notification
area is re-created."""
import harness
from options_e2e import (IDM_FILE_EXIT, IDM_OPT_CLEAN_CLIPBOARD, IDM_TRAY_SHOW, POPUP_MENU_CLASS, TRAY_CALLBACK,
                         WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_RBUTTONDOWN, OptionsTestCase, drop_tray_icon,
                         registered_message, system_cursor, tray_icon_exists)
from shell_e2e import CHANGED_MARK, SC_MINIMIZE, WM_SYSCOMMAND, read_settings
from wordhatch_menu import SEPARATOR

TRAY_MENU = [("Show WordHatch", IDM_TRAY_SHOW), SEPARATOR, ("Remove Clipboard Formatting", IDM_OPT_CLEAN_CLIPBOARD),
             SEPARATOR, ("Exit WordHatch", IDM_FILE_EXIT)]
EXIT_ITEM_FROM_BOTTOM = 10  # pixels above the menu's lower edge: inside its last item
FIRST_ITEM_FROM_TOP = 8
MENU_CURSOR = (300, 300)  # far from the screen's edges, so the menu opens to the lower right
SECOND_START_TIMEOUT = 15


class TrayTest(OptionsTestCase):
    def assert_shown(self, hwnd):
        self.assertEventually(lambda: self.probe.state(hwnd).visible and not self.probe.state(hwnd).minimized,
                              message="the window shown again")
        self.assertEventually(lambda: not tray_icon_exists(self.probe, hwnd), message="the tray icon removed")

    def open_tray_menu(self, hwnd, button):
        self.input.move_mouse(*MENU_CURSOR)
        self.assertEventually(lambda: system_cursor(self.probe) == MENU_CURSOR, message="the cursor moved")
        self.probe.post(hwnd, TRAY_CALLBACK, 0, button)
        return self.assertEventually(lambda: self.own_window(POPUP_MENU_CLASS, hwnd), message="the tray menu")

    def test_minimise_hides_into_the_tray_and_a_double_click_shows_again(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.assertFalse(tray_icon_exists(self.probe, hwnd))
        self.hide_to_tray(hwnd)
        self.assertTrue(self.probe.state(hwnd).minimized, "the hidden window stays minimised")
        self.probe.post(hwnd, TRAY_CALLBACK, 0, WM_LBUTTONDBLCLK)
        self.assert_shown(hwnd)

    def test_a_click_opens_the_tray_menu_and_show_restores(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.hide_to_tray(hwnd)
        popup = self.open_tray_menu(hwnd, WM_RBUTTONDOWN)
        items = [(item.text, item.id) if item.kind == "item" else SEPARATOR for item in self.probe.menu(popup)]
        self.assertEqual(items, TRAY_MENU)
        left, top, right, bottom = self.probe.state(popup).rect
        self.assertEqual((left, top), MENU_CURSOR, "the menu opens at the cursor")
        self.input.click(left + (right - left) // 2, top + FIRST_ITEM_FROM_TOP)
        self.assert_shown(hwnd)

    def test_exit_from_the_tray_asks_about_unsaved_changes_first(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.assertEventually(lambda: self.status_text(hwnd).startswith(" Triggers Loaded:"), message="the load")
        self.input.type_text("q")
        self.assertEventually(lambda: self.probe.title(hwnd).endswith(CHANGED_MARK), message="an unsaved change")
        self.hide_to_tray(hwnd)
        popup = self.open_tray_menu(hwnd, WM_LBUTTONDOWN)
        left, _, right, bottom = self.probe.state(popup).rect
        self.input.click(left + (right - left) // 2, bottom - EXIT_ITEM_FROM_BOTTOM)
        prompt = self.wait_dialog("WordHatch", hwnd)
        self.assertIn("Save changes?", "\n".join(self.dialog_texts(prompt)))
        self.input.press("Escape")  # Cancel
        self.wait_no_dialog("WordHatch", hwnd)
        self.assertTrue(app.processes[0].running(), "Cancel keeps the program running")
        self.assertFalse(self.probe.state(hwnd).visible, "still hidden")
        self.assertTrue(tray_icon_exists(self.probe, hwnd), "the icon stays")

    def test_a_run_ended_while_hidden_starts_hidden_next_time(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.hide_to_tray(hwnd)
        self.assertEqual(app.close(), 0)
        self.assertEqual(read_settings(app.ini_path).get("window_start"), "minimized")
        app.start()
        second = self.assertEventually(lambda: app.main_window(), harness.START_TIMEOUT, "the second run's window")
        self.assertEventually(lambda: tray_icon_exists(self.probe, second), message="the icon of the hidden start")
        # The icon comes first: the window hides once the notification area has taken it.
        self.assertEventually(lambda: not self.probe.state(second).visible, message="the second run's window hidden")
        self.assertTrue(self.probe.state(second).minimized)

    def test_a_second_start_shows_the_hidden_first_and_removes_its_icon(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.hide_to_tray(hwnd)
        second = app.start()
        self.assertEqual(second.wait(SECOND_START_TIMEOUT), 0)
        self.assert_shown(hwnd)
        self.assertEqual(self.probe.count(harness.MAIN_CLASS), 1)

    def test_a_recreated_notification_area_gets_the_icon_back(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.hide_to_tray(hwnd)
        self.assertTrue(drop_tray_icon(self.probe, hwnd))
        self.assertFalse(tray_icon_exists(self.probe, hwnd))
        self.probe.post(hwnd, registered_message(self.probe, "TaskbarCreated"))
        self.assertEventually(lambda: tray_icon_exists(self.probe, hwnd), message="the icon added again")
        self.assertFalse(self.probe.state(hwnd).visible)

    def test_a_shown_window_adds_no_icon_when_the_notification_area_returns(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.probe.send(hwnd, registered_message(self.probe, "TaskbarCreated"))
        self.assertFalse(tray_icon_exists(self.probe, hwnd))

    def test_without_the_tray_option_minimising_keeps_the_window(self):
        app = self.wordhatch()
        app.write_ini("[WordHatch Settings]\ntray=0\n")
        hwnd = app.start_and_wait_window()
        self.probe.post(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0)
        self.assertEventually(lambda: self.probe.state(hwnd).minimized, message="the window minimised")
        self.assertTrue(self.probe.state(hwnd).visible)
        self.assertFalse(tray_icon_exists(self.probe, hwnd))


if __name__ == "__main__":
    harness.main()

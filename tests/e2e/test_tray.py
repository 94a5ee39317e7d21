"""The notification area: hiding into it on minimise, the icon's callback and menu, Show, the
end of a run while hidden, a second start, and the icon's return when the shell's notification
area is re-created; Suspend from the tray menu, the Options menu and a hotkey."""
import harness
from expansion_e2e import ExpansionTestCase
from options_e2e import (IDM_FILE_EXIT, IDM_OPT_CLEAN_CLIPBOARD, IDM_OPT_SUSPEND, IDM_TRAY_SHOW, MENU_CURSOR,
                         TRAY_CALLBACK, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_RBUTTONDOWN, OptionsTestCase,
                         drop_tray_icon, registered_message, tray_icon_exists)
from shell_e2e import CHANGED_MARK, SC_MINIMIZE, WM_SYSCOMMAND, read_settings
from wordhatch_menu import SEPARATOR

TRAY_MENU = [("Show WordHatch", IDM_TRAY_SHOW), SEPARATOR, ("Remove Clipboard Formatting", IDM_OPT_CLEAN_CLIPBOARD),
             ("Suspend", IDM_OPT_SUSPEND), SEPARATOR, ("Exit WordHatch", IDM_FILE_EXIT)]
EXIT_ITEM_FROM_BOTTOM = 10  # pixels above the menu's lower edge: inside its last item
SUSPEND_ITEM_FROM_BOTTOM = 38  # inside the item above the last separator
FIRST_ITEM_FROM_TOP = 8
SECOND_START_TIMEOUT = 15
TIP, SUSPENDED_TIP = "WordHatch", "WordHatch (suspended)"
SUSPENDED_STATUS = " * * * SUSPENDED: no trigger fires and nothing typed is kept (Options > Suspend)"
RESUMED_STATUS = " Suspend is off: triggers fire again"
SUSPEND_TRIGGERS = "zq1=one\r\n{control}{alt}p={Suspend}\r\n"
SUSPEND_HOTKEY = "ctrl+alt+p"


class TrayTest(OptionsTestCase):
    def assert_shown(self, hwnd):
        self.assertEventually(lambda: self.probe.state(hwnd).visible and not self.probe.state(hwnd).minimized,
                              message="the window shown again")
        self.assertEventually(lambda: not tray_icon_exists(self.probe, hwnd), message="the tray icon removed")

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


class SuspendTest(OptionsTestCase, ExpansionTestCase):
    def choose_suspend_in_the_tray_menu(self, hwnd, checked_before):
        popup = self.open_tray_menu(hwnd, WM_RBUTTONDOWN)
        item = [item for item in self.probe.menu(popup) if item.id == IDM_OPT_SUSPEND][0]
        self.assertEqual(item.checked, checked_before, "the tray menu's check")
        left, _, right, bottom = self.probe.state(popup).rect
        self.input.click((left + right) // 2, bottom - SUSPEND_ITEM_FROM_BOTTOM)

    def test_suspend_from_the_tray_menu_and_back_by_its_hotkey(self):
        app, hwnd, target = self.start_expander(SUSPEND_TRIGGERS)
        self.hide_to_tray(hwnd)
        self.wait_tray_tip(TIP)
        self.choose_suspend_in_the_tray_menu(hwnd, False)
        self.wait_tray_tip(SUSPENDED_TIP)
        self.assertTrue(self.probe.menu_item(hwnd, IDM_OPT_SUSPEND).checked, "the Options menu's check")
        target.focus()
        self.input.type_text("zq1")
        self.input.press(SUSPEND_HOTKEY)  # fires while suspended, and ends it
        self.wait_tray_tip(TIP)
        target.focus()
        self.input.type_text("zq1")
        self.wait_target(target, "zq1one")  # the first stayed as typed
        self.input.press(SUSPEND_HOTKEY)
        self.wait_tray_tip(SUSPENDED_TIP)
        self.choose_suspend_in_the_tray_menu(hwnd, True)
        self.wait_tray_tip(TIP)
        self.assertFalse(self.probe.menu_item(hwnd, IDM_OPT_SUSPEND).checked)

    def test_suspend_from_the_options_menu_shows_in_the_status_bar_and_its_hotkey_switches_it(self):
        app, hwnd, target = self.start_expander(SUSPEND_TRIGGERS)
        self.send_command(hwnd, IDM_OPT_SUSPEND)
        self.assertTrue(self.probe.menu_item(hwnd, IDM_OPT_SUSPEND).checked)
        self.assertEqual(self.status_text(hwnd), SUSPENDED_STATUS)
        target.focus()
        self.input.type_text("zq1")
        self.input.press(SUSPEND_HOTKEY)
        self.wait_status(hwnd, RESUMED_STATUS)
        self.assertFalse(self.probe.menu_item(hwnd, IDM_OPT_SUSPEND).checked)
        self.input.type_text("zq1")
        self.wait_target(target, "zq1one")


if __name__ == "__main__":
    harness.main()

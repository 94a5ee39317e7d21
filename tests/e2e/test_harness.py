"""The harness itself: real key presses reach a Wine window, the probe reads windows and menus of
other processes, clicks land where asked and exit codes come through Wine."""
import os

import harness

TARGET_EDIT_ID = 100
MENU_CHECKED, MENU_GRAYED, MENU_TOGGLE = 201, 202, 203
VK_SHIFT = 0x10
PROBE_FAILURE_EXIT_CODE = 1


class HarnessTest(harness.E2ETestCase):
    def test_typed_text_reaches_the_foreground_edit(self):
        target = self.start_target()
        typed = "Hello, World! (a+b)*2 = 'x' \"y\" ~`{}|?\n12 tabs\there"
        self.input.type_text(typed)
        target.wait_text(typed)
        # The probe reads the same text across processes.
        self.assertEqual(self.probe.text(target.hwnd, TARGET_EDIT_ID).replace("\r\n", "\n"), typed)
        self.assertFalse(self.probe.key_down(VK_SHIFT), "shift still down after typing")

    def test_each_key_goes_down_and_up_once(self):
        target = self.start_target()
        self.input.press("a", "shift+b", "Return")
        target.wait_text("aB\n")
        events = [e for e in target.key_events() if not e.startswith("char")]
        self.assertEqual(events, ["down 65", "up 65", "down 16", "down 66", "up 66", "up 16", "down 13", "up 13"])

    def test_chord_reaches_the_edit(self):
        target = self.start_target(text="first\r\nlast")
        # Ctrl+End goes to the end of the text; End alone would stop at the end of the first line.
        self.input.press("ctrl+End")
        self.input.type_text("!")
        target.wait_text("first\nlast!")

    def test_click_places_the_caret(self):
        target = self.start_target(text="abc")
        # Right of the text on the first line puts the caret at its end (typing alone would go first).
        self.input.click_window(target.hwnd, 300, 10)
        self.input.type_text("Z")
        target.wait_text("abcZ")

    def test_second_target_takes_the_keys_and_focus_returns(self):
        first = self.start_target()
        second = self.start_target()
        self.assertEqual(self.probe.foreground(), second.hwnd)
        self.input.type_text("two")
        second.wait_text("two")
        first.focus()
        self.input.type_text("one")
        first.wait_text("one")
        self.assertEqual(second.text(), "two")

    def test_menu_states_of_another_process(self):
        target = self.start_target()
        items = {item.id: item for item in self.probe.menu(target.hwnd) if item.kind == "item"}
        self.assertEqual(sorted(items), [MENU_CHECKED, MENU_GRAYED, MENU_TOGGLE])
        self.assertEqual((items[MENU_CHECKED].checked, items[MENU_CHECKED].grayed), (True, False))
        self.assertEqual((items[MENU_GRAYED].checked, items[MENU_GRAYED].grayed), (False, True))
        self.assertEqual(items[MENU_TOGGLE].text, "&Toggle\tCtrl+T")
        self.assertFalse(self.probe.menu_item(target.hwnd, MENU_TOGGLE).checked)
        self.probe.command(target.hwnd, MENU_TOGGLE)
        self.assertEventually(lambda: self.probe.menu_item(target.hwnd, MENU_TOGGLE).checked, message="toggled item")
        with self.assertRaises(harness.ProbeError):
            self.probe.menu_item(target.hwnd, 9999)

    def test_exit_codes_come_through_wine(self):
        probe_exe = os.path.join(harness.win_dir(), "e2e", "probe.exe")
        ok = harness.WineProcess(self.session, probe_exe, ["ping"])
        self.assertEqual(ok.wait(), 0)
        failing = harness.WineProcess(self.session, probe_exe, ["menu", "0x0"])
        self.assertEqual(failing.wait(), PROBE_FAILURE_EXIT_CODE)

    def test_closed_window_ends_its_program(self):
        target = self.start_target()
        self.probe.close(target.hwnd)
        self.assertEqual(target.process.wait(), 0)
        self.assertIsNone(self.probe.find(harness.TARGET_CLASS, target.title))


if __name__ == "__main__":
    harness.main()

"""The pick list that "LIST: " opens: its items, the choice by digit key, closing without a
choice, the keys after the list text, and its placement kept from one list to the next."""
import os

import harness
from commands_e2e import CommandTestCase, NOTEPAD_CLASS, blue_text_lines
from shell_e2e import read_settings, SCREEN_WIDTH

ALPHA_TITLE = "Alpha Report - Editor"
DEFAULT_PLACE = (SCREEN_WIDTH - 310, 10, SCREEN_WIDTH - 10, 210)
MOVED_PLACE = (100, 150, 350, 260)  # left, top, width, height


class PickListTest(CommandTestCase):
    def open_list(self, triggers, other_title=None):
        """Starts WordHatch and a target (and first another window titled `other_title`), and
        types "pl" into the target."""
        app = self.wordhatch()
        app.write_triggers(triggers)
        hwnd = app.start_and_wait_window()
        self.wait_loaded(hwnd, 1)
        if other_title:
            self.start_target(title=other_title)
        target = self.start_target()
        target.focus()
        self.input.type_text("pl")
        return app, hwnd, target, self.wait_list()

    def wait_list_foreground(self, window):
        """A quarter of a second after it opened, the list takes the foreground."""
        self.assertEventually(lambda: self.probe.foreground() == window, message="the list in the foreground")

    def test_items_are_shown_and_the_keys_after_the_list_are_typed_at_once(self):
        app, hwnd, target, window = self.open_list("pl=LIST: Alpha; Beta;Gamma{Enter}x\n")
        # Enter and x reach the target before the list takes the keyboard.
        self.wait_target(target, "\nx")
        state = self.probe.state(window)
        self.assertTrue(state.visible)
        self.assertEqual(state.rect, DEFAULT_PLACE)
        self.assertEqual(blue_text_lines(self.session, state.client,
                                         os.path.join(self.session.folder, "screenshots", "pick-list.png")), 3)
        self.wait_list_foreground(window)
        self.input.press("Escape")
        self.wait_list_closed(window)
        self.assertEqual(target.text(), "\nx")
        settings = read_settings(app.ini_path)
        left, top, right, bottom = DEFAULT_PLACE
        self.assertEqual(settings["window_list"], "%d,%d,%d,%d" % (left, top, right - left, bottom - top))

    def test_a_digit_brings_its_window_forward_or_starts_its_program(self):
        app, hwnd, target, window = self.open_list("pl=LIST: notepad ; %s\n" % ALPHA_TITLE, ALPHA_TITLE)
        alpha = self._targets[0]
        self.wait_list_foreground(window)
        self.input.press("2")
        self.wait_list_closed(window)
        self.assertEventually(lambda: self.probe.foreground() == alpha.hwnd, message="the chosen window in front")

        self.input.type_text("pl")
        window = self.wait_list()
        self.wait_list_foreground(window)
        self.input.press("1")
        self.wait_list_closed(window)
        self.wait_window(NOTEPAD_CLASS)

    def test_a_moved_list_opens_at_its_new_place(self):
        app, hwnd, target, window = self.open_list("pl=LIST: one;two\n")
        self.wait_list_foreground(window)
        self.probe.move(window, *MOVED_PLACE)
        self.input.press("Escape")
        self.wait_list_closed(window)
        self.assertEqual(read_settings(app.ini_path)["window_list"], "%d,%d,%d,%d" % MOVED_PLACE)
        self.input.type_text("pl")
        window = self.wait_list()
        left, top, width, height = MOVED_PLACE
        self.assertEqual(self.probe.state(window).rect, (left, top, left + width, top + height))
        self.wait_list_foreground(window)
        self.input.press("Escape")
        self.wait_list_closed(window)


if __name__ == "__main__":
    harness.main()

"""Raw key events: every key the user types is seen, in order, wherever and however fast it is
typed: right after a window comes up or a box closes, with no hold at all, while an output plays
and while WordHatch's own output keys go by; the poller remains for where raw input is refused."""
import unittest

import harness
from commands_e2e import CommandTestCase
from expansion_e2e import POLLING

TRIES = 20
MISSING_PROGRAM = "no_such_program_here"
LONG_OUTPUT = "x" * 600


@unittest.skipIf(POLLING, "the key poller sees only keys held for a tick")
class KeyEventsTest(CommandTestCase):
    def test_an_abbreviation_fires_right_after_a_new_window_comes_up(self):
        app, hwnd, first = self.start_expander("btw=by the way\r\n")
        for tries in range(TRIES):
            target = self.start_target("")
            target.focus()
            self.input.type_quickly("btw")
            self.wait_target(target, "by the way")

    def test_an_abbreviation_fires_right_after_a_warning_box_closes(self):
        app, hwnd, target = self.start_expander("run=RUN: %s\r\nbtw=by the way\r\n" % MISSING_PROGRAM)
        for tries in range(1, TRIES + 1):
            target.focus()
            self.input.type_text("run")
            self.close_warning('"%s"' % MISSING_PROGRAM, "Unable to run program", hwnd)
            target.focus()
            self.input.type_quickly("btw")
            self.wait_target(target, "by the way" * tries)

    def test_keys_with_no_hold_are_taken_in_order(self):
        app, hwnd, target = self.start_expander("btw=by the way\r\n{control}k=[ctrl k]\r\n")
        self.input.type_quickly("ok btw, so btw")
        self.wait_target(target, "ok by the way, so by the way")
        self.input.press("ctrl+k", "k")
        self.wait_target(target, "ok by the way, so by the way[ctrl k]k")

    def test_keys_typed_while_a_long_typed_output_plays_are_taken_after_it(self):
        app, hwnd, target = self.start_expander("lng{type}=%s\r\nbtw=by the way\r\nfr=first{Delay 1500}second\r\n"
                                                % LONG_OUTPUT)
        self.input.type_text("lng")
        self.input.type_quickly(" btw")
        self.wait_target(target, LONG_OUTPUT + " by the way")
        # Keys that reach the window between two parts of an output stand inside it: they do not
        # make an abbreviation with what is typed after the output.
        self.input.type_text(" fr")
        self.wait_target(target, LONG_OUTPUT + " by the way first")
        self.input.type_quickly("bt")
        self.wait_target(target, LONG_OUTPUT + " by the way firstbtsecond")
        self.input.type_text("w")
        self.assertEqual(target.text(), LONG_OUTPUT + " by the way firstbtsecondw")

    def test_a_paste_right_after_an_abbreviation_is_the_users_own(self):
        # Ctrl+V that arrives while the expansion waits makes it give way, erasing none of the
        # pasted text; one that arrives after the output pastes after it. Never a mix of the two.
        app, hwnd, target = self.start_expander(",ty=thank you\r\n")
        self.probe.set_clipboard("pasted")
        self.input.press_quickly("comma", "t", "y", "ctrl+v")
        self.input.type_text(" ok")
        sound = (",typasted ok", "thank youpasted ok")
        harness.wait_until(lambda: target.text() in sound, harness.DEFAULT_TIMEOUT,
                           lambda: "the target to hold one of %r (it holds %r)" % (sound, target.text()))

    def test_ok_btw_brb_typed_without_a_pause_into_notepad(self):
        app, hwnd, target = self.start_expander("btw=By the way\r\nbrb=be right back\r\n")
        window, edit = self.start_notepad()
        # A Notepad just started settles its focus for a while: a key that arrives shows it ready.
        self.probe.activate(window)
        self.input.type_text("x")
        self.assertEventually(lambda: self.probe.text(edit) == "x", message="Notepad to take a first key")
        for tries in range(1, TRIES + 1):
            self.probe.set_text(edit, 0, "")
            self.probe.activate(window)
            self.assertEventually(lambda: self.probe.foreground() == window, message="Notepad in front")
            self.input.type_quickly("ok btw brb")
            expected = "ok By the way be right back"
            self.assertEventually(lambda: self.probe.text(edit) == expected, 15.0,
                                  lambda: "try %d: Notepad to hold %r (it holds %r)"
                                  % (tries, expected, self.probe.text(edit)))


if __name__ == "__main__":
    harness.main()

"""What an output types into another program's window: key names, pauses, held modifiers,
environment variables, a long output exactly, and many expansions in a row."""
import string

import harness
from expansion_e2e import ExpansionTestCase

VK_CONTROL, VK_A = 17, 65
PAUSE_MS = 1500
# Every printable ASCII character, several times over: 1,000 characters in all.
LONG_OUTPUT = ((string.ascii_letters + string.digits + string.punctuation.replace("{", "").replace("%", "") + " ")
               * 12)[:1000]
REPEATS = 40
CLICK_MARGIN = 8  # pixels below the top of the edit: on its first line
CLICK_RIGHT_OF_TEXT = 200  # pixels from its left edge: past the end of the first line's text
CURSOR_HOME = (900, 800)


class OutputPlayerTest(ExpansionTestCase):
    def test_enter_and_other_key_names(self):
        app, hwnd, target = self.start_expander("ent=one{Enter}two{Tab}three{Left}{Left}{Backspace}\n")
        self.input.type_text("ent")
        self.wait_target(target, "one\ntwo\tthee")

    def test_a_delay_pauses_between_the_parts(self):
        app, hwnd, target = self.start_expander("dly=before{Delay=%d}after\n" % PAUSE_MS)
        self.input.type_text("dly")
        self.wait_target(target, "before")
        # The first part has arrived: the rest must wait for the pause, so it is not there yet.
        self.assertEqual(target.text(), "before")
        self.wait_target(target, "beforeafter")

    def test_a_held_control_around_a_letter(self):
        app, hwnd, target = self.start_expander("ctl=x{ControlDown}a{ControlUp}y\n")
        self.input.type_text("ctl")
        self.wait_target(target, "xy")
        events = [e for e in target.key_events() if not e.startswith("char")]
        held = events.index("down %d" % VK_CONTROL)
        self.assertEqual(events[held:held + 4], ["down %d" % VK_CONTROL, "down %d" % VK_A, "up %d" % VK_A,
                                                 "up %d" % VK_CONTROL], events)

    def test_shift_held_by_the_output_is_let_go_by_a_capital(self):
        app, hwnd, target = self.start_expander("shf={ShiftDown}aBc{ShiftUp}\n")
        self.input.type_text("shf")
        self.wait_target(target, "ABc")

    def test_a_click_places_the_caret_and_the_cursor_returns(self):
        app, hwnd, target = self.start_expander("clk=placeholder\n", target_text="abc\r\ndef")
        target.wait_text("abc\ndef")
        # Outputs are read at each firing, so the click's place can be written once the target is up.
        frame, client = self.probe.state(target.hwnd).rect, self.probe.state(target.hwnd).client
        x, y = client[0] + CLICK_RIGHT_OF_TEXT - frame[0], client[1] + CLICK_MARGIN - frame[1]
        app.write_triggers("clk={click %d,%d}Z{mouse_return}\n" % (x, y))
        self.input.move_mouse(*CURSOR_HOME)
        self.input.type_text("clk")
        self.wait_target(target, "abcZ\ndef")
        self.assertEventually(lambda: self.input.mouse_location() == CURSOR_HOME, message="the cursor back home")

    def test_an_environment_variable(self):
        app, hwnd, target = self.start_expander("me=I am %USERNAME%.\n")
        self.input.type_text("me")
        self.wait_target(target, "I am %s." % self.user_name())

    def test_a_thousand_characters_arrive_exactly(self):
        app, hwnd, target = self.start_expander("lng=%s\n" % LONG_OUTPUT)
        self.input.type_text("lng")
        self.wait_target(target, LONG_OUTPUT, timeout=30)

    def test_forty_expansions_in_a_row_lose_nothing(self):
        app, hwnd, target = self.start_expander(",k=ok \n")
        self.input.type_text(",k" * REPEATS)
        self.wait_target(target, "ok " * REPEATS, timeout=30)


if __name__ == "__main__":
    harness.main()

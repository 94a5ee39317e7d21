"""A trigger file of tens of thousands of lines loads whole, with the true count in the status
bar, and abbreviations from its start, middle and end fire with real keys; of two lines with the
same abbreviation, the first one's output is typed."""
import time

import harness
from expansion_e2e import ExpansionTestCase

LINE_COUNT = 30000
# Loading this many lines, and showing them in the editor, under Wine on a loaded machine.
LOAD_TIMEOUT = 120.0


def numbered_lines(count):
    """Distinct ASCII abbreviations "w00001x" to "w30000x", each with its own output."""
    return "".join("w%05dx=out%05d\r\n" % (n, n) for n in range(1, count + 1))


class LargeTriggerFileTest(ExpansionTestCase):
    def test_thirty_thousand_lines_load_and_fire_from_start_middle_and_end(self):
        triggers = numbered_lines(LINE_COUNT) + "w15000x=the second w15000x line\r\n"
        app = self.wordhatch()
        app.write_triggers(triggers)
        started = time.monotonic()
        hwnd = app.start_and_wait_window()
        expected = " Triggers Loaded: %d " % (LINE_COUNT + 1)
        self.assertEventually(lambda: self.status_text(hwnd) == expected, LOAD_TIMEOUT,
                              "status %r (it shows %r)" % (expected, self.status_text(hwnd)))
        print("\nloaded %d lines (%d KB) in %.1f s" % (LINE_COUNT + 1, len(triggers) // 1024,
                                                    time.monotonic() - started))
        target = self.start_target("")
        target.focus()
        typed = ""
        for n in (1, 537, 999, 14501, 15000, 15999, 29001, 29999, 30000):
            self.input.type_text("w%05dx" % n)
            typed += "out%05d" % n
            self.wait_target(target, typed)
        self.assertNotIn("second", target.text(), "the first of the two w15000x lines fired")

    def test_the_first_of_two_lines_with_the_same_abbreviation_is_typed(self):
        app, hwnd, target = self.start_expander("dup=first line\r\nother=x\r\ndup=second line\r\n")
        self.input.type_text("dup")
        self.wait_target(target, "first line")


if __name__ == "__main__":
    harness.main()

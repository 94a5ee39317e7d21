"""Dates, the clipboard's text and the caret's mark in outputs, under Wine: today's and
tomorrow's date in a picture, the short date of Wine's locale, the clipboard's text typed as it
stands (its line ends and tabs as Enter and Tab, its other control characters left out) or pasted,
and the caret back between two tags."""
import datetime

import harness
from expansion_e2e import ExpansionTestCase

TRIGGERS = ("dt=[{Date yyyy-MM-dd}]\r\ntm=[{Date+1 dddd}]\r\nsd=[{Date}]\r\ncb=[{Clipboard}]\r\n"
            "bb=<b>{Cursor}</b>\r\n")
CLIPBOARD_TEXT = "a {Enter} b %PATH% c}"
# Copied terminal text: line ends of every form, a tab, a backspace and an escape character. Typed,
# and pasted when long, each line end makes one new line, the tab stays and the others are dropped.
CLIPBOARD_CONTROLS = "one\ntwo\bx\r\nthree\rfour\tfive\x1b"
CLIPBOARD_CONTROLS_TEXT = "one\ntwox\nthree\nfour\tfive"
LONG_LINE = "a line long enough that three of them are pasted, "


def around_now(make):
    """The texts that make(date) gives for today, read before and after, so that a test run
    across midnight still knows both."""
    before = make(datetime.date.today())
    return {before, make(datetime.date.today())}


class OutputTokensTest(ExpansionTestCase):
    def type_and_read(self, target, trigger, done):
        """Types `trigger` and waits for the output that it adds to the target's text, which
        done(output) accepts; returns the output."""
        before = len(target.text())
        self.input.type_text(trigger)
        added = lambda: target.text()[before:]
        self.assertEventually(lambda: done(added()), message="the output of %r (%r)" % (trigger, added()))
        return added()

    def test_dates_clipboard_and_caret(self):
        app, hwnd, target = self.start_expander(TRIGGERS)
        today = around_now(lambda d: "[%s]" % d.isoformat())
        self.assertIn(self.type_and_read(target, "dt", lambda t: t.endswith("]")), today)
        tomorrow = around_now(lambda d: "[%s]" % (d + datetime.timedelta(days=1)).strftime("%A"))
        self.assertIn(self.type_and_read(target, "tm", lambda t: t.endswith("]")), tomorrow)
        # Wine's locale here is English (United States): month/day/year without leading zeros.
        short = around_now(lambda d: "[%d/%d/%d]" % (d.month, d.day, d.year))
        self.assertIn(self.type_and_read(target, "sd", lambda t: t.endswith("]")), short)
        self.probe.set_clipboard(CLIPBOARD_TEXT)
        self.assertEqual(self.type_and_read(target, "cb", lambda t: t.endswith("]")), "[%s]" % CLIPBOARD_TEXT)
        self.probe.set_clipboard(CLIPBOARD_CONTROLS)
        self.assertEqual(self.type_and_read(target, "cb", lambda t: t.endswith("]")),
                         "[%s]" % CLIPBOARD_CONTROLS_TEXT)
        self.probe.set_clipboard("\n".join([LONG_LINE, LONG_LINE + "\b", LONG_LINE + "\r"]))
        self.assertEqual(self.type_and_read(target, "cb", lambda t: t.endswith("]")),
                         "[%s]" % "\n".join([LONG_LINE] * 3 + [""]))
        self.type_and_read(target, "bb", lambda t: t == "<b></b>")
        typed = target.text()
        self.input.type_text("x")
        target.wait_text(typed[:-len("</b>")] + "x</b>")


if __name__ == "__main__":
    harness.main()

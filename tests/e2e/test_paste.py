"""Long outputs pasted through the clipboard: they arrive whole and at once in the test window
and in Notepad, the clipboard comes back byte for byte (text with an HTML twin, a bitmap), short
outputs and {type} are typed, a window that never pastes gets the output typed, once, and a
clipboard monitor that reads every new content does not take the paste."""
import os

import harness
from commands_e2e import CommandTestCase

# The offered text and the text forms that the system makes from it: reading any of them would
# ask for the text, and so confirm the paste.
OFFERED_FORMATS = (13, 1, 7, 16)
CTRL_V_CHAR = "char 22"
EXCLUSION_MARKS = ("ExcludeClipboardContentFromMonitorProcessing", "CanIncludeInClipboardHistory",
                   "CanUploadToCloudClipboard")


def letter(characters):
    """Plain text of exactly `characters` characters, numbered so that a lost or doubled part shows."""
    text = "".join("Line %05d of the letter, with ä, € and plain words. " % i for i in range(characters // 40 + 1))
    return text[:characters]


# 5,000 characters with two Enter keys in them: three runs, each far above the threshold.
PARTS = (letter(1700), letter(1600), letter(1700))
LETTER_OUTPUT = "{Enter}".join(PARTS)
LETTER_TEXT = "\n".join(PARTS)
USER_CLIPBOARD = (("unicode", "the user's own copy, é"), ("html", "<b>the user's own copy</b>"))


class PasteTest(CommandTestCase):
    def start_with_clipboard(self, triggers, *clipboard, no_paste=False):
        app, hwnd, target = self.start_expander(triggers)
        if no_paste:
            target = self.start_target(no_paste=True)
            target.focus()
        self.probe.put_clipboard(*clipboard)
        return hwnd, target, self.probe.clipboard_dump()

    def wait_clipboard_back(self, before):
        """The user's clipboard comes back once the window that pasted has let go of it, a moment
        after the text shows in the window."""
        holds = lambda: "the user's clipboard back (it holds %r)" % (self.probe.clipboard_dump(),)
        self.assertEventually(lambda: self.probe.clipboard_dump() == before, message=holds)

    def test_a_long_letter_arrives_whole_and_the_clipboard_comes_back_byte_for_byte(self):
        hwnd, target, before = self.start_with_clipboard("ltr=%s\r\n" % LETTER_OUTPUT, *USER_CLIPBOARD)
        self.input.type_text("ltr")
        # Typed, 5,000 characters would take far longer than the arrival time-out.
        self.wait_target(target, LETTER_TEXT)
        self.wait_clipboard_back(before)
        self.assertEqual(sum(line == CTRL_V_CHAR for line in target.key_events()), 3, "one paste a run")

    def test_keys_typed_right_after_the_abbreviation_come_after_the_pasted_text(self):
        hwnd, target, before = self.start_with_clipboard("ltr=%s\r\nbtw=by the way\r\n" % PARTS[0],
                                                         *USER_CLIPBOARD)
        self.input.type_text("ltr")
        self.input.type_quickly(" btw")
        self.wait_target(target, PARTS[0] + " by the way")

    def test_a_bitmap_on_the_clipboard_comes_back(self):
        hwnd, target, before = self.start_with_clipboard("ltr=%s\r\n" % PARTS[0], ("dib", "64x32"))
        self.input.type_text("ltr")
        self.wait_target(target, PARTS[0])
        self.wait_clipboard_back(before)

    def test_a_long_letter_arrives_whole_in_notepad(self):
        hwnd, target, before = self.start_with_clipboard("ltr=%s\r\n" % LETTER_OUTPUT, *USER_CLIPBOARD)
        window, edit = self.start_notepad()
        self.probe.activate(window)
        self.assertEventually(lambda: self.probe.foreground() == window, message="Notepad in front")
        self.input.type_text("x")
        self.assertEventually(lambda: self.probe.text(edit) == "x", message="Notepad to take a first key")
        self.input.type_text("ltr")
        expected = "x" + LETTER_TEXT.replace("\n", "\r\n")
        self.assertEventually(lambda: self.probe.text(edit) == expected, 15.0, "Notepad to hold the letter")
        self.wait_clipboard_back(before)

    def test_a_clipboard_monitor_that_reads_every_copy_does_not_take_the_paste(self):
        hwnd, target, before = self.start_with_clipboard("ltr=%s\r\n" % PARTS[0], *USER_CLIPBOARD)
        log = os.path.join(self.work_dir, "monitor.txt")
        monitor = harness.WineProcess(self.session, harness.probe_exe(), ["--clipmonitor", harness.windows_path(log)])
        self.addCleanup(monitor.kill)
        monitor_lines = lambda: open(log).read().splitlines() if os.path.exists(log) else []
        self.assertEventually(lambda: "ready" in monitor_lines(), message="the clipboard monitor to watch")
        target.focus()
        self.input.type_text("ltr")
        self.wait_target(target, PARTS[0])
        self.wait_clipboard_back(before)
        # It read the offer before the window pasted, and got nothing.
        self.assertIn("none", monitor_lines())

    def test_short_outputs_and_type_outputs_are_typed(self):
        long_text = letter(150)
        hwnd, target, before = self.start_with_clipboard(
            "sh=%s\r\nty{type}=%s\r\n{type}\r\nto=%s\r\n" % (letter(100), long_text, long_text), *USER_CLIPBOARD)
        expected = ""
        for trigger, text in (("sh", letter(100)), ("ty", long_text), ("to", long_text)):
            self.input.type_text(trigger)
            expected += text
            self.wait_target(target, expected)
        self.assertNotIn(CTRL_V_CHAR, target.key_events())
        self.assertEqual(self.probe.clipboard_dump(), before)

    def test_a_window_that_never_pastes_gets_the_output_typed_once_and_the_clipboard_back(self):
        text = letter(300)
        hwnd, target, before = self.start_with_clipboard("np=%s\r\n" % text, *USER_CLIPBOARD, no_paste=True)
        self.input.type_text("np")
        # While WordHatch waits for the window to ask, the clipboard holds the marked offer.
        marked = self.assertEventually(
            lambda: [f for f in self.probe.clipboard_dump(*OFFERED_FORMATS) if f[1] in EXCLUSION_MARKS],
            message="the offered text with its marks")
        self.assertEqual(sorted(f[1] for f in marked), sorted(EXCLUSION_MARKS))
        for mark in EXCLUSION_MARKS[1:]:
            self.assertEqual(self.probe.clipboard_bytes(mark), bytes(4), mark)
        self.wait_target(target, text)
        self.assertIn(CTRL_V_CHAR, target.key_events())
        self.assertEqual(self.probe.clipboard_dump(), before)


if __name__ == "__main__":
    harness.main()

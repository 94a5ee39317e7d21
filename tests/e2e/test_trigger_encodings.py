"""Trigger files in the encodings that Windows editors write: UTF-8 with its byte-order mark and
UTF-16 (little- or big-endian, with its mark or without) fire from their first line, the editor
shows their characters, a save writes the file back in its own encoding, and an ANSI file that
gets a character its code page lacks becomes UTF-8."""
import harness
from expansion_e2e import ARRIVAL_TIMEOUT, USED_FORMAT, ExpansionTestCase
from shell_e2e import read_bytes

SAVE_COMMAND = 3102
EDITOR_ID = 4001
SAVED_AS_UTF8 = " * * * Saved as UTF-8: the file now holds characters that its code page cannot."
UTF8_MARK = b"\xef\xbb\xbf"
UTF16_BE_MARK = b"\xfe\xff"
THREE_LINES = "sig=Regards\n\u00e9t\u00e9=summer \u2192\nomw=on my way\n"
ACCENTED_TITLE = "Caf\u00e9 R\u00e9sum\u00e9"


class TriggerEncodingTest(ExpansionTestCase):
    def start_with_file(self, text, encoding, count):
        """WordHatch with `text` (LF line ends become CR LF) as its trigger file in `encoding`,
        loaded. Returns (app, main window)."""
        app = self.wordhatch()
        app.write_triggers(text, encoding)
        hwnd = app.start_and_wait_window()
        self.wait_loaded(hwnd, count)
        return app, hwnd

    def fire(self, hwnd, typed, expected, firings):
        target = self.start_target()
        target.focus()
        self.input.type_text(typed)
        self.wait_target(target, expected)
        self.wait_status(hwnd, USED_FORMAT % firings)

    def save(self, app, hwnd, expected_bytes):
        self.probe.command(hwnd, SAVE_COMMAND)
        self.assertEventually(lambda: read_bytes(app.txt_path) == expected_bytes, message="the file as saved")

    def test_utf8_with_its_mark_fires_its_first_line_and_shows_its_characters(self):
        text = "btw=by the way\ncaf\u00e9=caf\u00e9 \u2192 \u2713\n"
        app, hwnd = self.start_with_file(text, "utf-8-sig", 2)
        self.assertEqual(self.editor_text(hwnd), text.replace("\n", "\r\n"))
        self.fire(hwnd, "btw", "by the way", 1)

    def test_utf16_fires_and_is_saved_back_as_it_was(self):
        text = "sig=Regards\n\u00e9t\u00e9=summer \U0001F600\n"
        app, hwnd = self.start_with_file(text, "utf-16", 2)
        self.assertEqual(self.editor_text(hwnd), text.replace("\n", "\r\n"))
        original = read_bytes(app.txt_path)
        self.assertEqual(original[:2], b"\xff\xfe", "Python wrote the UTF-16 LE mark")
        self.fire(hwnd, "sig", "Regards", 1)
        self.save(app, hwnd, original)

    def fire_and_add_a_line(self, mark, encoding):
        """A three-line file in `encoding` after `mark` loads its triggers, one fires, and a line
        typed into the editor and saved with Ctrl+S goes into the file in the same form, before
        the three."""
        app = self.wordhatch()
        with open(app.txt_path, "wb") as f:
            f.write(mark + THREE_LINES.replace("\n", "\r\n").encode(encoding))
        hwnd = app.start_and_wait_window()
        self.wait_loaded(hwnd, 3)
        self.assertEqual(self.editor_text(hwnd), THREE_LINES.replace("\n", "\r\n"))
        self.fire(hwnd, "omw", "on my way", 1)
        self.probe.activate(hwnd)
        self.assertEventually(lambda: self.probe.foreground() == hwnd, message="WordHatch in front")
        self.input.type_text("new9=line\n")
        edited = ("new9=line\n" + THREE_LINES).replace("\n", "\r\n")
        self.assertEventually(lambda: self.editor_text(hwnd) == edited, message="the typed line")
        self.input.press("ctrl+s")
        self.assertEventually(lambda: read_bytes(app.txt_path) == mark + edited.encode(encoding),
                              message=lambda: "the four lines in the file's form (it holds %r)"
                              % read_bytes(app.txt_path))
        self.wait_loaded(hwnd, 4)

    def test_utf16_big_endian_with_its_mark_fires_and_takes_a_line(self):
        self.fire_and_add_a_line(UTF16_BE_MARK, "utf-16-be")

    def test_utf16_little_endian_without_a_mark_fires_and_takes_a_line(self):
        self.fire_and_add_a_line(b"", "utf-16-le")

    def test_an_ansi_file_stays_ansi_until_its_code_page_lacks_a_character(self):
        app, hwnd = self.start_with_file("caf\u00e9=x\nsig=Regards\n", "cp1252", 2)
        self.assertEqual(self.editor_text(hwnd), "caf\u00e9=x\r\nsig=Regards\r\n")
        self.save(app, hwnd, b"caf\xe9=x\r\nsig=Regards\r\n")
        self.wait_loaded(hwnd, 2)
        edited = "caf\u00e9=\u2192\r\nsig=Regards\r\n"
        self.probe.set_text(hwnd, EDITOR_ID, edited)
        self.save(app, hwnd, UTF8_MARK + edited.encode("utf-8"))
        self.wait_status(hwnd, SAVED_AS_UTF8)
        self.assertEqual(self.editor_text(hwnd), edited, "the reload shows the same text")

    def test_an_ansi_window_title_with_accents_is_still_found(self):
        # The output reaches the system as UTF-8 now; the title must arrive as the same characters.
        app, hwnd, first = self.start_expander("wc1=WINDOW: %s{Delay=0}1\n" % ACCENTED_TITLE)
        second = self.start_target(title="Plain target")
        self.probe.move(first.hwnd, 0, 400, 480, 320)
        self.probe.set_text(first.hwnd, 0, ACCENTED_TITLE)
        second.focus()
        self.input.type_text("wc1")
        self.assertEventually(lambda: first.text().endswith("1"), ARRIVAL_TIMEOUT, "the 1 in the accented window")
        self.assertEventually(lambda: self.probe.foreground() == first.hwnd, message="brought forward")


if __name__ == "__main__":
    harness.main()

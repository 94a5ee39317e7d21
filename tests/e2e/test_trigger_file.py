"""The trigger file beside the program: created from the default text when missing, shown in the
editor, and counted in the status bar."""
import os

import harness

EDITOR_ID = 4001
STATUS_BAR_ID = 4002
DEBUG_SUFFIX = " * * * DEBUG ON * * *"


def default_trigger_bytes():
    with open(os.path.join(harness.source_dir(), "resources", "default_triggers.txt"), "rb") as f:
        return f.read()


def count_trigger_lines(data):
    """Trigger lines as the loader accepts them: not a comment, a trigger of 1 to 61 bytes, "="."""
    count = 0
    for line in data.replace(b"\r", b"\n").split(b"\n"):
        if not line or line.startswith(b";"):
            continue
        trigger, equals, _ = line.partition(b"=")
        if equals and 0 < len(trigger) <= 61:
            count += 1
    return count


class TriggerFileTest(harness.E2ETestCase):
    def status_text(self, hwnd):
        return self.probe.text(hwnd, STATUS_BAR_ID)

    def wait_status(self, hwnd, predicate, what):
        return self.assertEventually(lambda: predicate(self.status_text(hwnd)), message=what)

    def test_missing_file_is_created_from_the_default_text(self):
        app = self.wordhatch()
        self.assertFalse(os.path.exists(app.txt_path))
        hwnd = app.start_and_wait_window()
        expected = default_trigger_bytes()
        self.assertGreater(count_trigger_lines(expected), 5, "the default text should hold triggers")
        wanted = " Triggers Loaded: %d " % count_trigger_lines(expected)
        self.wait_status(hwnd, lambda text: text == wanted, "status bar shows %r" % wanted)
        with open(app.txt_path, "rb") as f:
            self.assertEqual(f.read(), expected, "the created file holds the default text exactly")
        editor = self.probe.text(hwnd, EDITOR_ID).encode("cp1252")
        self.assertEqual(editor, expected, "the editor shows the file")

    def test_a_two_byte_file_is_replaced_too(self):
        app = self.wordhatch()
        with open(app.txt_path, "wb") as f:
            f.write(b"x=")
        hwnd = app.start_and_wait_window()
        self.wait_status(hwnd, lambda text: text.startswith(" Triggers Loaded: "), "a load report")
        with open(app.txt_path, "rb") as f:
            self.assertEqual(f.read(), default_trigger_bytes())

    def test_three_hundred_lines_all_load(self):
        app = self.wordhatch()
        app.write_triggers("".join("t%d=output %d\n" % (i, i) for i in range(300)))
        hwnd = app.start_and_wait_window()
        wanted = " Triggers Loaded: 300 "
        self.wait_status(hwnd, lambda text: text == wanted, "status bar shows %r" % wanted)
        editor = self.probe.text(hwnd, EDITOR_ID)
        self.assertIn("t299=output 299", editor, "the editor shows the whole file")

    def test_debug_marker_is_reported(self):
        app = self.wordhatch()
        app.write_triggers("; WordHatch_DEBUG\nbtw=by the way\nsig=Regards\n")
        hwnd = app.start_and_wait_window()
        self.wait_status(hwnd, lambda text: text.endswith(DEBUG_SUFFIX), "status text ends in the debug note")
        self.assertEqual(self.status_text(hwnd), " Triggers Loaded: 2 " + DEBUG_SUFFIX)

    def test_marker_in_another_case_is_no_marker(self):
        app = self.wordhatch()
        app.write_triggers("; wordhatch_debug\nbtw=by the way\n")
        hwnd = app.start_and_wait_window()
        self.wait_status(hwnd, lambda text: text == " Triggers Loaded: 1 ", "plain load report")

    def test_triggers_that_cannot_fire_are_reported(self):
        app = self.wordhatch()
        app.write_triggers("{control}=nothing to press\n%s=too long\n%s=long but fine\nok=fine\n"
                           % ("a" * 62, "b" * 40))
        hwnd = app.start_and_wait_window()
        wanted = " Triggers Loaded: 2  (2 not loaded: longer than 61 characters, or no key) "
        self.wait_status(hwnd, lambda text: text == wanted, "status bar shows %r" % wanted)


if __name__ == "__main__":
    harness.main()

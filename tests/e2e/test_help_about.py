"""The Help menu: the help file written afresh and opened in Notepad, and the about box with its
blue link."""
import glob
import os
import subprocess

import harness
from options_e2e import IDM_HELP_ABOUT, IDM_HELP_REFERENCE, OptionsTestCase
from shell_e2e import read_bytes

HELP_FILE_NAME = "WordHatch README.txt"
NOTEPAD_CLASS = "Notepad"
ABOUT_CAPTION = "About WordHatch"
LINK_ID = 0x800F
LINK_TEXT = "www.wordhatch.example.org"
PURE_BLUE = "#0000FF"
LINK_MARGIN = 75


class HelpTest(OptionsTestCase):
    def help_file(self):
        """The help file in the prefix's temporary folders, or None."""
        found = glob.glob(os.path.join(self.session.drive_c(), "users", "**", HELP_FILE_NAME), recursive=True)
        return found[0] if found else None

    def notepad_with_help(self):
        for window in self.probe.windows(NOTEPAD_CLASS):
            if window.visible and HELP_FILE_NAME in window.title:
                return window.hwnd
        return None

    def close_leftover_notepads(self):
        """Notepad is started by WordHatch, not by the harness, so the harness does not end it."""
        while self.notepad_with_help():
            self.close_notepad(self.notepad_with_help())

    def close_notepad(self, notepad):
        self.probe.close(notepad)
        self.assertEventually(lambda: self.notepad_with_help() is None, message="Notepad closed")

    def test_help_writes_the_help_file_afresh_and_opens_it_in_notepad(self):
        with open(os.path.join(harness.source_dir(), "resources", "help.txt"), "rb") as f:
            help_text = f.read()
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.addCleanup(self.close_leftover_notepads)
        for attempt in ("first", "second"):
            path = self.help_file()
            if path:
                with open(path, "wb") as f:
                    f.write(b"stale")
            self.probe.command(hwnd, IDM_HELP_REFERENCE)
            notepad = self.assertEventually(self.notepad_with_help, harness.START_TIMEOUT,
                                            "Notepad with the help file (%s time)" % attempt)
            path = self.help_file()
            self.assertIsNotNone(path, "the help file in the temporary folder")
            self.assertEqual(read_bytes(path), help_text, "the %s help file holds the help text" % attempt)
            self.close_notepad(notepad)


class AboutTest(OptionsTestCase):
    def blue_pixels(self, rect):
        shot = self.screenshot(self.test_name + "-about")
        left, top, right, bottom = rect
        result = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                                 "-format", "%c", "histogram:info:-"], stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=30, check=True)
        count = 0
        for line in result.stdout.decode().splitlines():
            if PURE_BLUE in line.upper():
                count += int(line.split(":")[0].strip())
        return count

    def test_the_about_box_shows_the_blue_link(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.probe.command(hwnd, IDM_HELP_ABOUT)
        box = self.wait_dialog(ABOUT_CAPTION, hwnd)

        def link():
            for child in self.probe.children(box):
                if child.id == LINK_ID and child.visible:
                    return child
            return None
        found = self.assertEventually(link, message="the link in the about box")
        self.assertEqual(found.text, LINK_TEXT)
        box_client = self.probe.state(box).client
        link_rect = self.probe.state(found.hwnd).rect
        self.assertEqual(link_rect[0] - box_client[0], LINK_MARGIN)
        self.assertEqual(box_client[2] - link_rect[2], LINK_MARGIN)
        self.assertEventually(lambda: self.blue_pixels(link_rect) > 0, message="the link painted in blue")
        self.probe.close(box)
        self.wait_no_dialog(ABOUT_CAPTION, hwnd)
        self.assertTrue(app.processes[0].running())


if __name__ == "__main__":
    harness.main()

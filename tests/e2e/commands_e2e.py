"""Helpers of the end-to-end tests of the program, window and list commands: programs that an
output starts, and the warning boxes that a failed command shows."""
import os
import re
import shutil
import subprocess

import harness
from expansion_e2e import ExpansionTestCase, ARRIVAL_TIMEOUT

NOTEPAD_CLASS = "Notepad"
# target.exe started without arguments: no report file, this title.
PLAIN_TARGET_TITLE = "WordHatch test target"
# A trigger that any test can fire afterwards to show that the key poller runs again.
CHECK_TRIGGER = "zzq"
CHECK_OUTPUT = "done"


class CommandTestCase(ExpansionTestCase):
    def copy_target_to(self, *parts):
        """Copies target.exe to the Wine drive under `parts` (folders and file name) and returns
        its Windows path."""
        path = os.path.join(self.session.drive_c(), *parts)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copy2(os.path.join(harness.win_dir(), "e2e", "target.exe"), path)
        return harness.windows_path(path)

    def wait_window(self, cls, title=""):
        """Waits for a top-level window that a command started, and closes it at the end."""
        hwnd = self.assertEventually(lambda: self.probe.find(cls, title), ARRIVAL_TIMEOUT,
                                     "a %s window %r" % (cls, title))
        self.addCleanup(self._close_started, hwnd)
        return hwnd

    def start_notepad(self):
        """Starts Wine's Notepad and returns (its window, its edit) once both exist; it is closed
        at the end."""
        notepad = harness.WineProcess(self.session, "notepad")
        self.addCleanup(notepad.kill)
        window = self.wait_window(NOTEPAD_CLASS)
        # The window comes up before its edit child does.
        edit = self.assertEventually(lambda: next((child.hwnd for child in self.probe.children(window)
                                                   if child.cls.lower() == "edit"), None),
                                     ARRIVAL_TIMEOUT, "Notepad's edit")
        return window, edit

    def _close_started(self, hwnd):
        try:
            self.probe.close(hwnd)
            harness.wait_until(lambda: not self.probe.state(hwnd).exists, harness.DEFAULT_TIMEOUT,
                               "the started window to close")
        except (harness.ProbeError, harness.WaitTimeout):
            pass

    def close_warning(self, caption, text, main_hwnd):
        """Waits for WordHatch's warning box titled `caption`, checks its text and closes it."""
        box = self.wait_dialog(caption, main_hwnd)
        self.assertIn(text, self.dialog_texts(box))
        self.probe.close(box)
        self.wait_no_dialog(caption, main_hwnd)

    def wait_list(self):
        """Waits for a pick list window, shown and painted."""
        return self.assertEventually(lambda: self.probe.find(LIST_CLASS, LIST_TITLE), ARRIVAL_TIMEOUT,
                                     "the pick list")

    def wait_list_closed(self, hwnd):
        self.assertEventually(lambda: not self.probe.state(hwnd).exists, message="the pick list to close")

    def assert_output_ended(self, hwnd, target, triggers_text):
        """After a failed command: nothing more of the output (a line end and "after") arrived
        anywhere, neither in the target nor in WordHatch's editor, which has the focus once the
        box is closed; and the key poller runs again, shown by a trigger typed into a fresh
        target. (The box may take the focus before the target has taken every Backspace that
        erased the abbreviation, so what is left of it there is not looked at.)"""
        fresh = self.start_target()
        fresh.focus()
        self.input.type_text(CHECK_TRIGGER)
        self.wait_target(fresh, CHECK_OUTPUT)
        for where, text in (("target", target.text()), ("editor", self.editor_text(hwnd).replace("\r\n", "\n"))):
            self.assertNotIn("after", text.replace(triggers_text, ""), where)
            self.assertNotIn("\n", text.replace(triggers_text, ""), where)

LIST_CLASS = "WordHatch_List_Class"
LIST_TITLE = "Custom List"


def blue_text_lines(session, client, path):
    """The number of separate bands of rows in the screen rectangle `client` (left, top, right,
    bottom) that hold blue text pixels, read from a screenshot saved at `path`."""
    harness.screenshot(session, path)
    left, top, right, bottom = client
    crop = "%dx%d+%d+%d" % (right - left, bottom - top, left, top)
    dump = subprocess.run(["convert", path, "-crop", crop, "+repage", "txt:-"], env=session.env(),
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30,
                          check=True).stdout.decode()
    rows = set()
    for line in dump.splitlines()[1:]:
        # "x,y: (r,g,b)  #RRGGBB  srgb(...)"
        match = re.match(r"(\d+),(\d+): \((\d+),(\d+),(\d+)", line)
        if match:
            r, g, b = (int(match.group(i)) for i in (3, 4, 5))
            if b > 150 and r < 100 and g < 100:
                rows.add(int(match.group(2)))
    bands, previous = 0, None
    for row in sorted(rows):
        if previous is None or row > previous + 1:
            bands += 1
        previous = row
    return bands

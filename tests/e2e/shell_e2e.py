"""Helpers of the shell and editor end-to-end tests: WordHatch placed at unusual paths, its
settings file read as the program writes it, its child controls, and the dialogs it opens."""
import os
import shutil
import subprocess

import harness

EDITOR_ID = 4001
STATUS_BAR_ID = 4002
SECTION = "WordHatch Settings"
DIALOG_CLASS = "#32770"
CAPTION = "WordHatch"
TITLE_PREFIX = "WordHatch - "
CHANGED_MARK = " *"

# Window messages and commands the tests send, with the system's values.
EM_GETSEL = 0x00B0
WM_SYSCOMMAND = 0x0112
SC_MINIMIZE = 0xF020
WM_ENDSESSION = 0x0016
WM_EXITSIZEMOVE = 0x0232
IDM_OPT_TRAY = 3402

SCREEN_WIDTH, SCREEN_HEIGHT = (int(v) for v in harness.SCREEN.split("x")[:2])


def parse_settings(text, section=SECTION):
    """The keys of one section of an INI text, as a dict of key -> value (text as written)."""
    values, current = {}, None
    for line in text.replace("\r\n", "\n").split("\n"):
        stripped = line.strip()
        if stripped.startswith("[") and stripped.endswith("]"):
            current = stripped[1:-1]
        elif current == section and "=" in line:
            key, value = line.split("=", 1)
            values[key.strip()] = value.strip()
    return values


def read_settings(path):
    """The program's settings in the file at path; {} while the file does not exist."""
    if not os.path.exists(path):
        return {}
    with open(path, "rb") as f:
        return parse_settings(f.read().decode("cp1252"))


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class ShellTestCase(harness.E2ETestCase):
    """E2ETestCase with what the shell's tests look at."""

    def wordhatch_at(self, relative_exe):
        """A WordHatch whose exe lies at relative_exe ("/"-separated) inside a fresh folder named
        after the test. Returns (app, unix path of that folder). Stopped at the end of the test."""
        base_name = self.test_name + "-placed"
        base = os.path.join(self.session.drive_c(), harness.WINE_DRIVE_FOLDER, base_name)
        shutil.rmtree(base, ignore_errors=True)
        folder, exe_name = os.path.split(relative_exe)
        app = harness.WordHatchApp(self.session, self.probe, os.path.join(base_name, folder), exe_name)
        self.addCleanup(self._stop_placed, app)
        return app, base

    def _stop_placed(self, app):
        app.stop()
        harness.wait_until(lambda: self.probe.count(harness.MAIN_CLASS) == 0, harness.DEFAULT_TIMEOUT,
                           "the placed WordHatch's window to go away")

    def child(self, hwnd, control_id):
        for child in self.probe.children(hwnd):
            if child.id == control_id:
                return child.hwnd
        self.fail("main window has no child with id %d" % control_id)

    def editor_text(self, hwnd):
        return self.probe.text(hwnd, EDITOR_ID)

    def status_text(self, hwnd):
        return self.probe.text(hwnd, STATUS_BAR_ID)

    def wait_loaded(self, hwnd, count):
        """Waits until the status bar reports `count` triggers loaded."""
        expected = " Triggers Loaded: %d " % count
        return self.assertEventually(lambda: self.status_text(hwnd).startswith(expected),
                                     message="status %r" % expected)

    def selection(self, hwnd):
        """(start, end) of the editor's selection."""
        packed = self.probe.send(self.child(hwnd, EDITOR_ID), EM_GETSEL, 0, 0) & 0xFFFFFFFF
        return packed & 0xFFFF, packed >> 16

    def pid_of(self, hwnd):
        """The Windows process id of a top-level window."""
        for window in self.probe.windows(""):
            if window.hwnd == hwnd:
                return window.pid
        return None

    def dialog(self, title, main_hwnd, visible_only=True):
        """The visible dialog or message box titled `title` of the process of main_hwnd, or None;
        with visible_only=False, one that is hidden but not yet destroyed counts too."""
        pid = self.pid_of(main_hwnd)
        for window in self.probe.windows(DIALOG_CLASS):
            if window.title == title and (window.visible or not visible_only) and window.pid == pid:
                return window.hwnd
        return None

    def wait_dialog(self, title, main_hwnd):
        return self.assertEventually(lambda: self.dialog(title, main_hwnd), message="a %r dialog" % title)

    def wait_no_dialog(self, title, main_hwnd):
        """Waits until the box is destroyed, not merely hidden: a closing box hides first and then
        hands the activation back to its owner, which would take it from a window activated
        between the two."""
        self.assertEventually(lambda: self.dialog(title, main_hwnd, visible_only=False) is None,
                              message="the %r dialog to close" % title)

    def dialog_texts(self, hwnd):
        return [child.text for child in self.probe.children(hwnd)]

    def make_immutable(self, path):
        """Makes the folder at path unchangeable, for the superuser too; undone at the end of the test."""
        result = subprocess.run(["chattr", "+i", path], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if result.returncode != 0:
            self.skipTest("cannot make a folder unwritable here: %s" % result.stderr.decode().strip())
        self.addCleanup(subprocess.run, ["chattr", "-i", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

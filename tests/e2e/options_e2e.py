"""Helpers of the tray, options and help end-to-end tests: the tray icon as the shell holds it,
the clipboard's formats, the registry of the Wine prefix, and the commands of the main menu."""
import subprocess

from shell_e2e import SC_MINIMIZE, WM_SYSCOMMAND, ShellTestCase

TRAY_ICON_ID = 1001
TRAY_CALLBACK = 0x222
WM_COMMAND = 0x0111
WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN = 0x0201, 0x0203, 0x0204
POPUP_MENU_CLASS = "#32768"

IDM_FILE_EXIT = 3104
IDM_OPT_AUTOSTART, IDM_OPT_TRAY, IDM_OPT_TRACK_MOUSE = 3401, 3402, 3404
IDM_OPT_CLEAN_CLIPBOARD, IDM_OPT_TOTALS, IDM_OPT_SUSPEND = 3198, 3197, 3405
IDM_HELP_REFERENCE, IDM_HELP_ABOUT = 3501, 3502
IDM_TRAY_SHOW = 3199

# Wine's notification area on a display without one of its own: a window that holds a child
# window per icon, each with a tooltip window of its own.
WINE_TRAY_CLASS, TOOLTIP_CLASS = "__winex11_standalone_tray", "tooltips_class32"
MENU_CURSOR = (300, 300)  # far from the screen's edges, so a menu opens to the lower right

RUN_KEY = r"HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
REG_TIMEOUT = 60


def tray_icon_exists(probe, hwnd):
    return probe.call("tray", hex(hwnd), TRAY_ICON_ID)[0][0] == "exists=1"


def drop_tray_icon(probe, hwnd):
    """Removes the window's icon from the shell, as a shell that restarts loses it."""
    return probe.call("traydelete", hex(hwnd), TRAY_ICON_ID)[0][0] == "removed=1"


def system_cursor(probe):
    """(x, y) of the cursor as Windows programs see it, which may lag behind the X server's."""
    x, y = probe.call("cursor")[0]
    return int(x), int(y)


def registered_message(probe, name):
    return int(probe.call("regmsg", name)[0][0])


def put_clipboard(probe, *kinds_and_data):
    """Empties the clipboard and puts ("text", bytes) and ("html", bytes) pairs on it."""
    probe.call("clipput", *kinds_and_data)


def clipboard_formats(probe):
    """[(number, name)] of the formats on the clipboard; name is "" for the standard ones."""
    return [(int(row[0]), row[1]) for row in probe.call("clipformats")]


def reg(session, *args):
    """Runs Wine's reg tool in the session's prefix; returns (exit code, output)."""
    result = subprocess.run(session.tools.wine("reg", *args), env=session.env(), stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=REG_TIMEOUT)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def run_value(session, name="WordHatch"):
    """(type, data) of a value under the Run key of the prefix's registry, or None."""
    code, output = reg(session, "query", RUN_KEY, "/v", name)
    if code != 0:
        return None
    for line in output.splitlines():
        fields = line.split(None, 2)
        if len(fields) >= 2 and fields[0] == name and fields[1].startswith("REG_"):
            return fields[1], fields[2].strip() if len(fields) > 2 else ""
    return None


class OptionsTestCase(ShellTestCase):
    """ShellTestCase with the tray and the menu commands at hand."""

    def send_command(self, hwnd, command_id):
        """Runs a menu command and returns once its handler has (for commands that open no box)."""
        return self.probe.send(hwnd, WM_COMMAND, command_id, 0)

    def open_tray_menu(self, hwnd, button):
        self.input.move_mouse(*MENU_CURSOR)
        self.assertEventually(lambda: system_cursor(self.probe) == MENU_CURSOR, message="the cursor moved")
        self.probe.post(hwnd, TRAY_CALLBACK, 0, button)
        return self.assertEventually(lambda: self.own_window(POPUP_MENU_CLASS, hwnd), message="the tray menu")

    def wait_tray_tip(self, expected):
        """Points at the (only) tray icon afresh and waits until its shown tooltip says `expected`."""
        icon = self.probe.children(self.probe.find(WINE_TRAY_CLASS))[0].hwnd
        left, top, right, bottom = self.probe.state(icon).rect
        self.input.move_mouse(*MENU_CURSOR)
        self.input.move_mouse((left + right) // 2, (top + bottom) // 2)
        shown = lambda: [self.probe.text(tip.hwnd) for tip in self.probe.windows(TOOLTIP_CLASS) if tip.visible]
        self.assertEventually(lambda: expected in shown(), message=lambda: "the tip %r (shown %r)" % (expected, shown()))

    def hide_to_tray(self, hwnd):
        self.probe.post(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0)
        self.assertEventually(lambda: not self.probe.state(hwnd).visible, message="the window hidden in the tray")
        self.assertEventually(lambda: tray_icon_exists(self.probe, hwnd), message="the tray icon")

    def own_window(self, cls, main_hwnd, title=None):
        """The visible top-level window of class cls (and title) of main_hwnd's process, or None."""
        pid = self.pid_of(main_hwnd)
        for window in self.probe.windows(cls):
            if window.visible and window.pid == pid and (title is None or window.title == title):
                return window.hwnd
        return None

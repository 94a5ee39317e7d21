"""Helpers of the expansion end-to-end tests: WordHatch with a trigger file of the test's own,
loaded and watching, and a target window in front that real keys are typed into."""
import os
import pwd

import harness
from shell_e2e import ShellTestCase

USED_FORMAT = " Shortcuts Used:  %d"
DEBUG_LOG_NAME = "WordHatch_log.txt"
# The first line of the debug log: how WordHatch watches the keys. WORDHATCH_KEY_WATCH=poll in the
# environment makes it poll the key states, so that the tests of the poller run against it.
POLLING = os.environ.get("WORDHATCH_KEY_WATCH", "").lower() == "poll"
KEY_WATCH_LOG_LINE = ("Keys are watched by polling the key states." if POLLING
                      else "Keys are watched through raw input.")
# Time for an output to arrive: the modifier wait (up to 1 s), a poller tick and the typing.
ARRIVAL_TIMEOUT = 15.0


class ExpansionTestCase(ShellTestCase):
    """ShellTestCase with WordHatch watching the keyboard and a target to type into."""

    def start_expander(self, triggers, count=None, ini=None, target_text="", ansi_target=False, encoding="cp1252"):
        """Starts WordHatch with `triggers` as its trigger file (written in `encoding`), waits for
        the load report, then starts a target window (an ANSI one with ansi_target), which takes
        the foreground. Returns (app, main window, target)."""
        app = self.wordhatch()
        app.write_triggers(triggers, encoding)
        if ini is not None:
            app.write_ini(ini)
        hwnd = app.start_and_wait_window()
        if count is None:
            count = sum(1 for line in triggers.splitlines() if "=" in line and not line.startswith(";"))
        self.wait_loaded(hwnd, count)
        target = self.start_target(target_text, ansi=ansi_target)
        target.focus()
        return app, hwnd, target

    def wait_target(self, target, expected, timeout=ARRIVAL_TIMEOUT):
        return target.wait_text(expected, timeout)

    def wait_status(self, hwnd, expected):
        return self.assertEventually(lambda: self.status_text(hwnd) == expected, ARRIVAL_TIMEOUT,
                                     "status %r (it shows %r)" % (expected, self.status_text(hwnd)))

    def debug_log_path(self):
        return os.path.join(self.session.drive_c(), DEBUG_LOG_NAME)

    @staticmethod
    def user_name():
        """The name that Wine gives %USERNAME%: the Unix user's."""
        return pwd.getpwuid(os.getuid()).pw_name

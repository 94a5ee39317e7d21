"""Included trigger files: a main file that includes a second file by a path relative to itself,
a third by a %NAME% variable of WordHatch's environment, and a fourth that does not exist. The
triggers of the three fire with the outputs of their own files, the first line in file order
winning, and the status bar names the fourth."""
import os

import harness
from expansion_e2e import USED_FORMAT, ExpansionTestCase

TEAM_VARIABLE = "WORDHATCH_E2E_TEAM"
MAIN_TEXT = ("btw=Main file\n"
             "{include sub\\second.txt}\n"
             "{include %" + TEAM_VARIABLE + "%\\third.txt}\n"
             "{include missing.txt}\n"
             "sig=Main sig\n")


def write_file(path, text, encoding):
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode(encoding))


class IncludeTest(ExpansionTestCase):
    def test_three_files_fire_with_their_own_outputs_and_a_missing_fourth_is_named(self):
        app = self.wordhatch()
        os.makedirs(os.path.join(app.folder, "sub"))
        write_file(os.path.join(app.folder, "sub", "second.txt"), "sig=Second file\n", "utf-16")
        team = os.path.join(self.work_dir, "team share")
        os.makedirs(team)
        write_file(os.path.join(team, "third.txt"), "sig=Third sig\nomw=Third file\n", "cp1252")
        app.write_triggers(MAIN_TEXT)
        # The variable is WordHatch's own: Wine hands the environment it starts with to the program.
        os.environ[TEAM_VARIABLE] = harness.windows_path(team)
        self.addCleanup(os.environ.pop, TEAM_VARIABLE, None)
        hwnd = app.start_and_wait_window()
        prefix = " Triggers Loaded: 5, 1 file not found: "
        missing = harness.windows_path(os.path.join(app.folder, "missing.txt"))
        self.assertEventually(lambda: self.status_text(hwnd).startswith(prefix), message="a load report")
        self.assertEqual(self.status_text(hwnd).lower(), (prefix + missing + " ").lower())
        target = self.start_target()
        target.focus()
        expected = ""
        fired = [("btw", "Main file"), ("sig", "Second file"), ("omw", "Third file")]
        for count, (typed, output) in enumerate(fired, 1):
            self.input.type_text(" " + typed)
            expected += " " + output
            self.wait_target(target, expected)
            self.wait_status(hwnd, USED_FORMAT % count)


if __name__ == "__main__":
    harness.main()

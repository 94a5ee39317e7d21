"""Reload on change: a trigger added to an included file by another program fires after one load,
a swap file beside it loads nothing, and a change on disk while the editor holds unsaved changes
asks which text to keep."""
import os
import re
import time

import harness
from expansion_e2e import ExpansionTestCase
from shell_e2e import CAPTION, CHANGED_MARK

PIECE_GAP = 0.1      # between the pieces of one write: the test's input
FIRES_WITHIN = 2.0   # from the last piece of a write to its load
QUIET_TIME = 1.5     # the settle time and a second look, with room: a load would have come by then
QUESTION = ("The trigger file\n\n%s\n\nwas changed by another program, and the editor holds changes that are "
            "not saved.\n\nYes: show the file as it is now, and lose your changes.\nNo: keep your changes in the "
            "editor; saving writes them over the file.")


class ReloadTest(ExpansionTestCase):
    def loads(self):
        """Loads of the main file so far: debug mode logs each file of a load that includes one."""
        with open(self.debug_log_path(), "rb") as f:
            return len(re.findall(rb"^\d\d:\d\d:\d\d Loaded .*\\WordHatch\.txt: \d+ triggers\r$", f.read(), re.M))

    def write_in_pieces(self, path, *pieces):
        for number, piece in enumerate(pieces):
            time.sleep(PIECE_GAP if number else 0)
            with open(path, "ab") as f:
                f.write(piece)
        harness.wait_until(lambda: self.loads() > self.loaded, FIRES_WITHIN, "the reload")
        self.loaded += 1

    def test_an_added_trigger_fires_after_one_load_and_a_swap_file_loads_nothing(self):
        log = self.debug_log_path()
        if os.path.exists(log):
            os.remove(log)
        self.addCleanup(lambda: os.path.exists(log) and os.remove(log))
        app = self.wordhatch()
        team = os.path.join(app.folder, "team.txt")
        with open(team, "wb") as f:
            f.write(b"tm1=one\r\n")
        app.write_triggers("; WordHatch_DEBUG\n{include team.txt}\nab1=main\n")
        self.wait_loaded(app.start_and_wait_window(), 2)
        self.loaded = 1
        self.assertEventually(lambda: self.loads() == 1, message="the first load logged")
        target = self.start_target()
        target.focus()
        self.write_in_pieces(team, b"tm2", b"=two", b"\r\n")
        self.input.type_text("tm2")
        self.wait_target(target, "two")
        self.assertEqual(self.loads(), 2, "loaded once")
        with open(team + ".swp", "wb") as f:
            f.write(b"tm3=swap\r\n")
        deadline = time.monotonic() + QUIET_TIME
        while time.monotonic() < deadline:
            self.assertEqual(self.loads(), 2, "the swap file loaded the table")
            time.sleep(harness.POLL_INTERVAL)
        self.write_in_pieces(team, b"tm3=three\r\n")
        self.input.type_text(" tm3")
        self.wait_target(target, "two three")
        self.assertEqual(self.loads(), 3)

    def test_a_change_on_disk_asks_which_text_to_keep(self):
        app = self.wordhatch()
        app.write_triggers("aa9=one\n")
        hwnd = app.start_and_wait_window()
        self.wait_loaded(hwnd, 1)
        title = self.probe.title(hwnd)
        self.input.type_text("zz9=mine\n")
        mine = "zz9=mine\r\naa9=one\r\n"
        self.assertEventually(lambda: self.editor_text(hwnd) == mine, message="the typed line")
        # No, the default, keeps the typed text unsaved; Yes shows the file. Each loads the table.
        for answer, disk in (("Return", "aa9=one\nbb9=two\n"), ("y", "aa9=one\nbb9=two\ncc9=three\n")):
            app.write_triggers(disk)
            box = self.wait_dialog(CAPTION, hwnd)
            self.assertIn(QUESTION % harness.windows_path(app.txt_path), self.dialog_texts(box))
            self.input.press(answer)
            self.wait_no_dialog(CAPTION, hwnd)
            self.wait_loaded(hwnd, disk.count("\n"))
            kept = answer == "Return"
            self.assertEqual(self.editor_text(hwnd), mine if kept else disk.replace("\n", "\r\n"))
            self.assertEqual(self.probe.title(hwnd), title + CHANGED_MARK if kept else title)
        self.assertIsNone(self.dialog(CAPTION, hwnd), "asked once for each change")


if __name__ == "__main__":
    harness.main()

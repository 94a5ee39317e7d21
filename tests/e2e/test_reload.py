"""Reload on change: a trigger file that another program changes is loaded again once the change
has settled, a burst of writes once; another file of the folder loads nothing; and a change on
disk while the editor holds unsaved changes asks which text to keep."""
import os
import re
import time

import harness
from expansion_e2e import ExpansionTestCase
from shell_e2e import CAPTION, CHANGED_MARK

MAIN = "; WordHatch_DEBUG\n{include team.txt}\nab1=main\n"
PIECE_GAP = 0.1       # between the pieces of one write: the input of the test
FIRES_WITHIN = 2.0    # a change has loaded within this after its last piece
SETTLE_WINDOW = 1.5   # more than the settle time and a look again: a load would have come by then
QUESTION = ("The trigger file\n\n%s\n\nwas changed by another program, and the editor holds changes that are "
            "not saved.\n\nYes: show the file as it is now, and lose your changes.\nNo: keep your changes in the "
            "editor; saving writes them over the file.")


class ReloadTest(ExpansionTestCase):
    def loads(self):
        """Loads of the main file so far, by the debug log's line for it."""
        if not os.path.exists(self.log):
            return 0
        with open(self.log, "rb") as f:
            text = f.read().decode("cp1252", "replace")
        return len(re.findall(r"^\d\d:\d\d:\d\d Loaded .*\\WordHatch\.txt: \d+ triggers\r$", text, re.M))

    def append_in_pieces(self, path, *pieces):
        for number, piece in enumerate(pieces):
            if number:
                time.sleep(PIECE_GAP)
            with open(path, "ab") as f:
                f.write(piece)

    def assertLoadsStay(self, count):
        deadline = time.monotonic() + SETTLE_WINDOW
        while time.monotonic() < deadline:
            self.assertEqual(self.loads(), count, "a load came")
            time.sleep(harness.POLL_INTERVAL)

    def test_an_added_trigger_fires_after_one_load_and_a_swap_file_loads_nothing(self):
        self.log = self.debug_log_path()
        if os.path.exists(self.log):
            os.remove(self.log)
        self.addCleanup(lambda: os.path.exists(self.log) and os.remove(self.log))
        app = self.wordhatch()
        team = os.path.join(app.folder, "team.txt")
        with open(team, "wb") as f:
            f.write(b"tm1=one\r\n")
        app.write_triggers(MAIN)
        hwnd = app.start_and_wait_window()
        self.wait_loaded(hwnd, 2)
        self.assertEventually(lambda: self.loads() == 1, message="the first load logged")
        target = self.start_target()
        target.focus()
        self.append_in_pieces(team, b"tm2", b"=two", b"\r\n")
        harness.wait_until(lambda: self.loads() > 1, FIRES_WITHIN, "the reload")
        self.wait_loaded(hwnd, 3)
        self.input.type_text("tm2")
        self.wait_target(target, "two")
        self.assertEqual(self.loads(), 2, "loaded once")
        with open(team + ".swp", "wb") as f:
            f.write(b"tm3=swap\r\n")
        self.assertLoadsStay(2)
        self.append_in_pieces(team, b"tm3=three\r\n")
        harness.wait_until(lambda: self.loads() > 2, FIRES_WITHIN, "the reload")
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
        question = QUESTION % harness.windows_path(app.txt_path)
        for answer, disk in (("Return", "aa9=one\nbb9=two\n"), ("y", "aa9=one\nbb9=two\ncc9=three\n")):
            app.write_triggers(disk)
            box = self.wait_dialog(CAPTION, hwnd)
            self.assertIn(question, self.dialog_texts(box))
            self.input.press(answer)
            self.wait_no_dialog(CAPTION, hwnd)
            self.wait_loaded(hwnd, disk.count("\n"))
            if answer == "Return":  # No, the default: the table from disk, the editor as typed
                self.assertEqual(self.editor_text(hwnd), mine)
                self.assertEqual(self.probe.title(hwnd), title + CHANGED_MARK, "still unsaved")
            else:
                self.assertEqual(self.editor_text(hwnd), disk.replace("\n", "\r\n"))
                self.assertEqual(self.probe.title(hwnd), title)
        self.assertIsNone(self.dialog(CAPTION, hwnd), "asked once for each change")


if __name__ == "__main__":
    harness.main()

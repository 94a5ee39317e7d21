"""The trigger editor driven with real keys: the changed mark, Save (byte for byte, reload, caret),
the save prompt, Save As and Open through the accelerators, and a save that cannot write."""
import os

import harness
from shell_e2e import CAPTION, CHANGED_MARK, TITLE_PREFIX, ShellTestCase, read_bytes, read_settings

TRIGGERS = "aa9=one\nbb9=two\n"
SAVE_PROMPT = "Save changes?\n\n(Press Cancel to return to program)"
SAVE_FAILURE = "Unable to save the trigger file"
CANNOT_READ = " * * * WARNING: The trigger file is in use or access is denied!"
OVER_UNREAD = ("The trigger file\n\n%s\n\ncould not be read, so the editor does not hold its text. Saving writes "
               "the editor's text over the whole file.\n\nSave anyway?")
KEPT_TEXT = ("  * * * The editor keeps the text typed while the file could not be read: Save asks before writing it "
             "over the file.")


class EditorTest(ShellTestCase):
    def start_with_triggers(self, text=TRIGGERS, count=2):
        app = self.wordhatch()
        app.write_triggers(text)
        hwnd = app.start_and_wait_window()
        self.wait_loaded(hwnd, count)
        self.title = TITLE_PREFIX + harness.windows_path(app.txt_path)
        self.assertEqual(self.probe.title(hwnd), self.title)
        return app, hwnd

    def test_typing_marks_the_title_once(self):
        app, hwnd = self.start_with_triggers()
        self.input.type_text("q")
        self.assertEventually(lambda: self.probe.title(hwnd) == self.title + CHANGED_MARK, message="the mark")
        self.input.type_text("rs")
        self.assertEventually(lambda: self.editor_text(hwnd).startswith("qrs"), message="all keys typed")
        self.assertEqual(self.probe.title(hwnd), self.title + CHANGED_MARK, "the mark is added once")

    def test_ctrl_s_writes_the_text_reloads_and_keeps_the_caret(self):
        app, hwnd = self.start_with_triggers()
        self.input.type_text("cc9=three\n")
        expected = "cc9=three\r\naa9=one\r\nbb9=two\r\n"
        self.assertEventually(lambda: self.editor_text(hwnd) == expected, message="the typed line")
        caret = len("cc9=three\r\n")
        self.assertEqual(self.selection(hwnd), (caret, caret))
        self.input.press("ctrl+s")
        self.assertEventually(lambda: read_bytes(app.txt_path) == expected.encode(), message="the file written")
        self.wait_loaded(hwnd, 3)
        self.assertEventually(lambda: self.probe.title(hwnd) == self.title, message="the mark dropped")
        self.assertEqual(self.selection(hwnd), (caret, caret), "the caret where it was before the save")
        self.assertFalse(os.path.exists(app.txt_path + ".saving"))
        self.assertEqual(read_settings(app.ini_path).get("file"), harness.windows_path(app.txt_path))
        # Saved and reloaded: the text counts as unchanged, so closing asks nothing.
        self.assertEqual(app.close(), 0)

    def test_close_with_changes_asks_and_cancel_keeps_running(self):
        app, hwnd = self.start_with_triggers()
        self.input.type_text("z")
        self.assertEventually(lambda: self.probe.title(hwnd).endswith(CHANGED_MARK), message="the mark")
        self.probe.close(hwnd)
        box = self.wait_dialog(CAPTION, hwnd)
        self.assertIn(SAVE_PROMPT, self.dialog_texts(box))
        self.input.press("Escape")
        self.wait_no_dialog(CAPTION, hwnd)
        self.assertTrue(app.processes[0].running(), "Cancel ended the program")
        self.assertEqual(app.main_window(), hwnd)
        self.assertTrue(self.editor_text(hwnd).startswith("z"), "the text is kept")
        self.assertEqual(read_bytes(app.txt_path), TRIGGERS.replace("\n", "\r\n").encode(), "nothing was saved")

    def test_ctrl_a_opens_save_as(self):
        app, hwnd = self.start_with_triggers()
        self.input.press("ctrl+a")
        self.wait_dialog("Save As", hwnd)
        self.input.press("Escape")
        self.wait_no_dialog("Save As", hwnd)
        self.assertEqual(self.selection(hwnd), (0, 0), "Ctrl+A is not Select All")
        self.assertEqual(self.probe.title(hwnd), self.title, "a cancelled Save As changes nothing")

    def test_save_as_a_name_without_extension(self):
        app, hwnd = self.start_with_triggers()
        self.input.type_text("cc9=three\n")
        expected = "cc9=three\r\naa9=one\r\nbb9=two\r\n"
        self.assertEventually(lambda: self.editor_text(hwnd) == expected, message="the typed line")
        chosen = os.path.join(app.folder, "mytriggers")
        self.input.press("ctrl+a")
        self.wait_dialog("Save As", hwnd)
        self.input.type_text(harness.windows_path(chosen) + "\n")
        self.wait_no_dialog("Save As", hwnd)
        self.assertEventually(lambda: os.path.exists(chosen) and read_bytes(chosen) == expected.encode(),
                              message="the text saved as %s" % chosen)
        self.wait_loaded(hwnd, 3)
        self.assertEventually(lambda: self.probe.title(hwnd) == TITLE_PREFIX + harness.windows_path(chosen),
                              message="the new name in the title")
        self.assertEqual(read_settings(app.ini_path).get("file"), harness.windows_path(chosen))
        self.assertEqual(read_bytes(app.txt_path), TRIGGERS.replace("\n", "\r\n").encode(), "the old file stays")

    def test_open_loads_another_file_and_records_it(self):
        app, hwnd = self.start_with_triggers()
        other = os.path.join(app.folder, "other.txt")
        with open(other, "wb") as f:
            f.write(b"zz9=other\r\n")
        self.input.press("ctrl+o")
        self.wait_dialog("Open", hwnd)
        self.input.type_text(harness.windows_path(other) + "\n")
        self.wait_no_dialog("Open", hwnd)
        self.wait_loaded(hwnd, 1)
        self.assertEqual(self.editor_text(hwnd), "zz9=other\r\n")
        self.assertEqual(self.probe.title(hwnd), TITLE_PREFIX + harness.windows_path(other))
        self.assertEqual(read_settings(app.ini_path).get("file"), harness.windows_path(other))

    def test_failed_save_keeps_the_file_and_the_text(self):
        app, hwnd = self.start_with_triggers()
        self.input.type_text("zz9=new\n")
        edited = "zz9=new\r\naa9=one\r\nbb9=two\r\n"
        self.assertEventually(lambda: self.editor_text(hwnd) == edited, message="the typed line")
        old = read_bytes(app.txt_path)
        self.make_immutable(app.folder)
        self.input.press("ctrl+s")
        box = self.wait_dialog(CAPTION, hwnd)
        self.assertTrue(any(text.startswith(SAVE_FAILURE) for text in self.dialog_texts(box)),
                        "message: %r" % self.dialog_texts(box))
        self.assertEqual(read_bytes(app.txt_path), old)
        self.input.press("Return")
        self.wait_no_dialog(CAPTION, hwnd)
        self.assertEqual(self.editor_text(hwnd), edited, "the editor keeps the user's text")
        self.assertEqual(self.probe.title(hwnd), self.title + CHANGED_MARK, "still unsaved")
        self.assertEqual(read_bytes(app.txt_path), old)
        self.assertFalse(os.path.exists(app.txt_path + ".saving"))
        self.assertTrue(app.processes[0].running())

    def test_a_file_held_at_start_is_not_written_over(self):
        app = self.wordhatch()
        app.write_triggers("aa9=one\nbb9=two\ncc9=three\n")
        whole = read_bytes(app.txt_path)
        self.probe.hold_file(app.txt_path)
        hwnd = app.start_and_wait_window()
        self.assertEventually(lambda: self.status_text(hwnd).startswith(CANNOT_READ), message="the warning")
        self.assertIn("(in use by another program)", self.status_text(hwnd))
        self.input.type_text("dd9=four\n")
        self.assertEventually(lambda: self.editor_text(hwnd) == "dd9=four\r\n", message="the typed line")
        self.probe.release_file(app.txt_path)
        self.input.press("ctrl+s")
        box = self.wait_dialog(CAPTION, hwnd)
        self.assertIn(OVER_UNREAD % harness.windows_path(app.txt_path), self.dialog_texts(box))
        self.input.press("Return")  # No, the default
        self.wait_no_dialog(CAPTION, hwnd)
        self.assertEqual(read_bytes(app.txt_path), whole, "the file is whole")
        self.assertEqual(self.editor_text(hwnd), "dd9=four\r\n", "the typed line is kept")
        self.assertTrue(self.probe.title(hwnd).endswith(CHANGED_MARK), "still unsaved")
        # Read again on its own once it was let go: the triggers load, the typed line stays.
        self.assertEventually(lambda: self.status_text(hwnd) == " Triggers Loaded: 3%s " % KEPT_TEXT,
                              message="the triggers loaded, the text kept")
        self.assertEqual(self.editor_text(hwnd), "dd9=four\r\n")

    def test_failed_save_as_keeps_the_old_name(self):
        app, hwnd = self.start_with_triggers()
        self.input.type_text("zz9=new\n")
        edited = "zz9=new\r\naa9=one\r\nbb9=two\r\n"
        self.assertEventually(lambda: self.editor_text(hwnd) == edited, message="the typed line")
        locked = os.path.join(app.folder, "locked")
        os.makedirs(locked)
        self.make_immutable(locked)
        self.input.press("ctrl+a")
        self.wait_dialog("Save As", hwnd)
        self.input.type_text(harness.windows_path(os.path.join(locked, "new.txt")) + "\n")
        self.wait_no_dialog("Save As", hwnd)
        self.wait_dialog(CAPTION, hwnd)
        self.input.press("Return")
        self.wait_no_dialog(CAPTION, hwnd)
        self.assertEqual(self.probe.title(hwnd), self.title + CHANGED_MARK)
        # The next Save goes to the file the title names.
        self.input.press("ctrl+s")
        self.assertEventually(lambda: read_bytes(app.txt_path) == edited.encode(), message="the old file saved")
        self.assertEventually(lambda: self.probe.title(hwnd) == self.title, message="the mark dropped")
        self.assertEqual(os.listdir(locked), [])


if __name__ == "__main__":
    harness.main()

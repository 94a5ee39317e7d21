"""WordHatch starts with its main window, child controls and menu, and stays a single instance."""
import harness
from wordhatch_menu import MAIN_MENU, menu_tree

EDITOR_ID = 4001
STATUS_BAR_ID = 4002
SECOND_START_TIMEOUT = 15


class StartupTest(harness.E2ETestCase):
    def test_main_window_shows_editor_and_status_bar(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.assertEqual(self.probe.window_class(hwnd), harness.MAIN_CLASS)
        state = self.probe.state(hwnd)
        self.assertTrue(state.visible and not state.minimized, "main window not shown normally: %r" % (state,))
        children = {child.id: child for child in self.probe.children(hwnd)}
        self.assertIn(EDITOR_ID, children, "no editor among the children %r" % list(children.values()))
        self.assertIn(STATUS_BAR_ID, children, "no status bar among the children %r" % list(children.values()))
        self.assertEqual(children[EDITOR_ID].cls.lower(), "edit")
        self.assertEqual(children[STATUS_BAR_ID].cls.lower(), "msctls_statusbar32")
        self.assertTrue(children[EDITOR_ID].visible and children[STATUS_BAR_ID].visible)

    def test_main_window_has_the_program_menu(self):
        app = self.wordhatch()
        hwnd = app.start_and_wait_window()
        self.assertEqual(menu_tree(self.probe.menu(hwnd)), MAIN_MENU)

    def test_second_start_leaves_one_window_and_exits_with_zero(self):
        app = self.wordhatch()
        first_window = app.start_and_wait_window()
        second = app.start()
        self.assertEqual(second.wait(SECOND_START_TIMEOUT), 0, "exit code of the second start")
        self.assertEqual(self.probe.count(harness.MAIN_CLASS), 1, "main windows after a second start")
        self.assertEqual(app.main_window(), first_window, "the first instance's window was replaced")
        self.assertTrue(app.processes[0].running(), "the first instance ended when the second started")


if __name__ == "__main__":
    harness.main()

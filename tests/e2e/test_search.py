"""The search window under Wine: opened by a {Search} hotkey in the test window over a file of
2,000 triggers, it has the focus at once; the query typed finds the trigger typed exactly first and
fires nothing itself; Enter plays the chosen output into the test window (plain, with {Enter},
and a long one that is pasted); Escape types nothing; the last query comes back. At 150 % its
letters are half as tall again as at 100 %, and so is a first main window's default size."""
import harness
from expansion_e2e import ExpansionTestCase, ARRIVAL_TIMEOUT
from options_e2e import reg

SEARCH_CLASS = "WordHatch_Search_Class"
SEARCH_TITLE = "WordHatch Search"
QUERY_ID = 1
ROWS_ID = 2
LB_GETCOUNT = 0x018B
LB_GETITEMHEIGHT = 0x01A1
# Wine's DPI: read by each program as it starts.
DPI_KEY = r"HKCU\Control Panel\Desktop"
DPI_VALUE = "LogPixels"
LONG_OUTPUT = "".join("word%03d " % i for i in range(125))[:1000]


def search_triggers():
    lines = ["{control}{alt}{Space}={Search}", "; my postal address", "addr=1 Long Road{Enter}Springfield",
             "ad=advertisement", "long=" + LONG_OUTPUT]
    for i in range(2000 - 4):
        if i % 10 == 0:
            lines.append("; label of number %d" % i)
        lines.append("x%04d=output number %d" % (i, i))
    return "\r\n".join(lines) + "\r\n", 2000


class SearchTest(ExpansionTestCase):
    def open_search(self):
        """Presses the search hotkey and returns the window as soon as it can be found."""
        self.input.press("ctrl+alt+space")
        return self.assertEventually(lambda: self.probe.find(SEARCH_CLASS, SEARCH_TITLE), ARRIVAL_TIMEOUT,
                                     "the search window")

    def rows(self, window):
        return next(child.hwnd for child in self.probe.children(window) if child.id == ROWS_ID)

    def query(self, window):
        return self.probe.text(window, QUERY_ID)

    def read_dpi(self):
        """The LogPixels value as reg prints it ("REG_DWORD", "0x90"), or None when there is none."""
        code, output = reg(self.session, "query", DPI_KEY, "/v", DPI_VALUE)
        for line in output.splitlines() if code == 0 else []:
            fields = line.split()
            if len(fields) == 3 and fields[0] == DPI_VALUE:
                return fields[1], fields[2]
        return None

    def write_dpi(self, kind, data):
        code, output = reg(self.session, "add", DPI_KEY, "/v", DPI_VALUE, "/t", kind, "/d", data, "/f")
        self.assertEqual(code, 0, output)

    def restore_dpi(self, saved):
        if saved is None:
            reg(self.session, "delete", DPI_KEY, "/v", DPI_VALUE, "/f")
        else:
            self.write_dpi(*saved)
        self.assertEqual(self.read_dpi(), saved, "the DPI as it was before the test")

    def sizes_at(self, dpi):
        """(search row height, main window width, height) of a WordHatch started at `dpi` without
        a stored placement; it is stopped after."""
        self.write_dpi("REG_DWORD", str(dpi))
        app, hwnd, target = self.start_expander("{control}{alt}{Space}={Search}\r\nad=advertisement\r\n", 2)
        left, top, right, bottom = self.probe.state(hwnd).rect
        window = self.open_search()
        height = self.probe.send(self.rows(window), LB_GETITEMHEIGHT, 0)
        self.input.press("Escape")
        self.assertEventually(lambda: not self.probe.state(window).exists, message="the search window to close")
        app.stop()
        target.stop()
        self.assertEventually(lambda: self.probe.count(harness.MAIN_CLASS) == 0, message="WordHatch to end")
        return height, right - left, bottom - top

    def test_letters_and_first_size_follow_the_dpi(self):
        self.addCleanup(self.restore_dpi, self.read_dpi())
        normal, normal_width, normal_height = self.sizes_at(96)
        large, large_width, large_height = self.sizes_at(144)
        self.assertGreater(normal, 0)
        # The font's height and the rows' padding both scale; a pixel of rounding either way.
        self.assertLessEqual(abs(large - normal * 3 / 2), 1, "rows %d high at 100 %%, %d at 150 %%" % (normal, large))
        self.assertEqual((normal_width, normal_height), (780, 550))
        self.assertEqual((large_width, large_height), (1170, 825))

    def test_find_choose_and_cancel(self):
        triggers, count = search_triggers()
        app, hwnd, target = self.start_expander(triggers, count)
        window = self.open_search()
        self.assertEqual(self.probe.focus_info(window)["focus_id"], QUERY_ID)
        # Typed at once: each letter lands in the query, and "ad" is an abbreviation that must not fire.
        self.input.type_text("ad")
        self.assertEventually(lambda: self.query(window) == "ad", message="the query (%r)" % self.query(window))
        self.assertEqual(self.probe.send(self.rows(window), LB_GETCOUNT), 2, "ad, and addr with its label")
        self.input.press("Return")
        self.wait_target(target, "advertisement")
        self.assertEventually(lambda: self.probe.foreground() == target.hwnd, message="the target in front again")

        window = self.open_search()
        self.assertEqual(self.query(window), "ad", "the last query comes back")
        self.input.type_text("addr")
        self.assertEventually(lambda: self.query(window) == "addr", message="typing replaces the last query")
        self.input.press("Return")
        self.wait_target(target, "advertisement1 Long Road\nSpringfield")

        # The long output is pasted: the next hotkey waits for the paste to end, when the user's
        # clipboard is back, as keys pressed while it waits reach a window whose input is shared.
        self.probe.set_clipboard("the user's own")
        window = self.open_search()
        self.input.type_text("long")
        self.assertEventually(lambda: self.query(window) == "long")
        self.input.press("Return")
        self.wait_target(target, "advertisement1 Long Road\nSpringfield" + LONG_OUTPUT)
        self.assertEventually(lambda: self.probe.clipboard() == "the user's own", message="the clipboard back")

        window = self.open_search()
        self.input.type_text("x0001")
        self.assertEventually(lambda: self.query(window) == "x0001")
        self.input.press("Escape")
        self.assertEventually(lambda: not self.probe.state(window).exists, message="the search window to close")
        self.assertEventually(lambda: self.probe.foreground() == target.hwnd, message="the target in front again")
        self.input.type_text("!")
        self.wait_target(target, "advertisement1 Long Road\nSpringfield" + LONG_OUTPUT + "!")


if __name__ == "__main__":
    harness.main()

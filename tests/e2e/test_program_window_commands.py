"""Outputs that start programs and bring windows forward: "RUN: " and "WINDOW: " through the
real program and real keys."""
import harness
from expansion_e2e import ARRIVAL_TIMEOUT
from commands_e2e import CommandTestCase, CHECK_TRIGGER, CHECK_OUTPUT, NOTEPAD_CLASS, PLAIN_TARGET_TITLE

MISSING_PROGRAM = "wh_no_such_program"
MISSING_TITLE = "No Such Window Here"
ALPHA_TITLE = "Alpha Report - Editor"
BETA_TITLE = "Beta Notes - Editor"
HUNG_TITLE = "Hung Program - Editor"


class ProgramWindowCommandsTest(CommandTestCase):
    def test_run_starts_notepad(self):
        app, hwnd, target = self.start_expander("rnp=RUN: notepad\n")
        self.input.type_text("rnp")
        self.wait_window(NOTEPAD_CLASS)

    def test_run_of_a_path_with_blanks_starts_on_the_second_attempt(self):
        # The first attempt asks for C:\whx, which does not exist.
        path = self.copy_target_to("whx run test", "tool.exe")
        app, hwnd, target = self.start_expander("rpb=RUN: %s\n" % path)
        self.input.type_text("rpb")
        self.wait_window(harness.TARGET_CLASS, PLAIN_TARGET_TITLE)

    def test_run_of_a_missing_program_warns_and_types_nothing_more(self):
        triggers = "rmp=RUN: %s{Enter}after\n%s=%s\n" % (MISSING_PROGRAM, CHECK_TRIGGER, CHECK_OUTPUT)
        app, hwnd, target = self.start_expander(triggers)
        self.input.type_text("rmp")
        self.close_warning('"%s"' % MISSING_PROGRAM, "Unable to run program", hwnd)
        self.assert_output_ended(hwnd, target, triggers)

    def test_window_by_exact_title_prefix_and_containment(self):
        # Each trigger is typed into one target and its output arrives in the other. Under Wine the
        # keys that the old window has not yet taken when the new one comes forward go to the new
        # one, so Backspaces of the erase may land on either side: only the arrival is compared.
        triggers = ("wa1=WINDOW: %s{Delay=0}1\n" % ALPHA_TITLE + "wb2=WINDOW: beta not{Delay=0}2\n"
                    "wa3=WINDOW: report - ed{Delay=0}3\n")
        app, hwnd, alpha = self.start_expander(triggers)
        beta = self.start_target(title=BETA_TITLE)
        self.probe.move(alpha.hwnd, 0, 400, 480, 320)  # both stay visible side by side
        self.probe.call("settext", hex(alpha.hwnd), 0, ALPHA_TITLE)
        alpha.title = ALPHA_TITLE
        beta.focus()
        for trigger, window, digit in (("wa1", alpha, "1"), ("wb2", beta, "2"), ("wa3", alpha, "3")):
            self.input.type_text(trigger)
            self.assertEventually(lambda: window.text().endswith(digit), ARRIVAL_TIMEOUT,
                                  lambda: "%r in %r (it holds %r)" % (digit, window.title, window.text()))
            self.assertEventually(lambda: self.probe.foreground() == window.hwnd,
                                  message="%s brought %r forward" % (trigger, window.title))
        self.assertNotIn("3", beta.text())

    def test_a_window_that_hangs_holds_up_nothing(self):
        # Brought forward, a window whose program reads no messages answers none: the output goes
        # on into the next window at once, long before the hang ends.
        triggers = "wh1=WINDOW: %s{Delay=0}WINDOW: %s{Delay=0}after\n" % (HUNG_TITLE, ALPHA_TITLE)
        app, hwnd, alpha = self.start_expander(triggers)
        hung = self.start_target(title=HUNG_TITLE)
        self.probe.move(alpha.hwnd, 0, 400, 480, 320)
        self.probe.call("settext", hex(alpha.hwnd), 0, ALPHA_TITLE)
        alpha.title = ALPHA_TITLE
        alpha.focus()
        hung.hang()
        self.input.type_text("wh1")
        self.wait_target(alpha, "after")

    def test_window_not_found_warns_and_types_nothing_more(self):
        triggers = "wnf=WINDOW: %s{Enter}after\n%s=%s\n" % (MISSING_TITLE, CHECK_TRIGGER, CHECK_OUTPUT)
        app, hwnd, target = self.start_expander(triggers)
        self.input.type_text("wnf")
        self.close_warning(MISSING_TITLE, "Window not found", hwnd)
        self.assert_output_ended(hwnd, target, triggers)


if __name__ == "__main__":
    harness.main()

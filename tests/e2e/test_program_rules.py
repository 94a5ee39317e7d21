"""Program rules under Wine: one abbreviation with an output of its own in Notepad, in the test
window and in a third program; lines kept out of Notepad; a title pattern; a hotkey for one
program; nothing kept of keys typed where no trigger may fire; and {Program} | {Title}."""
import harness
from commands_e2e import CommandTestCase

RULE_TRIGGERS = (
    "; one abbreviation, three outputs\r\n"
    "sig{in notepad.exe}=From Notepad\r\n"
    "sig{in TARGET.exe}=From the target\r\n"
    "sig=From elsewhere\r\n"
    "{not in notepad.exe}\r\n"
    "nn=not Notepad\r\n"
    "{in title Rules *}\r\n"
    "tt=titled\r\n"
    "{control}{alt}h{in third.exe}=hotkey\r\n"
    "{everywhere}\r\n"
    "wi={Program} | {Title}\r\n")
RULE_COUNT = 7
THIRD_TITLE = "Rules for a third program"
KEPT_OUT_TRIGGERS = "{not in secret.exe}\r\nbtw=by the way\r\n"


class ProgramRulesTest(CommandTestCase):
    def focus(self, window):
        self.probe.activate(window)
        self.assertEventually(lambda: self.probe.foreground() == window, message="the window in front")
        self.input.route_keyboard()

    def test_each_program_gets_its_own_output(self):
        app, hwnd, target = self.start_expander(RULE_TRIGGERS, RULE_COUNT)
        self.input.type_text("sig")
        self.wait_target(target, "From the target")
        # Not for the target: the title pattern and the hotkey do nothing; the next output shows
        # that nothing came before it.
        self.input.type_text(" tt ")
        self.input.press("ctrl+alt+h")
        self.input.type_text("nn")
        self.wait_target(target, "From the target tt not Notepad")
        self.input.type_text(" wi")
        self.wait_target(target, "From the target tt not Notepad target.exe | %s" % target.title)

        notepad, edit = self.start_notepad()
        self.focus(notepad)
        self.input.type_text("nn sig")
        self.assertEventually(lambda: self.probe.text(edit) == "nn From Notepad",
                              message="Notepad's own output (%r)" % self.probe.text(edit))

        third = self.start_target(title=THIRD_TITLE, program="third.exe")
        third.focus()
        self.input.type_text("sig tt ")
        self.input.press("ctrl+alt+h")
        self.wait_target(third, "From elsewhere titled hotkey")

    def test_keys_typed_where_nothing_may_fire_are_not_kept(self):
        app, hwnd, target = self.start_expander(KEPT_OUT_TRIGGERS, 1)
        secret = self.start_target(title="Passwords", program="secret.exe")
        secret.focus()
        self.input.type_text("bt")
        secret.wait_text("bt")
        target.focus()
        # The "w" completes nothing: its "bt" went to the other program and was never kept.
        self.input.type_text("w btw")
        self.wait_target(target, "w by the way")
        self.assertEqual(secret.text(), "bt")


if __name__ == "__main__":
    harness.main()

"""The fill-in form under Wine: a trigger whose output asks for a name (used twice), an order
number with a default and a choice of closing lines opens the form with the focus in its first
field; Tab, Down and Enter fill it in and the output arrives with the answers in place; Escape
types the abbreviation back; an answer of 1,000 characters arrives whole."""
import harness
from expansion_e2e import ExpansionTestCase, ARRIVAL_TIMEOUT

FORM_CLASS = "WordHatch_Form_Class"
FIRST_FIELD_ID = 100
REPLY = "ty=Dear {Input Name}, thank you for order {Input Order=#}. {Choice Sign=Best regards|Kind regards|Cheers}, {Input Name}?"


class FillInTest(ExpansionTestCase):
    def open_form(self):
        """Types the abbreviation and returns the form as soon as it can be found."""
        self.input.type_text("ty")
        return self.assertEventually(lambda: self.probe.find(FORM_CLASS, "ty"), ARRIVAL_TIMEOUT, "the fill-in form")

    def wait_closed(self, form, target):
        self.assertEventually(lambda: not self.probe.state(form).exists, message="the form to close")
        self.assertEventually(lambda: self.probe.foreground() == target.hwnd, message="the target in front again")

    def test_fill_in_cancel_and_long_answer(self):
        app, hwnd, target = self.start_expander(REPLY + "\r\n", 1)
        form = self.open_form()
        self.assertEqual(self.probe.focus_info(form)["focus_id"], FIRST_FIELD_ID)
        self.input.type_text("Ann")
        self.assertEventually(lambda: self.probe.text(form, FIRST_FIELD_ID) == "Ann", message="the name typed in")
        self.input.press("Tab")
        self.input.type_text("42")
        self.input.press("Tab", "Down", "Return")
        reply = "Dear Ann, thank you for order 42. Kind regards, Ann?"
        self.wait_target(target, reply)
        self.wait_closed(form, target)

        form = self.open_form()
        self.input.press("Escape")
        self.wait_target(target, reply + "ty")
        self.wait_closed(form, target)

        long_name = "".join("name%03d " % i for i in range(125))[:1000]
        form = self.open_form()
        self.probe.set_text(form, FIRST_FIELD_ID, long_name)
        self.input.press("Return")
        self.wait_target(target, reply + "tyDear %s, thank you for order #. Best regards, %s?" % (long_name, long_name))
        self.wait_closed(form, target)


if __name__ == "__main__":
    harness.main()

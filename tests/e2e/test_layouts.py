"""Outputs on any keyboard layout, with real keys: the German and French X keymaps, characters
that the layout has no key for, an ANSI and a Unicode window, and the keys typed just before a
warning box comes forward; abbreviations typed with AltGr (German, Polish) and a dead key (French)."""
import harness
from commands_e2e import CommandTestCase

# AltGr characters and two letters that the German layout has keys for (Wine finds no key for
# them, so they arrive as Unicode characters).
GERMAN_OUTPUT = "a@b.de [1] c:\\x {}|~ \u00e4\u00df"
# Digits are Shift characters on the French layout.
FRENCH_OUTPUT = "0123456789 \u00e9 \u00e7 num\u00e9ro"
# No key on the US layout, all in Windows-1252.
ANSI_OUTPUT = "caf\u00e9 na\u00efve \u20ac"
# Beyond the code page and beyond U+FFFF, from a trigger file in UTF-8.
UTF8_OUTPUT = "\u2192 \u03a9 \U0001F600 end"
# Abbreviations typed with AltGr and with a dead key, in a UTF-8 file.
COMPOSED_TRIGGERS = "m@x=[at]\ne\u20acq=[euro]\nm\u0105q=[ogonek]\nc\u00eaq=[circumflex]\n"
RUN_TRIES = 20
BEFORE_BOX_OUTPUT = "Then, (A+b)? {ShiftDown}held{ShiftUp}! "
BEFORE_BOX_TYPED = "Then, (A+b)? HELD! "
MISSING_PROGRAM = "nothing_here"


class LayoutsTest(CommandTestCase):
    def type_into_both_windows(self, trigger, triggers, expected):
        """Fires `trigger` into a Unicode target, then into an ANSI one."""
        app, hwnd, target = self.start_expander(triggers)
        self.input.type_text(trigger)
        self.wait_target(target, expected)
        ansi = self.start_target(ansi=True)
        ansi.focus()
        self.input.type_text(trigger)
        self.wait_target(ansi, expected)

    def test_german_layout(self):
        self.use_x_keymap("de")
        self.type_into_both_windows("gmx", "gmx=%s\n" % GERMAN_OUTPUT, GERMAN_OUTPUT)

    def test_an_abbreviation_typed_with_a_german_shift_key_fires(self):
        # "/" is Shift+7 there; the US pair of that key is "&".
        self.use_x_keymap("de")
        app, hwnd, target = self.start_expander("u/s=United States\n")
        self.input.type_text("u")
        self.input.press("shift+7")
        self.input.type_text("s")
        self.wait_target(target, "United States")

    def test_an_abbreviation_typed_with_a_uk_shift_key_fires(self):
        # "@" is Shift+' on the UK layout.
        self.use_x_keymap("gb")
        app, hwnd, target = self.start_expander("m@=my address\n")
        self.input.type_text("m")
        self.input.press("shift+apostrophe")
        self.wait_target(target, "my address")

    def start_on_keymap(self, layout):
        """WordHatch with the composed abbreviations, started on the X keymap `layout`."""
        self.use_x_keymap(layout)
        return self.start_expander(COMPOSED_TRIGGERS, encoding="utf-8")[2]

    def test_abbreviations_typed_with_german_altgr_fire(self):
        target = self.start_on_keymap("de")
        self.input.press("m", "altgr+q", "x")
        self.wait_target(target, "[at]")
        self.input.press("e", "altgr+e", "q")
        self.wait_target(target, "[at][euro]")

    def test_an_abbreviation_typed_with_polish_altgr_fires(self):
        target = self.start_on_keymap("pl")
        self.input.press("m", "altgr+a", "q")
        self.wait_target(target, "[ogonek]")

    def test_an_abbreviation_typed_with_a_french_dead_key_fires(self):
        target = self.start_on_keymap("fr")
        self.input.press("c", "dead_circumflex", "e", "q")
        self.wait_target(target, "[circumflex]")

    def test_french_layout(self):
        self.use_x_keymap("fr")
        self.type_into_both_windows("frx", "frx=%s\n" % FRENCH_OUTPUT, FRENCH_OUTPUT)

    def test_characters_of_an_ansi_file_without_a_us_key(self):
        self.type_into_both_windows("cnv", "cnv=%s\n" % ANSI_OUTPUT, ANSI_OUTPUT)

    def test_a_utf8_output_beyond_the_code_page(self):
        app = self.wordhatch()
        app.write_triggers("utx=%s\n" % UTF8_OUTPUT, encoding="utf-8")
        hwnd = app.start_and_wait_window()
        self.wait_loaded(hwnd, 1)
        target = self.start_target()
        target.focus()
        self.input.type_text("utx")
        self.wait_target(target, UTF8_OUTPUT)

    def test_keys_typed_before_a_warning_box_arrive_exactly_and_stay_in_their_window(self):
        # The wait for the keys taken before the box comes forward changes none of them:
        # capitals, shifted punctuation and a run typed with Shift held by the output.
        app, hwnd, target = self.start_expander("thn=%srun: %s\n" % (BEFORE_BOX_OUTPUT, MISSING_PROGRAM))
        for tries in range(1, RUN_TRIES + 1):
            target.focus()
            self.input.type_text("thn")
            self.close_warning('"%s"' % MISSING_PROGRAM, "Unable to run program", hwnd)
            self.assertEqual(target.text(), BEFORE_BOX_TYPED * tries, "try %d" % tries)


if __name__ == "__main__":
    harness.main()

"""Whole-word corrections that follow the typed case: a list of tens of thousands of them, loaded
after a "{word}{case}" options line, fixes the misspellings of a paragraph typed with real keys
and leaves every other word of it alone; Backspace right after a correction puts back what was
typed, and the lines above the options line still fire at once, inside words too."""
import re
import time

import harness
from expansion_e2e import ExpansionTestCase

GENERATED_COUNT = 30000
# Loading this many lines, and showing them in the editor, under Wine on a loaded machine.
LOAD_TIMEOUT = 120.0
PLAIN_LINES = "zqv=[fired]\r\n"  # above the options line: fires at once, inside words too
OPTIONS_LINE = "{word}{case}\r\n"
# Real misspellings and, between them, heads and tails of words of the paragraph below, which
# fire only as whole words and so never inside those words; spread from the list's start to its end.
SPECIAL = [("teh", "the"), ("ake", "WRONG"), ("recieve", "receive"), ("ser", "WRONG"), ("wich", "which"),
           ("bject", "WRONG"), ("thier", "their"), ("ect", "WRONG"), ("becuase", "because"), ("pro", "WRONG"),
           ("adn", "and")]

# The paragraph as typed, each misspelling marked <typed|corrected>: the key after each one ends
# the word, and the typing waits there for the correction to arrive.
PARAGRAPH = (
    "<Teh|The> new program must <recieve|receive> every key that a user types, <adn|and> it must never "
    "make a good word worse. <Wich|Which> object should we protect first? We asked <thier|their> team, "
    "<becuase|because> they know the subject best. One short word (<teh|the>) was served wrong to us, so "
    "<teh|the>, sorry, THE LIST WAS FIXED FOR <TEH|THE> PEOPLE WHO SERVE <THIER|THEIR> USERS. Did they "
    "say <wich|which>? Every project keeps <thier|their>. <Becuase|Because> of that, we made it again.")
MARK = re.compile(r"<([^|>]+)\|([^>]+)>(.)", re.S)


def letters(n):
    """The n-th string of the bijective base-26 count "a".."z", "aa".."zz", "aaa".. (n from 1)."""
    text = ""
    while n:
        n, digit = divmod(n - 1, 26)
        text = chr(ord("a") + digit) + text
    return text


def correction_list():
    """The trigger file: the plain lines, the options line, then GENERATED_COUNT corrections of
    made-up words ("xq" begins no English word) with the planted ones and the decoys spread over
    it. Returns (text, number of trigger lines)."""
    lines = ["xq%s=fix%05d" % (letters(n), n) for n in range(1, GENERATED_COUNT + 1)]
    for index, (typo, fix) in enumerate(SPECIAL):
        lines.insert(index * len(lines) // (len(SPECIAL) - 1), "%s=%s" % (typo, fix))
    return PLAIN_LINES + OPTIONS_LINE + "".join(line + "\r\n" for line in lines), PLAIN_LINES.count("=") + len(lines)


def paragraph_pieces():
    """[(keys to type, the paragraph as it should read once they have arrived)]: one piece ends
    with the character after each misspelling, the last one with the paragraph's end."""
    pieces, start = [], 0
    for match in MARK.finditer(PARAGRAPH):
        between = PARAGRAPH[start:match.start()]
        pieces.append((between + match.group(1) + match.group(3), between + match.group(2) + match.group(3)))
        start = match.end()
    pieces.append((PARAGRAPH[start:], PARAGRAPH[start:]))
    return pieces


class AutocorrectTest(ExpansionTestCase):
    def start_with_list(self):
        triggers, count = correction_list()
        app = self.wordhatch()
        app.write_triggers(triggers)
        started = time.monotonic()
        hwnd = app.start_and_wait_window()
        expected = " Triggers Loaded: %d " % count
        self.assertEventually(lambda: self.status_text(hwnd) == expected, LOAD_TIMEOUT,
                              "status %r (it shows %r)" % (expected, self.status_text(hwnd)))
        print("\nloaded %d triggers (%d KB) in %.1f s" % (count, len(triggers) // 1024, time.monotonic() - started))
        target = self.start_target("")
        target.focus()
        return target

    def type_and_check(self, target, keys, expected):
        """Types keys, waits until the target holds expected, and checks it holds exactly that."""
        self.input.type_text(keys)
        self.wait_target(target, expected)
        self.assertEqual(target.text(), expected)

    def test_a_typed_paragraph_arrives_with_its_misspellings_corrected_in_the_case_typed(self):
        target = self.start_with_list()
        text = ""
        for keys, arrived in paragraph_pieces():
            text += arrived
            self.type_and_check(target, keys, text)

    def test_lines_above_the_options_line_fire_at_once_and_backspace_undoes_a_correction(self):
        target = self.start_with_list()
        self.type_and_check(target, "azqv", "a[fired]")
        self.type_and_check(target, "b", "a[fired]b")
        # Tab and Enter end no word; the correction typed after them shows that none fired.
        self.input.type_text(" teh\tteh\n")
        text = "a[fired]b teh\tteh\n"
        self.type_and_check(target, "recieve ", text + "receive ")
        # Backspace right after a correction gives back the word as typed, and it stays.
        self.input.press("BackSpace")
        self.wait_target(target, text + "recieve")
        self.type_and_check(target, " ", text + "recieve ")
        self.type_and_check(target, "adn ", text + "recieve and ")
        # Ctrl+Backspace and Alt+Backspace are the window's own keys (here they change nothing):
        # no undo goes out, least of all one typed with the modifier still down.
        text += "recieve and "
        for chord in ("ctrl+BackSpace", "alt+BackSpace"):
            self.type_and_check(target, "thier ", text + "their ")
            self.input.press(chord)
            text += "their "
            self.type_and_check(target, "x ", text + "x ")
            text += "x "

    def test_ctrl_space_ends_no_word(self):
        app, hwnd, target = self.start_expander("{word}\r\nteh=the\r\n", count=1)
        self.input.type_text("a teh")
        self.input.press("ctrl+space")
        self.type_and_check(target, "x", "a teh x")


if __name__ == "__main__":
    harness.main()

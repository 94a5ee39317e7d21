"""Abbreviations and hotkeys typed with real keys into another program's window fire, are erased
and replaced by their output, read from the trigger file on disk at each firing."""
import os
import re

import harness
from expansion_e2e import KEY_WATCH_LOG_LINE, USED_FORMAT, ExpansionTestCase
from shell_e2e import read_settings

LONG_ABBREVIATION = "qwertyuiopasdfghjklzxcvbnm,qwertyuiopas."  # 40 characters


class ExpansionTest(ExpansionTestCase):
    def test_an_abbreviation_is_replaced_by_its_output(self):
        app, hwnd, target = self.start_expander("btw=by the way\nsig=Regards\n")
        self.input.type_text("I said btw")
        self.wait_target(target, "I said by the way")
        self.wait_status(hwnd, USED_FORMAT % 1)
        self.input.type_text(", ok")
        self.wait_target(target, "I said by the way, ok")
        self.assertNotIn("by the way", target.text()[len("I said by the way"):], "fires once")

    def test_hotkeys_with_modifiers_and_with_a_key_name(self):
        app, hwnd, target = self.start_expander("{control}{shift}u=Ctrl Shift U\n{F5}=Key F5\n")
        self.input.press("ctrl+shift+u")
        self.wait_target(target, "Ctrl Shift U")
        self.input.press("u", "F5")
        self.wait_target(target, "Ctrl Shift UuKey F5")
        self.wait_status(hwnd, USED_FORMAT % 2)

    def test_an_output_changed_on_disk_takes_effect_at_the_next_firing(self):
        app, hwnd, target = self.start_expander("btw=old text\nsig=Regards\n")
        app.write_triggers("btw=new text\nsig=Regards\n")
        self.input.type_text("btw")
        self.wait_target(target, "new text")

    def test_a_line_removed_by_another_program_stops_firing_once_the_file_reloads(self):
        app, hwnd, target = self.start_expander("btw=by the way\nsig=Regards\n")
        app.write_triggers("sig=Regards\n")
        self.wait_loaded(hwnd, 1)
        self.input.type_text("xbtw sig")
        self.wait_target(target, "xbtw Regards")
        self.wait_status(hwnd, USED_FORMAT % 1)

    def test_a_forty_character_abbreviation_fires(self):
        app, hwnd, target = self.start_expander("%s=long one\nsig=Regards\n" % LONG_ABBREVIATION)
        self.input.type_text("a" + LONG_ABBREVIATION)
        self.wait_target(target, "along one")

    def test_debug_mode_logs_each_firing(self):
        log = self.debug_log_path()
        if os.path.exists(log):
            os.remove(log)
        self.addCleanup(lambda: os.path.exists(log) and os.remove(log))
        app, hwnd, target = self.start_expander("; WordHatch_DEBUG\n{control}{shift}k=K\nbtw=by the way\n")
        self.input.press("ctrl+shift+k")
        self.wait_target(target, "K")
        self.input.type_text("btw")
        self.wait_target(target, "Kby the way")
        with open(log, "rb") as f:
            lines = f.read().decode("cp1252").split("\r\n")
        self.assertEqual(len(lines), 4, lines)
        self.assertEqual(lines[0], KEY_WATCH_LOG_LINE)
        self.assertRegex(lines[1], r'^\d\d:\d\d:\d\d "\{control\}\{shift\}k="$')
        self.assertRegex(lines[2], r'^\d\d:\d\d:\d\d "btw="$')
        self.assertEqual(lines[3], "")

    def test_the_count_is_added_to_the_setting_at_the_end_of_the_run(self):
        app, hwnd, target = self.start_expander("btw=by the way\nsig=Regards\n",
                                                ini="[WordHatch Settings]\nactivation_count=5\n")
        self.input.type_text("btw sig")
        self.wait_target(target, "by the way Regards")
        self.wait_status(hwnd, USED_FORMAT % 2)
        self.assertEqual(app.close(), 0)
        self.assertEqual(read_settings(app.ini_path).get("activation_count"), "7")


if __name__ == "__main__":
    harness.main()

"""The soak: 1,000 expansions in a row under Wine, typed with real keys into the test window, with
a mix of outputs (plain text, key names, a held modifier around a letter, a short pause and an
environment variable). Every output must arrive exactly: nothing lost, doubled or reordered. The
program's working set is read at the start and at the end and may grow by MEMORY_BOUND at most.

    make soak                      (SOAK_COUNT=N for another number of expansions)

Ends with the line "N passed, M failed"; exits with 1 when any expansion failed or the memory
grew by more than the bound. Not part of make test: it takes about ten minutes.
"""
import os
import pwd
import random
import sys
import time

import harness

STATUS_BAR_ID = 4002
TARGET_EDIT_ID = 100
DEFAULT_COUNT = 1000
# Expansions typed into the window before it is emptied, so its text stays short.
PAGE = 25
ARRIVAL_TIMEOUT = 15.0
PROGRESS_EVERY = 100
# The working set may grow this much from the start to the end of the soak.
MEMORY_BOUND = 4 * 1024 * 1024
SEED = 7771


def user_name():
    return pwd.getpwuid(os.getuid()).pw_name


def triggers():
    """(abbreviation, output as written, text that arrives in the target)."""
    return [
        ("qa1", "Plain words, nothing more. ", "Plain words, nothing more. "),
        ("qb2", "k1{Tab}k2{Enter}", "k1\tk2\n"),
        ("qc3", "<{ShiftDown}x{ShiftUp}>", "<X>"),
        ("qd4", "before{Delay=30}after ", "beforeafter "),
        ("qe5", "I am %USERNAME%. ", "I am %s. " % user_name()),
    ]


class Soak:
    def __init__(self, session, probe):
        self.session = session
        self.probe = probe
        self.input = harness.Input(session, probe)
        self.work = os.path.join(session.drive_c(), harness.WINE_DRIVE_FOLDER, "soak-work")
        os.makedirs(self.work, exist_ok=True)
        self.app = None
        self.target = None

    def start(self):
        self.app = harness.WordHatchApp(self.session, self.probe, "soak-wordhatch")
        self.app.write_triggers("".join("%s=%s\n" % (a, o) for a, o, _ in triggers()))
        hwnd = self.app.start_and_wait_window()
        loaded = " Triggers Loaded: %d " % len(triggers())
        harness.wait_until(lambda: self.probe.text(hwnd, STATUS_BAR_ID).startswith(loaded), harness.DEFAULT_TIMEOUT,
                           "WordHatch's report %r" % loaded)
        self.pid = next(w.pid for w in self.probe.windows(harness.MAIN_CLASS) if w.hwnd == hwnd)
        self.target = harness.Target(self.session, self.probe, self.input, self.work, "WordHatch soak target",
                                     name="soak-target")
        self.target.focus()

    def clear_target(self):
        """Empties the edit. WM_SETTEXT sends no change notice, so the target's report file keeps
        the old text until the next key; every wait is for an exact text, never the old one."""
        self.probe.set_text(self.target.hwnd, TARGET_EDIT_ID, "")
        harness.wait_until(lambda: self.probe.text(self.target.hwnd, TARGET_EDIT_ID) == "",
                           harness.DEFAULT_TIMEOUT, "the target's edit to be empty")

    def working_set(self):
        return self.probe.memory(self.pid)[0]

    def run(self, count):
        chooser = random.Random(SEED)
        passed = failed = 0
        expected = ""
        started = time.monotonic()
        for number in range(1, count + 1):
            if number % PAGE == 1 and expected:
                self.clear_target()
                expected = ""
            abbreviation, _, arrives = chooser.choice(triggers())
            self.input.type_text(abbreviation)
            expected += arrives
            try:
                self.target.wait_text(expected, ARRIVAL_TIMEOUT)
                passed += 1
            except harness.WaitTimeout:
                failed += 1
                held = self.target.text()
                print("soak: expansion %d (%s) did not arrive exactly: the window ends with %r, not %r"
                      % (number, abbreviation, held[-40:], expected[-40:]))
                self.clear_target()
                expected = ""
            if number % PROGRESS_EVERY == 0:
                print("soak: %d expansions, %d failed, %.0f s" % (number, failed, time.monotonic() - started))
        return passed, failed, time.monotonic() - started

    def stop(self):
        if self.target:
            self.target.stop()
        if self.app:
            try:
                self.app.close()
            except harness.WaitTimeout:
                self.app.stop()


def main():
    count = int(os.environ.get("SOAK_COUNT", DEFAULT_COUNT))
    state = os.path.abspath(harness.state_dir())
    session = harness.setup(state, reuse_prefix=True)
    try:
        with harness.Probe(session) as probe:
            soak = Soak(session, probe)
            try:
                soak.start()
                before = soak.working_set()
                passed, failed, seconds = soak.run(count)
                after = soak.working_set()
            finally:
                soak.input.release_modifiers()
                soak.stop()
    finally:
        harness.cleanup(state, keep_prefix=True)
    growth = after - before
    print("soak: %d expansions in %.0f s (%.2f s each)" % (count, seconds, seconds / count))
    print("soak: working set %.1f MB at the start, %.1f MB at the end, grew %+.2f MB (bound %.1f MB)"
          % (before / 2 ** 20, after / 2 ** 20, growth / 2 ** 20, MEMORY_BOUND / 2 ** 20))
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and growth <= MEMORY_BOUND else 1


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (harness.HarnessError, harness.WaitTimeout, harness.ProbeError) as error:
        print("soak: %s" % error, file=sys.stderr)
        sys.exit(1)

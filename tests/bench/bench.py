"""`make bench`: WordHatch measured beside ideal_expander.exe, the plainest expander there can be,
under Wine on a virtual display, both in the same run. The machine is shared and noisy, so each
figure is read as the ratio WordHatch / ideal expander; the absolute figures are shown beside.
Not a test: nothing passes or fails on the figures; the run fails only when an expansion does
not come at all.

    python3 tests/bench/bench.py      (make bench sets WH_WIN_DIR, WH_E2E_DIR, WH_SOURCE_DIR)

The session (display, Wine prefix, logs) lives in $WH_E2E_DIR, the prefix kept for the next run;
the report is printed and written to $WH_E2E_DIR/report.txt. One expander runs at a time, from a
fresh folder at each start, with a fresh target.exe window (harness.Target) started after it to
type into, in rounds that alternate which of the two goes first, so that a slow spell of the
machine falls on both.

  latency      the last key of ",ty" goes down (timed through XTest, see xtest_keys.py) until the
               target's report file holds the whole output; median of all trials. Also until the
               first output character, which is the expander's own reaction: the target takes
               only about a hundred characters a second, so it dominates the whole. Measured
               with the last key held 40 ms (a quick typist) and KEY_HOLD
  throughput   characters per second of a 1,000-character output typed (WordHatch's {type}: the
               ideal expander types too), from the first of its
               characters in the target to the last; the same for `xdotool type --delay 0` of
               that text straight into the target, which is what the target can take
  idle CPU     CPU time of the program's own Wine process over 20 s with nothing typed, as a
               share of one core; also with wineserver's share, which is wineserver's CPU time
               in that window less its time in a window with no expander running
  burst        200 characters typed with xdotool's own delay, every key's press and release
               together: how many of the abbreviations in them fired, and whether the text is exact
  memory       WordHatch's working set once it has loaded a 50,000-line trigger file, beside the
               same once it has loaded the starter file
Then WordHatch alone: non-ASCII output beside ASCII, and the wait for keys taken (text_kinds.py);
long outputs pasted beside the same typed (paste_kinds.py); the latency with a program rule on the
trigger that lets it fire in the target ({in target.exe}) beside the same trigger without one,
measured as the latency above.
Every key is held KEY_HOLD (80 ms): a 10 ms poller under Wine misses shorter presses.
"""
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

import harness  # noqa: E402
from proc_cpu import cpu_seconds, wine_program_pid, wineserver_pid  # noqa: E402
from shell_e2e import STATUS_BAR_ID  # noqa: E402
import paste_kinds  # noqa: E402
import text_kinds  # noqa: E402
from xtest_keys import XTestKeys  # noqa: E402

SHORT_ABBREVIATION = ",ty"
SHORT_OUTPUT = "Thank you for your message."
LONG_ABBREVIATION = ",lo"
LONG_LENGTH = 1000
TYPED_WORD = "{type}"
TARGET_RULE = "{in target.exe}"  # lets a trigger fire in harness.Target's program alone
LATENCY_ROUNDS = 3
QUICK_HOLD = 0.040  # a quick typist's key; the latency is measured with it and with KEY_HOLD
LATENCY_AIM = 0.9   # WordHatch's latency to the whole short output over the ideal's, at most
REACTION_AIM = 1.0  # the same to the first character
LATENCY_TRIALS_PER_ROUND = 7
THROUGHPUT_ROUNDS = 5
IDLE_SECONDS = 20.0
# The idle window opens this long after the program is up, so that its start-up is left out.
IDLE_LEAD_IN = 3.0
SHORT_TIMEOUT = 10.0
LONG_TIMEOUT = 120.0
FILE_POLL = 0.001  # how often the target's report file is read while an output arrives
TARGET_EDIT_ID = 100
IDEAL_CLASS = "WordHatchBenchIdeal"
IDEAL_EXE = "ideal_expander.exe"
LOADED_FORMAT = " Triggers Loaded: %d "
XDOTOOL_TYPE_DELAY_MS = 0
THROUGHPUT_AIM = 0.95  # WordHatch's rate over the target's rate under xdotool type, at least
IDLE_AIM = 0.10        # WordHatch's idle CPU over the ideal expander's, at most
BURST_LENGTH = 200
BURST_EVERY = 25       # characters of prose between two abbreviations of the burst
BURST_DELAY_MS = 20    # xdotool type's delay: each key down and up together, the next 20 ms on
BURST_SETTLE = 2.0     # the target's text stays the same this long once the burst has arrived

_WORDS = ("thank you for the quick reply about the meeting next week we will bring the notes and "
          "the plans for the new office so that everyone can read them before we start").split()
_WORDS_PER_SENTENCE = 11
_COMMA_AFTER = 5


def long_output(length):
    """Prose of exactly `length` characters: capitals, commas and full stops among the letters,
    and none of the characters that an output treats specially ({ } %)."""
    sentences, at = [], 0
    while sum(len(s) + 1 for s in sentences) <= length:
        words = [_WORDS[(at + i) % len(_WORDS)] for i in range(_WORDS_PER_SENTENCE)]
        at += _WORDS_PER_SENTENCE + 1
        words[0] = words[0].capitalize()
        words[_COMMA_AFTER - 1] += ","
        sentences.append(" ".join(words) + ".")
    text = " ".join(sentences)[:length]
    return text[:-1] + "." if text.endswith(" ") else text


def burst_text():
    """(typed, expected): at least BURST_LENGTH characters of prose with SHORT_ABBREVIATION after
    every BURST_EVERY of them, and the same with every abbreviation replaced by its output."""
    prose, pieces, at = (" ".join(_WORDS) + " ") * 2, [], 0
    while sum(len(p) for p in pieces) < BURST_LENGTH:
        pieces.append(prose[at:at + BURST_EVERY] + SHORT_ABBREVIATION + " ")
        at += BURST_EVERY
    typed = "".join(pieces)
    return typed, typed.replace(SHORT_ABBREVIATION, SHORT_OUTPUT)


# ---------------------------------------------------------------- the two expanders

class IdealExpander:
    name = "ideal expander"

    def __init__(self, bench):
        self.bench = bench
        self.exe = os.path.join(harness.win_dir(), "bench", IDEAL_EXE)
        if not os.path.exists(self.exe):
            raise harness.HarnessError("%s is missing: build the Windows side first (make exe)" % self.exe)
        self.process = None

    def start(self, abbreviation, output, typed=False):
        """The ideal expander always types."""
        log = os.path.join(self.bench.session.logs, "ideal_expander.log")
        self.process = harness.WineProcess(self.bench.session, self.exe, [abbreviation, output], log_path=log)
        harness.wait_until(lambda: self.bench.probe.find(IDEAL_CLASS), harness.START_TIMEOUT,
                           "the ideal expander's window")
        return wine_program_pid(self.process.popen, IDEAL_EXE)

    def stop(self):
        hwnd = self.bench.probe.find(IDEAL_CLASS)
        if hwnd:
            self.bench.probe.close(hwnd)
        try:
            self.process.wait()
        except harness.WaitTimeout:
            self.process.kill()


class WordHatch:
    name = "WordHatch"
    rule_word = ""  # a program rule on the trigger line

    def __init__(self, bench):
        self.bench = bench
        self.app = None

    def start(self, abbreviation, output, typed=False):
        """With typed, the output asks to be typed, however long (a long one is pasted else)."""
        probe = self.bench.probe
        self.app = harness.WordHatchApp(self.bench.session, probe, "bench-wordhatch")
        self.app.write_triggers("%s%s%s=%s\n" % (abbreviation, TYPED_WORD if typed else "", self.rule_word, output))
        hwnd = self.app.start_and_wait_window()
        loaded = LOADED_FORMAT % 1
        harness.wait_until(lambda: probe.text(hwnd, STATUS_BAR_ID).startswith(loaded), harness.DEFAULT_TIMEOUT,
                           "WordHatch's report %r" % loaded)
        return wine_program_pid(self.app.processes[0].popen, harness.EXE_NAME)

    def stop(self):
        try:
            self.app.close()
        except harness.WaitTimeout:
            self.app.stop()
        harness.wait_until(lambda: self.bench.probe.count(harness.MAIN_CLASS) == 0, harness.DEFAULT_TIMEOUT,
                           "WordHatch's window to go away")


class RuledWordHatch(WordHatch):
    """WordHatch with a program rule on its trigger that lets it fire in the target."""
    name = "with the rule"
    rule_word = TARGET_RULE


# ---------------------------------------------------------------- measurements

class Bench:
    def __init__(self, session, probe):
        self.session = session
        self.probe = probe
        self.input = harness.Input(session, probe)
        self.keys = XTestKeys(session.display)
        self.work = os.path.join(session.drive_c(), harness.WINE_DRIVE_FOLDER, "bench-work")
        os.makedirs(self.work, exist_ok=True)
        self.target = None
        self.targets_started = 0
        self.long_output = long_output(LONG_LENGTH)

    def new_target(self):
        """A fresh target window in the foreground. Started after the expander, as a user would
        type into a window after starting WordHatch: its main window takes the foreground at start
        and, under Wine, another process cannot always take it back."""
        self.stop_target()
        self.targets_started += 1
        self.target = harness.Target(self.session, self.probe, self.input, self.work,
                                     "WordHatch bench target %d" % self.targets_started,
                                     name="target%d" % self.targets_started)
        self.target.focus()

    def stop_target(self):
        if self.target:
            self.target.stop()
            self.target = None

    def stop(self):
        self.stop_target()
        self.keys.close()

    def clear_target(self):
        """Empties the target's edit. WM_SETTEXT sends no change notice, so the report file keeps
        the old text until the next key; every wait below is for an exact text, never the old one."""
        self.probe.set_text(self.target.hwnd, TARGET_EDIT_ID, "")
        harness.wait_until(lambda: self.probe.text(self.target.hwnd, TARGET_EDIT_ID) == "",
                           harness.DEFAULT_TIMEOUT, "the target's edit to be empty")

    def watch_arrival(self, output, timeout, on_poll=None):
        """Reads the target's report file until it holds exactly output. Returns the times at which
        it first held a beginning of output and then all of it."""
        times = {}

        def arrived():
            if on_poll:
                on_poll()
            text = self.target.text()
            now = time.monotonic()
            if "first" not in times and text and output.startswith(text):
                times["first"] = now
            return text == output and now
        try:
            full = harness.wait_until(arrived, timeout, "the target to hold the output", interval=FILE_POLL)
        except harness.WaitTimeout:
            raise harness.WaitTimeout("the target did not hold the %d-character output within %.0f s; it holds %r"
                                      % (len(output), timeout, self.target.text()[-80:])) from None
        return times["first"], full

    def expand(self, abbreviation, output, timeout, hold=harness.KEY_HOLD):
        """Types abbreviation into the target, its last key timed and held `hold` seconds, and waits
        for output there. Returns (key-down time, first output character seen, whole output seen)."""
        self.clear_target()
        # The first output character must not look like the typed keys still standing there.
        assert not output.startswith(abbreviation[:1]), "the output must not begin as the abbreviation does"
        head, last = abbreviation[:-1], abbreviation[-1]
        modifiers, keysym = harness.key_for_char(last)
        assert not modifiers, "the last key of an abbreviation must need no modifier"
        self.input.type_text(head)
        self.target.wait_text(head)
        held = {"down": self.keys.down(keysym)}

        def release_in_time():
            if "up" not in held and time.monotonic() - held["down"] >= hold:
                held["up"] = self.keys.up(keysym)
        try:
            first, full = self.watch_arrival(output, timeout, release_in_time)
        finally:
            if "up" not in held:
                wait = hold - (time.monotonic() - held["down"])
                time.sleep(max(wait, 0))  # the rest of the key's hold
                self.keys.up(keysym)
        return held["down"], first, full

    def xdotool_rate(self, text):
        """Characters per second that a fresh target takes from `xdotool type` of text (fresh, so
        that its report file cannot hold text from before)."""
        self.new_target()
        self.input.route_keyboard()
        typing = subprocess.Popen(["xdotool", "type", "--delay", str(XDOTOOL_TYPE_DELAY_MS), text],
                                  env=self.session.env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE)
        try:
            first, full = self.watch_arrival(text, LONG_TIMEOUT)
        finally:
            _, errors = typing.communicate(timeout=LONG_TIMEOUT)
        if typing.returncode != 0:
            raise harness.HarnessError("xdotool type failed: %s" % errors.decode().strip())
        return (len(text) - 1) / (full - first)

    def idle_window(self, pid):
        """CPU time of the process pid (None: no process) and of wineserver over IDLE_SECONDS, each
        as a share of one core."""
        server = wineserver_pid(self.session.prefix)
        if server is None:
            raise harness.HarnessError("no wineserver runs for %s" % self.session.prefix)
        started = time.monotonic()
        program_before = cpu_seconds(pid) if pid else 0.0
        server_before = cpu_seconds(server)
        time.sleep(IDLE_SECONDS)  # the idle window itself is what is measured
        program_after = cpu_seconds(pid) if pid else 0.0
        server_after = cpu_seconds(server)
        elapsed = time.monotonic() - started
        return (program_after - program_before) / elapsed, (server_after - server_before) / elapsed


def in_turn(runners, round_number):
    """The runners in the order of this round: the first goes first in every other round."""
    return runners if round_number % 2 == 0 else list(reversed(runners))


def measure_idle(bench, runners):
    print("bench: idle CPU, %d s each, nothing running first" % IDLE_SECONDS)
    _, baseline = bench.idle_window(None)
    figures = {}
    for runner in runners:
        pid = runner.start(SHORT_ABBREVIATION, SHORT_OUTPUT)
        time.sleep(IDLE_LEAD_IN)  # opens the window after start-up; part of how it is measured
        program, server = bench.idle_window(pid)
        runner.stop()
        figures[runner.name] = {"program": program, "with_server": program + max(server - baseline, 0.0)}
        print("bench:   %-15s %.2f%% of a core (wineserver %.2f%%, with nothing running %.2f%%)"
              % (runner.name, 100 * program, 100 * server, 100 * baseline))
    return figures


def measure_latency(bench, runners, hold):
    """{runner: [whole output latencies]}, {runner: [first character latencies]}, seconds, and
    {runner: trials in which nothing came}, with the abbreviation's last key held `hold` seconds.
    A key held shorter than KEY_HOLD may slip between two looks of a poller: that trial counts as
    missed, and the next goes on."""
    print("bench: latency of %r, last key held %.0f ms, %d rounds of %d"
          % (SHORT_ABBREVIATION, 1000 * hold, LATENCY_ROUNDS, LATENCY_TRIALS_PER_ROUND))
    latencies = {runner.name: [] for runner in runners}
    reactions = {runner.name: [] for runner in runners}
    missed = {runner.name: 0 for runner in runners}
    for round_number in range(LATENCY_ROUNDS):
        for runner in in_turn(runners, round_number):
            runner.start(SHORT_ABBREVIATION, SHORT_OUTPUT)
            bench.new_target()
            for _ in range(LATENCY_TRIALS_PER_ROUND):
                try:
                    down, first, full = bench.expand(SHORT_ABBREVIATION, SHORT_OUTPUT, SHORT_TIMEOUT, hold)
                except harness.WaitTimeout:
                    if hold >= harness.KEY_HOLD:
                        raise
                    missed[runner.name] += 1
                    continue
                latencies[runner.name].append(full - down)
                reactions[runner.name].append(first - down)
            runner.stop()
            print("bench:   round %d %-15s %s ms" % (round_number + 1, runner.name, " ".join(
                "%.0f" % (1000 * v) for v in latencies[runner.name][-LATENCY_TRIALS_PER_ROUND:])))
    return latencies, reactions, missed


def measure_rule_latency(bench):
    """WordHatch alone, its trigger with TARGET_RULE beside the same without: the latencies and
    reactions of measure_latency, with the last key held KEY_HOLD."""
    print("bench: WordHatch alone, the trigger with %s beside the same without" % TARGET_RULE)
    latencies, reactions, _ = measure_latency(bench, [WordHatch(bench), RuledWordHatch(bench)], harness.KEY_HOLD)
    return latencies, reactions


def rule_report_lines(latencies, reactions):
    plain, ruled = WordHatch.name, RuledWordHatch.name
    row = "%-42s %10s %15s %6s  %s"
    lines = ["", "WordHatch alone, a program rule on the trigger, in the same run (ratio = with the rule / without)",
             "", row % ("figure", "no rule", TARGET_RULE, "ratio", "")]
    for label, values in (("latency to the whole output, median ms", latencies),
                          ("latency to the first character, median ms", reactions)):
        without, with_rule = statistics.median(values[plain]), statistics.median(values[ruled])
        lines.append(row % (label, "%.1f" % (1000 * without), "%.1f" % (1000 * with_rule),
                            "%.2f" % _ratio(with_rule, without), "%r, %d trials each, last key held %.0f ms" % (
                                SHORT_ABBREVIATION, len(values[plain]), 1000 * harness.KEY_HOLD)))
        lines.append(row % ("  quartiles, ms", "%.0f-%.0f" % _quartiles(values[plain]),
                            "%.0f-%.0f" % _quartiles(values[ruled]), "", ""))
    return lines


def measure_burst(bench, runners):
    """Types the burst with no hold at all and counts the abbreviations that fired."""
    typed, expected = burst_text()
    print("bench: a burst of %d characters with %d abbreviations, no hold, %d ms apart"
          % (len(typed), typed.count(SHORT_ABBREVIATION), BURST_DELAY_MS))
    fired = {}
    for runner in runners:
        runner.start(SHORT_ABBREVIATION, SHORT_OUTPUT)
        bench.new_target()
        bench.input.type_quickly(typed, BURST_DELAY_MS)
        try:
            harness.wait_until(lambda: bench.target.text() == expected, SHORT_TIMEOUT, "the burst's output")
        except harness.WaitTimeout:
            harness.wait_until(_unchanged(bench.target.text), LONG_TIMEOUT, "the target's text to settle")
        text = bench.target.text()
        fired[runner.name] = (text.count(SHORT_OUTPUT), text == expected)
        runner.stop()
        print("bench:   %-15s %d fired, text %s" % (runner.name, fired[runner.name][0],
                                                   "exact" if fired[runner.name][1] else "not as typed"))
    return fired, typed.count(SHORT_ABBREVIATION)


def _unchanged(read):
    """A condition that holds once read() has given the same value for BURST_SETTLE seconds."""
    seen = {"value": read(), "since": time.monotonic()}

    def settled():
        value = read()
        if value != seen["value"]:
            seen.update(value=value, since=time.monotonic())
        return time.monotonic() - seen["since"] >= BURST_SETTLE
    return settled


def measure_throughput(bench, runners):
    print("bench: throughput of %d characters, %d rounds" % (LONG_LENGTH, THROUGHPUT_ROUNDS))
    rates = {runner.name: [] for runner in runners}
    rates["xdotool type"] = []
    for round_number in range(THROUGHPUT_ROUNDS):
        for runner in in_turn(runners + [None], round_number):
            if runner is None:
                rates["xdotool type"].append(bench.xdotool_rate(bench.long_output))
                name = "xdotool type"
            else:
                runner.start(LONG_ABBREVIATION, bench.long_output, typed=True)
                bench.new_target()
                _, first, full = bench.expand(LONG_ABBREVIATION, bench.long_output, LONG_TIMEOUT)
                runner.stop()
                rates[runner.name].append((LONG_LENGTH - 1) / (full - first))
                name = runner.name
            print("bench:   round %d %-15s %.0f chars/s" % (round_number + 1, name, rates[name][-1]))
    return rates


# ---------------------------------------------------------------- the report

# ---------------------------------------------------------------- memory with a large file

LARGE_FILE_LINES = 50000
# Loading and showing a file of tens of thousands of lines under Wine on a loaded machine.
LARGE_LOAD_TIMEOUT = 120.0


def large_trigger_text():
    """Distinct abbreviations "w00001x" and so on, each with its own output, as an imported list."""
    return "".join("w%05dx=out%05d\r\n" % (n, n) for n in range(1, LARGE_FILE_LINES + 1))


def working_set_after_load(bench, name, triggers, loaded):
    """WordHatch's working set in bytes once it has loaded `triggers` and reported `loaded`."""
    probe = bench.probe
    app = harness.WordHatchApp(bench.session, probe, name)
    app.write_triggers(triggers)
    hwnd = app.start_and_wait_window()
    try:
        harness.wait_until(lambda: probe.text(hwnd, STATUS_BAR_ID).startswith(loaded), LARGE_LOAD_TIMEOUT,
                           "WordHatch's report %r" % loaded)
        pid = next(w.pid for w in probe.windows(harness.MAIN_CLASS) if w.hwnd == hwnd)
        return probe.memory(pid)[0]
    finally:
        try:
            app.close()
        except harness.WaitTimeout:
            app.stop()
        harness.wait_until(lambda: probe.count(harness.MAIN_CLASS) == 0, harness.DEFAULT_TIMEOUT,
                           "WordHatch's window to go away")


def measure_memory(bench):
    """The working set after loading the starter file, and after loading a 50,000-line file."""
    with open(os.path.join(harness.source_dir(), "resources", "default_triggers.txt"), encoding="cp1252") as f:
        default_text = f.read()
    default = working_set_after_load(bench, "bench-memory-default", default_text, " Triggers Loaded: ")
    large = working_set_after_load(bench, "bench-memory-large", large_trigger_text(),
                                   LOADED_FORMAT % LARGE_FILE_LINES)
    return default, large


def memory_report(default, large):
    megabyte = 1024.0 * 1024.0
    return ("Working set after a load: %.1f MB with a %d-line file beside %.1f MB with the starter file "
            "(ratio %.2f, %+.1f MB)" % (large / megabyte, LARGE_FILE_LINES, default / megabyte,
                                         _ratio(large, default), (large - default) / megabyte))


def _ratio(value, reference):
    return value / reference if reference else float("nan")


def latency_rows(latencies, reactions, missed, hold, w, i):
    """The report's rows of one latency measurement, whose last key was held `hold` seconds."""
    lat_w, lat_i = statistics.median(latencies[w]), statistics.median(latencies[i])
    rea_w, rea_i = statistics.median(reactions[w]), statistics.median(reactions[i])
    return [
        ("latency to the whole output, %.0f ms hold" % (1000 * hold), "%.1f" % (1000 * lat_w),
         "%.1f" % (1000 * lat_i), _ratio(lat_w, lat_i),
         "median ms, %r, %d characters, %d trials; aim: at most %.2f" % (
             SHORT_ABBREVIATION, len(SHORT_OUTPUT), len(latencies[w]), LATENCY_AIM)),
        ("  quartiles, ms", "%.0f-%.0f" % _quartiles(latencies[w]), "%.0f-%.0f" % _quartiles(latencies[i]), None,
         ""),
        ("latency to the first character, %.0f ms hold" % (1000 * hold), "%.1f" % (1000 * rea_w),
         "%.1f" % (1000 * rea_i), _ratio(rea_w, rea_i),
         "median ms, the expander's own reaction; aim: at most %.2f" % REACTION_AIM),
        ("  trials in which nothing came", "%d" % missed[w], "%d" % missed[i], None, ""),
    ]


def report(session, latency, rates, idle, burst, wordhatch, ideal):
    """latency: [(hold, latencies, reactions)] for each hold measured."""
    w, i = wordhatch.name, ideal.name
    thr_w, thr_i, thr_x = (statistics.median(rates[n]) for n in (w, i, "xdotool type"))
    idle_w, idle_i = idle[w], idle[i]
    rows = []
    for hold, latencies, reactions, missed in latency:
        rows += latency_rows(latencies, reactions, missed, hold, w, i)
    rows += [
        ("throughput, chars/s", "%.0f" % thr_w, "%.0f" % thr_i, _ratio(thr_w, thr_i),
         "%d characters, median of %d" % (LONG_LENGTH, len(rates[w]))),
        ("  over xdotool type's %.0f chars/s" % thr_x, "%.2f" % _ratio(thr_w, thr_x), "%.2f" % _ratio(thr_i, thr_x),
         None, "aim for WordHatch: at least %.2f" % THROUGHPUT_AIM),
        ("idle CPU, own process, % of a core", "%.2f" % (100 * idle_w["program"]), "%.2f" % (100 * idle_i["program"]),
         _ratio(idle_w["program"], idle_i["program"]), "aim: at most %.2f" % IDLE_AIM),
        ("  with wineserver's share, % of a core", "%.2f" % (100 * idle_w["with_server"]),
         "%.2f" % (100 * idle_i["with_server"]), _ratio(idle_w["with_server"], idle_i["with_server"]), ""),
        ("burst, abbreviations fired of %d" % burst[1], "%d" % burst[0][w][0], "%d" % burst[0][i][0], None,
         "%d characters, no hold; WordHatch's text %s" % (BURST_LENGTH, "exact" if burst[0][w][1] else "not exact")),
    ]
    widths = (46, 10, 15, 6)
    row_format = "%%-%ds %%%ds %%%ds %%%ds  %%s" % widths

    lines = ["WordHatch (%s build) beside the ideal expander under %s (same run; ratio = WordHatch / ideal)"
             % (session.build, wine_version(session)),
             "", (row_format % ("figure", w, i, "ratio", "")).rstrip()]
    for label, value_w, value_i, ratio, note in rows:
        lines.append((row_format % (label, value_w, value_i, "" if ratio is None else "%.2f" % ratio, note)).rstrip())
    lines += ["",
              "Latency: from the last key of the abbreviation going down (XTest) to the output in target.exe's file.",
              "Throughput: from the first output character in the target to the last; xdotool types the same text",
              "straight into the target with --delay %d." % XDOTOOL_TYPE_DELAY_MS,
              "Idle CPU: utime+stime of the program's own Wine process over %.0f s, wineserver not included; the"
              % IDLE_SECONDS,
              "second idle row adds wineserver's CPU time above its time in a window with no expander running."]
    return "\n".join(lines)


def wine_version(session):
    try:
        result = subprocess.run(session.tools.wine("--version"), env=session.env(), stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, timeout=harness.DEFAULT_TIMEOUT)
        return result.stdout.decode().strip() or "Wine"
    except (OSError, subprocess.SubprocessError):
        return "Wine"


def _quartiles(values):
    q = statistics.quantiles(values, n=4)
    return 1000 * q[0], 1000 * q[2]


def main():
    state = os.path.abspath(harness.state_dir())
    session = harness.setup(state, reuse_prefix=True)
    try:
        with harness.Probe(session) as probe:
            bench = Bench(session, probe)
            try:
                wordhatch, ideal = WordHatch(bench), IdealExpander(bench)
                runners = [ideal, wordhatch]
                idle = measure_idle(bench, runners)
                latency = [(hold,) + measure_latency(bench, runners, hold) for hold in (QUICK_HOLD, harness.KEY_HOLD)]
                rates = measure_throughput(bench, runners)
                burst = measure_burst(bench, runners)
                memory = measure_memory(bench)
                texts, waits = text_kinds.measure(bench, LONG_TIMEOUT)
                pastes = paste_kinds.measure(bench, long_output)
                rules = measure_rule_latency(bench)
            finally:
                bench.input.release_modifiers()
                bench.stop()
        text = report(session, latency, rates, idle, burst, wordhatch, ideal) + "\n\n" + memory_report(*memory)
        text += "\n" + "\n".join(text_kinds.report_lines(texts, waits))
        text += "\n" + "\n".join(paste_kinds.report_lines(pastes))
        text += "\n" + "\n".join(rule_report_lines(*rules))
        with open(os.path.join(state, "report.txt"), "w") as f:
            f.write(text + "\n")
        print("\n" + text)
    finally:
        harness.cleanup(state, keep_prefix=True)


if __name__ == "__main__":
    try:
        main()
    except (harness.HarnessError, harness.WaitTimeout, harness.ProbeError) as error:
        print("bench: %s" % error, file=sys.stderr)
        sys.exit(1)

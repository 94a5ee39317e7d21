"""`make bench`, WordHatch alone: what typing characters that the layout has no key for costs,
and what the wait for the window in front to take the keys already sent costs, each beside a
plain reference measured in the same run and in alternating order.

  non-ASCII    a 1,000-character output of accented letters and symbols, which go as Unicode key
               events, beside the same prose in ASCII, which goes by the layout's keys: latency to
               the whole output and throughput
  keys taken   "Then WINDOW: <the target>after", whose window command first waits until the target
               has taken "Then ", beside "Then after" typed in one piece: the difference of the
               latencies is the wait (with the window search, which finds the target at once)
"""
import statistics

import harness
from shell_e2e import STATUS_BAR_ID

ASCII_ABBREVIATION, UNICODE_ABBREVIATION = ",lo", ",lu"
WAIT_ABBREVIATION, PLAIN_ABBREVIATION = ",tw", ",tp"
TARGET_TITLE_PREFIX = "WordHatch bench target"
PLAIN_OUTPUT = "Then after"
WAIT_OUTPUT = "Then WINDOW: %s{Delay 0}after" % TARGET_TITLE_PREFIX
# Each ASCII letter's stand-in of one character that no US key types.
UNICODE_STAND_INS = str.maketrans({"a": "ä", "e": "é", "o": "ö", "u": "ü", "s": "ß", "c": "ç", "n": "ñ",
                                   "i": "î", "t": "ŧ", "h": "ħ", ".": "…", ",": "→"})
ROUNDS = 3
WAIT_TRIALS_PER_ROUND = 5
LOADED_FORMAT = " Triggers Loaded: %d "


def unicode_text(text):
    return text.translate(UNICODE_STAND_INS)


def start_wordhatch(bench, name, lines):
    """WordHatch started from a fresh folder with the trigger lines `lines`, once it has loaded
    them all."""
    app = harness.WordHatchApp(bench.session, bench.probe, name)
    app.write_triggers("".join(line + "\n" for line in lines), encoding="utf-8-sig")
    hwnd = app.start_and_wait_window()
    loaded = LOADED_FORMAT % len(lines)
    harness.wait_until(lambda: bench.probe.text(hwnd, STATUS_BAR_ID).startswith(loaded), harness.DEFAULT_TIMEOUT,
                       "WordHatch's report %r" % loaded)
    return app


def stop_wordhatch(bench, app):
    bench.stop_target()
    try:
        app.close()
    except harness.WaitTimeout:
        app.stop()


def measure(bench, long_timeout):
    """Returns {kind: [(latency s, rate chars/s)]} for "ASCII" and "non-ASCII", and
    {kind: [latency s]} for "plain" and "with the wait"."""
    print("bench: WordHatch alone, non-ASCII beside ASCII and the wait for keys taken, %d rounds" % ROUNDS)
    # Both long outputs ask to be typed: what is measured is the cost of the kind of key event.
    app = start_wordhatch(bench, "bench-text-kinds", [
        "%s{type}=%s" % (ASCII_ABBREVIATION, bench.long_output),
        "%s{type}=%s" % (UNICODE_ABBREVIATION, unicode_text(bench.long_output)),
        "%s=%s" % (WAIT_ABBREVIATION, WAIT_OUTPUT), "%s=%s" % (PLAIN_ABBREVIATION, PLAIN_OUTPUT)])
    texts = {"ASCII": [], "non-ASCII": []}
    waits = {"plain": [], "with the wait": []}
    cases = {"ASCII": (ASCII_ABBREVIATION, bench.long_output),
             "non-ASCII": (UNICODE_ABBREVIATION, unicode_text(bench.long_output))}
    try:
        for round_number in range(ROUNDS):
            order = list(cases) if round_number % 2 == 0 else list(reversed(list(cases)))
            for kind in order:
                abbreviation, output = cases[kind]
                bench.new_target()
                down, first, full = bench.expand(abbreviation, output, long_timeout)
                texts[kind].append((full - down, (len(output) - 1) / (full - first)))
                print("bench:   round %d %-9s %.1f s, %.0f chars/s" % (round_number + 1, kind, *texts[kind][-1]))
            bench.new_target()
            for trial in range(WAIT_TRIALS_PER_ROUND):
                plain_first = (round_number + trial) % 2 == 0
                for kind in (["plain", "with the wait"] if plain_first else ["with the wait", "plain"]):
                    abbreviation = PLAIN_ABBREVIATION if kind == "plain" else WAIT_ABBREVIATION
                    down, _, full = bench.expand(abbreviation, PLAIN_OUTPUT, harness.DEFAULT_TIMEOUT)
                    waits[kind].append(full - down)
            print("bench:   round %d keys taken: plain %s ms, with the wait %s ms" % (round_number + 1, *(
                " ".join("%.0f" % (1000 * v) for v in waits[k][-WAIT_TRIALS_PER_ROUND:])
                for k in ("plain", "with the wait"))))
    finally:
        stop_wordhatch(bench, app)
    return texts, waits


def report_lines(texts, waits):
    def median(values):
        return statistics.median(values)
    lat_a, lat_u = (median([v[0] for v in texts[k]]) for k in ("ASCII", "non-ASCII"))
    thr_a, thr_u = (median([v[1] for v in texts[k]]) for k in ("ASCII", "non-ASCII"))
    plain, waited = median(waits["plain"]), median(waits["with the wait"])
    row = "%-42s %10s %15s %6s  %s"
    return ["", "WordHatch alone, in the same run (ratio = second column / first)", "",
            row % ("figure", "ASCII", "non-ASCII", "ratio", ""),
            row % ("1,000 characters, latency, median ms", "%.0f" % (1000 * lat_a), "%.0f" % (1000 * lat_u),
                   "%.2f" % (lat_u / lat_a), "%d trials each" % len(texts["ASCII"])),
            row % ("1,000 characters, throughput, chars/s", "%.0f" % thr_a, "%.0f" % thr_u, "%.2f" % (thr_u / thr_a),
                   "non-ASCII goes as Unicode key events"),
            "", row % ("", "plain", "with the wait", "ratio", ""),
            row % ("%r, latency, median ms" % PLAIN_OUTPUT, "%.0f" % (1000 * plain), "%.0f" % (1000 * waited),
                   "%.2f" % (waited / plain), "the wait and the window search: %.0f ms" % (1000 * (waited - plain)))]

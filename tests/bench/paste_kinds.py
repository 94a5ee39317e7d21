"""`make bench`, WordHatch alone: long outputs pasted through the clipboard beside the same
outputs typed ({type}), in the same run and in alternating order.

  1,000 and 10,000  plain prose: latency from the last key of the abbreviation going down to the
                    whole output in the target, and throughput, the length over that latency (a
                    pasted output arrives in one piece, so there is no first-to-last span to take)
  letter            5,000 characters with two {Enter} in them, three pasted runs: the latency
The typed 10,000 characters take a minute or more, so they are timed once; the rest PASTE_TRIALS
times each.
"""
import statistics

import harness
from text_kinds import start_wordhatch, stop_wordhatch

TYPED_WORD = "{type}"
ENTER_KEY = "{Enter}"
SHORT_LENGTH, LONG_LENGTH = 1000, 10000
LETTER_PARTS = (1700, 1600, 1700)
PASTE_TRIALS = 3
TYPED_LONG_TRIALS = 1
PASTE_TIMEOUT = 30.0
TYPED_TIMEOUT = 300.0  # 10,000 key events at the hundred or so a second that the target takes
LONG_PASTED_AIM = 0.5  # seconds to the whole of the 10,000 pasted characters, at most
LETTER_AIM = 1.5       # seconds to the whole letter, at most


def cases(long_output):
    """{kind: (abbreviation, trigger line, text the target holds afterwards, trials, time-out)}."""
    short, long_text = long_output(SHORT_LENGTH), long_output(LONG_LENGTH)
    parts = [long_output(n) for n in LETTER_PARTS]
    table = {}
    for kind, abbreviation, text, typed, trials in (
            ("1,000 pasted", ",p1", short, False, PASTE_TRIALS),
            ("1,000 typed", ",t1", short, True, PASTE_TRIALS),
            ("10,000 pasted", ",p9", long_text, False, PASTE_TRIALS),
            ("10,000 typed", ",t9", long_text, True, TYPED_LONG_TRIALS)):
        line = "%s%s=%s" % (abbreviation, TYPED_WORD if typed else "", text)
        table[kind] = (abbreviation, line, text, trials, TYPED_TIMEOUT if typed else PASTE_TIMEOUT)
    table["letter pasted"] = (",pl", ",pl=" + ENTER_KEY.join(parts), "\n".join(parts), PASTE_TRIALS, PASTE_TIMEOUT)
    return table


def measure(bench, long_output):
    """Returns {kind: [latency s]} for every kind of cases()."""
    table = cases(long_output)
    print("bench: WordHatch alone, long outputs pasted beside typed")
    app = start_wordhatch(bench, "bench-paste-kinds", [line for _, line, _, _, _ in table.values()])
    latencies = {kind: [] for kind in table}
    try:
        for trial in range(PASTE_TRIALS):
            kinds = list(table) if trial % 2 == 0 else list(reversed(list(table)))
            for kind in kinds:
                abbreviation, _, text, trials, timeout = table[kind]
                if trial >= trials:
                    continue
                bench.new_target()
                down, _, full = bench.expand(abbreviation, text, timeout)
                latencies[kind].append(full - down)
                print("bench:   trial %d %-13s %.3f s" % (trial + 1, kind, latencies[kind][-1]))
    finally:
        stop_wordhatch(bench, app)
    return latencies


def report_lines(latencies):
    lat = {kind: statistics.median(values) for kind, values in latencies.items()}
    row = "%-42s %10s %15s %6s  %s"
    lines = ["", "WordHatch alone, long outputs, in the same run (ratio = pasted / typed)", "",
             row % ("figure", "pasted", "typed", "ratio", "")]
    for length, aim in ((SHORT_LENGTH, None), (LONG_LENGTH, LONG_PASTED_AIM)):
        pasted, typed = lat["{:,} pasted".format(length)], lat["{:,} typed".format(length)]
        note = "median of %d pasted, %d typed" % (len(latencies["{:,} pasted".format(length)]),
                                                   len(latencies["{:,} typed".format(length)]))
        if aim:
            note += "; aim pasted: at most %.1f s" % aim
        lines.append(row % ("{:,} characters, latency, ms".format(length), "%.0f" % (1000 * pasted),
                            "%.0f" % (1000 * typed), "%.3f" % (pasted / typed), note))
        lines.append(row % ("{:,} characters, throughput, chars/s".format(length), "%.0f" % (length / pasted),
                            "%.0f" % (length / typed), "%.1f" % (typed / pasted), "length / latency"))
    letter = lat["letter pasted"]
    lines.append(row % ("5,000-character letter, 2 Enter, latency, ms", "%.0f" % (1000 * letter), "", "",
                        "aim: at most %.1f s" % LETTER_AIM))
    return lines

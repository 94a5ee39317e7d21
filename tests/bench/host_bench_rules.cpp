// Host figures of program rules: key presses against 50,000 entries of which 1,000 carry rules,
// beside the same entries without rules, loaded in turn in the same run (see host_bench.cpp).
#include <stdio.h>

#include <string>
#include <vector>

#include "common/state.h"
#include "tests/bench/host_bench.h"
#include "tests/unit/fake_platform.h"
#include "triggers/trigger_loader.h"
#include "triggers/trigger_table.h"
#include "watcher/key_press.h"
#include "watcher/matcher.h"
#include "watcher/window_in_front.h"

namespace {

const int kRuleEvery = 50;  // one line in 50 carries a rule: 1,000 of the 50,000
// The lines with a rule, in turn: programs, a title, programs kept out, and an options line for
// the trigger line after it (ended by {everywhere}). Each lets its line fire in target.exe
// titled "Some title"; the second and the fourth read the title whenever they are judged.
const char* const kRuledLineFormats[] = {
    "w%05dx{in notepad.exe; target.exe}=out%05d\r\n",
    "w%05dx{in title *some*}=out%05d\r\n",
    "{not in editor.exe}w%05dx=out%05d\r\n",
    "{in t*.exe; title *mail*}\r\nw%05dx=out%05d\r\n{everywhere}\r\n",
};
const int kRuleKinds = int(sizeof kRuledLineFormats / sizeof kRuledLineFormats[0]);
const int kProgramRuleLine = 50000;  // the last line: a rule on programs
const int kTitleRuleLine = 49850;    // a rule on titles
const int kVkNothingCompletes = 'Z';  // no abbreviation of the list ends in "z"
const char kMatchedKey = 'X';

// The large list with a program rule on every kRuleEvery-th line.
std::string RuledFileText() {
  std::string text;
  char line[128];
  for (int i = 1; i <= kLargeTriggers; ++i) {
    const char* format = i % kRuleEvery ? "w%05dx=out%05d\r\n" : kRuledLineFormats[(i / kRuleEvery) % kRuleKinds];
    snprintf(line, sizeof line, format, i, i);
    text += line;
  }
  return text;
}

// The figures of one table, in target.exe in front unless said otherwise.
struct RuleFigures {
  double loadMs, missMs, newWindowMs, programRuleMs, titleRuleMs;
  int programMatch, titleMatch, programMatchElsewhere;  // what the matcher found, for the check
};

// The matching of the key that completes line `line`'s abbreviation: the look at the window in
// front and the matcher, without the expansion that TakeKeyPress would start. `found` gets the entry.
double MatchingMs(int line, int* found) {
  char typed[16];
  snprintf(typed, sizeof typed, "w%05dx", line);
  SetTyped(typed);
  LookAtWindowInFront();
  *found = FindMatchingTrigger(kMatchedKey);
  volatile int sink = 0;
  double ms = BatchedMedianMs([&] {
    LookAtWindowInFront();
    sink = sink + FindMatchingTrigger(kMatchedKey);
  });
  gFake.events.clear();  // the fake records each title read
  return ms;
}

// The loads of the two files in turn, so that the heap's first growth and the machine's slow
// spells fall on both alike. Each load's text, which the fake's editor records, is let go.
void LoadInTurn(const std::string& plainPath, const std::string& ruledPath, RuleFigures* plain, RuleFigures* ruled) {
  std::vector<double> plainTimes, ruledTimes;
  for (int run = 0; run < kLoadRuns; ++run) {
    plainTimes.push_back(TimeMs([&] { LoadTriggerFile(plainPath.c_str()); }));
    ruledTimes.push_back(TimeMs([&] { LoadTriggerFile(ruledPath.c_str()); }));
    gFake.events.clear();
  }
  plain->loadMs = Median(plainTimes);
  ruled->loadMs = Median(ruledTimes);
}

// The key figures of the table in `path`, which is loaded first.
void KeyPressFigures(const std::string& path, uint32_t front, uint32_t elsewhere, RuleFigures* figures) {
  LoadTriggerFile(path.c_str());
  gFake.events.clear();
  gFake.foregroundWindow = front;
  SetTyped("");
  volatile int sink = 0;
  figures->missMs = BatchedMedianMs([&] { sink = sink + TakeKeyPress(kVkNothingCompletes); });
  // Each key in another window than the last: its program's name is read and judged.
  figures->newWindowMs = BatchedMedianMs([&] {
    gFake.foregroundWindow = gFake.foregroundWindow == front ? elsewhere : front;
    sink = sink + TakeKeyPress(kVkNothingCompletes);
  });
  gFake.events.clear();
  gFake.foregroundWindow = front;
  figures->programRuleMs = MatchingMs(kProgramRuleLine, &figures->programMatch);
  figures->titleRuleMs = MatchingMs(kTitleRuleLine, &figures->titleMatch);
  gFake.foregroundWindow = elsewhere;
  MatchingMs(kProgramRuleLine, &figures->programMatchElsewhere);
  gFake.foregroundWindow = front;
}

}  // namespace

// The whole of a key that completes nothing (the look at the window in front, the history, the
// matcher), the same in a window that has just come in front, and the matching of a key that
// completes an entry with a rule, each beside the same without rules.
bool BenchProgramRules(const std::string& folder) {
  std::string plainPath = folder + "/bench_large_triggers.txt", ruledPath = folder + "/bench_ruled_triggers.txt";
  if (!WriteFile(plainPath, LargeFileText()) || !WriteFile(ruledPath, RuledFileText())) return false;
  uint32_t front = FakeFrontWindowOf("target.exe", "Some title");
  uint32_t elsewhere = FakeFrontWindowOf("other.exe", "Other title");
  RuleFigures plain, ruled;
  LoadInTurn(plainPath, ruledPath, &plain, &ruled);
  KeyPressFigures(plainPath, front, elsewhere, &plain);
  KeyPressFigures(ruledPath, front, elsewhere, &ruled);
  int rules = ProgramRuleCount();
  ReleaseTriggerTable();
  const char* reference = "the same without rules";
  printf("Host figures, %d triggers of which %d carry program rules, target.exe in front\n", kLargeTriggers,
         kLargeTriggers / kRuleEvery);
  PrintRow("load of the trigger file", ruled.loadMs, plain.loadMs, reference);
  PrintRow("one key press that completes nothing", ruled.missMs, plain.missMs, reference);
  PrintRow("  the same in a window just come in front", ruled.newWindowMs, plain.newWindowMs, reference);
  PrintRow("matching, an entry with a rule on programs", ruled.programRuleMs, plain.programRuleMs, reference);
  PrintRow("matching, an entry with a rule on titles", ruled.titleRuleMs, plain.titleRuleMs, reference);
  // Both tables find the same entries in target.exe; elsewhere, only the one without rules.
  bool sound = rules == kLargeTriggers / kRuleEvery && ruled.programMatch == kProgramRuleLine - 1 &&
               ruled.titleMatch == kTitleRuleLine - 1 && ruled.programMatchElsewhere < 0 &&
               plain.programMatch == ruled.programMatch && plain.titleMatch == ruled.titleMatch &&
               plain.programMatchElsewhere == ruled.programMatch;
  if (!sound) {
    fprintf(stderr, "host_bench: %d rules loaded; matched %d, %d, elsewhere %d (without rules %d, %d, %d)\n", rules,
            ruled.programMatch, ruled.titleMatch, ruled.programMatchElsewhere, plain.programMatch, plain.titleMatch,
            plain.programMatchElsewhere);
  }
  return sound;
}

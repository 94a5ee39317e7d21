// Host figures of the core at scale, over the recording fake with real files: a load of a
// 255-trigger file with a long tail, one key press matched against its table, and the start of
// an expansion whose output line is 100 KB; then a 50,000-line file: its load, a key press that
// matches nothing, one that matches the last entry, and the output lookup of that entry; and the
// same two key presses against 50,000 whole-word corrections in any case; then key presses
// against 50,000 entries of which 1,000 carry program rules (host_bench_rules.cpp), the search
// (host_bench_search.cpp), and ten included files beside one (host_bench_include.cpp). Each is the
// median of many runs, shown beside a plain reference measured in the same run and as a share
// of the key poller's 10 ms tick.
//
//   host_bench FOLDER    (a scratch folder for the trigger file)
#include "tests/bench/host_bench.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "common/heap.h"
#include "common/state.h"
#include "tests/unit/fake_platform.h"
#include "triggers/trigger_loader.h"
#include "watcher/expansion.h"
#include "watcher/matcher.h"

namespace {

const int kTriggers = 255;
const size_t kTailBytes = 1 << 20;
const size_t kLongOutputBytes = 100 * 1024;
const int kExpansionRuns = 21;

// 254 short triggers, the last one with a 100 KB output, then a 1 MB tail of notes.
std::string TriggerFileText() {
  std::string text;
  char line[64];
  for (int i = 0; i < kTriggers - 1; ++i) {
    snprintf(line, sizeof line, "t%03d=output number %d{Enter}\r\n", i, i);
    text += line;
  }
  text += "long=" + std::string(kLongOutputBytes, 'x') + "\r\n";
  std::string note = "A note line after the triggers, without an equals sign in it.\r\n";
  while (text.size() < kTailBytes + kLongOutputBytes) text += note;
  return text;
}

// The plainest reading of a file: into memory in one piece, then a count of its line feeds.
size_t PlainRead(const char* path) {
  FILE* file = fopen(path, "rb");
  if (!file) return 0;
  std::vector<char> bytes(kTailBytes * 2);
  size_t length = fread(bytes.data(), 1, bytes.size(), file);
  fclose(file);
  return size_t(std::count(bytes.begin(), bytes.begin() + long(length), '\n'));
}

// The plainest match: the newest bytes against every stored trigger with memcmp.
int PlainMatch(const std::vector<std::string>& stored, const uint8_t* history) {
  for (size_t i = 0; i < stored.size(); ++i) {
    if (memcmp(stored[i].data(), history, stored[i].size()) == 0) return int(i);
  }
  return -1;
}

int EntryOf(const char* storedTrigger) {
  for (int i = 0; i < TriggerCount(); ++i) {
    if (strcmp(StoredTrigger(i), storedTrigger) == 0) return i;
  }
  return -1;
}

}  // namespace

std::string LargeFileText() {
  std::string text;
  char line[64];
  for (int i = 1; i <= kLargeTriggers; ++i) {
    snprintf(line, sizeof line, "w%05dx=out%05d\r\n", i, i);
    text += line;
  }
  return text;
}

bool WriteFile(const std::string& path, const std::string& text) {
  FILE* file = fopen(path.c_str(), "wb");
  bool written = file && fwrite(text.data(), 1, text.size(), file) == text.size();
  return (file ? fclose(file) == 0 : false) && written;
}

void SetTyped(const std::string& typed) {
  memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
  std::string reversed(typed.rbegin(), typed.rend());
  memcpy(gWatcher.typedHistory, reversed.data(), reversed.size());
}

namespace {

// The figures at 50,000 entries. Returns false, having said why, when the table is not whole.
bool BenchLargeFile(const std::string& folder) {
  std::string path = folder + "/bench_large_triggers.txt";
  std::string text = LargeFileText();
  if (!WriteFile(path, text)) {
    fprintf(stderr, "host_bench: cannot write %s\n", path.c_str());
    return false;
  }
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path.c_str());
  double loadMs = MedianMs(kLoadRuns, [&] { LoadTriggerFile(path.c_str()); });
  double plainReadMs = MedianMs(kLoadRuns, [&] { PlainRead(path.c_str()); });
  if (TriggerCount() != kLargeTriggers) {
    fprintf(stderr, "host_bench: %d of %d triggers loaded\n", TriggerCount(), kLargeTriggers);
    return false;
  }
  std::vector<std::string> stored;
  for (int i = 0; i < TriggerCount(); ++i) stored.push_back(StoredTrigger(i));
  volatile int sink = 0;
  SetTyped("qrstuvwxyz");
  double missMs = BatchedMedianMs([&] { sink = sink + FindMatchingTrigger('Z'); });
  double plainMissMs = BatchedMedianMs([&] { sink = sink + PlainMatch(stored, gWatcher.typedHistory); });
  SetTyped("w50000x");
  int last = FindMatchingTrigger('X');
  double lastMs = BatchedMedianMs([&] { sink = sink + FindMatchingTrigger('X'); });
  double plainLastMs = BatchedMedianMs([&] { sink = sink + PlainMatch(stored, gWatcher.typedHistory); });
  double lookupMs = MedianMs(kExpansionRuns, [&] {
    gFake.events.clear();
    StartExpansion(kLargeTriggers - 1, 'X');
  });
  std::string output = gPlayer.outputBuffer ? gPlayer.outputBuffer : "";
  FreeAndForget(gPlayer.outputBuffer);
  double plainFindMs = MedianMs(kExpansionRuns, [&] {
    PlainRead(path.c_str());
    sink = sink + int(text.find("\nw50000x=") != std::string::npos);
  });
  ReleaseTriggerTable();

  printf("Host figures, %d triggers in a %zu KB file\n", kLargeTriggers, text.size() / 1024);
  PrintRow("load of the trigger file", loadMs, plainReadMs, "a plain read and line count");
  PrintRow("one key press that matches nothing", missMs, plainMissMs, "a plain walk of every entry");
  PrintRow("one key press that matches the last entry", lastMs, plainLastMs, "a plain walk of every entry");
  PrintRow("output lookup when the last entry fires", lookupMs, plainFindMs, "a plain read and search");
  if (last != kLargeTriggers - 1 || output != "out50000") {
    fprintf(stderr, "host_bench: the last entry matched as %d and gave \"%s\"\n", last, output.c_str());
    return false;
  }
  return true;
}

// The same number of corrections, matched as whole words in any case, as an imported list.
std::string AutocorrectFileText() {
  std::string text = "{word}{case}\r\n";
  char line[64];
  for (int i = 1; i <= kLargeTriggers; ++i) {
    snprintf(line, sizeof line, "w%05dq=out%05d\r\n", i, i);
    text += line;
  }
  return text;
}

// A key press at the end of a word typed in capitals, against 50,000 whole-word entries in any
// case: one that completes nothing and one that completes the last entry. The reference walks
// every entry with the history already folded.
bool BenchAutocorrect(const std::string& folder) {
  std::string path = folder + "/bench_autocorrect.txt";
  if (!WriteFile(path, AutocorrectFileText())) return false;
  LoadTriggerFile(path.c_str());
  if (TriggerCount() != kLargeTriggers) {
    fprintf(stderr, "host_bench: %d of %d corrections loaded\n", TriggerCount(), kLargeTriggers);
    return false;
  }
  std::vector<std::string> stored;
  for (int i = 0; i < TriggerCount(); ++i) stored.push_back(StoredTrigger(i));
  volatile int sink = 0;
  SetTyped("QRSTUVWXYZ ");
  double missMs = BatchedMedianMs([&] { sink = sink + FindMatchingTrigger(' '); });
  SetTyped("qrstuvwxyz ");
  double plainMissMs = BatchedMedianMs([&] { sink = sink + PlainMatch(stored, gWatcher.typedHistory + 1); });
  SetTyped("W50000Q ");
  int last = FindMatchingTrigger(' ');
  double lastMs = BatchedMedianMs([&] { sink = sink + FindMatchingTrigger(' '); });
  SetTyped("w50000q ");
  double plainLastMs = BatchedMedianMs([&] { sink = sink + PlainMatch(stored, gWatcher.typedHistory + 1); });
  ReleaseTriggerTable();
  printf("Host figures, %d \"{word}{case}\" corrections, typed in capitals\n", kLargeTriggers);
  PrintRow("one key press that matches nothing", missMs, plainMissMs, "a plain walk of every entry");
  PrintRow("one key press that matches the last entry", lastMs, plainLastMs, "a plain walk of every entry");
  if (last != kLargeTriggers - 1) {
    fprintf(stderr, "host_bench: the last correction matched as %d\n", last);
    return false;
  }
  return true;
}

}  // namespace

void PrintRow(const char* figure, double ms, double referenceMs, const char* reference) {
  printf("%-44s %11.6f ms  %8.4f%% of the tick  %8.4f x %s (%.6f ms)\n", figure, ms, 100 * ms / kTickMs,
         referenceMs > 0 ? ms / referenceMs : 0.0, reference, referenceMs);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: host_bench FOLDER\n");
    return 2;
  }
  std::string path = std::string(argv[1]) + "/bench_triggers.txt";
  std::string text = TriggerFileText();
  FILE* file = fopen(path.c_str(), "wb");
  if (!file || fwrite(text.data(), 1, text.size(), file) != text.size() || fclose(file) != 0) {
    fprintf(stderr, "host_bench: cannot write %s\n", path.c_str());
    return 1;
  }
  FakeReset();
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path.c_str());

  double loadMs = MedianMs(kLoadRuns, [&] { LoadTriggerFile(path.c_str()); });
  double plainReadMs = MedianMs(kLoadRuns, [&] { PlainRead(path.c_str()); });
  int loaded = TriggerCount();

  // A key press that completes no trigger, so that the whole table is compared.
  memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
  memcpy(gWatcher.typedHistory, "zyxwvutsrq", 10);
  std::vector<std::string> stored;
  for (int i = 0; i < loaded; ++i) stored.push_back(StoredTrigger(i));
  volatile int sink = 0;
  double matchMs = BatchedMedianMs([&] { sink = sink + FindMatchingTrigger('Q'); });
  double plainMatchMs = BatchedMedianMs([&] { sink = sink + PlainMatch(stored, gWatcher.typedHistory); });

  int longEntry = EntryOf("gnol");
  if (longEntry < 0) {
    fprintf(stderr, "host_bench: the long trigger did not load (%d loaded)\n", loaded);
    return 1;
  }
  double expansionMs = MedianMs(kExpansionRuns, [&] {
    gFake.events.clear();
    StartExpansion(longEntry, 'G');
  });
  size_t outputLength = gPlayer.outputBuffer ? strlen(gPlayer.outputBuffer) : 0;
  FreeAndForget(gPlayer.outputBuffer);
  double plainFindMs = MedianMs(kExpansionRuns, [&] {
    PlainRead(path.c_str());
    sink = sink + int(text.find("\nlong=") != std::string::npos);
  });
  ReleaseTriggerTable();

  printf("Host figures, %d triggers and a %zu KB file (median; tick = the key poller's %.0f ms)\n", loaded,
         text.size() / 1024, kTickMs);
  PrintRow("load of the trigger file", loadMs, plainReadMs, "a plain read and line count");
  PrintRow("one key press against the full table", matchMs, plainMatchMs, "a plain memcmp loop");
  PrintRow("expansion start, 100 KB output line", expansionMs, plainFindMs, "a plain read and search");
  if (outputLength != kLongOutputBytes) {
    fprintf(stderr, "host_bench: the expansion gave %zu characters, not %zu\n", outputLength, kLongOutputBytes);
    return 1;
  }
  bool whole = BenchLargeFile(argv[1]) && BenchAutocorrect(argv[1]) && BenchProgramRules(argv[1]) &&
               BenchSearch(argv[1]) && BenchIncludedFiles(argv[1]);
  return whole ? 0 : 1;
}

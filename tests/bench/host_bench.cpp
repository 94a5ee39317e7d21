// Host figures of the core at scale, over the recording fake with real files: a load of a full
// trigger file with a long tail, one key press matched against the full table, and the start of
// an expansion whose output line is 100 KB. Each is the median of many runs, shown beside a
// plain reference measured in the same run and as a share of the key poller's 10 ms tick.
//
//   host_bench FOLDER    (a scratch folder for the trigger file)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

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
const double kTickMs = 10.0;
const int kLoadRuns = 21;
const int kMatchRuns = 20001;
const int kExpansionRuns = 21;

double NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The median time of `runs` calls of `work`, in milliseconds.
template <typename Work> double MedianMs(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double start = NowMs();
    work();
    times.push_back(NowMs() - start);
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

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

void PrintRow(const char* figure, double ms, double referenceMs, const char* reference) {
  printf("%-44s %10.4f ms  %6.3f of the tick  %7.2f x %s (%.4f ms)\n", figure, ms, ms / kTickMs,
         referenceMs > 0 ? ms / referenceMs : 0.0, reference, referenceMs);
}

}  // namespace

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
  double matchMs = MedianMs(kMatchRuns, [&] { sink = sink + FindMatchingTrigger('Q'); });
  double plainMatchMs = MedianMs(kMatchRuns, [&] { sink = sink + PlainMatch(stored, gWatcher.typedHistory); });

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
  return 0;
}

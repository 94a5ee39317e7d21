// Host figures of included files: the load of a main file that includes ten files of 5,000
// triggers each, beside the load of the same 50,000 triggers in one file, in turn in the same
// run (see host_bench.cpp); and the output lookup of the last entry, read from its own file.
#include <stdio.h>

#include <string>

#include "common/heap.h"
#include "common/state.h"
#include "tests/bench/host_bench.h"
#include "tests/unit/fake_platform.h"
#include "triggers/trigger_files.h"
#include "triggers/trigger_loader.h"
#include "watcher/expansion.h"

namespace {

const int kIncludedFiles = 10;
const int kTriggersPerFile = kLargeTriggers / kIncludedFiles;

// Lines `first` to `last` of the large list, as LargeFileText writes them.
std::string LinesOfLargeList(int first, int last) {
  std::string text;
  char line[64];
  for (int i = first; i <= last; ++i) {
    snprintf(line, sizeof line, "w%05dx=out%05d\r\n", i, i);
    text += line;
  }
  return text;
}

// Writes the ten parts of the large list and the main file that includes them; false when it
// could not.
bool WriteIncludingFiles(const std::string& folder, const std::string& mainPath) {
  std::string main = "; ten files of the team\r\n";
  for (int part = 0; part < kIncludedFiles; ++part) {
    std::string name = "bench_part" + std::to_string(part) + ".txt";
    int first = part * kTriggersPerFile + 1;
    if (!WriteFile(folder + "/" + name, LinesOfLargeList(first, first + kTriggersPerFile - 1))) return false;
    main += "{include " + name + "}\r\n";
  }
  return WriteFile(mainPath, main);
}

// The median time of an output lookup of the last entry, and the output it gave.
double LastLookupMs(std::string* output) {
  double ms = MedianMs(kLoadRuns, [] {
    gFake.events.clear();
    StartExpansion(TriggerCount() - 1, 'X');
  });
  *output = gPlayer.outputBuffer ? gPlayer.outputBuffer : "";
  FreeAndForget(gPlayer.outputBuffer);
  return ms;
}

}  // namespace

bool BenchIncludedFiles(const std::string& folder) {
  std::string singlePath = folder + "/bench_single.txt", mainPath = folder + "/bench_including.txt";
  if (!WriteFile(singlePath, LargeFileText()) || !WriteIncludingFiles(folder, mainPath)) {
    fprintf(stderr, "host_bench: cannot write the included files in %s\n", folder.c_str());
    return false;
  }
  std::string singleOutput, includedOutput;
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", singlePath.c_str());
  double singleMs = MedianMs(kLoadRuns, [&] { LoadTriggerFile(singlePath.c_str()); });
  int singleCount = TriggerCount();
  double singleLookupMs = LastLookupMs(&singleOutput);
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", mainPath.c_str());
  double includedMs = MedianMs(kLoadRuns, [&] { LoadTriggerFile(mainPath.c_str()); });
  int includedCount = TriggerCount(), files = TriggerFileCount();
  double includedLookupMs = LastLookupMs(&includedOutput);
  ReleaseTriggerTable();
  printf("Host figures, %d triggers in ten included files of %d, beside one file\n", kLargeTriggers,
         kTriggersPerFile);
  PrintRow("load of a file that includes ten", includedMs, singleMs, "the load of one file of all");
  PrintRow("output lookup, last entry of the tenth", includedLookupMs, singleLookupMs, "the same in one file");
  if (singleCount != kLargeTriggers || includedCount != kLargeTriggers || files != kIncludedFiles + 1 ||
      singleOutput != "out50000" || includedOutput != "out50000") {
    fprintf(stderr, "host_bench: %d and %d triggers, %d files, outputs \"%s\" and \"%s\"\n", singleCount,
            includedCount, files, singleOutput.c_str(), includedOutput.c_str());
    return false;
  }
  return true;
}

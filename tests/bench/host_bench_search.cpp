// The search window's filter at 50,000 triggers: one, two and three query words, each filtered
// and ranked over every trigger, label and output, beside a plain case-insensitive substring scan
// of the same texts in the same run.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "common/heap.h"
#include "common/state.h"
#include "common/text.h"
#include "search/trigger_search.h"
#include "tests/bench/host_bench.h"
#include "tests/unit/fake_platform.h"
#include "triggers/trigger_loader.h"

namespace {

const int kFilterRuns = 51;
const int kLabelEvery = 10;  // one trigger in ten has a comment line above it
const char* const kQueries[] = {"order", "dear 4999", "Thank ORDER w123"};

// 50,000 triggers with outputs of a few words, and labels on some; `texts` gets each one's
// trigger, label and output as the search looks at them.
std::string SearchFileText(std::vector<std::string>* texts) {
  std::string text;
  char trigger[16], label[64], output[96];
  for (int i = 1; i <= kLargeTriggers; ++i) {
    snprintf(trigger, sizeof trigger, "w%05dx", i);
    snprintf(label, sizeof label, "reply number %d to a customer", i);
    snprintf(output, sizeof output, "Dear customer %d, thank you for your order.{Enter}Regards", i);
    bool labelled = i % kLabelEvery == 0;
    if (labelled) text += std::string("; ") + label + "\r\n";
    text += std::string(trigger) + "=" + output + "\r\n";
    texts->push_back(std::string(trigger) + "\n" + (labelled ? label : "") + "\n" + output);
  }
  return text;
}

// The plainest filter: every word looked for, ignoring letter case, in each item's texts.
int PlainScan(const std::vector<std::string>& texts, const std::vector<std::string>& words) {
  int found = 0;
  for (const std::string& text : texts) {
    bool all = true;
    for (const std::string& word : words) all = all && FindTextNoCase(text.c_str(), word.c_str()) != nullptr;
    found += all ? 1 : 0;
  }
  return found;
}

std::vector<std::string> WordsOf(const char* query) {
  std::vector<std::string> words;
  std::string word;
  for (const char* at = query;; ++at) {
    if (*at && *at != ' ') {
      word += *at;
      continue;
    }
    if (!word.empty()) words.push_back(word);
    word.clear();
    if (!*at) return words;
  }
}

}  // namespace

bool BenchSearch(const std::string& folder) {
  std::string path = folder + "/bench_search.txt";
  std::vector<std::string> texts;
  if (!WriteFile(path, SearchFileText(&texts))) return false;
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path.c_str());
  LoadTriggerFile(path.c_str());
  gFake.events.clear();
  uint32_t capacity = 0;
  char* fileText = ReadTriggerFileAfterLineFeed(path.c_str(), &capacity);
  bool built = fileText && BuildSearchItems(fileText, nullptr);
  FreeBlock(fileText);
  if (!built || gSearch.count != kLargeTriggers) {
    fprintf(stderr, "host_bench: %d of %d triggers to search\n", gSearch.count, kLargeTriggers);
    return false;
  }
  printf("Host figures, the search over %d triggers (filtered and ranked after each letter)\n", kLargeTriggers);
  bool same = true;
  for (const char* query : kQueries) {
    std::vector<std::string> words = WordsOf(query);
    volatile int sink = 0;
    double filterMs = MedianMs(kFilterRuns, [&] { FilterSearchItems(query); });
    int rows = gSearch.rowCount;
    double plainMs = MedianMs(kFilterRuns, [&] { sink = sink + PlainScan(texts, words); });
    char figure[80];
    snprintf(figure, sizeof figure, "%zu word%s \"%s\" (%d rows)", words.size(), words.size() > 1 ? "s" : "", query,
             rows);
    PrintRow(figure, filterMs, plainMs, "a plain case-insensitive substring scan");
    same = same && rows == PlainScan(texts, words);
  }
  ReleaseSearchItems();
  ReleaseTriggerTable();
  if (!same) fprintf(stderr, "host_bench: the search and the plain scan found different rows\n");
  return same;
}

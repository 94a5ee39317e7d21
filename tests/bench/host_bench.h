// What the host figures of `make bench` share: the timing, the 50,000-line list and the rows.
#pragma once
#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

const double kTickMs = 10.0;
const int kLoadRuns = 21;
const int kMatchRuns = 2001;
const int kMatchBatch = 100;  // key presses timed together: one alone is below the clock's grain
const int kLargeTriggers = 50000;

inline double NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

inline double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
  return values[values.size() / 2];
}

// The time of one call of `work`, in milliseconds.
template <typename Work> double TimeMs(Work work) {
  double start = NowMs();
  work();
  return NowMs() - start;
}

// The median time of `runs` calls of `work`, in milliseconds.
template <typename Work> double MedianMs(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(TimeMs(work));
  return Median(times);
}

// The median time of one call of `work`, timed in batches of kMatchBatch.
template <typename Work> double BatchedMedianMs(Work work) {
  return MedianMs(kMatchRuns, [&] {
    for (int i = 0; i < kMatchBatch; ++i) work();
  }) / kMatchBatch;
}

// Distinct abbreviations "w00001x" to "w50000x", each with its own output, as an imported list.
std::string LargeFileText();

// Writes `text` to `path` whole; false when it could not.
bool WriteFile(const std::string& path, const std::string& text);

// The newest bytes of the history: `typed` as a typist entered it, newest first.
void SetTyped(const std::string& typed);

// One row of figures: `ms` and its share of the tick, and its ratio to `reference`, which took
// referenceMs in the same run.
void PrintRow(const char* figure, double ms, double referenceMs, const char* reference);

// The key presses against a list with program rules, beside the same list without them
// (host_bench_rules.cpp). Returns false, having said why, when the tables did not match as they should.
bool BenchProgramRules(const std::string& folder);

// The search window's filter over 50,000 triggers, beside a plain scan (host_bench_search.cpp).
// Returns false, having said why, when the two found different rows.
bool BenchSearch(const std::string& folder);

// The load of a file that includes ten files of 5,000 triggers, beside one file of 50,000
// (host_bench_include.cpp). Returns false, having said why, when the tables were not whole.
bool BenchIncludedFiles(const std::string& folder);

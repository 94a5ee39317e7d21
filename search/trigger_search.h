// The search over every trigger: the items that the search window lists, built from the trigger
// file when the window opens, filtered and ranked for each query as it is typed. Portable: the
// window itself (search/search_window.cpp) calls these procedures.
#pragma once
#include <stddef.h>
#include <stdint.h>

// The rank groups of a row, best first.
enum SearchGroup : uint8_t {
  kSearchExact,        // the trigger is the query
  kSearchPrefix,       // the trigger begins with the query
  kSearchWordStarts,   // each query word begins a word of the trigger, the label or the output
  kSearchAnywhere,     // each query word stands somewhere in them
  kSearchNotListed,
};

// Builds the items from `fileText` (the main trigger file as ReadTriggerFileAfterLineFeed gives
// it), the files that it includes (read from disk) and the trigger table: one per entry whose line
// its file holds, in the table's order, but for entries whose output opens the search itself and
// those that `mayList` refuses (nullptr lists all). Returns false when memory ran out; the items
// built so far stay.
bool BuildSearchItems(const char* fileText, bool (*mayList)(int entry));

// Fills gSearch.rows with the items that `query` finds, best first (see SearchGroup; within a
// group the most recent choices first, then file order). An empty query lists every item.
// Keeps the query as the run's last one.
void FilterSearchItems(const char* query);

// The group of item `item` for `query` (folded, as FilterSearchItems does); kSearchNotListed
// when some query word is missing.
SearchGroup SearchItemGroup(int32_t item, const char* query);

// The texts that row `row` shows: the trigger as written (option words out), its label (the
// comment line right above it, ";" and blanks off; empty when none) and its output's first line.
const char* SearchRowTrigger(int32_t row);
const char* SearchRowLabel(int32_t row);
const char* SearchRowOutput(int32_t row);

// The trigger table entry of row `row`, noted as the newest choice of the run.
int32_t ChooseSearchRow(int32_t row);

// "{Search}": builds the items from the trigger file for the window in front (a trigger whose
// program rule keeps it out of that window is not listed), lists the last query's rows and opens
// the search window. False, the status bar telling why, when the file or the window failed.
bool OpenTriggerSearch();

// Releases the items (the last query and the choices stay for the run).
void ReleaseSearchItems();

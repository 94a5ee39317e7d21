// The search over every trigger (see trigger_search.h). Each item keeps its texts folded to small
// letters once, when the window opens, so that a query typed letter by letter costs one plain
// substring search per query word and item: 50,000 triggers are filtered well within a frame.
#include "search/trigger_search.h"

#include <stdlib.h>
#include <string.h>

#include "common/heap.h"
#include "common/state.h"
#include "common/text.h"
#include "common/status_text.h"
#include "common/utf8.h"
#include "platform/search_window.h"
#include "platform/top_windows.h"
#include "triggers/firing_rules.h"
#include "triggers/trigger_files.h"
#include "triggers/trigger_loader.h"
#include "triggers/trigger_table.h"
#include "triggers/word_case.h"

const int32_t kFirstItemCapacity = 256;
const uint32_t kFirstSearchTextCapacity = 16384;
const char kSearchCommand[] = "{Search}";
const char kLineBreakName[] = "{Enter}";
const char kFieldEnd = '\n';  // between the folded trigger, label and output
const int kMaxQueryWords = 16;
const uint32_t kHashStart = 2166136261u;  // FNV-1a
const uint32_t kHashFactor = 16777619u;
const int kSearchTitleSize = 1024;  // bytes of the front window's title that a rule looks at
const char kSearchUnreadText[] = " * * * WARNING: The search cannot read the trigger file.";
const char kSearchNoMemoryText[] = " * * * WARNING: Not enough memory to search every trigger.";
const char kSearchNoWindowText[] = " * * * WARNING: The search window could not be opened.";

// ---- storage ---------------------------------------------------------------------------------

static bool GrowItems() {
  if (gSearch.capacity > INT32_MAX / 2) return false;
  int32_t capacity = gSearch.capacity ? gSearch.capacity * 2 : kFirstItemCapacity;
  auto* items = static_cast<SearchItem*>(AllocZeroed(size_t(capacity), sizeof(SearchItem)));
  auto* rows = static_cast<int32_t*>(AllocZeroed(size_t(capacity), sizeof(int32_t)));
  auto* groups = static_cast<uint8_t*>(AllocZeroed(size_t(capacity), 1));
  if (!items || !rows || !groups) {
    FreeBlock(items);
    FreeBlock(rows);
    FreeBlock(groups);
    return false;
  }
  if (gSearch.count > 0) memcpy(items, gSearch.items, size_t(gSearch.count) * sizeof(SearchItem));
  FreeBlock(gSearch.items);
  FreeBlock(gSearch.rows);
  FreeBlock(gSearch.groups);
  gSearch.items = items;
  gSearch.rows = rows;
  gSearch.groups = groups;
  gSearch.capacity = capacity;
  return true;
}

// Room for `bytes` more bytes of text; false when the heap has none.
static bool ReserveSearchText(uint64_t bytes) {
  return ReserveTextRoom(&gSearch.text, gSearch.textUsed, &gSearch.textCapacity, bytes, kFirstSearchTextCapacity);
}

static void AppendText(const char* text, size_t length) {
  memcpy(gSearch.text + gSearch.textUsed, text, length);
  gSearch.textUsed += uint32_t(length);
}

static void AppendFolded(const char* text, size_t length) {
  gSearch.textUsed += uint32_t(LowerCaseText(text, length, gSearch.text + gSearch.textUsed));
}

void ReleaseSearchItems() {
  FreeAndForget(gSearch.items);
  FreeAndForget(gSearch.rows);
  FreeAndForget(gSearch.groups);
  FreeAndForget(gSearch.text);
  gSearch.count = gSearch.capacity = gSearch.rowCount = 0;
  gSearch.textUsed = gSearch.textCapacity = 0;
}

// ---- recent choices --------------------------------------------------------------------------

static uint32_t HashText(const char* text, uint32_t hash) {
  for (; *text; ++text) hash = (hash ^ uint8_t(*text)) * kHashFactor;
  return hash;
}

// What tells a choice of `entry` across loads: its search key and, for an included file's trigger,
// that file's path, since two files may hold the same trigger.
static uint32_t KeyHash(int32_t entry) {
  uint32_t hash = HashText(TriggerSearchKey(entry), kHashStart);
  int32_t file = TriggerFileOf(entry);
  return file == kMainTriggerFile ? hash : HashText(TriggerFileAt(file).path, hash);
}

static int8_t RecentRank(int32_t entry) {
  if (gSearch.recentCount == 0) return -1;
  uint32_t hash = KeyHash(entry);
  for (int32_t rank = 0; rank < gSearch.recentCount; ++rank) {
    if (gSearch.recentKeys[rank] == hash && gSearch.recentVariants[rank] == SameTriggerLinesBefore(entry)) {
      return int8_t(rank);
    }
  }
  return -1;
}

// Puts `entry` first among the recent choices, taking it out of its old place.
static void NoteRecentChoice(int32_t entry) {
  uint32_t hash = KeyHash(entry);
  int32_t variant = SameTriggerLinesBefore(entry);
  int32_t at = 0;
  while (at < gSearch.recentCount && !(gSearch.recentKeys[at] == hash && gSearch.recentVariants[at] == variant)) ++at;
  if (at == gSearch.recentCount && gSearch.recentCount < kRecentChoices) ++gSearch.recentCount;
  if (at == kRecentChoices) at = kRecentChoices - 1;
  for (; at > 0; --at) {
    gSearch.recentKeys[at] = gSearch.recentKeys[at - 1];
    gSearch.recentVariants[at] = gSearch.recentVariants[at - 1];
  }
  gSearch.recentKeys[0] = hash;
  gSearch.recentVariants[0] = variant;
}

// ---- building --------------------------------------------------------------------------------

static size_t LineLength(const char* line) { return strcspn(line, "\r\n"); }

// The comment of the line before, ";" and the blanks around it off; empty when that is none.
static void LabelOf(const char* previous, size_t previousLength, const char** label, size_t* length) {
  *label = "";
  *length = 0;
  if (!previous || previousLength == 0 || previous[0] != ';') return;
  const char* from = previous + 1;
  size_t n = previousLength - 1;
  while (n > 0 && IsBlankOrTab(*from)) ++from, --n;
  while (n > 0 && IsBlankOrTab(from[n - 1])) --n;
  *label = from;
  *length = n;
}

// Whether the `length` bytes at `text` hold `word` (letter case ignored).
static bool HoldsWord(const char* text, size_t length, const char* word) {
  size_t wordLength = strlen(word);
  for (size_t at = 0; at + wordLength <= length; ++at) {
    if (text[at] == '{' && StartsWithNoCase(text + at, word)) return true;
  }
  return false;
}

// Adds the item of `entry`, whose line's output is the `outputLength` bytes at `output`.
static bool AddItem(int32_t entry, const char* label, size_t labelLength, const char* output, size_t outputLength) {
  char trigger[kStoredTriggerSize * 8];
  const char* key = TriggerSearchKey(entry);
  size_t keyLength = strlen(key);
  if (keyLength - 2 >= sizeof trigger) return true;  // a side too long for a row: left out
  memcpy(trigger, key + 1, keyLength - 2);
  trigger[keyLength - 2] = 0;
  RemoveOptionWords(trigger);
  size_t triggerLength = strlen(trigger);
  const char* lineBreak = FindTextNoCase(output, kLineBreakName);
  size_t shownOutput = lineBreak && size_t(lineBreak - output) < outputLength ? size_t(lineBreak - output) : outputLength;
  uint64_t room = triggerLength + labelLength + shownOutput + 3 +
                  uint64_t(kMaxUtf8Bytes) * (triggerLength + labelLength + outputLength) + 3;
  if (gSearch.count == gSearch.capacity && !GrowItems()) return false;
  if (!ReserveSearchText(room)) return false;
  SearchItem& item = gSearch.items[gSearch.count++];
  item.entry = entry;
  item.recentRank = RecentRank(entry);
  item.shownAt = gSearch.textUsed;
  AppendText(trigger, triggerLength + 1);
  AppendText(label, labelLength);
  AppendText("", 1);
  AppendText(output, shownOutput);
  AppendText("", 1);
  item.foldedAt = gSearch.textUsed;
  AppendFolded(trigger, triggerLength);
  item.triggerLength = gSearch.textUsed - item.foldedAt;
  AppendText(&kFieldEnd, 1);
  AppendFolded(label, labelLength);
  AppendText(&kFieldEnd, 1);
  AppendFolded(output, outputLength);
  AppendText("", 1);
  return true;
}

// The first entry of trigger file `file` from `entry` on; TriggerCount() when none is left.
static int32_t NextEntryOfFile(int32_t file, int32_t entry) {
  while (entry < TriggerCount() && TriggerFileOf(entry) != file) ++entry;
  return entry;
}

// Adds the items of the entries of trigger file `file`, whose text is `fileText`: walks the lines
// of the file and its entries together, both in file order: the next entry's line is the next
// line that begins with its trigger as written and "=".
static bool AddFileItems(const char* fileText, int32_t file, bool (*mayList)(int entry)) {
  int32_t entry = NextEntryOfFile(file, 0);
  const char* previous = nullptr;
  size_t previousLength = 0;
  for (const char* line = fileText; *line && entry < TriggerCount();) {
    while (*line == '\r' || *line == '\n') ++line;
    size_t length = LineLength(line);
    const char* key = TriggerSearchKey(entry) + 1;  // the line feed before it is behind us
    size_t keyLength = strlen(key);
    if (length >= keyLength && strncmp(line, key, keyLength) == 0) {
      const char* output = line + keyLength;
      size_t outputLength = length - keyLength;
      const char* label;
      size_t labelLength;
      LabelOf(previous, previousLength, &label, &labelLength);
      bool listed = !HoldsWord(output, outputLength, kSearchCommand) && (!mayList || mayList(entry));
      if (listed && !AddItem(entry, label, labelLength, output, outputLength)) return false;
      entry = NextEntryOfFile(file, entry + 1);
    }
    previous = line;
    previousLength = length;
    line += length;
  }
  return true;
}

static int CompareItemEntries(const void* a, const void* b) {
  return static_cast<const SearchItem*>(a)->entry - static_cast<const SearchItem*>(b)->entry;
}

// Adds the items of every included file that the load read, each read from disk anew; a file that
// cannot be read now has none listed. The items then stand in the order of the table, each
// included file's at the place of its include line.
static bool AddIncludedFileItems(bool (*mayList)(int entry)) {
  for (int32_t file = kMainTriggerFile + 1; file < TriggerFileCount(); ++file) {
    if (TriggerFileAt(file).state != kTriggerFileRead) continue;
    uint32_t capacity = 0;
    char* fileText = ReadTriggerFileAfterLineFeed(OutputFilePath(file), &capacity);
    bool added = !fileText || AddFileItems(fileText, file, mayList);
    FreeBlock(fileText);
    if (!added) return false;
  }
  if (TriggerFileCount() > 1) qsort(gSearch.items, size_t(gSearch.count), sizeof(SearchItem), CompareItemEntries);
  return true;
}

bool BuildSearchItems(const char* fileText, bool (*mayList)(int entry)) {
  ReleaseSearchItems();
  return AddFileItems(fileText, kMainTriggerFile, mayList) && AddIncludedFileItems(mayList);
}

// ---- filtering -------------------------------------------------------------------------------

// Whether the byte before `at` in `text` ends no word: the text's start, or a blank or
// punctuation (a byte of a character beyond ASCII counts as a letter).
static bool BeginsWord(const char* text, const char* at) {
  if (at == text) return true;
  uint8_t before = uint8_t(at[-1]);
  if (before >= 0x80) return false;
  return !((before >= 'a' && before <= 'z') || (before >= '0' && before <= '9') || before == '_' || before == '\'');
}

// Whether `word` begins a word of `text` (some place where it stands).
static bool BeginsSomeWord(const char* text, const char* word) {
  for (const char* at = strstr(text, word); at; at = strstr(at + 1, word)) {
    if (BeginsWord(text, at)) return true;
  }
  return false;
}

// The query folded, and its words: blanks split it.
struct FoldedQuery {
  char text[kSearchQuerySize * kMaxUtf8Bytes];
  size_t length;  // blanks around it off
  char words[kSearchQuerySize * kMaxUtf8Bytes];
  const char* word[kMaxQueryWords];
  int wordCount;
};

static void FoldQuery(const char* query, FoldedQuery* folded) {
  size_t length = strnlen(query, kSearchQuerySize - 1);
  while (length > 0 && IsBlankOrTab(*query)) ++query, --length;
  while (length > 0 && IsBlankOrTab(query[length - 1])) --length;
  folded->length = LowerCaseText(query, length, folded->text);
  folded->text[folded->length] = 0;
  memcpy(folded->words, folded->text, folded->length + 1);
  folded->wordCount = 0;
  for (char* at = folded->words; *at && folded->wordCount < kMaxQueryWords;) {
    while (IsBlankOrTab(*at)) *at++ = 0;
    if (!*at) break;
    folded->word[folded->wordCount++] = at;
    while (*at && !IsBlankOrTab(*at)) ++at;
  }
}

static SearchGroup GroupOf(const SearchItem& item, const FoldedQuery& query) {
  const char* text = gSearch.text + item.foldedAt;
  for (int w = 0; w < query.wordCount; ++w) {
    if (!strstr(text, query.word[w])) return kSearchNotListed;
  }
  if (item.triggerLength == query.length && memcmp(text, query.text, query.length) == 0) return kSearchExact;
  if (item.triggerLength > query.length && memcmp(text, query.text, query.length) == 0) return kSearchPrefix;
  for (int w = 0; w < query.wordCount; ++w) {
    if (!BeginsSomeWord(text, query.word[w])) return kSearchAnywhere;
  }
  return kSearchWordStarts;
}

SearchGroup SearchItemGroup(int32_t item, const char* query) {
  static FoldedQuery folded;  // one thread searches
  FoldQuery(query, &folded);
  return GroupOf(gSearch.items[item], folded);
}

// Appends the items of `group` to the rows: the recent choices among them first, newest first,
// then the rest in file order.
static void AppendGroupRows(SearchGroup group, const int32_t* recentItems) {
  for (int32_t rank = 0; rank < gSearch.recentCount; ++rank) {
    int32_t item = recentItems[rank];
    if (item >= 0 && gSearch.groups[item] == group) gSearch.rows[gSearch.rowCount++] = item;
  }
  for (int32_t item = 0; item < gSearch.count; ++item) {
    if (gSearch.groups[item] == group && gSearch.items[item].recentRank < 0) gSearch.rows[gSearch.rowCount++] = item;
  }
}

void FilterSearchItems(const char* query) {
  CopyTextBounded(gSearch.lastQuery, query, sizeof gSearch.lastQuery);
  gSearch.rowCount = 0;
  static FoldedQuery folded;  // one thread searches
  FoldQuery(query, &folded);
  if (folded.wordCount == 0) {
    for (int32_t item = 0; item < gSearch.count; ++item) gSearch.rows[gSearch.rowCount++] = item;
    return;
  }
  int32_t recentItems[kRecentChoices];
  for (int32_t rank = 0; rank < kRecentChoices; ++rank) recentItems[rank] = -1;
  for (int32_t item = 0; item < gSearch.count; ++item) {
    gSearch.groups[item] = GroupOf(gSearch.items[item], folded);
    int8_t rank = gSearch.items[item].recentRank;
    if (rank >= 0 && recentItems[rank] < 0) recentItems[rank] = item;
  }
  for (uint8_t group = kSearchExact; group < kSearchNotListed; ++group) AppendGroupRows(SearchGroup(group), recentItems);
}

// ---- rows ------------------------------------------------------------------------------------

static const char* ShownText(int32_t row, int field) {
  const char* text = gSearch.text + gSearch.items[gSearch.rows[row]].shownAt;
  for (int skip = 0; skip < field; ++skip) text += strlen(text) + 1;
  return text;
}

const char* SearchRowTrigger(int32_t row) { return ShownText(row, 0); }
const char* SearchRowLabel(int32_t row) { return ShownText(row, 1); }
const char* SearchRowOutput(int32_t row) { return ShownText(row, 2); }

int32_t ChooseSearchRow(int32_t row) {
  int32_t entry = gSearch.items[gSearch.rows[row]].entry;
  NoteRecentChoice(entry);
  return entry;
}

// ---- opening ---------------------------------------------------------------------------------

// The window that was in front when the search opened, as the program rules see it.
struct SearchFront {
  char program[kProgramNameSize];
  char title[kSearchTitleSize * kMaxUtf8Bytes];
};
static SearchFront sFront;

static void FoldFrontText(const char* text, char* out, size_t size) {
  size_t length = strnlen(text, (size - 1) / kMaxUtf8Bytes);
  out[LowerCaseText(text, length, out)] = 0;
}

static bool MayFireInFront(int entry) { return RuleAllows(TriggerRule(entry), sFront.program, sFront.title); }

bool OpenTriggerSearch() {
  WindowHandle previous = PlatformForegroundWindow();
  char text[kSearchTitleSize];
  PlatformProcessFileName(PlatformWindowProcess(previous), text, sizeof text);
  FoldFrontText(text, sFront.program, sizeof sFront.program);
  PlatformWindowCaption(previous, text, sizeof text);
  FoldFrontText(text, sFront.title, sizeof sFront.title);
  uint32_t capacity = 0;
  char* fileText = ReadTriggerFileAfterLineFeed(gShell.triggerPath, &capacity);
  bool read = fileText != nullptr;
  bool built = read && BuildSearchItems(fileText, MayFireInFront);
  FreeBlock(fileText);
  if (!built) {
    SetStatusText(read ? kSearchNoMemoryText : kSearchUnreadText);
    return false;
  }
  FilterSearchItems(gSearch.lastQuery);
  if (PlatformOpenSearchWindow(previous)) return true;
  SetStatusText(kSearchNoWindowText);
  return false;
}

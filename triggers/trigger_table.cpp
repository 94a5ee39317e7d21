// The trigger table's storage: one array of records and one block of text, each grown by doubling
// through the heap, so memory stays in proportion to the file and a failed growth leaves the
// table whole. The index is a hash of chains threaded through the records; its bucket array
// grows with the records and is then rebuilt, which keeps every chain in file order.
#include "triggers/trigger_table.h"

#include <stdint.h>
#include <string.h>

#include "common/heap.h"

const int32_t kFirstRecordCapacity = 64;
const uint32_t kFirstTextCapacity = 4096;
const int32_t kFirstRuleCapacity = 8;
const int32_t kNoEntry = -1;
const uint32_t kHashStart = 2166136261u;  // FNV-1a
const uint32_t kHashFactor = 16777619u;
const uint32_t kHotkeySeed = 0x80;  // apart from every abbreviation key length

// ---- the index -------------------------------------------------------------------------------

static uint32_t HashBytes(const uint8_t* bytes, int length, uint32_t seed) {
  uint32_t hash = (kHashStart ^ seed) * kHashFactor;
  for (int i = 0; i < length; ++i) hash = (hash ^ bytes[i]) * kHashFactor;
  return hash;
}

int IndexKeyLength(int32_t matchLength) { return matchLength < kIndexKeyBytes ? int(matchLength) : kIndexKeyBytes; }

uint32_t AbbreviationBucket(const uint8_t* bytes, int keyLength) {
  return HashBytes(bytes, keyLength, uint32_t(keyLength)) & (gTriggers.bucketCount - 1);
}

uint32_t HotkeyBucket(uint8_t key) { return HashBytes(&key, 1, kHotkeySeed) & (gTriggers.bucketCount - 1); }

int32_t FirstInBucket(uint32_t bucket) { return gTriggers.buckets[bucket]; }

static uint32_t BucketOf(int32_t entry) {
  const TriggerRecord& record = gTriggers.records[entry];
  const uint8_t* stored = reinterpret_cast<const uint8_t*>(gTriggers.text + record.storedAt);
  if (record.flags != 0) return HotkeyBucket(stored[0]);
  return AbbreviationBucket(stored, IndexKeyLength(record.matchLength));
}

// Puts `entry`, the newest, at the end of its bucket's chain.
static void IndexEntry(int32_t entry) {
  uint32_t bucket = BucketOf(entry);
  int32_t* first = gTriggers.buckets;
  int32_t* last = gTriggers.buckets + gTriggers.bucketCount;
  gTriggers.records[entry].nextInBucket = kNoEntry;
  if (last[bucket] == kNoEntry) first[bucket] = entry;
  else gTriggers.records[last[bucket]].nextInBucket = entry;
  last[bucket] = entry;
}

static void RebuildIndex() {
  for (uint32_t i = 0; i < 2 * gTriggers.bucketCount; ++i) gTriggers.buckets[i] = kNoEntry;
  for (int32_t entry = 0; entry < gTriggers.count; ++entry) IndexEntry(entry);
}

// ---- growth ----------------------------------------------------------------------------------

// Doubles the records and the buckets together: one bucket per record keeps the chains short.
static bool GrowRecords() {
  if (gTriggers.capacity > INT32_MAX / 2) return false;
  int32_t capacity = gTriggers.capacity ? gTriggers.capacity * 2 : kFirstRecordCapacity;
  auto* records = static_cast<TriggerRecord*>(AllocZeroed(size_t(capacity), sizeof(TriggerRecord)));
  auto* buckets = static_cast<int32_t*>(AllocZeroed(2 * size_t(capacity), sizeof(int32_t)));
  if (!records || !buckets) {
    FreeBlock(records);
    FreeBlock(buckets);
    return false;
  }
  if (gTriggers.count > 0) memcpy(records, gTriggers.records, size_t(gTriggers.count) * sizeof(TriggerRecord));
  FreeBlock(gTriggers.records);
  FreeBlock(gTriggers.buckets);
  gTriggers.records = records;
  gTriggers.capacity = capacity;
  gTriggers.buckets = buckets;
  gTriggers.bucketCount = uint32_t(capacity);
  RebuildIndex();
  return true;
}

// Makes room for `bytes` more bytes of text.
static bool ReserveText(uint32_t bytes) {
  return ReserveTextRoom(&gTriggers.text, gTriggers.textUsed, &gTriggers.textCapacity, bytes, kFirstTextCapacity);
}

bool AddTrigger(const char* stored, const char* searchKey, uint8_t flags, uint8_t options, int32_t rule,
                int32_t file) {
  uint32_t storedLength = uint32_t(strlen(stored)), keyLength = uint32_t(strlen(searchKey));
  if (storedLength == 0) return false;
  if (!ReserveText(storedLength + keyLength + 2)) return false;
  if (gTriggers.count == gTriggers.capacity && !GrowRecords()) return false;
  char* at = gTriggers.text + gTriggers.textUsed;
  memcpy(at, stored, storedLength + 1);
  memcpy(at + storedLength + 1, searchKey, keyLength + 1);
  TriggerRecord& record = gTriggers.records[gTriggers.count];
  record.storedAt = gTriggers.textUsed;
  record.matchLength = int32_t(storedLength);
  record.flags = flags;
  record.options = flags == 0 ? options : uint8_t(options & (kOptionTyped | kOptionSwitchesSuspend));
  record.rule = rule;
  record.file = uint16_t(file);
  gTriggers.optionsUsed |= record.options;
  gTriggers.everywhereUsed = gTriggers.everywhereUsed || rule == kEverywhere;
  gTriggers.textUsed += storedLength + keyLength + 2;
  IndexEntry(gTriggers.count++);
  return true;
}

// ---- program rules ---------------------------------------------------------------------------

static bool GrowRules() {
  if (gTriggers.ruleCapacity > INT32_MAX / 2) return false;
  int32_t capacity = gTriggers.ruleCapacity ? gTriggers.ruleCapacity * 2 : kFirstRuleCapacity;
  auto* rules = static_cast<ProgramRule*>(AllocZeroed(size_t(capacity), sizeof(ProgramRule)));
  if (!rules) return false;
  if (gTriggers.ruleCount > 0) memcpy(rules, gTriggers.rules, size_t(gTriggers.ruleCount) * sizeof(ProgramRule));
  FreeBlock(gTriggers.rules);
  gTriggers.rules = rules;
  gTriggers.ruleCapacity = capacity;
  return true;
}

// A rule on every trigger line of a list adds none after the first: the lines share it.
static bool SameAsNewestRule(const char* patterns, bool exclude) {
  if (gTriggers.ruleCount == 0) return false;
  const ProgramRule& newest = gTriggers.rules[gTriggers.ruleCount - 1];
  return newest.exclude == exclude && strcmp(gTriggers.text + newest.patternsAt, patterns) == 0;
}

int32_t AddProgramRule(const char* patterns, bool exclude, bool byTitle) {
  if (SameAsNewestRule(patterns, exclude)) return gTriggers.ruleCount;
  uint32_t length = uint32_t(strlen(patterns));
  if (!ReserveText(length + 1)) return 0;
  if (gTriggers.ruleCount == gTriggers.ruleCapacity && !GrowRules()) return 0;
  ProgramRule& rule = gTriggers.rules[gTriggers.ruleCount];
  rule.patternsAt = gTriggers.textUsed;
  rule.exclude = exclude;
  rule.byTitle = byTitle;
  memcpy(gTriggers.text + gTriggers.textUsed, patterns, length + 1);
  gTriggers.textUsed += length + 1;
  return ++gTriggers.ruleCount;
}

void ReleaseTriggerTable() {
  FreeAndForget(gTriggers.rules);
  gTriggers.ruleCount = gTriggers.ruleCapacity = 0;
  gTriggers.everywhereUsed = false;
  FreeAndForget(gTriggers.records);
  FreeAndForget(gTriggers.text);
  FreeAndForget(gTriggers.buckets);
  gTriggers.count = gTriggers.capacity = 0;
  gTriggers.textUsed = gTriggers.textCapacity = 0;
  gTriggers.bucketCount = 0;
  gTriggers.optionsUsed = 0;
}

// ---- the entries -----------------------------------------------------------------------------

int TriggerCount() { return gTriggers.count; }

const char* StoredTrigger(int entry) { return gTriggers.text + gTriggers.records[entry].storedAt; }

const char* TriggerSearchKey(int entry) {
  const TriggerRecord& record = gTriggers.records[entry];
  return gTriggers.text + record.storedAt + record.matchLength + 1;
}

uint8_t TriggerFlags(int entry) { return gTriggers.records[entry].flags; }

uint8_t TriggerOptions(int entry) { return gTriggers.records[entry].options; }

int32_t TriggerMatchLength(int entry) { return gTriggers.records[entry].matchLength; }

int32_t TriggerRule(int entry) { return gTriggers.records[entry].rule; }

int32_t TriggerFileOf(int entry) { return gTriggers.records[entry].file; }

int32_t ProgramRuleCount() { return gTriggers.ruleCount; }

const ProgramRule& ProgramRuleAt(int32_t rule) { return gTriggers.rules[rule - 1]; }

const char* ProgramRulePatterns(int32_t rule) { return gTriggers.text + gTriggers.rules[rule - 1].patternsAt; }

// Only a variant has a line before it with the same trigger: a file without them (and the first
// of each) costs one pass over the entries at each firing, which is short beside the file read.
int SameTriggerLinesBefore(int entry) {
  const char* key = TriggerSearchKey(entry);
  uint16_t file = gTriggers.records[entry].file;
  int same = 0;
  for (int before = 0; before < entry; ++before) {
    const char* other = TriggerSearchKey(before);
    if (other[1] == key[1] && gTriggers.records[before].file == file && strcmp(other, key) == 0) ++same;
  }
  return same;
}

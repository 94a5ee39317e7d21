// The trigger table's storage and index: entries in file order, as many as memory allows, each
// a small record pointing into one block of text, and an index that lets the matcher look at the
// few entries a key press can complete instead of all of them.
#pragma once
#include <stdint.h>

#include "common/state.h"

// An abbreviation is indexed by at most this many of its first stored bytes (its last typed ones).
const int kIndexKeyBytes = 4;

// Appends an entry: `stored` (the stored trigger, not empty), `searchKey`, `flags`, `options`
// (a hotkey keeps kOptionTyped and kOptionSwitchesSuspend alone) and its program `rule`
// (kEverywhere, or a number that AddProgramRule gave) and the trigger file of its line. Returns
// false, leaving the table as it was, when the heap cannot supply the room.
bool AddTrigger(const char* stored, const char* searchKey, uint8_t flags, uint8_t options, int32_t rule,
                int32_t file);

// Appends a program rule whose patterns are `patterns` (each in small letters and ended by a
// ";", as ProgramRule says), and returns its number; the same rule as the newest one is not
// added again, its number is returned. 0 when the heap cannot supply the room.
int32_t AddProgramRule(const char* patterns, bool exclude, bool byTitle);

// Releases the table's blocks and empties it; the modes and the file encoding stay.
void ReleaseTriggerTable();

// The number of entries, and each entry's parts; `entry` is from 0 to TriggerCount() - 1.
int TriggerCount();
const char* StoredTrigger(int entry);
const char* TriggerSearchKey(int entry);
uint8_t TriggerFlags(int entry);
uint8_t TriggerOptions(int entry);
int32_t TriggerMatchLength(int entry);
int32_t TriggerRule(int entry);
int32_t TriggerFileOf(int entry);

// The number of program rules, and each one's parts; `rule` is from 1 to ProgramRuleCount().
int32_t ProgramRuleCount();
const ProgramRule& ProgramRuleAt(int32_t rule);
const char* ProgramRulePatterns(int32_t rule);

// How many entries of the same trigger file before `entry` have the same search key: the lines of
// its file before the entry's own that begin with the same trigger as written (variants with
// other rules).
int SameTriggerLinesBefore(int entry);

// How many of an abbreviation's first stored bytes index it: all of them up to kIndexKeyBytes.
int IndexKeyLength(int32_t matchLength);

// The index bucket of an abbreviation whose index key is the `keyLength` bytes at `bytes`, and
// that of a hotkey on `key`. The first entry of a bucket is FirstInBucket's, the next each
// record's nextInBucket; -1 ends the chain. Only to be asked while TriggerCount() > 0.
uint32_t AbbreviationBucket(const uint8_t* bytes, int keyLength);
uint32_t HotkeyBucket(uint8_t key);
int32_t FirstInBucket(uint32_t bucket);

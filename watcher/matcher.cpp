// Trigger matching. Stored triggers are reversed and the history is newest first, so an
// abbreviation is one comparison from the start of both; a hotkey compares only its key and
// the held modifiers. The index narrows a key press to a few short chains: the abbreviations
// whose first stored bytes are the newest typed ones, and the hotkeys on the pressed key.
#include "watcher/matcher.h"

#include <string.h>

#include "common/state.h"
#include "platform/keyboard.h"
#include "triggers/trigger_table.h"

const uint8_t kModifierFlags = kFlagControl | kFlagShift | kFlagAlt;
const int kNoMatch = -1;

// The modifiers held, as trigger flags, from the poller's Shift, Ctrl and Alt entries.
static uint8_t HeldModifierFlags() {
  const uint8_t* keys = gWatcher.previousKeyState;
  return uint8_t((keys[kVkControl] ? kFlagControl : 0) | (keys[kVkShift] ? kFlagShift : 0) |
                 (keys[kVkAlt] ? kFlagAlt : 0));
}

static const uint8_t* StoredBytes(int entry) { return reinterpret_cast<const uint8_t*>(StoredTrigger(entry)); }

static bool AbbreviationMatches(const uint8_t* stored, int32_t length) {
  const uint8_t* history = gWatcher.typedHistory;
  if (length > kHistoryBytes) length = kHistoryBytes;
  return stored[0] == history[0] && memcmp(stored, history, size_t(length)) == 0;
}

// Whether `a` comes before the best match so far (kNoMatch when there is none).
static bool Earlier(int a, int best) { return best == kNoMatch || a < best; }

// The first abbreviation in file order that the history ends with, if it comes before `best`.
// Each chain is in file order, so the first match in a chain is its earliest.
static int FirstAbbreviation(int best) {
  const uint8_t* history = gWatcher.typedHistory;
  for (int keyLength = 1; keyLength <= kIndexKeyBytes && history[keyLength - 1]; ++keyLength) {
    int entry = FirstInBucket(AbbreviationBucket(history, keyLength));
    for (; entry != kNoMatch && Earlier(entry, best); entry = gTriggers.records[entry].nextInBucket) {
      const TriggerRecord& record = gTriggers.records[entry];
      if (record.flags != 0 || IndexKeyLength(record.matchLength) != keyLength) continue;
      if (AbbreviationMatches(StoredBytes(entry), record.matchLength)) {
        best = entry;
        break;
      }
    }
  }
  return best;
}

// The first hotkey in file order on `pressedKey` with exactly the held modifiers.
static int FirstHotkey(uint8_t pressedKey) {
  uint8_t held = HeldModifierFlags();
  int entry = FirstInBucket(HotkeyBucket(pressedKey));
  for (; entry != kNoMatch; entry = gTriggers.records[entry].nextInBucket) {
    uint8_t flags = gTriggers.records[entry].flags;
    if (flags != 0 && StoredBytes(entry)[0] == pressedKey && (flags & kModifierFlags) == held) return entry;
  }
  return kNoMatch;
}

int FindMatchingTrigger(uint8_t pressedKey) {
  if (TriggerCount() == 0) return kNoMatch;
  return FirstAbbreviation(FirstHotkey(pressedKey));
}

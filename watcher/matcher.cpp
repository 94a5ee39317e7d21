// Trigger matching. Stored triggers are reversed and the history is newest first, so an
// abbreviation is one comparison from the start of both; a hotkey compares only its key and
// the held modifiers.
#include "watcher/matcher.h"

#include <string.h>

#include "common/state.h"
#include "platform/keyboard.h"

const uint8_t kModifierFlags = kFlagControl | kFlagShift | kFlagAlt;

// The modifiers held, as trigger flags, from the poller's Shift, Ctrl and Alt entries.
static uint8_t HeldModifierFlags() {
  const uint8_t* keys = gWatcher.previousKeyState;
  return uint8_t((keys[kVkControl] ? kFlagControl : 0) | (keys[kVkShift] ? kFlagShift : 0) |
                 (keys[kVkAlt] ? kFlagAlt : 0));
}

static bool AbbreviationMatches(const uint8_t* stored, int32_t length) {
  const uint8_t* history = gWatcher.typedHistory;
  if (length > kHistoryBytes) length = kHistoryBytes;
  return stored[0] == history[0] && memcmp(stored, history, size_t(length)) == 0;
}

int FindMatchingTrigger(uint8_t pressedKey) {
  uint8_t held = HeldModifierFlags();
  for (int i = 0; i < kTriggerSlots; ++i) {
    const TriggerEntry* entry = gTriggers.entries[i];
    if (!entry || !entry->storedTrigger[0]) return -1;
    const uint8_t* stored = reinterpret_cast<const uint8_t*>(entry->storedTrigger);
    uint8_t flags = gTriggers.flags[i];
    if (flags == 0) {
      if (AbbreviationMatches(stored, gTriggers.matchLengths[i])) return i;
    } else if (stored[0] == pressedKey && (flags & kModifierFlags) == held) {
      return i;
    }
  }
  return -1;
}

// Trigger matching. Stored triggers are reversed and the history is newest first, so an
// abbreviation is one comparison from the start of both; a hotkey compares only its key and
// the held modifiers. The index narrows a key press to a few short chains: the abbreviations
// whose first stored bytes are the newest typed ones, and the hotkeys on the pressed key.
#include "watcher/matcher.h"

#include <string.h>

#include "common/state.h"
#include "platform/keyboard.h"
#include "common/utf8.h"
#include "triggers/trigger_table.h"
#include "triggers/word_case.h"
#include "watcher/window_in_front.h"

const uint8_t kModifierFlags = kFlagControl | kFlagShift | kFlagAlt;
const int kNoMatch = -1;

// The modifiers held, as trigger flags, from the poller's Shift, Ctrl and Alt entries.
static uint8_t HeldModifierFlags() {
  const uint8_t* keys = gWatcher.previousKeyState;
  return uint8_t((keys[kVkControl] ? kFlagControl : 0) | (keys[kVkShift] ? kFlagShift : 0) |
                 (keys[kVkAlt] ? kFlagAlt : 0));
}

static const uint8_t* StoredBytes(int entry) { return reinterpret_cast<const uint8_t*>(StoredTrigger(entry)); }

// The typed history or its small-letter form, from some character on: `bytes` newest first, the
// first `length` of them held (a zero ends them sooner).
struct HistoryView {
  const uint8_t* bytes;
  int length;
};

// Whether `a` comes before the best match so far (kNoMatch when there is none).
static bool Earlier(int a, int best) { return best == kNoMatch || a < best; }

static uint32_t CharAt(const HistoryView& view, int at, int* length) {
  *length = 1;
  if (at >= view.length) return 0;
  return DecodeUtf8(reinterpret_cast<const char*>(view.bytes + at), size_t(view.length - at), length);
}

// A whole word begins where the history holds no word character before it: a key that typed
// nothing, a control character, a blank or punctuation, or nothing seen at all.
static bool WordStartsAt(const HistoryView& view, int at) {
  int length = 1;
  return !IsWordCharacter(CharAt(view, at, &length));
}

// Whether the entry's kind is looked for in this view: `wanted` options must all be set, and
// whole-word entries are looked for only after a word's end, the others only at the newest key.
static bool Wanted(uint8_t options, uint8_t wanted, bool afterWordEnd) {
  return (options & wanted) == wanted && ((options & kOptionWholeWord) != 0) == afterWordEnd;
}

static bool AbbreviationMatches(const HistoryView& view, const uint8_t* stored, int32_t length, bool wholeWord) {
  if (length > view.length) return false;
  if (stored[0] != view.bytes[0] || memcmp(stored, view.bytes, size_t(length)) != 0) return false;
  return !wholeWord || WordStartsAt(view, length);
}

// The first abbreviation in file order, before `best`, that the view ends with and that has
// the `wanted` options. Each chain is in file order, so the first match in a chain is its earliest.
static int FirstAbbreviation(const HistoryView& view, uint8_t wanted, bool afterWordEnd, int best) {
  for (int keyLength = 1; keyLength <= kIndexKeyBytes && keyLength <= view.length && view.bytes[keyLength - 1];
       ++keyLength) {
    int entry = FirstInBucket(AbbreviationBucket(view.bytes, keyLength));
    for (; entry != kNoMatch && Earlier(entry, best); entry = gTriggers.records[entry].nextInBucket) {
      const TriggerRecord& record = gTriggers.records[entry];
      if (record.flags != 0 || IndexKeyLength(record.matchLength) != keyLength) continue;
      if (!Wanted(record.options, wanted, afterWordEnd)) continue;
      if (gWatcher.undoneEntryHeld && entry == gWatcher.undoEntry) continue;
      if (AbbreviationMatches(view, StoredBytes(entry), record.matchLength, afterWordEnd) && EntryMayFireHere(entry)) {
        best = entry;
        break;
      }
    }
  }
  return best;
}

// The view from the second character on, when the newest one ends a word; length 0 otherwise.
static HistoryView AfterWordEnd(const HistoryView& view) {
  int length = 1;
  uint32_t newest = CharAt(view, 0, &length);
  if (!EndsWord(newest)) return HistoryView{view.bytes, 0};
  return HistoryView{view.bytes + length, view.length - length};
}

// Abbreviations in the history as typed, then in its small-letter form for those that match in
// any case (an abbreviation in small letters that matches as typed matches there too).
static int FirstAbbreviationInHistory(int best) {
  bool words = (gTriggers.optionsUsed & kOptionWholeWord) != 0;
  HistoryView typed = {gWatcher.typedHistory, kHistoryBytes};
  HistoryView typedWord = words ? AfterWordEnd(typed) : HistoryView{typed.bytes, 0};
  best = FirstAbbreviation(typed, 0, false, best);
  if (typedWord.length > 0) best = FirstAbbreviation(typedWord, 0, true, best);
  if (!(gTriggers.optionsUsed & kOptionAnyCase)) return best;
  // Up to the first key that typed nothing: no abbreviation reaches past it.
  const char* history = reinterpret_cast<const char*>(gWatcher.typedHistory);
  uint8_t folded[kHistoryBytes];
  HistoryView small = {folded, int(LowerCaseText(history, strnlen(history, kHistoryBytes), reinterpret_cast<char*>(folded)))};
  HistoryView smallWord = words ? AfterWordEnd(small) : HistoryView{small.bytes, 0};
  if (small.length > 0) best = FirstAbbreviation(small, kOptionAnyCase, false, best);
  if (smallWord.length > 0) best = FirstAbbreviation(smallWord, kOptionAnyCase, true, best);
  return best;
}

// The first hotkey in file order on `pressedKey` with exactly the held modifiers that may fire in
// the window in front.
static int FirstHotkey(uint8_t pressedKey) {
  uint8_t held = HeldModifierFlags();
  int entry = FirstInBucket(HotkeyBucket(pressedKey));
  for (; entry != kNoMatch; entry = gTriggers.records[entry].nextInBucket) {
    uint8_t flags = gTriggers.records[entry].flags;
    if (flags != 0 && StoredBytes(entry)[0] == pressedKey && (flags & kModifierFlags) == held &&
        EntryMayFireHere(entry)) {
      return entry;
    }
  }
  return kNoMatch;
}

int FindMatchingTrigger(uint8_t pressedKey) {
  if (TriggerCount() == 0) return kNoMatch;
  return FirstAbbreviationInHistory(FirstHotkey(pressedKey));
}

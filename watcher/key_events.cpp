// The key-event path (see key_events.h). Raw input events are handled in the order they came,
// through one queue: an event waits in it while watching is suspended, and while own key events
// sent before it have not yet come back, so the history sees the user's keys and the program's
// own output in the order the window in front received them.
#include "watcher/key_events.h"

#include <string.h>

#include "common/debug_log.h"
#include "common/state.h"
#include "common/utf8.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/ui.h"
#include "watcher/expansion.h"
#include "watcher/key_poller.h"
#include "watcher/key_layout.h"
#include "watcher/key_press.h"
#include "watcher/matcher.h"
#include "watcher/typed_history.h"

const char kRawInputLogLine[] = "Keys are watched through raw input.\r\n";
const char kPollingLogLine[] = "Keys are watched by polling the key states.\r\n";

// The sided modifiers and the key that stands for both sides.
struct SidedModifier {
  uint8_t left, right, either;
};
const uint8_t kVkSpace = 0x20;
const uint8_t kVkFirstKeypadKey = 0x60, kVkLastKeypadKey = 0x6F, kVkKeypadSeparator = 0x6C;
const uint8_t kVkFirstOemKey = 0xBA, kVkLastOemKey = 0xC0, kVkFirstOemKey2 = 0xDB, kVkLastOemKey2 = 0xDF;
const uint8_t kVkOem102 = 0xE2;  // the extra key of European keyboards

static const SidedModifier kSidedModifiers[] = {{0xA0, 0xA1, kVkShift}, {0xA2, 0xA3, kVkControl}, {0xA4, 0xA5, kVkAlt}};
// The keys whose state the stream keeps for the others: every key of kSidedModifiers and the
// Windows keys, in the order of gWatcher.modifierEventAt.
static const uint8_t kStreamModifiers[kStreamModifierKeys] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, kVkLeftWindows,
                                                              kVkRightWindows};
// A modifier down with no event of it for this long may have been let go where raw input does
// not see; long enough that the system's key state, which lags its events, has caught up.
const uint32_t kStuckModifierMs = 500;

// ---- the source -----------------------------------------------------------------------------

void StartKeyWatch(bool rawAllowed) {
  bool remap = (gTriggers.remapMode & kRemapModeBit) != 0;
  gWatcher.rawInput = rawAllowed && !remap && PlatformStartRawInput();
  gWatcher.ownKeysSeen = gWatcher.ownKeysHandled = PlatformOwnKeyEventCount();
  if (gTriggers.debugMode) AppendDebugLog(kDebugLogPath, "%s", gWatcher.rawInput ? kRawInputLogLine : kPollingLogLine);
  if (!gWatcher.rawInput) PlatformStartTimer(kPollTimerId, kPollPeriodMs);
}

// The tilde remap watches the tilde key by polling: a load that turns it on turns to the poller.
static bool RawInputInUse() {
  if (gWatcher.rawInput && (gTriggers.remapMode & kRemapModeBit)) {
    gWatcher.rawInput = false;
    if (!gWatcher.suspended) PlatformStartTimer(kPollTimerId, kPollPeriodMs);
  }
  return gWatcher.rawInput;
}

// ---- the queue ------------------------------------------------------------------------------

static void Enqueue(const InputEvent& event) {
  if (gWatcher.queueCount == kEventQueueCapacity) {
    gWatcher.queueOverflowed = true;
    return;
  }
  gWatcher.queue[(gWatcher.queueStart + gWatcher.queueCount++) % kEventQueueCapacity] = event;
}

static int StreamModifierIndex(uint8_t vk) {
  for (int i = 0; i < kStreamModifierKeys; ++i) {
    if (kStreamModifiers[i] == vk) return i;
  }
  return -1;
}

// When the newest event of a modifier came, so that a release that never came can be told.
static void NoteModifierEvent(const InputEvent& event) {
  int index = event.own ? -1 : StreamModifierIndex(event.vk);
  if (index >= 0) gWatcher.modifierEventAt[index] = PlatformTickCount();
}

static InputEvent Dequeue() {
  InputEvent event = gWatcher.queue[gWatcher.queueStart];
  gWatcher.queueStart = (gWatcher.queueStart + 1) % kEventQueueCapacity;
  --gWatcher.queueCount;
  return event;
}

// Counts as signed differences, so that the wrap of the counters does not matter.
static bool Behind(uint32_t count, uint32_t target) { return int32_t(target - count) > 0; }

static bool OwnKeysOutstanding() { return Behind(gWatcher.ownKeysSeen, PlatformOwnKeyEventCount()); }

// ---- one event ------------------------------------------------------------------------------

// What the output typed stands between the keys before it and those after it.
static void CutOffHistory() {
  if (gWatcher.typedHistory[0] != 0) PushTypedChar("", 1);
}

// A history set aside comes back once the own keys are behind it, which would cut it off; the
// keys typed after a trigger may complete another. Own keys sent while raw input was paused
// never come back and are not counted: with none counted still out, it is due at once.
static void RestoreHistoryWhenDue() {
  if (!gWatcher.historyPending || Behind(gWatcher.ownKeysHandled, PlatformOwnKeyEventCount())) return;
  memcpy(gWatcher.typedHistory, gWatcher.pendingHistory, sizeof gWatcher.typedHistory);
  gWatcher.historyPending = false;
  uint8_t key = gWatcher.pendingKey;
  gWatcher.pendingKey = 0;
  if (!key) return;
  int entry = FindMatchingTrigger(key);
  if (entry >= 0) StartExpansion(entry, key);
}

static void TakeOwnEvent(const InputEvent& event) {
  if (!event.button) ++gWatcher.ownKeysHandled;
  CutOffHistory();
  RestoreHistoryWhenDue();
}

// The modifiers are read from the events themselves: a side's key, and the key for both sides;
// every other key (the Windows keys among them) by its own.
static void SetKeyState(uint8_t* keys, uint8_t vk, bool down) {
  keys[vk] = down;
  for (const SidedModifier& modifier : kSidedModifiers) {
    if (vk != modifier.left && vk != modifier.right) continue;
    keys[modifier.either] = keys[modifier.left] || keys[modifier.right];
  }
}

static void TakeEvent(const InputEvent& event) {
  if (event.own) {
    TakeOwnEvent(event);
    return;
  }
  bool wasDown = gWatcher.previousKeyState[event.vk] != 0;
  SetKeyState(gWatcher.previousKeyState, event.vk, event.down);
  if (event.down) TakeKeyPress(event.vk);
  else if (!wasDown && !event.button) TakeUnseenPressRelease(event.vk);  // Wine's composed characters
}

static bool MayTakeEvents() { return !gWatcher.suspended && !OwnKeysOutstanding(); }

static void TakeWaitingEvents() {
  while (gWatcher.queueCount > 0 && MayTakeEvents()) {
    if (gWatcher.queueOverflowed) {
      CutOffHistory();
      gWatcher.queueOverflowed = false;
    }
    TakeEvent(Dequeue());
  }
  if (!gWatcher.suspended && OwnKeysOutstanding()) PlatformStartTimer(kEchoWaitTimerId, kEchoWaitMs);
}

// The system says up, and the stream has said nothing of the key for a good while.
static bool StuckInStream(int index, uint32_t now) {
  uint8_t vk = kStreamModifiers[index];
  return gWatcher.previousKeyState[vk] && now - gWatcher.modifierEventAt[index] >= kStuckModifierMs &&
         !(PlatformAsyncKeyState(vk) & kKeyDownBit);
}

// Modifiers whose release never reached the stream are let go. Only while nothing waits: the
// system's key state is that of now, and a waiting event is older.
static void LetGoOfStuckModifiers() {
  if (gWatcher.queueCount > 0) return;
  uint32_t now = PlatformTickCount();
  for (int i = 0; i < kStreamModifierKeys; ++i) {
    if (StuckInStream(i, now)) SetKeyState(gWatcher.previousKeyState, kStreamModifiers[i], false);
  }
}

void TakeInputEvents(const InputEvent* events, int count) {
  if (!RawInputInUse()) return;
  if (!gWatcher.suspended) LetGoOfStuckModifiers();
  for (int i = 0; i < count; ++i) {
    if (events[i].own && !events[i].button) ++gWatcher.ownKeysSeen;
    NoteModifierEvent(events[i]);
    Enqueue(events[i]);
  }
  TakeWaitingEvents();
}

// ---- waiting --------------------------------------------------------------------------------

void SuspendKeyWatch() {
  gWatcher.suspended = true;
  if (!gWatcher.rawInput) PlatformStopTimer(kPollTimerId);
}

void ResumeKeyWatch() {
  gWatcher.suspended = false;
  if (!RawInputInUse()) {
    PlatformStartTimer(kPollTimerId, kPollPeriodMs);
    return;
  }
  RestoreHistoryWhenDue();
  TakeWaitingEvents();
}

// Whether `vk` is down once the events that wait have been applied: the stream's own state.
static bool DownAfterWaitingEvents(uint8_t vk) {
  bool down = gWatcher.previousKeyState[vk] != 0;
  for (int32_t i = 0; i < gWatcher.queueCount; ++i) {
    const InputEvent& event = gWatcher.queue[(gWatcher.queueStart + i) % kEventQueueCapacity];
    if (!event.own && event.vk == vk) down = event.down;
  }
  return down;
}

bool UserModifiersHeld() {
  uint32_t now = PlatformTickCount();
  for (int i = 0; i < kStreamModifierKeys; ++i) {
    if (DownAfterWaitingEvents(kStreamModifiers[i]) && !StuckInStream(i, now)) return true;
  }
  return false;
}

bool ShortcutModifiersHeld() {
  const uint8_t* held = gWatcher.previousKeyState;
  return held[kVkControl] || held[kVkAlt] || held[kVkLeftWindows] || held[kVkRightWindows];
}

// Keys that type a character where the caret is, and nothing else: letters, digits, the blank,
// punctuation and the keypad's digits and signs. Any other (Backspace, Enter, Tab, arrows, a
// click) moves the caret or takes text away.
static bool TypesInPlace(uint8_t vk) {
  return (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || vk == kVkSpace ||
         (vk >= kVkFirstKeypadKey && vk <= kVkLastKeypadKey && vk != kVkKeypadSeparator) ||
         (vk >= kVkFirstOemKey && vk <= kVkLastOemKey) || (vk >= kVkFirstOemKey2 && vk <= kVkLastOemKey2) ||
         vk == kVkOem102;
}

// Whether the user's `event` only types where the caret is, with the key states `keys` before
// it: a key that types in place with no shortcut modifier, a modifier, or the release of a key
// seen going down (one never seen may be part of a character that the system composes).
static bool OnlyTypesInPlace(const InputEvent& event, const uint8_t* keys) {
  if (IsModifierKey(event.vk)) return true;
  if (!event.down) return keys[event.vk] != 0;
  return TypesInPlace(event.vk) && !IsShortcutPress(event.vk, keys);
}

bool TakeKeysAfterTrigger(char* text, int32_t* chars, uint8_t* lastKey) {
  int32_t presses = 0;
  uint8_t keys[sizeof gWatcher.previousKeyState];
  memcpy(keys, gWatcher.previousKeyState, sizeof keys);
  for (int32_t i = 0; i < gWatcher.queueCount; ++i) {
    const InputEvent& event = gWatcher.queue[(gWatcher.queueStart + i) % kEventQueueCapacity];
    if (event.own || !OnlyTypesInPlace(event, keys)) return false;
    if (event.down && !IsModifierKey(event.vk) && ++presses > kMaxKeysAfterTrigger) return false;
    SetKeyState(keys, event.vk, event.down);
  }
  size_t length = strlen(text);
  *chars = 0;
  *lastKey = 0;
  while (gWatcher.queueCount > 0) {
    InputEvent event = Dequeue();
    SetKeyState(gWatcher.previousKeyState, event.vk, event.down);
    if (!event.down || IsModifierKey(event.vk)) continue;
    char typed[kKeyPressTextSize];
    int n = KeyPressText(event.vk, typed);
    if (n <= 0) continue;  // a dead key shows nothing until the key after it
    memcpy(text + length, typed, size_t(n));
    length += size_t(n);
    typed[n] = 0;
    *chars += int32_t(Utf8CharCount(typed));
    *lastKey = event.vk;
  }
  text[length] = 0;
  return true;
}

void OnEchoWaitTimer() {
  PlatformStopTimer(kEchoWaitTimerId);
  gWatcher.ownKeysSeen = gWatcher.ownKeysHandled = PlatformOwnKeyEventCount();
  RestoreHistoryWhenDue();
  TakeWaitingEvents();
}

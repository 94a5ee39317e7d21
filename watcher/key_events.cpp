// The key-event path (see key_events.h). Raw input events are handled in the order they came,
// through one queue: an event waits in it while watching is suspended, and while own key events
// sent before it have not yet come back, so the history sees the user's keys and the program's
// own output in the order the window in front received them.
#include "watcher/key_events.h"

#include <string.h>

#include "common/state.h"
#include "common/utf8.h"
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
// keys typed after a trigger may complete another.
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

// The modifiers are read from the events themselves: a side's key, and the key for both sides.
static void SetKeyState(uint8_t vk, bool down) {
  gWatcher.previousKeyState[vk] = down;
  for (const SidedModifier& modifier : kSidedModifiers) {
    if (vk != modifier.left && vk != modifier.right) continue;
    gWatcher.previousKeyState[modifier.either] =
        gWatcher.previousKeyState[modifier.left] || gWatcher.previousKeyState[modifier.right];
  }
}

static void TakeEvent(const InputEvent& event) {
  if (event.own) {
    TakeOwnEvent(event);
    return;
  }
  SetKeyState(event.vk, event.down);
  if (event.down) TakeKeyPress(event.vk);
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

void TakeInputEvents(const InputEvent* events, int count) {
  if (!RawInputInUse()) return;
  for (int i = 0; i < count; ++i) {
    if (events[i].own && !events[i].button) ++gWatcher.ownKeysSeen;
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
  for (const SidedModifier& modifier : kSidedModifiers) {
    if (DownAfterWaitingEvents(modifier.left) || DownAfterWaitingEvents(modifier.right)) return true;
  }
  return false;
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

bool TakeKeysAfterTrigger(char* text, int32_t* chars, uint8_t* lastKey) {
  int32_t presses = 0;
  for (int32_t i = 0; i < gWatcher.queueCount; ++i) {
    const InputEvent& event = gWatcher.queue[(gWatcher.queueStart + i) % kEventQueueCapacity];
    if (event.own || (event.down && !IsModifierKey(event.vk) && !TypesInPlace(event.vk))) return false;
    if (event.down && !IsModifierKey(event.vk) && ++presses > kMaxKeysAfterTrigger) return false;
  }
  size_t length = strlen(text);
  *chars = 0;
  *lastKey = 0;
  while (gWatcher.queueCount > 0) {
    InputEvent event = Dequeue();
    SetKeyState(event.vk, event.down);
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

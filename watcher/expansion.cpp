// The start of an expansion, inside the key poller's tick: log the firing in debug mode, wait
// for the modifiers to be let go, erase the typed abbreviation, read the trigger's line from
// the file on disk (outputs are never kept in memory, so they never go stale), expand %NAME%,
// count the use and hand the output to the player.
#include "watcher/expansion.h"

#include <stdio.h>
#include <string.h>

#include "common/debug_log.h"
#include "common/heap.h"
#include "common/state.h"
#include "common/status_text.h"
#include "common/text.h"
#include "common/utf8.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/ui.h"
#include "forms/field_form.h"
#include "platform/top_windows.h"
#include "player/keystrokes.h"
#include "player/output_player.h"
#include "triggers/key_names.h"
#include "triggers/text_encoding.h"
#include "triggers/trigger_files.h"
#include "triggers/trigger_loader.h"
#include "triggers/trigger_table.h"
#include "triggers/word_case.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"
#include "watcher/tilde_remap.h"
#include "watcher/typed_history.h"

const uint32_t kModifierWaitMs = 1000;
const uint32_t kModifierLookMs = 10;
const uint32_t kKeyLookMs = 1;
const uint32_t kTypingPauseMs = 30;
// A typist who does not pause gets the output this long after the trigger all the same.
const uint32_t kLongestTypingWaitMs = 200;
const char kDebugLineFormat[] = "%02d:%02d:%02d \"%s\"\r\n";
const char kNoOutputText[] = " * * * WARNING: No output listed!";
const char kUsedFormat[] = " Shortcuts Used:  %d";
const char kSearchCommand[] = "{Search}";
const char kNoFormText[] = " * * * WARNING: The fill-in form could not be opened.";

// The line shows the trigger as written in the file and its "=".
static void LogFiring(int entry) {
  LocalTime now = PlatformLocalTime();
  AppendDebugLog(kDebugLogPath, kDebugLineFormat, now.hour, now.minute, now.second, TriggerSearchKey(entry) + 1);
}

static bool AnyModifierDown() {
  const uint8_t keys[] = {kVkShift, kVkControl, kVkAlt, kVkLeftWindows, kVkRightWindows};
  for (uint8_t vk : keys) {
    if (PlatformAsyncKeyState(vk) & kKeyDownBit) return true;
  }
  return false;
}

// Typing into a window while the user still holds Ctrl or Alt would turn the output into
// shortcuts of that window; wait a moment for the user to let go. False when the user did not.
static bool WaitForModifiersUp() {
  uint32_t start = PlatformTickCount();
  while (PlatformTickCount() - start < kModifierWaitMs) {
    if (!AnyModifierDown()) return true;
    PlatformSleep(kModifierLookMs);
  }
  return !AnyModifierDown();
}


// Erases the abbreviation: one Backspace per character, all in one piece. With raw input they
// wait for the output's first keys (see StartExpansion); the key poller sends them at once.
static void EraseTyped(int32_t count) {
  for (int32_t i = 0; i < count; ++i) SendKey(kVkBackspace, kKeyPressRelease);
  if (!gWatcher.rawInput) FlushKeyEvents();
}

// Leaves in `buffer` the output of the line that begins with `searchKey` after `linesBefore`
// others that begin so (the variant that fired): the text after it up to the line end. False when
// the file has no such line.
static bool CutOutputLine(char* buffer, const char* searchKey, int linesBefore) {
  char* found = strstr(buffer, searchKey);
  for (int skipped = 0; found && skipped < linesBefore; ++skipped) found = strstr(found + 1, searchKey);
  if (!found) return false;
  char* output = found + strlen(searchKey);
  memmove(buffer, output, strlen(output) + 1);
  buffer[strcspn(buffer, "\r\n")] = 0;
  return true;
}

// Expands %NAME% in the output. The result gets a buffer as large as the expansion says it
// needs, so a long value is never cut. Returns the buffer that holds the output now (the old
// one is released when it was replaced); the output stays as written when expansion fails.
static char* ExpandVariables(char* output, uint32_t capacity) {
  if (!strchr(output, '%')) return output;
  uint32_t size = capacity;
  char* expanded = static_cast<char*>(AllocZeroed(size, 1));
  uint32_t needed = expanded ? PlatformExpandEnvironment(output, expanded, size) : 0;
  if (needed > size) {
    FreeBlock(expanded);
    size = needed;
    expanded = static_cast<char*>(AllocZeroed(size, 1));
    needed = expanded ? PlatformExpandEnvironment(output, expanded, size) : 0;
  }
  if (needed == 0 || needed > size) {
    FreeBlock(expanded);
    return output;
  }
  FreeBlock(output);
  return expanded;
}

// ---- whole words and the case typed ----------------------------------------------------------

// A whole word is erased with the character that ended it, which the player types again after
// the output; the history without that character is kept for an undo.
static void TakeWordEnding(int32_t abbreviationChars) {
  size_t ending = NewestCharsBytes(gWatcher.typedHistory, 1);
  memcpy(gPlayer.endingText, gWatcher.typedHistory, ending);
  gPlayer.endingText[ending] = 0;
  memcpy(gWatcher.undoHistory, gWatcher.typedHistory + ending, kHistorySize - ending);
  memset(gWatcher.undoHistory + kHistorySize - ending, 0, ending);
  gWatcher.undoTypedChars = abbreviationChars;
}

// The output follows the case of the abbreviation as typed: the newest characters of the
// history, before the ending character of a whole word.
static uint8_t OutputCaseTyped(int32_t abbreviationChars, bool wholeWord) {
  char typed[kHistorySize];
  size_t ending = wholeWord ? NewestCharsBytes(gWatcher.typedHistory, 1) : 0;
  size_t length = NewestCharsInOrder(gWatcher.typedHistory, abbreviationChars + (wholeWord ? 1 : 0), typed);
  return CaseTyped(typed, length - ending);
}

// Backspace as the first key after a whole-word output of plain text will take it back.
static void ArmUndo(int entry, const char* output) {
  gWatcher.undoArmed = IsPlainTextOutput(output);
  gWatcher.undoEntry = entry;
  gWatcher.undoOutputChars = int32_t(Utf8CharCount(output));
}

// The user's key presses that wait in the queue of raw input events. Releases do not count: the
// release of the key that completed the trigger comes right after it, and holds up nothing.
static int32_t WaitingPresses() {
  int32_t presses = 0;
  for (int32_t i = 0; i < gWatcher.queueCount; ++i) {
    const InputEvent& event = gWatcher.queue[(gWatcher.queueStart + i) % kEventQueueCapacity];
    if (event.down && !event.own) ++presses;
  }
  return presses;
}

// Raw input: the output waits while the user goes on typing (for a pause between presses, a
// short while at most), and for the modifiers to be let go (typed while they are held, it would
// turn into shortcuts of the window), a second at most. Returns false when the user still holds
// one then: nothing may be sent.
// Under Wine a key from the keyboard that arrives while keys sent by a program are still on their
// way drops some of those: sent in a pause, the erase and the output arrive whole.
static bool WaitForTypingPause() {
  uint32_t start = PlatformTickCount(), changed = start;
  PlatformDeliverPendingInput();
  int32_t waiting = WaitingPresses();
  bool typing = waiting > 0;  // keys after the trigger already: the typist is under way
  while (true) {
    uint32_t now = PlatformTickCount();
    bool modifiers = UserModifiersHeld();
    bool paused = !typing || now - changed >= kTypingPauseMs || now - start >= kLongestTypingWaitMs;
    if (paused && !modifiers) return true;
    if (now - start >= kModifierWaitMs) return false;
    PlatformSleep(kKeyLookMs);
    PlatformDeliverPendingInput();
    if (WaitingPresses() != waiting) {
      waiting = WaitingPresses();
      changed = PlatformTickCount();
      typing = true;
    }
  }
}

// Waits until keys may be sent: no modifier of the user's held, and with raw input a pause in
// the typing. False when the user holds a modifier still: nothing may be sent then.
static bool WaitUntilKeysMayGo() {
  return gWatcher.rawInput ? WaitForTypingPause() : WaitForModifiersUp();
}

// Keys typed after the trigger reached the window in front before the erase does: they stand
// after the abbreviation. The erase takes them too, and the output types them again after it;
// the history gets them back once the output's own keys are behind it.
static void SetAsideKeysAfterTrigger(const char* text, uint8_t lastKey) {
  memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
  for (size_t at = 0, length = strlen(text); at < length;) {
    int n = Utf8SequenceLength(text + at, length - at);
    PushTypedChar(text + at, n);
    at += size_t(n);
  }
  memcpy(gWatcher.pendingHistory, gWatcher.typedHistory, sizeof gWatcher.pendingHistory);
  gWatcher.historyPending = true;
  gWatcher.pendingKey = lastKey;
}

// The output line of `entry` read from its trigger file (its own line, where variants of the
// trigger stand on several), %NAME% expanded; nullptr when the file cannot be read or (*listed
// false) holds no line with the trigger.
static char* ReadOutputOf(int entry, bool* listed) {
  *listed = true;
  uint32_t capacity = 0;
  char* output = ReadTriggerFileAfterLineFeed(OutputFilePath(TriggerFileOf(entry)), &capacity);
  if (output && !CutOutputLine(output, TriggerSearchKey(entry), SameTriggerLinesBefore(entry))) {
    FreeAndForget(output);
    *listed = false;
  }
  return output ? ExpandVariables(output, capacity) : nullptr;
}

// A hotkey whose output only opens the search window sends no key: the window may take the focus
// while the hotkey's modifiers are still held, and the user types into it at once.
static bool OpensTheSearchAlone(const char* output) {
  return output && StartsWithNoCase(output, kSearchCommand) && output[strlen(kSearchCommand)] == 0;
}

// Nothing of the last output or undo carries over to the next.
static void ResetOutputState() {
  gWatcher.undoArmed = gWatcher.undoneEntryHeld = false;
  gPlayer.outputCase = 0;
  gPlayer.endingText[0] = 0;
  gPlayer.literalOutput = false;
  FreeAndForget(gPlayer.outputBuffer);
}

// Counts the use and hands the output (a heap block, now the player's) to the player. With raw
// input its first tick runs at once; watching resumes when that already ended it.
static void PlayOutput(char* output) {
  ++gShell.automationCount;
  SetStatusText(kUsedFormat, gShell.automationCount);
  PlatformCursorPos(&gPlayer.savedCursorX, &gPlayer.savedCursorY);
  gPlayer.outputBuffer = output;
  StartPlayer();
  if (gWatcher.rawInput && PlayOutputTick()) ResumeKeyWatch();
}

// Types `text` (a heap block, now the player's; nullptr or empty types nothing) as it stands.
static void TypeBack(char* text) {
  if (!text || !*text) {
    FreeBlock(text);
    ResumeKeyWatch();
    return;
  }
  gPlayer.outputBuffer = text;
  gPlayer.literalOutput = true;
  StartPlayer();
  if (gWatcher.rawInput && PlayOutputTick()) ResumeKeyWatch();
}

// What the erase takes: the newest `chars` characters of the history and the keys typed after
// the trigger, in the order they were typed, in a new heap block (nullptr without memory).
static char* ErasedText(int32_t chars, const char* after) {
  char* text = static_cast<char*>(AllocZeroed(kHistorySize + kEndingTextSize, 1));
  if (!text) return nullptr;
  size_t length = NewestCharsInOrder(gWatcher.typedHistory, chars, text);
  memcpy(text + length, after, strlen(after) + 1);
  return text;
}

// The trigger of `entry` as written, its option words out: the form's title.
static void WrittenTrigger(int entry, char* out, size_t size) {
  CopyTextBounded(out, TriggerSearchKey(entry) + 1, size);
  size_t length = strlen(out);
  if (length > 0 && out[length - 1] == '=') out[length - 1] = 0;
  RemoveOptionWords(out);
}

// The output asks for fields: the erase goes now, and the output waits for the form's answer
// (PlayAcceptedForm); cancelled, `erased` is typed back (TypeBackCancelledForm). Watching goes on
// meanwhile: the form keeps what is typed in it out of the history.
static void AskFieldsFirst(int entry, char* output, char* erased) {
  FlushKeyEvents();
  gWatcher.undoArmed = false;
  char title[kStoredTriggerSize];
  WrittenTrigger(entry, title, sizeof title);
  if (OpenFieldForm(output, erased, title, PlatformForegroundWindow())) {
    ResumeKeyWatch();
    return;
  }
  SetStatusText(kNoFormText);
  TypeBack(TakeCancelledText());
}

void StartExpansion(int entry, uint8_t pressedKey) {
  SuspendKeyWatch();
  if (gTriggers.debugMode) LogFiring(entry);
  // The remap's own Alt would otherwise hold up the wait below for its whole length and turn
  // the output into Alt combinations.
  ReleaseRemapAlt();
  bool abbreviation = TriggerFlags(entry) == 0;
  bool wholeWord = abbreviation && (TriggerOptions(entry) & kOptionWholeWord);
  int32_t abbreviationChars = int32_t(Utf8CharCount(StoredTrigger(entry)));
  ResetOutputState();
  // Read first: with raw input, nothing stands between the last look at the keys typed and the
  // erase going out with the output's first keys.
  bool listed = true;
  char* output = ReadOutputOf(entry, &listed);
  // A file that cannot be read now (another program holds it, or it is gone) gives no output:
  // what was typed stays as it is rather than be erased for nothing.
  if (!output && listed) {
    SetStatusText(kNoOutputText);
    ResumeKeyWatch();
    return;
  }
  bool mayGo = (!abbreviation && OpensTheSearchAlone(output)) || WaitUntilKeysMayGo();
  char after[kEndingTextSize] = "";
  int32_t afterChars = 0;
  uint8_t afterKey = 0;
  if (!mayGo || (gWatcher.rawInput && abbreviation && !TakeKeysAfterTrigger(after, &afterChars, &afterKey))) {
    FreeBlock(output);
    ResumeKeyWatch();  // the keys after the trigger are handled as typed, and nothing is erased
    return;
  }
  gPlayer.outputCase = (TriggerOptions(entry) & kOptionAnyCase) ? OutputCaseTyped(abbreviationChars, wholeWord) : 0;
  gPlayer.typeOnly = (TriggerOptions(entry) & kOptionTyped) != 0;
  if (wholeWord) TakeWordEnding(abbreviationChars);
  strcat(gPlayer.endingText, after);
  // A middle click types nothing, so an abbreviation that ends with one has less to erase; the
  // keys typed after it are erased all the same, as the output types them again.
  int32_t triggerChars = pressedKey == kVkMiddleButton ? 0 : abbreviationChars + (wholeWord ? 1 : 0);
  char* erased = OutputAsksFields(output ? output : "") ? ErasedText(triggerChars, after) : nullptr;
  if (abbreviation) EraseTyped(triggerChars + afterChars);
  memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
  if (afterChars > 0) SetAsideKeysAfterTrigger(after, afterKey);
  if (!output) {
    FlushKeyEvents();
    gPlayer.endingText[0] = 0;
    if (!listed) SetStatusText(kNoOutputText);
    ResumeKeyWatch();  // no output to play, but keep watching
    return;
  }
  if (OutputAsksFields(output)) {
    AskFieldsFirst(entry, output, erased);
    return;
  }
  // What the user typed after the trigger comes first after it: Backspace is no undo then.
  if (wholeWord && afterChars == 0) ArmUndo(entry, output);
  // The erase waits in the queue of key events: the first tick sends it with the output's first
  // keys, in one piece, so that no key of the user's comes between them.
  PlayOutput(output);
}

void PlayChosenTrigger(int entry) {
  if (OutputPlaying()) return;
  SuspendKeyWatch();
  ResetOutputState();
  bool listed = true;
  char* output = ReadOutputOf(entry, &listed);
  if (!output) {
    SetStatusText(kNoOutputText);
    ResumeKeyWatch();
    return;
  }
  gPlayer.typeOnly = (TriggerOptions(entry) & kOptionTyped) != 0;
  memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
  if (OutputAsksFields(output)) {
    AskFieldsFirst(entry, output, nullptr);
    return;
  }
  PlayOutput(output);
}

void PlayAcceptedForm() {
  if (OutputPlaying()) return;
  SuspendKeyWatch();
  char* output = TakeAcceptedOutput();
  if (output) PlayOutput(output);
  else ResumeKeyWatch();
}

void TypeBackCancelledForm() {
  if (OutputPlaying()) return;
  SuspendKeyWatch();
  ResetOutputState();
  TypeBack(TakeCancelledText());
}

void UndoExpansion() {
  SuspendKeyWatch();
  gWatcher.undoArmed = false;
  FreeAndForget(gPlayer.outputBuffer);
  // Sent with a modifier held, the erase and the letters would be shortcuts of the window.
  if (!WaitUntilKeysMayGo()) {
    ResumeKeyWatch();
    return;
  }
  char* typed = static_cast<char*>(AllocZeroed(kHistorySize, 1));
  if (!typed) {
    ResumeKeyWatch();
    return;
  }
  NewestCharsInOrder(gWatcher.undoHistory, gWatcher.undoTypedChars, typed);
  // The user's Backspace took the ending character; the output goes, and what was typed comes back.
  EraseTyped(gWatcher.undoOutputChars);
  // Raw input sees the undo's own keys come back, which cut the history off: it returns after them.
  if (gWatcher.rawInput) {
    memcpy(gWatcher.pendingHistory, gWatcher.undoHistory, sizeof gWatcher.pendingHistory);
    gWatcher.historyPending = true;
  } else {
    memcpy(gWatcher.typedHistory, gWatcher.undoHistory, sizeof gWatcher.typedHistory);
  }
  gWatcher.undoneEntryHeld = true;
  gPlayer.outputBuffer = typed;
  gPlayer.literalOutput = true;
  StartPlayer();
  if (gWatcher.rawInput && PlayOutputTick()) ResumeKeyWatch();
}

// The output player: walks the output in gPlayer.outputBuffer token by token on timer 7772,
// typing text and key names back to back and yielding to the message loop only at a pause.
//
// A token is a command from the command table (tried in order, ignoring letter case), else a
// key name, else a single character of plain text (UTF-8). Every action says how playback goes on: it
// continues within the tick, pauses until the timer's next tick, or aborts the output.
#include "player/output_player.h"

#include <string.h>

#include "common/heap.h"
#include "common/state.h"
#include "common/text.h"
#include "common/utf8.h"
#include "platform/keyboard.h"
#include "platform/text_codepage.h"
#include "platform/ui.h"
#include "player/keystrokes.h"
#include "player/mouse_commands.h"
#include "player/paste.h"
#include "player/program_commands.h"
#include "player/window_commands.h"
#include "picklist/pick_list.h"
#include "triggers/key_names.h"
#include "triggers/word_case.h"
#include "watcher/key_events.h"

// How playback goes on after a token.
enum StepKind { kStepContinue, kStepPause, kStepAbort };

struct PlayStep {
  StepKind kind;
  int32_t next;      // play position of the next token
  uint32_t pauseMs;  // the timer's interval, for kStepPause
};

// The output being played and its length, measured once per tick.
struct Output {
  const char* text;
  int32_t length;
};

// A command's action, given the output and the position of the command's first character.
typedef PlayStep (*CommandAction)(const Output& output, int32_t at);

struct CommandRow {
  const char* literal;  // what the text at the play position begins with, ignoring letter case
  CommandAction action;
  // The command can bring another window forward (a program, a window, the list, a warning, a
  // click): the keys typed before it must have reached the window in front first.
  bool bringsWindowForward;
};

// After a click or the cursor's return the player gives the receiving window a moment.
const uint32_t kMousePauseMs = 10;
// The shortest pause: the system's minimum timer interval.
const uint32_t kShortestPauseMs = 0;
const char kDelayToken[] = "{Delay";
const char kClickToken[] = "{click";
const char kMouseReturnToken[] = "{mouse_return}";
const char kRunToken[] = "RUN: ";
const char kWindowToken[] = "WINDOW: ";
const char kListToken[] = "LIST: ";
// After bringing a window forward the player lets it take the focus before typing on.
const uint32_t kWindowPauseMs = 10;
// A command's argument begins at its eighth character: "{Delay" or "{click" and one separator.
const int32_t kArgumentOffset = 7;
const char kCloseBrace = '}';
const uint32_t kFirstNonAscii = 0x80;
const uint8_t kFirstPrintable = 0x20;

static PlayStep Continue(int32_t next) { return PlayStep{kStepContinue, next, 0}; }
static PlayStep Pause(int32_t next, uint32_t ms) { return PlayStep{kStepPause, next, ms}; }
static PlayStep Abort() { return PlayStep{kStepAbort, 0, 0}; }

static int32_t TokenLength(const char* token) { return int32_t(strlen(token)); }

// The argument's start: `offset` characters into the command, or the end of the output when
// that lies past it.
static int32_t ArgumentStart(const Output& output, int32_t at, int32_t offset) {
  return at + offset < output.length ? at + offset : output.length;
}

// The position after the first "}" at or after `from`; the end of the output when there is none.
static int32_t AfterCloseBrace(const Output& output, int32_t from) {
  for (int32_t i = from; i < output.length; ++i) {
    if (output.text[i] == kCloseBrace) return i + 1;
  }
  return output.length;
}

// "{Delay": the number is read from the eighth character to the end of the output, so it may lie
// past the "}". A negative number would stop the player and the key poller for weeks: it gives
// the shortest pause instead.
static PlayStep PlayDelay(const Output& output, int32_t at) {
  int32_t from = ArgumentStart(output, at, kArgumentOffset);
  int32_t ms = TextToIntBounded(output.text + from, size_t(output.length - from));
  int32_t next = AfterCloseBrace(output, ArgumentStart(output, at, TokenLength(kDelayToken)));
  return Pause(next, ms < 0 ? kShortestPauseMs : uint32_t(ms));
}

// "{click": the argument runs to the end of the output; playback resumes after the first "}"
// from the argument's start, so the separator may be the "}" itself.
static PlayStep PlayClick(const Output& output, int32_t at) {
  int32_t from = ArgumentStart(output, at, kArgumentOffset);
  ClickCommand(output.text + from, output.length - from);
  return Pause(AfterCloseBrace(output, from), kMousePauseMs);
}

static PlayStep PlayMouseReturn(const Output&, int32_t at) {
  MouseReturnCommand();
  return Pause(at + TokenLength(kMouseReturnToken), kMousePauseMs);
}

// "RUN: ": the command runs to the first CR, LF or "{" and is cut at its limit; playback goes on
// with the character that ended it, unless the program could not be started.
static PlayStep PlayRun(const Output& output, int32_t at) {
  int32_t from = at + TokenLength(kRunToken);
  char command[kRunArgumentLimit + 1];
  int32_t length = CopyCommandArgument(command, output.text + from, kRunArgumentLimit);
  return RunCommand(command) ? Continue(from + length) : Abort();
}

// "WINDOW: ": what follows is typed into the window found, after a moment for it to take the
// focus; without a window the output ends.
static PlayStep PlayWindow(const Output& output, int32_t at) {
  int32_t from = at + TokenLength(kWindowToken);
  char title[kWindowArgumentLimit + 1];
  int32_t length = CopyCommandArgument(title, output.text + from, kWindowArgumentLimit);
  return WindowCommand(title) ? Pause(from + length, kWindowPauseMs) : Abort();
}

// "LIST: ": the list opens and playback goes on at once, without waiting for the choice.
static PlayStep PlayList(const Output& output, int32_t at) {
  int32_t from = at + TokenLength(kListToken);
  return Continue(from + OpenPickList(output.text + from));
}

// The commands of the output language, tried in this order before key names.
static const CommandRow kCommands[] = {
    {kDelayToken, PlayDelay, false},
    {kClickToken, PlayClick, true},
    {kMouseReturnToken, PlayMouseReturn, false},
    {kRunToken, PlayRun, true},
    {kWindowToken, PlayWindow, true},
    {kListToken, PlayList, true},
};

// Whether the text at `at` is a character of plain text: no control character, and the start of
// no command and no key name.
static bool IsPlainCharacterAt(const char* at) {
  if (uint8_t(*at) < kFirstPrintable || LookupKeyName(at, nullptr, nullptr)) return false;
  for (const CommandRow& row : kCommands) {
    if (StartsWithNoCase(at, row.literal)) return false;
  }
  return true;
}

// One character of plain text: a whole UTF-8 sequence, or a byte that begins none, which is a
// byte of the system's ANSI code page.
// The output's text takes the case that the typed abbreviation asked for.
static uint32_t TextCharacterAt(const Output& output, int32_t at, int* length) {
  *length = 1;
  uint32_t codePoint = DecodeUtf8(output.text + at, size_t(output.length - at), length);
  if (*length == 1 && codePoint >= kFirstNonAscii) codePoint = PlatformAnsiByteToUnit(uint8_t(codePoint));
  return ApplyOutputCase(codePoint, &gPlayer.outputCase);
}

static PlayStep TypeText(const Output& output, int32_t at) {
  int length = 1;
  TypeCodePoint(TextCharacterAt(output, at, &length));
  return Continue(at + length);
}

// ---- long runs of text go through the clipboard ------------------------------------------------

// The end of the run of plain text that begins at `at`, and the count of its characters.
static int32_t PlainRunEnd(const Output& output, int32_t at, int32_t* characters) {
  *characters = 0;
  while (at < output.length && IsPlainCharacterAt(output.text + at)) {
    at += Utf8SequenceLength(output.text + at, size_t(output.length - at));
    ++*characters;
  }
  return at;
}

// What the run from `at` to `end` types, as UTF-8 in a new heap block; nullptr when memory ran
// out. Characters that typing would leave out are left out.
static char* RunText(const Output& output, int32_t at, int32_t end, uint32_t* length) {
  // Each byte of the output gives one character at most, of kMaxUtf8Bytes at most.
  char* text = static_cast<char*>(AllocZeroed(size_t(end - at) * kMaxUtf8Bytes + 1, 1));
  if (!text) return nullptr;
  uint32_t written = 0;
  while (at < end) {
    int n = 1;
    uint32_t codePoint = TextCharacterAt(output, at, &n);
    if (IsTextCharacter(codePoint)) written += uint32_t(EncodeUtf8(codePoint, text + written));
    at += n;
  }
  *length = written;
  return text;
}

// Offers the run on the clipboard and queues Ctrl+V; false, with the case as it was, when the
// run is to be typed.
static bool PasteRun(const Output& output, int32_t at, int32_t end) {
  gPlayer.pasteRunStart = at;
  gPlayer.pasteCaseBefore = gPlayer.outputCase;
  uint32_t length = 0;
  char* text = RunText(output, at, end, &length);
  if (text && BeginPaste(text, length)) return true;
  gPlayer.outputCase = gPlayer.pasteCaseBefore;
  return false;
}

// A character of text: typed, or the start of a run long enough to paste. A run is measured once.
static PlayStep TypeOrPasteText(const Output& output, int32_t at) {
  if (at >= gPlayer.typedRunEnd && gPlayer.pasteThreshold > 0 && !gPlayer.typeOnly) {
    int32_t characters = 0;
    int32_t end = PlainRunEnd(output, at, &characters);
    // The player gives way while the window reads the clipboard.
    if (characters > gPlayer.pasteThreshold && PasteRun(output, at, end)) return Pause(end, kPasteWaitMs);
    gPlayer.typedRunEnd = end;
  }
  return TypeText(output, at);
}

// After the paste: the run is typed when no window took it.
static bool GoOnAfterPaste() {
  uint32_t waitMs = 0;
  PasteOutcome outcome = TakePasteOutcome(&waitMs);
  if (outcome == kPasteGoesOn) {
    PlatformStartTimer(kPlayTimerId, waitMs);
    return false;
  }
  if (outcome == kPasteToType) {
    gPlayer.typedRunEnd = gPlayer.playPosition;
    gPlayer.playPosition = gPlayer.pasteRunStart;
    gPlayer.outputCase = gPlayer.pasteCaseBefore;
  }
  return true;
}

// The character that ended a whole word goes back where the user typed it: after the output's
// text, in the window that the text went to.
static void TypeEndingText() {
  const char* text = gPlayer.endingText;
  for (size_t at = 0, length = strlen(text); at < length;) {
    int n = 1;
    TypeCodePoint(DecodeUtf8(text + at, length - at, &n));
    at += size_t(n);
  }
  gPlayer.endingText[0] = 0;
}

// Recognises the token at `at` and carries it out.
static PlayStep PlayToken(const Output& output, int32_t at) {
  if (gPlayer.literalOutput) return TypeText(output, at);
  const char* here = output.text + at;
  for (const CommandRow& row : kCommands) {
    if (!StartsWithNoCase(here, row.literal)) continue;
    // What was typed so far reaches the window before the command acts.
    if (row.bringsWindowForward) {
      TypeEndingText();
      WaitForKeysTaken();
    } else {
      FlushKeyEvents();
    }
    return row.action(output, at);
  }
  int nameLength = 0, mode = 0;
  if (uint8_t vk = LookupKeyName(here, &nameLength, &mode)) {
    SendKey(vk, mode);
    return Continue(at + nameLength);
  }
  return TypeOrPasteText(output, at);
}

// Frees the output and hands the keyboard back to the key poller.
static void EndOutput() {
  TypeEndingText();
  EndKeyEvents();
  gPlayer.waitsBefore = 0;
  gPlayer.literalOutput = false;
  gPlayer.outputCase = kCaseAsWritten;
  gPlayer.typeOnly = false;
  FreeAndForget(gPlayer.outputBuffer);
  gPlayer.playPosition = 0;
  ResumeKeyWatch();
}

// The play position after the start of the output's last command that waits for the keys
// taken; 0 when it has none. Text that reads as a command inside an argument counts too, which
// only shares the input for longer than needed.
static int32_t WaitsBefore(const char* output) {
  int32_t after = 0;
  for (int32_t at = 0; output && output[at]; ++at) {
    for (const CommandRow& row : kCommands) {
      if (row.bringsWindowForward && StartsWithNoCase(output + at, row.literal)) after = at + 1;
    }
  }
  return after;
}

bool IsPlainTextOutput(const char* output) {
  for (const char* at = output; *at; ++at) {
    if (!IsPlainCharacterAt(at)) return false;
  }
  return true;
}

void StartPlayer() {
  gPlayer.playPosition = 0;
  gPlayer.typedRunEnd = 0;
  gPlayer.waitsBefore = gPlayer.literalOutput ? 0 : WaitsBefore(gPlayer.outputBuffer);
  PlatformStartTimer(kPlayTimerId, kPlayStartDelayMs);
}

void PlayOutputTick() {
  PlatformStopTimer(kPlayTimerId);
  if (PasteUnderWay() && !GoOnAfterPaste()) return;
  Output output = {gPlayer.outputBuffer, gPlayer.outputBuffer ? int32_t(strlen(gPlayer.outputBuffer)) : 0};
  while (gPlayer.playPosition >= 0 && gPlayer.playPosition < output.length) {
    PlayStep step = PlayToken(output, gPlayer.playPosition);
    if (step.kind == kStepAbort) break;
    gPlayer.playPosition = step.next;
    if (step.kind == kStepPause) {
      // Nothing typed may wait through the pause, whatever the action queued.
      FlushKeyEvents();
      PlatformStartTimer(kPlayTimerId, step.pauseMs);
      return;
    }
  }
  EndOutput();
}

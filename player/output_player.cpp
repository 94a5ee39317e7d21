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
#include "player/inserted_text.h"
#include "player/paste.h"
#include "player/program_commands.h"
#include "player/window_commands.h"
#include "forms/field_form.h"
#include "picklist/pick_list.h"
#include "search/trigger_search.h"
#include "triggers/firing_rules.h"
#include "triggers/key_names.h"
#include "triggers/word_case.h"

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

enum CommandKind : uint8_t {
  kCommandActs,           // acts on its own: the keys queued before it go out first
  // Can bring another window forward (a program, a window, the list, a warning, a click): the
  // keys typed before it must have reached the window in front first.
  kCommandBringsWindow,
  kCommandGivesText,      // stands for a text, which joins the text around it
  kCommandInPlace,        // a mark, which sends nothing
};

struct CommandRow {
  const char* literal;  // what the text at the play position begins with, ignoring letter case
  CommandAction action;
  CommandKind kind;
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
const uint8_t kVkLeftArrow = 0x25;
const uint8_t kVkTab = 0x09, kVkEnter = 0x0D;
const uint32_t kTab = 0x09, kLineFeed = 0x0A, kCarriageReturn = 0x0D;
const char kCursorToken[] = "{Cursor}";
const char kInputFieldWord[] = "{Input ";
const char kChoiceFieldWord[] = "{Choice ";
const char kSuspendToken[] = "{Suspend}";
const char kSearchToken[] = "{Search}";
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

// {Suspend}: switches Suspend, on or off.
static PlayStep PlaySuspend(const Output&, int32_t at) {
  SetTriggersSuspended(!TriggersSuspended());
  return Continue(at + TokenLength(kSuspendToken));
}

// {Search}: the search window opens, and the output goes on at once.
static PlayStep PlaySearch(const Output&, int32_t at) {
  OpenTriggerSearch();
  return Continue(at + TokenLength(kSearchToken));
}

static PlayStep PlayTextToken(const Output& output, int32_t at);
static PlayStep PlayCursor(const Output& output, int32_t at);

// The commands of the output language, tried in this order before key names.
static const CommandRow kCommands[] = {
    {kDelayToken, PlayDelay, kCommandActs},
    {kClickToken, PlayClick, kCommandBringsWindow},
    {kMouseReturnToken, PlayMouseReturn, kCommandActs},
    {kRunToken, PlayRun, kCommandBringsWindow},
    {kWindowToken, PlayWindow, kCommandBringsWindow},
    {kListToken, PlayList, kCommandBringsWindow},
    {"{Date}", PlayTextToken, kCommandGivesText},
    {"{Date ", PlayTextToken, kCommandGivesText},
    {"{Date+", PlayTextToken, kCommandGivesText},
    {"{Date-", PlayTextToken, kCommandGivesText},
    {"{Clipboard}", PlayTextToken, kCommandGivesText},
    {"{Program}", PlayTextToken, kCommandGivesText},
    {"{Title}", PlayTextToken, kCommandGivesText},
    {kInputFieldWord, PlayTextToken, kCommandGivesText},
    {kChoiceFieldWord, PlayTextToken, kCommandGivesText},
    {kSuspendToken, PlaySuspend, kCommandActs},
    {kSearchToken, PlaySearch, kCommandBringsWindow},
    {kCursorToken, PlayCursor, kCommandInPlace},
};

// The command that the text at `at` begins with, or nullptr. A field token without its "}" is
// none: it is typed as it stands.
static const CommandRow* CommandAt(const char* at) {
  for (const CommandRow& row : kCommands) {
    if (!StartsWithNoCase(at, row.literal)) continue;
    bool field = row.literal == kInputFieldWord || row.literal == kChoiceFieldWord;
    if (field && !FieldTokenLength(at)) continue;
    return &row;
  }
  return nullptr;
}

// Whether the text at `at` is a character of plain text: no control character, and the start of
// no command and no key name.
static bool IsPlainCharacterAt(const char* at) {
  return uint8_t(*at) >= kFirstPrintable && !LookupKeyName(at, nullptr, nullptr) && !CommandAt(at);
}

static bool IsTextTokenAt(const char* at) {
  const CommandRow* row = CommandAt(at);
  return row && row->kind == kCommandGivesText;
}

// A character typed after the caret's mark is one more step back for the caret.
static void CountCaretStep(bool typed) {
  if (typed && gPlayer.cursorMarked) ++gPlayer.caretSteps;
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
  CountCaretStep(TypeCodePoint(TextCharacterAt(output, at, &length)));
  return Continue(at + length);
}

// A text that a token stands for, typed as it stands: the output's case does not touch it. Its
// line ends (CR LF) and tabs press Enter and Tab, whatever the layout makes of their characters.
static void TypeInsertedText(const char* text, uint32_t length) {
  for (uint32_t at = 0; at < length;) {
    int n = 1;
    uint32_t codePoint = DecodeUtf8(text + at, length - at, &n);
    if (codePoint == kCarriageReturn && at + 1 < length && uint8_t(text[at + 1]) == kLineFeed) {
      SendKey(kVkEnter, kKeyPressRelease);
      CountCaretStep(true);
      n = 2;
    } else if (codePoint == kTab) {
      SendKey(kVkTab, kKeyPressRelease);
      CountCaretStep(true);
    } else {
      CountCaretStep(TypeCodePoint(codePoint));
    }
    at += uint32_t(n);
  }
}

// The text of the token at `at`. The clipboard's owner may make its text only when asked, which
// can take long: the keys queued before (the erase among them) go out first, so that keys the
// user types meanwhile come after them and are not erased in the abbreviation's place.
static char* InsertedTextAfterQueuedKeys(const char* at, size_t tokenLength, uint32_t* length) {
  if (IsClipboardToken(at)) FlushKeyEvents();
  return InsertedText(at, tokenLength, length);
}

// {Date…} and {Clipboard}: their text, typed.
static PlayStep TypeTextToken(const Output& output, int32_t at) {
  size_t tokenLength = InsertedTokenLength(output.text + at, size_t(output.length - at));
  uint32_t length = 0;
  char* text = InsertedTextAfterQueuedKeys(output.text + at, tokenLength, &length);
  TypeInsertedText(text, length);
  FreeBlock(text);
  return Continue(at + int32_t(tokenLength));
}

// {Cursor}: the caret comes back here at the end of the output. A second one is text.
static PlayStep PlayCursor(const Output& output, int32_t at) {
  if (gPlayer.cursorSeen) return TypeText(output, at);
  gPlayer.cursorSeen = gPlayer.cursorMarked = true;
  gPlayer.caretSteps = 0;
  return Continue(at + TokenLength(kCursorToken));
}

// Takes the caret back to the mark, over the characters typed after it.
static void MoveCaretToMark() {
  if (gPlayer.cursorMarked) {
    for (int32_t step = 0; step < gPlayer.caretSteps; ++step) SendKey(kVkLeftArrow, kKeyPressRelease);
  }
  gPlayer.cursorSeen = gPlayer.cursorMarked = false;
  gPlayer.caretSteps = 0;
}

// ---- long runs of text go through the clipboard ------------------------------------------------

// A run's text as it grows: a heap block with a NUL after the text, or nullptr.
struct RunText {
  char* text;
  uint32_t length, capacity;
  bool failed;  // memory ran out
};
const uint32_t kFirstRunCapacity = 256;

static void AppendToRun(RunText* run, const char* bytes, uint32_t length) {
  if (run->failed) return;
  if (run->length + length + 1 > run->capacity) {
    uint32_t capacity = run->capacity ? run->capacity : kFirstRunCapacity;
    while (capacity < run->length + length + 1) capacity *= 2;
    char* grown = static_cast<char*>(AllocZeroed(capacity, 1));
    if (!grown) {
      run->failed = true;
      return;
    }
    if (run->length) memcpy(grown, run->text, run->length);
    FreeBlock(run->text);
    run->text = grown;
    run->capacity = capacity;
  }
  memcpy(run->text + run->length, bytes, length);
  run->length += length;
  run->text[run->length] = 0;
}

// The text of the run that begins at `at`: written characters in the case asked for (those that
// typing would leave out left out), and the texts that tokens stand for. Returns its end.
static int32_t BuildRun(const Output& output, int32_t at, RunText* run) {
  while (at < output.length) {
    const char* here = output.text + at;
    if (IsTextTokenAt(here)) {
      size_t tokenLength = InsertedTokenLength(here, size_t(output.length - at));
      uint32_t length = 0;
      char* text = InsertedTextAfterQueuedKeys(here, tokenLength, &length);
      AppendToRun(run, text, length);
      FreeBlock(text);
      at += int32_t(tokenLength);
      continue;
    }
    if (!IsPlainCharacterAt(here)) break;
    int n = 1;
    uint32_t codePoint = TextCharacterAt(output, at, &n);
    char bytes[kMaxUtf8Bytes];
    if (IsTextCharacter(codePoint)) AppendToRun(run, bytes, uint32_t(EncodeUtf8(codePoint, bytes)));
    at += n;
  }
  return at;
}

// The run from `at` when it is long enough to paste: offered on the clipboard, Ctrl+V queued.
// Returns its end, or -1 when it is to be typed (measured once: the text before *typedEnd is).
static int32_t PasteRun(const Output& output, int32_t at) {
  gPlayer.pasteRunStart = at;
  gPlayer.pasteCaseBefore = gPlayer.outputCase;
  RunText run = {};
  int32_t end = BuildRun(output, at, &run);
  bool longEnough = !run.failed && int32_t(Utf8CharCount(run.text ? run.text : "")) > gPlayer.pasteThreshold;
  if (longEnough) {
    gPlayer.pasteCaretSteps = CaretSteps(run.text, run.length);
    if (BeginPaste(run.text, run.length)) return end;
  } else {
    FreeBlock(run.text);
  }
  gPlayer.outputCase = gPlayer.pasteCaseBefore;
  gPlayer.typedRunEnd = end;
  return -1;
}

// A piece of text (a character, or a token that stands for a text): typed, or the start of a run
// long enough to paste.
static PlayStep TypeOrPasteText(const Output& output, int32_t at) {
  if (at >= gPlayer.typedRunEnd && gPlayer.pasteThreshold > 0 && !gPlayer.typeOnly) {
    int32_t end = PasteRun(output, at);
    // The player gives way while the window reads the clipboard.
    if (end >= 0) return Pause(end, kPasteWaitMs);
  }
  return IsTextTokenAt(output.text + at) ? TypeTextToken(output, at) : TypeText(output, at);
}

static PlayStep PlayTextToken(const Output& output, int32_t at) { return TypeOrPasteText(output, at); }

// After the paste: the run is typed when no window took it.
static bool GoOnAfterPaste() {
  uint32_t waitMs = 0;
  PasteOutcome outcome = TakePasteOutcome(&waitMs);
  if (outcome == kPasteGoesOn) {
    PlatformStartTimer(kPlayTimerId, waitMs);
    return false;
  }
  if (outcome == kPastePasted && gPlayer.cursorMarked) gPlayer.caretSteps += gPlayer.pasteCaretSteps;
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
    CountCaretStep(TypeCodePoint(DecodeUtf8(text + at, length - at, &n)));
    at += size_t(n);
  }
  gPlayer.endingText[0] = 0;
}

// Recognises the token at `at` and carries it out.
static PlayStep PlayToken(const Output& output, int32_t at) {
  if (gPlayer.literalOutput) return TypeText(output, at);
  const char* here = output.text + at;
  if (const CommandRow* row = CommandAt(here)) {
    // What was typed so far reaches the window before the command acts; the caret's mark stays
    // in the window it was typed into.
    if (row->kind == kCommandBringsWindow) {
      TypeEndingText();
      WaitForKeysTaken();
      gPlayer.cursorMarked = false;
    } else if (row->kind == kCommandActs) {
      FlushKeyEvents();
    }
    return row->action(output, at);
  }
  int nameLength = 0, mode = 0;
  if (uint8_t vk = LookupKeyName(here, &nameLength, &mode)) {
    SendKey(vk, mode);
    return Continue(at + nameLength);
  }
  return TypeOrPasteText(output, at);
}

// Frees the output: the player is idle.
static void EndOutput() {
  TypeEndingText();
  MoveCaretToMark();
  EndKeyEvents();
  gPlayer.waitsBefore = 0;
  gPlayer.literalOutput = false;
  gPlayer.outputCase = kCaseAsWritten;
  gPlayer.typeOnly = false;
  FreeAndForget(gPlayer.outputBuffer);
  gPlayer.playPosition = 0;
}

// The play position after the start of the output's last command that waits for the keys
// taken; 0 when it has none. Text that reads as a command inside an argument counts too, which
// only shares the input for longer than needed.
static int32_t WaitsBefore(const char* output) {
  int32_t after = 0;
  for (int32_t at = 0; output && output[at]; ++at) {
    for (const CommandRow& row : kCommands) {
      if (row.kind == kCommandBringsWindow && StartsWithNoCase(output + at, row.literal)) after = at + 1;
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

bool OutputPlaying() { return gPlayer.outputBuffer != nullptr || PasteUnderWay(); }

bool PlayOutputTick() {
  PlatformStopTimer(kPlayTimerId);
  if (PasteUnderWay() && !GoOnAfterPaste()) return false;
  Output output = {gPlayer.outputBuffer, gPlayer.outputBuffer ? int32_t(strlen(gPlayer.outputBuffer)) : 0};
  while (gPlayer.playPosition >= 0 && gPlayer.playPosition < output.length) {
    PlayStep step = PlayToken(output, gPlayer.playPosition);
    if (step.kind == kStepAbort) break;
    gPlayer.playPosition = step.next;
    if (step.kind == kStepPause) {
      // Nothing typed may wait through the pause, whatever the action queued.
      FlushKeyEvents();
      PlatformStartTimer(kPlayTimerId, step.pauseMs);
      return false;
    }
  }
  EndOutput();
  return true;
}

// The trigger loader: turns the trigger file into the trigger table that the matcher looks up on
// every key press. Only the trigger side of each line is kept; outputs are read from disk when
// a trigger fires, with the search key stored here.
#include "triggers/trigger_loader.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "common/debug_log.h"
#include "common/heap.h"
#include "common/shift_pairs.h"
#include "common/state.h"
#include "common/status_text.h"
#include "common/text.h"
#include "common/utf8.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "resources/resource_ids.h"
#include "triggers/firing_rules.h"
#include "triggers/include_paths.h"
#include "triggers/key_names.h"
#include "triggers/packed_text.h"
#include "triggers/text_encoding.h"
#include "triggers/trigger_files.h"
#include "triggers/trigger_reload.h"
#include "triggers/trigger_table.h"
#include "triggers/word_case.h"

// The largest file whose text, a leading line feed and the slack still fit in a 32-bit size.
const uint32_t kLargestReadableFile = 0xFFFFFFFFu - kTextSlack;
// A file shorter than this is taken for an empty one and replaced by the default text.
const uint32_t kMinTriggerFileSize = 3;
const char kMiddleClickWord[] = "{4}";
const char kMiddleClickByte = 4;
// Room for the trigger side of a line as written, rule words and all.
const int kWrittenSideSize = kStoredTriggerSize + 2 * kMaxRulePatternBytes;
const char kSuspendCommand[] = "{Suspend}";

// The option words of an abbreviation: each sets the bits of `mask` to `value`, the later word
// of a pair winning.
struct OptionWord {
  const char* word;
  uint8_t mask, value;
};
static const OptionWord kOptionWords[] = {
    {"{word}", kOptionWholeWord, kOptionWholeWord},
    {"{anywhere}", kOptionWholeWord, 0},
    {"{case}", kOptionAnyCase, kOptionAnyCase},
    {"{exact}", kOptionAnyCase, 0},
    {"{type}", kOptionTyped, kOptionTyped},
    {"{paste}", kOptionTyped, 0},
};

const char kDebugMarker[] = "WordHatch_DEBUG";
const char kRemapMarkerA[] = "REMAP";
const char kRemapMarkerB[] = "TILDE";

const char kLoadedFormat[] = " Triggers Loaded: %d%s%s%s%s %s";
const char kOutOfMemoryNote[] = " (out of memory: the rest were not loaded)";
const char kDebugOnText[] = " * * * DEBUG ON * * *";
const char kSkippedFormat[] = "  (%d not loaded: longer than 61 characters, or no key)";
const char kCannotCreateText[] = " * * * WARNING: Unable to create the trigger file!";
// A load that could not read the file: kCannotOpenText, why, and what stays.
const char kUnreadFormat[] = "%s (%s) Trying again; triggers still loaded: %d";
// What the editor shows of a file that was read, when it is not the whole file as it is on disk.
const char kKeptTextNote[] =
    "  * * * The editor keeps the text typed while the file could not be read: Save asks before writing it over "
    "the file.";
const char kNulNote[] =
    "  * * * WARNING: The file holds a NUL character: the editor and the triggers end before it, and Save asks "
    "before writing over it.";
const char kUndecodableNote[] =
    "  * * * WARNING: The file holds bytes that are not text in its encoding (shown as \xEF\xBF\xBD): Save asks "
    "before writing over them.";
const char kUnpairedNote[] = "  * * * Note: The file holds UTF-16 units that are not characters; a save keeps them.";
// Why a file could not be read.
const char kInUseWords[] = "in use by another program";
const char kDeniedWords[] = "access denied";
const char kUnopenableWords[] = "it cannot be opened";
const char kIncompleteWords[] = "it could not be read whole";
const char kNoMemoryWords[] = "not enough memory to read it";
// What the status bar says of included files that were not loaded: the first of them and why.
const char kIncludeWord[] = "{include";
const char kOneNotFoundFormat[] = ", 1 file not found: %s";
const char kOneNotReadFormat[] = ", 1 file not read (%s): %s";
const char kSomeNotReadFormat[] = ", %d files not read, the first (%s): %s";
const char kOneRepeatFormat[] = ", 1 file included twice, loaded once: %s";
const char kSomeRepeatsFormat[] = ", %d files included twice, loaded once, the first: %s";
const char kOneUnlistedFormat[] = ", 1 file not loaded: more than %d files";
const char kUnlistedFormat[] = ", %d files not loaded: more than %d files";
const char kNotFoundWords[] = "not found";
const char kTooDeepWords[] = "included more than 8 deep";
static_assert(kMaxIncludeDepth == 8, "the words name the depth");
const char kPathTooLongWords[] = "its path is too long";
const size_t kIncludeNoteSize = 3 * kPathCapacity;
// The debug log's lines for the files of a load that included some.
const char kFileLoadedLogFormat[] = "%02d:%02d:%02d Loaded %s: %d triggers\r\n";
const char kFileUnreadLogFormat[] = "%02d:%02d:%02d Not loaded %s: %s\r\n";

// ---- the table -------------------------------------------------------------------------------

// Empties the table for a new load, once the file's text has been read whole.
static void RenewTriggerTable() {
  ReleaseTriggerTable();
  ++gTriggers.loadCount;
  gTriggers.outOfMemory = false;
}

// ---- words inside a trigger ------------------------------------------------------------------

static void RemoveAt(char* at, size_t count, const char* replacement, size_t replacementLength) {
  size_t rest = strlen(at + count);
  memcpy(at, replacement, replacementLength);
  memmove(at + replacementLength, at + count, rest + 1);
}

// Removes every occurrence of `word` (any letter case), going on at the place of each removal.
static void RemoveWord(char* text, const char* word) {
  size_t length = strlen(word);
  for (char* at = FindTextNoCase(text, word); at; at = FindTextNoCase(at, word)) RemoveAt(at, length, "", 0);
}

static void ReplaceMiddleClickWords(char* text) {
  for (char* at = FindTextNoCase(text, kMiddleClickWord); at; at = FindTextNoCase(at + 1, kMiddleClickWord)) {
    RemoveAt(at, strlen(kMiddleClickWord), &kMiddleClickByte, 1);
  }
}

int ReplaceKeyNames(char* text) {
  int replaced = 0;
  for (int row = 0; row < kKeyNameRows && kKeyNames[row][0]; ++row) {
    size_t nameLength = strlen(kKeyNames[row]);
    char code = char(kKeyCodes[row]);
    for (char* at = text; *at; ++at) {
      if (*at != '{' || !StartsWithNoCase(at, kKeyNames[row])) continue;
      RemoveAt(at, nameLength, &code, 1);
      ++replaced;
    }
  }
  return replaced;
}

char UnshiftedKeyChar(char c) {
  if (c >= 'a' && c <= 'z') return char(c - 32);
  const char* at = c ? strchr(kShiftedKeyChars, c) : nullptr;
  return at ? kUnshiftedKeyChars[at - kShiftedKeyChars] : c;
}

// Reverses the order of the characters of `text`, each keeping its UTF-8 bytes in their order,
// as the typed history holds them: the bytes are reversed, and then each character's again.
static void ReverseBytes(char* from, char* to) {
  for (; to > from + 1; ++from, --to) {
    char swap = *from;
    *from = to[-1];
    to[-1] = swap;
  }
}

static void ReverseText(char* text) {
  size_t length = strlen(text);
  for (size_t at = 0; at < length;) {
    size_t n = size_t(Utf8SequenceLength(text + at, length - at));
    ReverseBytes(text + at, text + at + n);
    at += n;
  }
  ReverseBytes(text, text + length);
}

// ---- option words ----------------------------------------------------------------------------

// The option word that begins `text` (any letter case), or nullptr.
static const OptionWord* OptionWordAt(const char* text) {
  if (*text != '{') return nullptr;
  for (const OptionWord& option : kOptionWords) {
    if (StartsWithNoCase(text, option.word)) return &option;
  }
  return nullptr;
}

static uint8_t ApplyOption(uint8_t options, const OptionWord& option) {
  return uint8_t((options & ~option.mask) | option.value);
}

void RemoveOptionWords(char* text) {
  for (char* at = strchr(text, '{'); at; at = strchr(at, '{')) {
    size_t ruleWord = ReadRuleWordAt(at, nullptr);
    if (ruleWord) RemoveAt(at, ruleWord, "", 0);
    else ++at;
  }
  for (const OptionWord& option : kOptionWords) RemoveWord(text, option.word);
}

// Applies the option words of `text` to *options in the order they are written, and takes them out.
static void TakeOptionWords(char* text, uint8_t* options) {
  for (const char* at = strchr(text, '{'); at; at = strchr(at + 1, '{')) {
    if (const OptionWord* option = OptionWordAt(at)) *options = ApplyOption(*options, *option);
  }
  for (const OptionWord& option : kOptionWords) RemoveWord(text, option.word);
}

static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// A line of option words alone, blanks around them allowed, sets the options of the lines after
// it: it has no "=", so a version without options ignores it. Its last rule word, if any, goes
// to *ruleWord (*ruleSeen set). Returns false, changing nothing, for any other line.
static bool ReadOptionsLine(const char* line, uint8_t* options, RuleWord* ruleWord, bool* ruleSeen) {
  uint8_t read = *options;
  bool any = false, rule = false;
  for (const char* at = line; *at && !IsLineEnd(*at);) {
    if (*at == ' ' || *at == '\t') {
      ++at;
      continue;
    }
    if (size_t length = ReadRuleWordAt(at, ruleWord)) {
      at += length;
      any = rule = true;
      continue;
    }
    const OptionWord* option = OptionWordAt(at);
    if (!option) return false;
    read = ApplyOption(read, *option);
    at += strlen(option->word);
    any = true;
  }
  if (any) *options = read;
  *ruleSeen = rule;
  return any;
}

// Takes every rule word out of `text`; the last of them goes to *word (*seen set).
static void TakeRuleWords(char* text, RuleWord* word, bool* seen) {
  for (char* at = strchr(text, '{'); at; at = strchr(at, '{')) {
    size_t length = ReadRuleWordAt(at, word);
    if (length == 0) {
      ++at;
      continue;
    }
    RemoveAt(at, length, "", 0);
    *seen = true;
  }
}

// The rule number of a rule word: kEverywhere, or the rule added for it. False when the heap
// could not make room for it.
static bool RuleOfWord(const RuleWord& word, int32_t* rule) {
  if (word.everywhere) {
    *rule = kEverywhere;
    return true;
  }
  *rule = AddProgramRule(word.patterns, word.exclude, word.byTitle);
  return *rule != 0;
}

// ---- the stored trigger ----------------------------------------------------------------------

// Takes the option and modifier words out of `stored` and replaces the middle-click words and key
// names; returns the flags that they give and applies the options to *options.
static uint8_t ReplaceWords(char* stored, uint8_t* options) {
  TakeOptionWords(stored, options);
  uint8_t flags = 0;
  if (FindTextNoCase(stored, "{control}")) flags |= kFlagControl;
  if (FindTextNoCase(stored, "{shift}")) flags |= kFlagShift;
  if (FindTextNoCase(stored, "{alt}")) flags |= kFlagAlt;
  RemoveWord(stored, "{control}");
  RemoveWord(stored, "{shift}");
  RemoveWord(stored, "{alt}");
  ReplaceMiddleClickWords(stored);
  if (ReplaceKeyNames(stored) > 0) flags |= kFlagKeyName;
  return flags;
}

// An abbreviation that matches in any case is stored in small letters, as the matcher folds the
// typed history.
static void FoldStoredTrigger(char* stored) {
  char folded[kStoredTriggerSize];
  static_assert(kStoredTriggerSize > kMaxTriggerLength * kMaxUtf8Bytes, "a folded trigger fits");
  size_t length = LowerCaseText(stored, strlen(stored), folded);
  memcpy(stored, folded, length);
  stored[length] = 0;
}

// The search key of a trigger line: a line feed, the trigger side of the line as written (its
// `length` bytes at `line`) and "=".
static void WriteSearchKey(const char* line, size_t length, char* searchKey) {
  searchKey[0] = '\n';
  memcpy(searchKey + 1, line, length);
  searchKey[length + 1] = '=';
  searchKey[length + 2] = 0;
}

// Turns the trigger as written (already in `stored`, rule words taken out) into its stored form,
// and writes its flags; *options holds the options in force for the line and gets the trigger's
// own. Returns false when the trigger could never fire.
static bool PrepareTrigger(char* stored, uint8_t* flagsOut, uint8_t* options) {
  uint8_t flags = 0;
  // Every word begins with "{": most triggers of a long list have none to look for.
  if (strchr(stored, '{')) flags = ReplaceWords(stored, options);
  if (flags != 0 && flags < kFlagKeyName) stored[0] = UnshiftedKeyChar(stored[0]);
  if (flags == 0 && (*options & kOptionAnyCase)) FoldStoredTrigger(stored);
  ReverseText(stored);

  // Modifier words alone leave no key to press: such a line is no trigger.
  if (!stored[0]) return false;
  *flagsOut = flags;
  return true;
}

// Copies the trigger side of the line at *at into `stored`, at most kMaxTriggerLength characters
// whole, and moves *at past them. Returns the number of characters copied.
static int CopyWrittenTrigger(const char** at, char* stored) {
  const char* from = *at;
  size_t bytes = 0;
  int copied = 0;
  while (*from && *from != '=' && !IsLineEnd(*from) && copied < kMaxTriggerLength) {
    int n = Utf8SequenceLength(from, strnlen(from, kMaxUtf8Bytes));
    memcpy(stored + bytes, from, size_t(n));
    bytes += size_t(n);
    from += n;
    ++copied;
  }
  *at = from;
  return copied;
}

// The bytes of the trigger side of the line at `line`: up to its first "=" outside a rule word
// (a title may hold one), or its end.
static size_t TriggerSideLength(const char* line) {
  size_t length = 0;
  while (line[length] && line[length] != '=' && !IsLineEnd(line[length])) {
    size_t ruleWord = line[length] == '{' ? ReadRuleWordAt(line + length, nullptr) : 0;
    length += ruleWord ? ruleWord : 1;
  }
  return length;
}

// Whether the rest of the line at `at` holds `word` (letter case ignored).
static bool LineHolds(const char* at, const char* word) {
  for (; *at && !IsLineEnd(*at); ++at) {
    if (*at == *word && StartsWithNoCase(at, word)) return true;
  }
  return false;
}

// The trigger side of a line with its rule words taken out, and the last of them.
struct TriggerSide {
  char text[kWrittenSideSize];
  RuleWord rule;
  bool ruleSeen;
};

// Puts the trigger side of the line at `line` (sideLength bytes, and its "=" when it has one)
// into side->text with its rule words taken out. A side too long for the room is left whole: it
// is too long for a trigger anyway.
static const char* TakeTriggerSide(const char* line, size_t sideLength, TriggerSide* side) {
  side->ruleSeen = false;
  if (sideLength + 2 > sizeof side->text || !memchr(line, '{', sideLength)) return line;
  memcpy(side->text, line, sideLength);
  side->text[sideLength] = line[sideLength] == '=' ? '=' : 0;
  side->text[sideLength + 1] = 0;
  TakeRuleWords(side->text, &side->rule, &side->ruleSeen);
  return side->text;
}

// The options and program rule in force: those that the last options lines set.
struct LineDefaults {
  uint8_t options;
  int32_t rule;
};

// Reads an options line or a comment at *at and moves *at to its end. False when the line is a
// trigger line; also false, with gTriggers.outOfMemory set, when a rule found no room.
static bool SkipOptionsLine(const char** at, LineDefaults* defaults) {
  static RuleWord word;  // a rule word's room; the loader runs on one thread only
  bool ruleSeen = false;
  if (**at != ';' && !ReadOptionsLine(*at, &defaults->options, &word, &ruleSeen)) return false;
  if (ruleSeen && !RuleOfWord(word, &defaults->rule)) gTriggers.outOfMemory = true;
  while (**at && !IsLineEnd(**at)) ++*at;
  return true;
}

// The path that the include line at `line` names (*length bytes at *path): "{include", a blank,
// the path and a "}" that ends the line, blanks around them allowed, and double quotes around the
// path taken off. False for any other line.
static bool ReadIncludeLine(const char* line, const char** path, size_t* length) {
  const char* at = line;
  while (IsBlankOrTab(*at)) ++at;
  size_t wordLength = strlen(kIncludeWord);
  if (!StartsWithNoCase(at, kIncludeWord) || !IsBlankOrTab(at[wordLength])) return false;
  at += wordLength;
  const char* end = at;
  while (*end && !IsLineEnd(*end)) ++end;
  while (end > at && IsBlankOrTab(end[-1])) --end;
  if (end == at || end[-1] != '}') return false;
  --end;
  while (at < end && IsBlankOrTab(*at)) ++at;
  while (end > at && IsBlankOrTab(end[-1])) --end;
  if (end - at >= 2 && *at == '"' && end[-1] == '"') ++at, --end;
  *path = at;
  *length = size_t(end - at);
  return end > at;
}

static void IncludeFile(int32_t includer, const char* written, size_t length, int* skipped);

// Loads the file that an include line at *at names, when it is one, and moves *at to its end.
static bool SkipIncludeLine(const char** at, int32_t file, int* skipped) {
  const char* path = nullptr;
  size_t length = 0;
  if (!ReadIncludeLine(*at, &path, &length)) return false;
  IncludeFile(file, path, length, skipped);
  while (**at && !IsLineEnd(**at)) ++*at;
  return true;
}

// Reads the trigger side of every line of trigger file `file` into the table, and those of the
// files that it includes in the places of their include lines, as many as there are, until the
// heap cannot make room for the next (gTriggers.outOfMemory tells). Each file begins with no
// options and no rule. `text` ends at its NUL: what lies behind a NUL byte is out of the editor's
// sight, so it is out of the loader's too.
static void ReadTriggerLines(const char* text, int32_t file, int* skipped) {
  const char* at = text;
  LineDefaults defaults = {0, kEverywhere};  // what the last options lines set
  static TriggerSide side;  // room for a side's text and rule; one thread loads, a line at a time
  while (*at && !gTriggers.outOfMemory) {
    while (IsLineEnd(*at)) ++at;
    if (!*at || SkipOptionsLine(&at, &defaults) || SkipIncludeLine(&at, file, skipped)) continue;
    char stored[kStoredTriggerSize] = {0}, searchKey[kWrittenSideSize + 2] = {0};
    uint8_t flags = 0, options = defaults.options;
    int32_t rule = defaults.rule;
    const char* line = at;
    size_t sideLength = TriggerSideLength(line);
    const char* from = TakeTriggerSide(line, sideLength, &side);
    int copied = CopyWrittenTrigger(&from, stored);
    bool accepted = copied > 0 && *from == '=' && sideLength + 2 < sizeof searchKey;
    bool tooLong = !accepted && copied == kMaxTriggerLength;
    if (accepted && side.ruleSeen && !RuleOfWord(side.rule, &rule)) {
      gTriggers.outOfMemory = true;
      return;
    }
    if (accepted && PrepareTrigger(stored, &flags, &options)) {
      WriteSearchKey(line, sideLength, searchKey);
      if (flags != 0 && LineHolds(line + sideLength, kSuspendCommand)) options |= kOptionSwitchesSuspend;
      if (!AddTrigger(stored, searchKey, flags, options, rule, file)) {
        gTriggers.outOfMemory = true;
        return;
      }
    } else if (accepted) {
      ++*skipped;
    }
    bool hasOutput = false;
    for (at = line; *at && !IsLineEnd(*at); ++at) hasOutput = hasOutput || *at == '=';
    if (tooLong && hasOutput) ++*skipped;
  }
}

static void SetModesFromMarkers(const char* text) {
  if (strstr(text, kDebugMarker)) gTriggers.debugMode = 1;
  if (gShell.remapAllowed && strstr(text, kRemapMarkerA) && strstr(text, kRemapMarkerB)) {
    gTriggers.remapMode |= kRemapModeBit;
  }
}

// ---- the file --------------------------------------------------------------------------------

// Writes the unpacked default trigger text at the end of the open file. A missing resource
// writes nothing, leaving the file empty.
static void WriteDefaultTriggerText(FileHandle file) {
  uint32_t size = 0;
  const uint8_t* packed = PlatformRawResource(IDR_DEFAULT_TRIGGERS, &size);
  if (!packed) return;
  size_t length = strnlen(reinterpret_cast<const char*>(packed), size);
  char* text = UnpackText(reinterpret_cast<const char*>(packed), &length);
  if (!text) return;
  PlatformSeekFile(file, 0, kSeekFromEnd);
  PlatformWriteFile(file, text, uint32_t(strlen(text)));
  FreeBlock(text);
}

// Why a load read no text.
enum ReadFailure { kReadDone, kReadNotCreated, kReadNotOpened, kReadIncomplete, kReadNoMemory };

// The file's text as a load read it, and what the editor would lack of it.
struct ReadText {
  char* text;  // UTF-8, NUL-ended, in a heap block
  TextEncoding encoding;
  FileShortfall shortfall;
  bool unpaired;
  FileStamp stamp;  // the file as it stood when opened to be read
};

const char* OpenErrorWords(FileError error) {
  switch (error) {
    case kFileInUse: return kInUseWords;
    case kFileAccessDenied: return kDeniedWords;
    default: return kUnopenableWords;
  }
}

bool TriggerFileOpens(const char* path, FileError* error) {
  FileHandle file = PlatformOpenFile(path, kFileReadOnly, kFileOpenExisting, error);
  PlatformCloseFile(file);
  return file || *error == kFileNotFound;
}

// Opens the trigger file for the load. A file that does not exist or is nearly empty is made
// anew from the default text; a file that exists but cannot be opened is the user's and is left
// alone, and so is one whose size cannot be had. Returns nullptr with *failure (and *error for a
// file that would not open) set when there is nothing to read.
static FileHandle OpenOrCreateTriggerFile(const char* path, ReadFailure* failure, FileError* error) {
  FileHandle file = PlatformOpenFile(path, kFileReadOnly, kFileOpenExisting, error);
  uint32_t size = 0;
  if (file && !PlatformFileSize(file, &size)) {
    PlatformCloseFile(file);
    *failure = kReadIncomplete;
    return nullptr;
  }
  if (file && size >= kMinTriggerFileSize) return file;
  if (!file && *error != kFileNotFound) {
    *failure = kReadNotOpened;
    return nullptr;
  }
  PlatformCloseFile(file);
  PlatformDeleteFile(path);
  file = PlatformOpenFile(path, kFileReadWrite, kFileOpenAlways, nullptr);
  if (!file) {
    *failure = kReadNotCreated;
    return nullptr;
  }
  WriteDefaultTriggerText(file);
  return file;
}

// Reads the whole open file, closes it, and puts its text as UTF-8 into *read, the byte-order
// mark left out, with how it was written and what the editor would lack of it.
static ReadFailure ReadWholeFile(FileHandle file, ReadText* read) {
  uint32_t size = 0;
  ReadFailure failure = kReadIncomplete;
  char* bytes = nullptr;
  read->stamp = PlatformOpenFileStamp(file);
  if (PlatformFileSize(file, &size)) {
    bytes = static_cast<char*>(AllocZeroed(size_t(size) + 1, 1));
    if (!bytes) failure = kReadNoMemory;
  }
  if (bytes && PlatformSeekFile(file, 0, kSeekFromStart) && PlatformReadFile(file, bytes, size) == size) {
    failure = kReadNoMemory;
    read->encoding = DetectTextEncoding(bytes, size);
    size_t length = 0, capacity = 0;
    read->text = DecodeFileText(bytes, size, read->encoding, 0, &length, &capacity);
    if (read->text &&
        FindFileTextShortfall(bytes, size, read->encoding, read->text, length, &read->shortfall, &read->unpaired)) {
      failure = kReadDone;
    } else {
      FreeAndForget(read->text);
    }
  }
  FreeBlock(bytes);
  PlatformCloseFile(file);
  return failure;
}

// ---- included files --------------------------------------------------------------------------

static TriggerFileState StateOfFailure(ReadFailure failure) {
  switch (failure) {
    case kReadIncomplete: return kTriggerFileIncomplete;
    case kReadNoMemory: return kTriggerFileNoMemory;
    default: return kTriggerFileNotOpened;
  }
}

// Lists the file of an include line at `path`, `depth` deep, or finds it listed: a file is loaded
// once, but one that was too deep where it was first included loads where it is not. Returns its
// number, or -1 when it is not to be loaded (listed already, or the list full). Only a file that
// loaded counts as included twice: one that did not is named with why already.
static int32_t ListIncludedFile(const char* path, int depth) {
  int32_t file = FindTriggerFile(path);
  if (file < 0) return ListTriggerFile(path, depth);
  if (TriggerFileAt(file).state == kTriggerFileTooDeep && depth <= kMaxIncludeDepth) {
    gTriggerFiles.files[file].depth = uint8_t(depth);
    gTriggerFiles.files[file].state = kTriggerFileRead;
    return file;
  }
  if (TriggerFileAt(file).state == kTriggerFileRead) NoteRepeatedInclude(file);
  return -1;
}

// Loads the triggers of the file that an include line of file `includer` names (the `length`
// bytes at `written`) in the place of the line, read whole in its own encoding. A file that
// cannot be loaded is noted in the list, and the load goes on.
static void IncludeFile(int32_t includer, const char* written, size_t length, int* skipped) {
  char path[kPathCapacity];
  int depth = TriggerFileAt(includer).depth + 1;
  if (!ResolveIncludePath(TriggerFileAt(includer).path, written, length, path, sizeof path)) {
    CopyTextBounded(path, written, length < sizeof path ? length + 1 : sizeof path);
    int32_t file = ListTriggerFile(path, depth);
    if (file >= 0) NoteTriggerFileUnread(file, kTriggerFilePathTooLong, kFileOk);
    return;
  }
  int32_t file = ListIncludedFile(path, depth);
  if (file < 0) return;
  if (depth > kMaxIncludeDepth) {
    NoteTriggerFileUnread(file, kTriggerFileTooDeep, kFileOk);
    return;
  }
  FileError error = kFileOk;
  FileHandle handle = PlatformOpenFile(path, kFileReadOnly, kFileOpenExisting, &error);
  ReadText read = {};
  ReadFailure failure = handle ? ReadWholeFile(handle, &read) : kReadNotOpened;
  NoteTriggerFileStamp(file, read.stamp);
  if (failure != kReadDone) {
    NoteTriggerFileUnread(file, StateOfFailure(failure), error);
    return;
  }
  ReadTriggerLines(read.text, file, skipped);
  FreeBlock(read.text);
}

// Why listed file `file` was not loaded, in words.
static const char* UnreadWords(const TriggerFile& file) {
  switch (file.state) {
    case kTriggerFileNotOpened: return file.error == kFileNotFound ? kNotFoundWords : OpenErrorWords(file.error);
    case kTriggerFileIncomplete: return kIncompleteWords;
    case kTriggerFileNoMemory: return kNoMemoryWords;
    case kTriggerFileTooDeep: return kTooDeepWords;
    default: return kPathTooLongWords;
  }
}

static void AppendNote(char* note, size_t size, const char* format, ...) {
  size_t used = strlen(note);
  va_list args;
  va_start(args, format);
  vsnprintf(note + used, size - used, format, args);
  va_end(args);
}

// What the status bar says after the count about the included files that were not loaded: the
// first that could not be read and why, the first included twice, and those past the list's end.
// Empty when every file loaded once, as for a file that includes none.
static void WriteIncludeNote(char* note, size_t size) {
  note[0] = 0;
  int32_t first = -1;
  int32_t unread = UnreadTriggerFiles(&first);
  if (unread > 0) {
    const TriggerFile& file = TriggerFileAt(first);
    const char* words = UnreadWords(file);
    if (unread > 1) AppendNote(note, size, kSomeNotReadFormat, unread, words, file.path);
    else if (words == kNotFoundWords) AppendNote(note, size, kOneNotFoundFormat, file.path);
    else AppendNote(note, size, kOneNotReadFormat, words, file.path);
  }
  int32_t repeats = gTriggerFiles.repeats;
  if (repeats == 1) AppendNote(note, size, kOneRepeatFormat, TriggerFileAt(gTriggerFiles.firstRepeat).path);
  if (repeats > 1) AppendNote(note, size, kSomeRepeatsFormat, repeats, TriggerFileAt(gTriggerFiles.firstRepeat).path);
  int32_t unlisted = gTriggerFiles.unlisted;
  if (unlisted == 1) AppendNote(note, size, kOneUnlistedFormat, kMaxTriggerFiles);
  if (unlisted > 1) AppendNote(note, size, kUnlistedFormat, unlisted, kMaxTriggerFiles);
}

// Debug mode: the log lists each file of a load that included some, with its triggers or why it
// was not loaded.
static void LogTriggerFiles() {
  int32_t counts[kMaxTriggerFiles] = {0};
  for (int entry = 0; entry < TriggerCount(); ++entry) ++counts[TriggerFileOf(entry)];
  LocalTime now = PlatformLocalTime();
  for (int32_t file = 0; file < TriggerFileCount(); ++file) {
    const TriggerFile& listed = TriggerFileAt(file);
    if (listed.state == kTriggerFileRead) {
      AppendDebugLog(kDebugLogPath, kFileLoadedLogFormat, now.hour, now.minute, now.second, listed.path, counts[file]);
    } else {
      AppendDebugLog(kDebugLogPath, kFileUnreadLogFormat, now.hour, now.minute, now.second, listed.path,
                     UnreadWords(listed));
    }
  }
}

// A load that read nothing leaves the table and the editor as they were, and says why. A file
// that could not be made leaves nothing on disk that a save could lose.
static void ReportUnreadFile(ReadFailure failure, FileError error) {
  if (failure == kReadNotCreated) {
    gTriggers.loadFailed = false;
    gTriggers.fileShortfall = kShortfallNone;
    SetStatusText(kCannotCreateText);
    return;
  }
  gTriggers.loadFailed = true;
  gTriggers.fileShortfall = kShortfallUnread;
  const char* words = failure == kReadNotOpened   ? OpenErrorWords(error)
                      : failure == kReadNoMemory ? kNoMemoryWords
                                                 : kIncompleteWords;
  SetStatusText(kUnreadFormat, kCannotOpenText, words, TriggerCount());
}

// What the status bar adds about the editor's text after a load that read the file.
static const char* EditorTextNote(bool keptEditorText, bool keptUnread) {
  if (keptEditorText) return keptUnread ? kKeptTextNote : "";
  if (gTriggers.fileShortfall == kShortfallAfterNul) return kNulNote;
  if (gTriggers.fileShortfall == kShortfallBytes) return kUndecodableNote;
  return gTriggers.unpairedUnits ? kUnpairedNote : "";
}

// Builds the table from the text read whole of the main file at `path` and the files that it
// includes, and shows the text in the editor, except over text that the user typed while the file
// could not be read: that is the user's only copy, so the editor keeps it (and a save goes on
// asking first). With `keepEditorText` the editor keeps its text whatever it is, and what a save
// would lose stays as it was. Releases the text. The debug and remap markers are the main file's
// alone. Then the folders of the files listed are watched.
static void UseFileText(const char* path, ReadText* read, bool keepEditorText) {
  bool keptUnread = gTriggers.fileShortfall == kShortfallUnread && PlatformEditorChanged();
  keepEditorText = keepEditorText || keptUnread;
  RenewTriggerTable();
  StartTriggerFileList(path);
  NoteTriggerFileStamp(kMainTriggerFile, read->stamp);
  gTriggers.fileEncoding = read->encoding;
  gTriggers.loadFailed = false;
  gTriggers.unpairedUnits = read->unpaired;
  if (!keepEditorText) {
    PlatformSetEditorText(read->text);
    gTriggers.fileShortfall = read->shortfall;
  }
  SetModesFromMarkers(read->text);
  int skipped = 0;
  ReadTriggerLines(read->text, kMainTriggerFile, &skipped);
  FreeAndForget(read->text);
  if (gTriggers.debugMode && TriggerFileCount() > 1) LogTriggerFiles();
  char skippedNote[80] = "", includeNote[kIncludeNoteSize];
  if (skipped > 0) snprintf(skippedNote, sizeof skippedNote, kSkippedFormat, skipped);
  WriteIncludeNote(includeNote, sizeof includeNote);
  SetStatusText(kLoadedFormat, TriggerCount(), includeNote, gTriggers.outOfMemory ? kOutOfMemoryNote : "",
                skippedNote, EditorTextNote(keepEditorText, keptUnread), gTriggers.debugMode ? kDebugOnText : "");
  // Before the watch: a file changed since its reading gets the shorter settle time.
  LookAgainAtHeldFiles();
  WatchTriggerFolders();
}

static bool LoadFile(const char* path, bool keepEditorText) {
  ReadFailure failure = kReadDone;
  FileError error = kFileOk;
  FileHandle file = OpenOrCreateTriggerFile(path, &failure, &error);
  ReadText read = {};
  if (file) failure = ReadWholeFile(file, &read);
  if (failure != kReadDone) {
    ReportUnreadFile(failure, error);
    return false;
  }
  UseFileText(path, &read, keepEditorText);
  return true;
}

bool LoadTriggerFile(const char* path) { return LoadFile(path, false); }

bool LoadTriggerFileKeepingEditorText(const char* path) { return LoadFile(path, true); }

// ---- file access for the expansion lookup ----------------------------------------------------

uint32_t GetFileLength(const char* path) {
  char ownPath[kPathCapacity];
  if (!path || !*path) {
    if (!PlatformModulePath(ownPath, sizeof ownPath)) return 0;
    path = ownPath;
  }
  FileHandle file = PlatformOpenFile(path, kFileReadOnly, kFileOpenExisting, nullptr);
  uint32_t size = 0;
  if (file && !PlatformFileSize(file, &size)) size = 0;
  PlatformCloseFile(file);
  return size;
}

uint32_t ReadFileText(const char* path, int32_t offset, char* buffer, uint32_t maxCount) {
  FileHandle file = PlatformOpenFile(path, kFileReadOnly, kFileOpenExisting, nullptr);
  if (!file) return 0;
  uint32_t size = 0, read = 0;
  if (buffer && PlatformFileSize(file, &size) && size > 0 &&
      PlatformSeekFile(file, offset, offset < 0 ? kSeekFromEnd : kSeekFromStart)) {
    read = PlatformReadFile(file, buffer, maxCount < size ? maxCount : size);
    buffer[read] = 0;
  }
  PlatformCloseFile(file);
  return read;
}

char* ReadTriggerFileAfterLineFeed(const char* path, uint32_t* capacity) {
  // A file that held the trigger is never empty: no length, or less read, is a file not read.
  uint32_t length = GetFileLength(path);
  if (length == 0 || length > kLargestReadableFile) return nullptr;
  char* bytes = static_cast<char*>(AllocZeroed(size_t(length) + 1, 1));
  if (!bytes) return nullptr;
  uint32_t read = ReadFileText(path, 0, bytes, length);
  if (read != length) {
    FreeBlock(bytes);
    return nullptr;
  }
  size_t textLength = 0, size = 0;
  char* buffer = DecodeFileText(bytes, read, DetectTextEncoding(bytes, read), 1, &textLength, &size);
  FreeBlock(bytes);
  if (!buffer || size > UINT32_MAX) {
    FreeBlock(buffer);
    return nullptr;
  }
  buffer[0] = '\n';
  *capacity = uint32_t(size);
  return buffer;
}

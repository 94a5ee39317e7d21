// The process-wide state records of the portable core, one per subsystem. Each is owned by its
// subsystem; others read it, and write only where their comments say so.
#pragma once
#include <stdint.h>

#include "common/text_encoding_kind.h"
#include "common/utf16.h"
#include "common/utf8.h"
#include "platform/files.h"
#include "platform/folder_watch.h"
#include "platform/keyboard.h"
#include "platform/keyboard_layout.h"
#include "platform/raw_input.h"
#include "platform/top_windows.h"

const int kPathCapacity = 260;  // 259 characters and the NUL

// Shell state (application shell): the run's paths and options. Set at start-up, except the
// trigger path (Open, Save As) and the automation count (each expansion started).
struct ShellState {
  char settingsPath[kPathCapacity];
  char triggerPath[kPathCapacity];
  bool trayOption;
  bool wrapOption;
  bool remapAllowed;        // this computer may use the tilde-as-Alt remap mode
  bool trackMouse;          // the status bar shows the cursor's position (Track Mouse)
  int32_t automationCount;  // expansions started in this run
};
extern ShellState gShell;

// Trigger table (trigger definitions): rebuilt whole by every load of the trigger file. It holds
// as many entries as the file has triggers and memory allows, in file order; triggers/trigger_table.h
// reads and grows it.
const int kMaxTriggerLength = 61;    // longest trigger as written in the file, in characters
const int kMaxTriggerBytes = kMaxTriggerLength * kMaxUtf8Bytes;  // its UTF-8 bytes at most
const int kStoredTriggerSize = 256;  // room for a stored trigger or a search key, NUL included
const uint8_t kFlagControl = 0x01, kFlagShift = 0x02, kFlagAlt = 0x04, kFlagKeyName = 0x10;
// An abbreviation's options: it fires only as a whole word, at the character that ends it; it
// matches in any letter case (stored in small letters) and its output follows the case typed.
const uint8_t kOptionWholeWord = 0x01, kOptionAnyCase = 0x02;
// A trigger's output is typed key by key, however long its text (hotkeys keep this option too).
const uint8_t kOptionTyped = 0x04;
// A hotkey whose output switches Suspend: the one trigger that fires while suspended.
const uint8_t kOptionSwitchesSuspend = 0x08;
const uint8_t kRemapModeBit = 0x01;
static_assert(kStoredTriggerSize > kMaxTriggerBytes + 2, "a line feed, the longest trigger, \"=\" and a NUL fit");

// One entry: where its texts lie in the table's text, and its place in the index. The text at
// storedAt is the stored trigger (reversed by characters, words replaced), NUL-ended; the search
// key (line feed, the trigger as written, "=") follows its NUL.
struct TriggerRecord {
  uint32_t storedAt;
  int32_t matchLength;   // the stored trigger's length in bytes: an abbreviation is compared whole
  int32_t nextInBucket;  // the next entry of the same index bucket in file order, -1 after the last
  uint8_t flags;         // 0 for an abbreviation; a hotkey's modifiers and kFlagKeyName
  uint8_t options;       // an abbreviation's kOption bits; a hotkey's kOptionTyped and kOptionSwitchesSuspend
  uint16_t file;         // the trigger file of its line: kMainTriggerFile, or one it includes (gTriggerFiles)
  int32_t rule;          // its program rule, 1 to ruleCount; kEverywhere (0) when it has none
};

// A program rule: the trigger lines that carry it fire only in the windows whose program or
// title one of its patterns matches, or (exclude) never in those. Its patterns lie in the table's
// text at patternsAt: in small letters, blanks around them taken off, each ended by a ";".
const int32_t kEverywhere = 0;
struct ProgramRule {
  uint32_t patternsAt;
  bool exclude;
  bool byTitle;  // some pattern is matched against the window's title
};

// The index: every entry sits in one bucket, chosen by a hash of its index key (a hotkey's key
// byte, or an abbreviation's first stored bytes), each bucket a chain in file order. The bucket
// array holds bucketCount first entries and then bucketCount last entries, -1 when empty.
struct TriggerTable {
  TriggerRecord* records;  // heap block of `capacity` records; the first `count` are the table
  int32_t count, capacity;
  char* text;              // heap block of textCapacity bytes, textUsed of them taken
  uint32_t textUsed, textCapacity;
  int32_t* buckets;        // heap block of 2 * bucketCount entry numbers
  uint32_t bucketCount;    // a power of two, or 0 while the table has no blocks
  bool outOfMemory;        // the last load stopped at a growth the heap could not supply
  uint8_t optionsUsed;     // the kOption bits of every abbreviation together
  uint8_t debugMode;  // set by a load, never cleared
  uint8_t remapMode;  // kRemapModeBit set by a load, never cleared
  TextEncoding fileEncoding;  // how the file last read whole was written; a save writes it so again
  // Set by every load: the file exists but could not be read, so the table is the one from before
  // it and the shell tries the load again (app/trigger_open.h) until one reads the file.
  bool loadFailed;
  // What the editor lacks of the file at the trigger path, so that a save asks before writing
  // less than the file holds: set by every load, and to kShortfallNone by a save that wrote the
  // file. A load leaves the editor's text alone while it is kShortfallUnread and the user has
  // changed the text: that text is then the user's only copy.
  FileShortfall fileShortfall;
  // The last load read UTF-16 units that are no characters (unpaired surrogates); they are kept.
  bool unpairedUnits;
  // The program rules that the entries carry: rule n is rules[n - 1].
  ProgramRule* rules;  // heap block of ruleCapacity rules, the first ruleCount in use
  int32_t ruleCount, ruleCapacity;
  bool everywhereUsed;  // some entry has no program rule
  uint32_t loadCount;   // loads that rebuilt the table, to tell what was judged against which
  // Suspend: no trigger fires but those with kOptionSwitchesSuspend, and nothing typed is kept.
  // Off at every start; a load leaves it as it is.
  bool suspended;
};
extern TriggerTable gTriggers;

// The trigger files of the table (triggers/trigger_files.h): the main file, and every file that
// it includes, directly or through others, each once, in the order the load reached them. Every
// load that rebuilds the table lists them anew; a file that could not be read stays listed, with
// why, so that the status bar can name it.
const int kMaxTriggerFiles = 64;
const int kMainTriggerFile = 0;
const int kMaxIncludeDepth = 8;  // a file included by the main file is 1 deep
static_assert(kMaxTriggerFiles <= 0xFFFF, "a file number fits its record");
enum TriggerFileState : uint8_t {
  kTriggerFileRead,         // its triggers are in the table
  kTriggerFileNotOpened,    // `error` tells why
  kTriggerFileIncomplete,   // it opened but could not be read whole
  kTriggerFileNoMemory,     // no room to read it
  kTriggerFileTooDeep,      // included more than kMaxIncludeDepth deep
  kTriggerFilePathTooLong,  // its path, variables expanded, does not fit: `path` holds its start as written
};
struct TriggerFile {
  char path[kPathCapacity];  // as it was opened: variables expanded, joined to its includer's folder
  uint8_t depth;             // 0 for the main file
  uint8_t state;             // TriggerFileState
  FileError error;
  FileStamp stamp;           // as the load opened it to read; not present when it did not open
};
struct TriggerFileList {
  TriggerFile files[kMaxTriggerFiles];
  int32_t count;
  int32_t repeats;      // include lines that named a file listed already (included twice, or a cycle)
  int32_t firstRepeat;  // the file that the first of them named
  int32_t unlisted;     // include lines left out because the list was full
};
extern TriggerFileList gTriggerFiles;

// Reload on change (triggers/trigger_reload.h): the folders of the trigger files that are
// watched, and what the looks at the files saw while a change settles.
struct TriggerWatchState {
  char folders[kMaxWatchedFolders][kPathCapacity];
  int32_t folderCount;
  bool allWatched;  // every folder listed is watched: a folder that was not is tried at each load
  FileStamp looked[kMaxTriggerFiles];  // each listed file at the last look, by file number
  bool missingShown;  // the status bar says that a file read by the last load is missing,
  uint32_t missingAtLoad;  // while gTriggers.loadCount is still this
  bool asking;        // the question about the editor's unsaved changes is open
  // The user's answer to the question, until the next load (answeredAtLoad: gTriggers.loadCount
  // then): a reload put off after it takes the answer given, not asking again.
  bool answered, keepEditorText;
  uint32_t answeredAtLoad;
};
extern TriggerWatchState gTriggerWatch;

// The window in front as the watcher last saw it, and what it judged of it: the program's file
// name is asked only when the window or its process changes, and the title only when a rule on
// titles is judged (read anew each time: a window's title changes on its own).
const int kProgramNameSize = 1024;  // room for a file name folded to small letters
struct WindowInFront {
  WindowHandle window;
  uint32_t process;
  char program[kProgramNameSize];  // in small letters; empty when it could not be had
  bool known;              // window and process were read at least once
  uint32_t judgedAtLoad;   // gTriggers.loadCount when nothingFires was judged
  bool nothingFires;       // no entry of the table may fire in this window
};

// Watcher state (keystroke watcher): what the key poller saw at its last look and what was typed.
// The history holds as many characters as the longest trigger and two more, so any abbreviation
// can be seen whole with the character that ends a word after it and the one before it: the 63
// newest, newest first, each in its UTF-8 bytes in their own order.
const int kHistoryChars = kMaxTriggerLength + 2;
const int kHistoryBytes = kHistoryChars * kMaxUtf8Bytes;  // room for the characters at their longest
const int kHistorySize = kHistoryBytes + 1;  // and a zero that always ends them
const int kEventQueueCapacity = 512;  // raw input events kept while watching waits
// The keys held with others that the event stream keeps track of: left and right Shift, Ctrl,
// Alt and Windows.
const int kStreamModifierKeys = 8;
struct WatcherState {
  uint8_t previousKeyState[256];
  uint8_t typedHistory[kHistorySize];

  // When the poller may skip its scan: nobody has typed for a while and the last complete scan
  // saw every key as it is now. Kept by the poller; a load of the trigger file sets scanDue.
  bool haveInputTick;     // lastInputTick holds a value read from the system
  uint32_t lastInputTick; // the system's last-input time at the poller's previous look
  uint32_t inputSeenAt;   // the tick count when that time was first seen to move
  uint32_t lastFullScanAt;  // when the last scan that looked at every key ran
  bool settled;           // a complete scan ran at least the settle time after the last input
  bool scanDue;           // the key state was reset: the next tick must scan

  // Tilde remap: the synthetic Alt is down. The tilde key's entry of previousKeyState says
  // whether the tilde key is held; an expansion lets the Alt go while the key stays held.
  bool remapAltDown;

  // Undo of a whole-word expansion: armed while the first key after its output may still be
  // Backspace. The history as it was before the ending character, the number of characters that
  // the abbreviation took in it, and those that the output typed.
  bool undoArmed;
  int32_t undoEntry;
  int32_t undoTypedChars, undoOutputChars;
  uint8_t undoHistory[kHistorySize];
  // The entry that an undo took back (undoEntry) does not fire at the next key.
  bool undoneEntryHeld;

  // Where key events come from: raw input events, or the key poller's looks at the key states.
  bool rawInput;
  // An expansion or an output is under way: raw input events wait in the queue, in order.
  bool suspended;
  InputEvent queue[kEventQueueCapacity];
  int32_t queueStart, queueCount;
  bool queueOverflowed;  // events were lost to a full queue: what came before is cut off
  // The tick count when the newest event of each stream modifier key came (kStreamModifiers of
  // key_events.cpp): a release that never came is seen by its age and the system's key state.
  uint32_t modifierEventAt[kStreamModifierKeys];
  // Own key events that came back through raw input, and those of them handled; an event of the
  // user's is handled only once every own key event sent before it is back.
  uint32_t ownKeysSeen, ownKeysHandled;
  // Once every own key sent so far is handled, pendingHistory replaces the typed history (after
  // an undo; or the keys typed after a trigger, which the output types again), and the matcher
  // looks at it as after a press of pendingKey (0: it does not).
  bool historyPending;
  uint8_t pendingHistory[kHistorySize];
  uint8_t pendingKey;
  WindowInFront front;
  // A window of this program that takes text of its own is in front (the search window): what
  // is typed there is not kept, and nothing fires.
  bool keysKeptOut;
};
extern WatcherState gWatcher;

// Keyboard layout (keystroke watcher): what each key types on the layout of the window in front,
// read from the system once per layout, and the accent of a dead key pressed last.
// A key's text in UTF-8 (its UTF-16 units at three bytes each at most) and its NUL.
const int kKeyTextSize = kMaxKeyTextUnits * int(kUtf8BytesPerUtf16Unit) + 1;
const int kMaxLevelThreeKeys = 4;
struct KeyLayoutState {
  KeyboardLayout layout;  // the layout the tables were built for
  bool built;
  char text[256][kLayoutStates][kKeyTextSize];  // empty: the key types nothing in that state
  bool dead[256][kLayoutStates];                // a dead key: text holds its accent
  bool hasAltGr;           // some key types something with AltGr
  // Keys that select the AltGr column by themselves, as keys of their own (under Wine).
  uint8_t levelThreeKeys[kMaxLevelThreeKeys];
  int levelThreeCount;
  uint32_t pendingAccent;  // the accent of the dead key pressed last, 0 when none waits
  // Under Wine the system's input method keeps a dead key's press to itself: the accent of a
  // key released unseen, and whether a composed character has come since (see key_layout.h).
  uint32_t heldBackAccent;
  bool composedWaits;
};
extern KeyLayoutState gKeyLayout;

// Player state (output player): the output being played, and the key events that wait to go to
// the system together.
const int kKeyBatchCapacity = 240;
const int kMaxKeysAfterTrigger = 24;  // more typed after a trigger before its erase, and it gives way
const int kEndingTextSize = (kMaxKeysAfterTrigger + 1) * kKeyTextSize + 1;  // events handed to the system in one piece at most
static_assert(kKeyBatchCapacity <= int(kMaxKeyEventsAtOnce), "a batch goes to the system in one call");
// A copy of the clipboard's formats in the order it offered them, put back after a paste.
struct SavedFormat {
  uint32_t format;
  uint32_t size;
  void* bytes;  // heap block of `size` bytes (one at least)
};
struct SavedClipboard {
  SavedFormat* formats;  // heap block of `capacity` formats, the first `count` in use; or nullptr
  int32_t count, capacity;
};

// Where a paste stands (player/paste.h).
enum PasteStage : uint8_t {
  kPasteIdle,       // no paste under way
  kPasteWaiting,    // the text is offered and Ctrl+V sent: no window has asked for it yet
  kPasteRendered,   // a window asked for the text and got it
  kPasteLost,       // the text could not be handed over, or another program took the clipboard
  kPasteRestoring,  // the user's clipboard is being put back: its emptying is this program's own
};
struct PasteState {
  uint8_t stage;        // PasteStage
  bool savedDropped;    // another program took the clipboard: what was saved is not put back
  char* text;           // heap block: the run as UTF-8, in the case asked for; or nullptr
  uint32_t length;      // its bytes
  uint32_t sentAt;      // tick count when Ctrl+V went
  SavedClipboard saved; // the user's clipboard as it was
};

struct PlayerState {
  char* outputBuffer;  // heap block, or nullptr
  int32_t playPosition;
  int32_t savedCursorX, savedCursorY;
  KeyEvent pendingKeys[kKeyBatchCapacity];
  int32_t pendingKeyCount;
  // The keyboard layout of the window in front, asked once per batch of key events.
  KeyboardLayout receivingLayout;
  bool haveReceivingLayout;
  // Keys were sent since the last wait for the window in front to take them.
  bool keysUnconfirmed;
  // The output's commands that wait for the keys taken begin before this play position (0: it
  // has none); until the last of them, key events go out while the input of the window in front
  // is shared with sharedInputThread (0: not shared).
  int32_t waitsBefore;
  uint32_t sharedInputThread;
  // The output is typed as it stands: no command and no key name in it is played.
  bool literalOutput;
  // The letter case that the output's text takes (OutputCase of triggers/word_case.h).
  uint8_t outputCase;
  // What the erase took after the abbreviation, typed again after the output's text (before its
  // first command that brings a window forward): the character that ended a whole word, and the
  // keys typed after the trigger before the erase; empty when none waits.
  char endingText[kEndingTextSize];
  // A run of plain text longer than this many characters is pasted (0: none is); the setting,
  // read at start-up. typeOnly: the trigger asked for keystrokes whatever the length.
  int32_t pasteThreshold;
  bool typeOnly;
  // Text before this play position is typed: a run measured short, or one whose paste failed.
  int32_t typedRunEnd;
  // The run being pasted begins here, and the case of the output's text stood so before it.
  int32_t pasteRunStart;
  uint8_t pasteCaseBefore;
  int32_t pasteCaretSteps;  // the run's characters, for the caret's way back
  // {Cursor}: the output had one (a second is text); the caret goes back to it at the end of
  // the output over caretSteps characters typed after it, unless a window came forward since.
  bool cursorSeen, cursorMarked;
  int32_t caretSteps;
  PasteState paste;
};
extern PlayerState gPlayer;

// Pick list state: the text of the most recent list, which every list window shows and chooses
// from, and the height of one of its lines as last painted.
struct PickListState {
  char* listBuffer;    // zero-filled heap block, or nullptr; outlives the windows
  int32_t lineHeight;  // pixels; 0 until a list has been painted
};
extern PickListState gPickList;

// Search window state: every trigger that may be listed, with the texts that a row shows and
// that a query is matched against, as they stood when the window last opened; the rows of the
// last query; and what lasts for the run: the last query and the triggers chosen most recently.
const int kSearchQuerySize = 256;
const int kRecentChoices = 16;
struct SearchItem {
  int32_t entry;           // the trigger table entry
  uint32_t shownAt;        // the trigger as written, its label and its output's first line, each NUL-ended
  uint32_t foldedAt;       // in small letters: the trigger, a line feed, the label, a line feed, the output
  uint32_t triggerLength;  // the bytes of the folded trigger
  int8_t recentRank;       // 0 for the most recent choice, and so on; -1 when not among them
};
struct SearchState {
  SearchItem* items;  // heap block of `capacity` items, the first `count` listed, in file order
  int32_t count, capacity;
  char* text;         // heap block of the items' texts
  uint32_t textUsed, textCapacity;
  int32_t* rows;      // heap block of `capacity` item numbers: the query's rows, best first
  int32_t rowCount;
  uint8_t* groups;    // heap block of `capacity` rank groups, scratch of the filter
  char lastQuery[kSearchQuerySize];
  // The triggers chosen most recently, the newest first, each told by a hash of its search key
  // and the number of lines before it that begin with the same key (a variant): they outlast a load.
  uint32_t recentKeys[kRecentChoices];
  int32_t recentVariants[kRecentChoices];
  int32_t recentCount;
};
extern SearchState gSearch;

// Fill-in form state: the fields that the output of a trigger that fired asks for, in the order
// of their first token, and what waits for the form's answer: the output, and what the erase
// took, typed back when the form is cancelled.
const int kMaxFormFields = 16;
const int kFieldNameSize = 64;
enum FieldKind : uint8_t { kFieldInput, kFieldChoice };
struct FormField {
  char name[kFieldNameSize];  // as first written, blanks around it off
  uint8_t kind;               // FieldKind
  char* offer;                // heap block: the default of an input, or a choice's values split by "|"
  char* value;                // heap block: the answer; nullptr until the form is accepted
};
struct FormState {
  FormField fields[kMaxFormFields];
  int32_t fieldCount;
  bool open;               // the form is up, its output waiting
  char* output;            // heap block: the output that waits for the answer
  char* typedBack;         // heap block: what the erase took, as the user typed it (may be empty)
  WindowHandle previous;   // the window that was in front
  char title[kStoredTriggerSize];  // the trigger as written
};
extern FormState gForm;

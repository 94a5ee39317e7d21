// The recording fake of the platform seam, for host tests.
//
// Key states, layout answers, resources and failures are scripted through gFake; every key
// event, status text, editor text and timer change is appended to gFake.events in order. The
// folder watch only keeps the folders watched: a test tells a change by calling its handler.
// Files are real files (tests use a temporary folder), opened through POSIX, with injectable
// failures. Call FakeReset() at the start of every test.
#pragma once
#include <stdint.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/raw_input.h"

enum FakeEventKind {
  kFakeKeyEvent,      // a = vk, b = scan code, c = flags
  kFakeStatusText,    // text
  kFakeEditorText,    // text
  kFakeTimerStart,    // a = id, b = ms, c = the tick count then
  kFakeTimerStop,     // a = id
  kFakeClearKeyboard,
  kFakeSleep,         // a = ms
  kFakeMouseEvent,    // a = flags, b = dx, c = dy (as unsigned)
  kFakeCursorMove,    // a = x, b = y (as unsigned)
  kFakeSettingWrite,  // text = "key=value" (the store tells the file and the section)
  kFakeKeyBatch,      // a = number of key events handed over in one piece; they follow as kFakeKeyEvent
  kFakeShowCursor,
  kFakeShellExecute,  // text = file, detail = parameters
  kFakeSetDirectory,  // text = folder, a = 1 when it is one
  kFakeWarning,       // text = message, detail = caption
  kFakeTitleQuery,    // a = window (1-based index into gFake.windows)
  kFakeBringForward,  // a = window
  kFakeListWindow,    // text = "left,top,width,height"
  kFakeRegistryCall,  // text: the call and its arguments, e.g. "open HKCU Software\\X query"
  kFakeKeysTakenWait, // a = the time-out given to PlatformWaitForKeysTaken
  kFakeShareInput,    // a = the thread whose input PlatformShareFrontInput shared (0: none)
  kFakeStopSharing,   // a = the thread given to PlatformStopSharingInput
  kFakeQuestion,      // text = question, detail = caption; a = 1 when answered Yes
  kFakeClipboardOpen, // the clipboard opened (a reader or a paste about to look at it)
  kFakeProgramQuery,  // a = process whose program's file name was asked
  kFakeCaptionQuery,  // a = window whose kept title was read
  kFakeSearchWindow,  // a = the window that was in front; text = the query it shows
  kFakeFieldForm,     // a = the window that was in front, b = fields; text = the form's title
};

// The keyboard layouts the fake knows (fake_layouts.cpp); any other value answers as US.
const uint64_t kFakeLayoutUs = 0x04090409;
const uint64_t kFakeLayoutGerman = 0x04070407;
const uint64_t kFakeLayoutFrench = 0x040C040C;

// The thread of the window in front after FakeReset: another program's.
const uint32_t kFakeFrontThread = 4242;

// A key event records a = vk, b = scan code (the UTF-16 unit for a Unicode event), c = flags.
struct FakeEvent {
  FakeEventKind kind;
  uint32_t a, b, c;
  std::string text;
  std::string detail;
};

// A top-level window of the scripted desktop.
struct FakeWindow {
  std::string title;
  bool answers = true;  // tells its title in time
  bool exists = true;   // false: closed after the search found it
  std::string program;  // the file name of the program that owns it; its process is its handle
};

struct FakePlatform {
  // Scripted keyboard: what PlatformAsyncKeyState and PlatformThreadKeyState answer.
  uint16_t asyncKeyState[256];
  uint16_t threadKeyState[256];
  int asyncKeyQueries;  // how many times the async state was asked
  // A key event that lands in the middle of a tick: when the count of async queries reaches
  // releaseAtQuery (0: never), key releaseVk goes up, as a key let go during a scan does.
  int releaseAtQuery;
  int releaseVk;
  // When the program has slept this long in all (0: never), every key goes up, as a user lets go
  // of the modifiers a moment after a hotkey while the program waits for that.
  uint32_t keysUpAfterSleepMs;
  // When set, synthetic key events change asyncKeyState at once, as the system's input does.
  bool syntheticKeysChangeState;
  // The layout of the window in front (kFakeLayout*, US after FakeReset), how many times it was
  // asked, and answers of PlatformKeyForUnit that replace any layout's, by UTF-16 unit.
  uint64_t foregroundLayout;
  int layoutQueries;
  std::map<uint16_t, uint16_t> keyForUnit;
  // The key that PlatformIsLevelThreeKey names on every layout, as Wine's AltGr (0: none).
  int levelThreeKey;
  // What PlatformWaitForKeysTaken answers as the time it waited.
  uint32_t keysTakenWaitMs;
  // The thread of the window in front, which PlatformShareFrontInput shares (0: our own), and
  // whether it is shared now: raw input is paused then, and own key events do not come back.
  uint32_t frontInputThread;
  bool inputShared;
  // Raw input: whether the system grants it, the key events sent so far (each comes back as one
  // own raw-input event), and the messages that wait for the main window, delivered in order by
  // PlatformDeliverPendingInput.
  bool rawInputGranted;
  uint32_t ownKeyEvents;
  std::vector<std::vector<InputEvent>> pendingInputs;
  // The system's last-input time; hasLastInputTick false makes the query fail.
  bool hasLastInputTick;
  uint32_t lastInputTick;

  // Main window: whether the status bar and the editor exist, and what they show; whether the
  // user has changed the editor's text since it was set (tests that type there set it); and
  // the answer to every yes-or-no question.
  bool hasStatusBar, hasEditor;
  std::string statusText, editorText;
  bool editorChanged;
  bool answerYes;
  std::function<void()> whileAsking;  // runs while a question is open, as its message loop would

  // Resources by id, and the program's own path.
  std::map<int, std::string> resources;
  std::string modulePath;

  // Clock: the tick count, and the local date and time that PlatformLocalNow gives.
  uint32_t tickCount;
  LocalDate today;
  LocalTime now;

  // Mouse: where the cursor is, and the primary screen's size and DPI.
  int32_t cursorX, cursorY;
  int32_t screenWidth, screenHeight, screenDpi;
  // Foreground window's frame corner; hasForeground false means there is no foreground window.
  bool hasForeground;
  int32_t foregroundX, foregroundY;
  uint32_t doubleClickTime;

  // The program's environment for %NAME% expansion (names compared without letter case).
  std::map<std::string, std::string> environment;
  bool failExpandEnvironment;

  // Top-level windows, from the top of the z-order down; a window's handle is its index + 1.
  // foregroundWindow is a handle, 0 for none.
  std::vector<FakeWindow> windows;
  uint32_t foregroundWindow;

  // Shell: the files it can start, the folders that exist and the current directory.
  std::set<std::string> startableFiles;
  std::set<std::string> folders;
  std::string currentDirectory;
  bool failListWindow;

  // Failure injection. A call counter that reaches its fail-at number (1-based) fails that call;
  // 0 never fails. Paths in lockedPaths cannot be opened, as if another program held them, nor
  // those in deniedPaths, as if the user had no right to them.
  int heapAllocs, failHeapAllocAt;
  int fileOpens, failFileOpenAt;
  int fileWrites, failFileWriteAt;
  bool failDelete, failReplace;
  std::set<std::string> lockedPaths, deniedPaths;
  // Files that another program holds open for writing: PlatformFileHeldForWriting says so, yet
  // they open for reading as before (what a reader would see of them may be half-written).
  std::set<std::string> writingPaths;
  int openFiles;  // files opened and not yet closed
  int liveHeapBlocks;  // heap blocks allocated and not yet released
  // The fault sweep's switch: every seam call that can fail (heap, files, resources, settings
  // writes, environment, shell, window search, list window, registry, clipboard) counts here,
  // in one sequence, and the call that reaches failCallAt fails; 0 never fails.
  int fallibleCalls, failCallAt;

  // Settings files: every value by FakeSettingKey(path, section, key). Preset them with
  // FakePresetSetting; the settings seam reads and writes here, and records each write.
  std::map<std::string, std::string> settings;

  // Registry: the values of each key by "HKCU\\path" (or "HKLM\\path"); a key exists once it is a
  // member, with or without values. Each value keeps its type (2 for REG_EXPAND_SZ) and bytes.
  struct RegistryValue {
    uint32_t type;
    std::string data;
  };
  std::map<std::string, std::map<std::string, RegistryValue>> registry;
  bool failRegistryCreate, failRegistrySet;
  int openRegistryKeys;  // keys opened and not yet closed

  // Clipboard: its formats by number (1 CF_TEXT) with their bytes; busy makes opening fail.
  std::map<uint32_t, std::string> clipboard;
  bool clipboardBusy, failClipboardLock, failClipboardMemory;
  int clipboardOpens, clipboardLocks;  // opened (locked) and not yet closed (unlocked)
  // Formats that the system would make again from another one, and formats that cannot be copied.
  std::set<uint32_t> clipboardDerived, clipboardUncopyable;
  // Unicode text (format 13, held as UTF-8) offered for later: asked for by FakeReadOfferedText.
  bool clipboardTextOffered, failClipboardOffer;
  // The reader that asks for the offered text is surely not the window in front (a monitor).
  bool clipboardReaderElsewhere;
  int clipboardEmpties;

  // The main menu's check marks by command id.
  std::map<uint32_t, bool> menuChecks;

  // Folder watch: the folders that the last PlatformWatchFolders watches, and its calls; the
  // folders that cannot be watched (missing, offline).
  std::vector<std::string> watchedFolders;
  std::set<std::string> unwatchableFolders;
  int folderWatchCalls;

  std::vector<FakeEvent> events;
};

extern FakePlatform gFake;

// The registry key name of the fake's store: "HKCU\\" or "HKLM\\" and the path.
std::string FakeRegistryKeyName(int root, const std::string& path);

// The registry calls recorded so far, in order.
std::vector<std::string> FakeRegistryCalls();

// Clears every script, counter and record; US keyboard layout; a status bar and an editor exist.
void FakeReset();

// Counts one fallible seam call; true when the fault sweep makes this one fail.
bool FakeCallFails();

// The unshifted character of a US key, by virtual-key code; 0 for none.
char FakeUsKeyChar(uint32_t vk);

// Appends one event to gFake.events.
void FakeRecord(FakeEventKind kind, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0, const std::string& text = "",
                const std::string& detail = "");

// Adds a window at the bottom of the z-order and returns its handle.
uint32_t FakeAddWindow(const std::string& title, bool answers = true);
// Adds a window of program `program` (a file name such as "notepad.exe") and brings it in front.
uint32_t FakeFrontWindowOf(const std::string& program, const std::string& title = "");

// The events of one kind, in order.
std::vector<FakeEvent> FakeEventsOf(FakeEventKind kind);

// The key events, each written as "vk:flags" in hexadecimal (for example "11:3"), a Unicode event
// as "U+unit:flags" ("U+E9:4"), joined by blanks.
std::string FakeKeyEventText();

// What the key events type on the US layout, in UTF-8: each key press with the Shift state of
// the moment, each Unicode press as its character, Backspace as "\b", a key without a character
// as "?".
std::string FakeTypedText();

// The sizes of the key-event batches handed to the system, in order (a single event sent on its
// own does not count as a batch).
std::vector<uint32_t> FakeKeyBatchSizes();

// The formats that mark content for the clipboard history, the cloud clipboard and monitors to
// leave alone, as the fake numbers them, and the fake's Unicode text format.
const uint32_t kFakeUnicodeFormat = 13;
const uint32_t kFakeExcludeMark = 0xC101, kFakeHistoryMark = 0xC102, kFakeCloudMark = 0xC103;

// The store key of one setting: path, section and key, exactly as given (letter case counts).
std::string FakeSettingKey(const std::string& path, const std::string& section, const std::string& key);

// Puts a value into the settings store, as if the file held it before the test.
void FakePresetSetting(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value);

// True with *value set when the store holds the key.
bool FakeStoredSetting(const std::string& path, const std::string& section, const std::string& key,
                       std::string* value);

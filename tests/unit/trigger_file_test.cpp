// The trigger file on disk: creating it from the default text, files that cannot be opened or
// read, NUL bytes and malformed files, and the file reads of the expansion lookup.
#include <stdlib.h>

#include <random>
#include <string>

#include "app/trigger_open.h"
#include "app/trigger_save.h"
#include "common/utf8.h"
#include "platform/files.h"
#include "tests/unit/loader_fixture.h"
#include "triggers/trigger_loader.h"

TEST_F(LoaderTest, MissingFileIsCreatedFromTheDefaultText) {
  std::string path = PathOf("new.txt");
  LoadTriggerFile(path.c_str());
  EXPECT_EQ(Read(path), kTestDefaultText);
  EXPECT_EQ(gFake.editorText, kTestDefaultText);
  EXPECT_EQ(EntryCount(), 2);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 2 ");
}

TEST_F(LoaderTest, NearlyEmptyFilesAreReplaced) {
  for (std::string tiny : {"", "a", "ab"}) {
    EXPECT_EQ(Load(tiny), 2) << "a file of " << tiny.size() << " bytes";
    EXPECT_EQ(Read(PathOf("triggers.txt")), kTestDefaultText);
  }
  EXPECT_EQ(Load("a=b"), 1) << "three bytes are a trigger file";
  EXPECT_EQ(Read(PathOf("triggers.txt")), "a=b");
}

// A load that cannot read the file changes nothing but the status bar, which says why, and
// the state that makes a save ask and the shell try again.
TEST_F(LoaderTest, AFileThatCannotBeReadKeepsTheTableAndTheEditor) {
  struct Case { void (*inject)(const std::string& path); const char* why; } cases[] = {
      {[](const std::string& p) { gFake.lockedPaths.insert(p); }, "in use by another program"},
      {[](const std::string& p) { gFake.deniedPaths.insert(p); }, "access denied"},
      {[](const std::string&) { gFake.failFileOpenAt = gFake.fileOpens + 1; }, "it cannot be opened"},
      {[](const std::string&) { gFake.failHeapAllocAt = gFake.heapAllocs + 1; }, "not enough memory to read it"},
  };
  for (const Case& c : cases) {
    FakeReset();
    ASSERT_EQ(Load("ab=1\r\ncd=2\r\n", "t.txt"), 2);
    std::string path = Write("t.txt", "mine=keep me\r\n");
    c.inject(path);
    EXPECT_FALSE(LoadTriggerFile(path.c_str()));
    EXPECT_EQ(Read(path), "mine=keep me\r\n") << c.why;
    ASSERT_EQ(EntryCount(), 2) << c.why << ": the triggers loaded before stay";
    EXPECT_EQ(gFake.editorText, "ab=1\r\ncd=2\r\n") << c.why;
    EXPECT_EQ(gFake.statusText,
              std::string(kCannotOpenText) + " (" + c.why + ") Trying again; triggers still loaded: 2");
    EXPECT_TRUE(gTriggers.loadFailed && gTriggers.fileShortfall == kShortfallUnread) << c.why;
  }
}

// The shell tries the load again while the file cannot be read, never during an expansion and
// without letting go of keys the user holds, and stops once a load has read it.
TEST_F(LoaderTest, TheLoadIsTriedAgainUntilTheFileReads) {
  std::string path = Write("t.txt", "ab=1\r\ncd=2\r\n");
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path.c_str());
  gFake.lockedPaths.insert(path);
  LoadTriggerFile(path.c_str());
  RetryLoadWhileUnread();
  OnLoadRetryTimer();
  gFake.lockedPaths.clear();
  gWatcher.suspended = true;
  OnLoadRetryTimer();
  EXPECT_EQ(EntryCount(), 0) << "not while the file is held, nor during an expansion";
  gWatcher.suspended = false;
  gFake.asyncKeyState[kVkShift] = 0x8000;
  OnLoadRetryTimer();
  EXPECT_EQ(EntryCount(), 2);
  EXPECT_EQ(gFake.editorText, "ab=1\r\ncd=2\r\n") << "nothing typed meanwhile: the editor shows the file";
  std::vector<FakeEvent> timers = FakeEventsOf(kFakeTimerStart), stops = FakeEventsOf(kFakeTimerStop);
  ASSERT_EQ(timers.size(), 1u);
  EXPECT_EQ(timers[0].a, kLoadRetryTimerId);
  ASSERT_EQ(stops.size(), 1u) << "stopped once read";
  EXPECT_EQ(stops[0].a, kLoadRetryTimerId);
  EXPECT_TRUE(FakeEventsOf(kFakeKeyEvent).empty()) << "the held Shift is not let go";
}

// Open of a file that does not open keeps the file shown, its triggers and its name.
TEST_F(LoaderTest, OpeningAFileThatDoesNotOpenChangesNothing) {
  std::string shown = Write("shown.txt", "ab=1\r\n"), other = Write("other.txt", "cd=2\r\nef=3\r\n");
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", shown.c_str());
  LoadTriggerFile(shown.c_str());
  gFake.lockedPaths.insert(other);
  OpenTriggerFile(other.c_str());
  EXPECT_EQ(std::string(gShell.triggerPath), shown);
  EXPECT_EQ(EntryCount(), 1);
  EXPECT_EQ(gFake.editorText, "ab=1\r\n");
  EXPECT_EQ(gFake.statusText,
            " * * * WARNING: Cannot open " + other + " (in use by another program). The file shown stays open.");
  EXPECT_TRUE(FakeEventsOf(kFakeSettingWrite).empty());
}

TEST_F(LoaderTest, AFolderIsNotReplacedEither) {
  std::string path = PathOf("folder.txt");
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  LoadTriggerFile(path.c_str());
  EXPECT_EQ(PlatformPathKind(path.c_str()), kPathDirectory);
  EXPECT_EQ(EntryCount(), 0);
}

TEST_F(LoaderTest, AFileThatCannotBeCreatedIsReported) {
  std::string path = PathOf("no/such/folder/t.txt");
  gFake.editorText = "unchanged";
  LoadTriggerFile(path.c_str());
  EXPECT_EQ(EntryCount(), 0);
  EXPECT_EQ(gFake.editorText, "unchanged");
  EXPECT_EQ(gFake.statusText, " * * * WARNING: Unable to create the trigger file!");
  EXPECT_FALSE(gTriggers.loadFailed) << "there is nothing to read";
  EXPECT_EQ(gTriggers.fileShortfall, kShortfallNone) << "nor anything that a save could lose";
}

TEST_F(LoaderTest, MissingDefaultTextLeavesAnEmptyFile) {
  gFake.resources.clear();
  std::string path = PathOf("empty.txt");
  LoadTriggerFile(path.c_str());
  EXPECT_EQ(Read(path), "");
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 0 ");
}

TEST_F(LoaderTest, DefaultTextResourceWithoutNulIsReadWithinItsSize) {
  gFake.resources[IDR_DEFAULT_TRIGGERS] = "000x=y";  // no NUL at its end
  std::string path = PathOf("d.txt");
  LoadTriggerFile(path.c_str());
  EXPECT_EQ(Read(path), "x=y");
}

TEST_F(LoaderTest, TextAfterANulByteIsNotReadAndASaveWouldAsk) {
  std::string text = std::string("ab=1\r\nc", 7) + '\0' + "d=2\r\nWordHatch_DEBUG\r\nef=3\r\n";
  EXPECT_EQ(Load(text), 1) << "the editor shows nothing past the NUL, so nothing there loads";
  EXPECT_EQ(Stored(0), "ba");
  EXPECT_EQ(gTriggers.debugMode, 0);
  EXPECT_EQ(gFake.editorText, "ab=1\r\nc");
  EXPECT_EQ(gTriggers.fileShortfall, kShortfallAfterNul);
  EXPECT_EQ(gFake.statusText,
            " Triggers Loaded: 1  * * * WARNING: The file holds a NUL character: the editor and the triggers end "
            "before it, and Save asks before writing over it. ");
  EXPECT_EQ(Load("\xEF\xBB\xBFx=caf\xE9\r\n"), 1);
  EXPECT_EQ(gTriggers.fileShortfall, kShortfallBytes) << "UTF-8 by its mark, but a byte of no character";
  EXPECT_EQ(gFake.statusText,
            " Triggers Loaded: 1  * * * WARNING: The file holds bytes that are not text in its encoding (shown as "
            "\xEF\xBF\xBD): Save asks before writing over them. ");
  EXPECT_EQ(Load(std::string("\xFF\xFEx\0=\0\x00\xD8", 8)), 1);
  EXPECT_EQ(gTriggers.fileShortfall, kShortfallNone) << "an unpaired surrogate is kept";
  EXPECT_EQ(gFake.statusText, std::string(" Triggers Loaded: 1  * * * Note: The file holds UTF-16 units that are ") +
                                  "not characters; a save keeps them. ");
}

// Checks what must hold for any table, whatever the file: every entry a trigger that can fire,
// search keys of the right shape.
static void ExpectSoundTable(int count) {
  ASSERT_EQ(count, TriggerCount());
  for (int i = 0; i < count; ++i) {
    const char* searchKey = TriggerSearchKey(i);
    size_t stored = strlen(StoredTrigger(i));
    ASSERT_GT(stored, 0u);
    ASSERT_LE(stored, size_t(kMaxTriggerBytes));
    size_t key = strlen(searchKey);
    ASSERT_GE(key, 3u);
    ASSERT_LE(Utf8CharCount(std::string(searchKey + 1, key - 2).c_str()), size_t(kMaxTriggerLength));
    ASSERT_EQ(searchKey[0], '\n');
    ASSERT_EQ(searchKey[key - 1], '=');
    ASSERT_EQ(TriggerFlags(i) & ~(kFlagControl | kFlagShift | kFlagAlt | kFlagKeyName), 0);
    ASSERT_GE(TriggerMatchLength(i), 1);
    ASSERT_EQ(TriggerMatchLength(i), int32_t(stored));
  }
}

TEST_F(LoaderTest, MalformedFilesLoadWithoutFault) {
  std::mt19937 random(20261208);
  std::string garbage(64 * 1024, '\0');
  for (char& c : garbage) c = char(random());
  std::string nuls(5000, '\0');
  std::string longLine(300000, 'w');
  std::string megabyte;
  while (megabyte.size() < 1024 * 1024) megabyte += "k" + std::to_string(megabyte.size()) + "=" + std::string(97, 'o') + "\r\n";
  std::string onlyEquals, onlyComments, braces;
  for (int i = 0; i < 2000; ++i) onlyEquals += "=\r\n==x\r\n";
  for (int i = 0; i < 2000; ++i) onlyComments += ";a=b\r\n";
  for (int i = 0; i < 400; ++i) braces += "{{{{control}{shift}{alt}{4}{F12}{{{" + std::to_string(i) + "={\r\n";
  std::string longTrigger = std::string(5000, 'x') + "=" + std::string(5000, 'y');
  struct Case { const char* name; std::string bytes; } cases[] = {
      {"binary garbage", garbage}, {"NUL bytes", nuls},           {"a very long line", longLine},
      {"1 MiB", megabyte},         {"only = lines", onlyEquals},  {"only comments", onlyComments},
      {"brace soup", braces},      {"long trigger", longTrigger}, {"lone CRs", std::string(3000, '\r')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int count = Load(c.bytes);
    ExpectSoundTable(count);
  }
}

TEST_F(LoaderTest, OneMebibyteFileLoadsEveryTrigger) {
  std::string megabyte;
  int lines = 0;
  for (; megabyte.size() < 1024 * 1024; ++lines) megabyte += "k" + std::to_string(lines) + "=" + std::string(97, 'o') + "\r\n";
  EXPECT_EQ(Load(megabyte), lines);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: " + std::to_string(lines) + " ");
  EXPECT_EQ(gFake.editorText.size(), megabyte.size());
}

TEST_F(LoaderTest, FileLengthAndReadForTheLookup) {
  std::string path = Write("t.txt", "0123456789");
  EXPECT_EQ(GetFileLength(path.c_str()), 10u);
  EXPECT_EQ(GetFileLength(PathOf("missing").c_str()), 0u);
  gFake.modulePath = path;
  EXPECT_EQ(GetFileLength(""), 10u) << "no path means the program itself";
  EXPECT_EQ(GetFileLength(nullptr), 10u);

  char buffer[32];
  memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(ReadFileText(path.c_str(), 0, buffer, 4), 4u);
  EXPECT_STREQ(buffer, "0123");
  EXPECT_EQ(ReadFileText(path.c_str(), -3, buffer, 20), 3u) << "negative offsets count from the end";
  EXPECT_STREQ(buffer, "789");
  EXPECT_EQ(ReadFileText(path.c_str(), 0, buffer, 20), 10u) << "never more than the file holds";
  EXPECT_STREQ(buffer, "0123456789");
  EXPECT_EQ(ReadFileText(path.c_str(), 0, nullptr, 20), 0u);
  EXPECT_EQ(ReadFileText(PathOf("missing").c_str(), 0, buffer, 20), 0u);
  std::string empty = Write("e.txt", "");
  EXPECT_EQ(ReadFileText(empty.c_str(), 0, buffer, 20), 0u);
}

// ---- reload on change ------------------------------------------------------------------------

static const char kMainWithTeam[] = "ab=1\r\n{include team.txt}\r\n";

// A burst of writes gives one reload, 400 ms after the last, with no reset of the watcher and the
// editor's unsaved text kept (the main file did not change); a swap file beside it gives none,
// and neither does the program's own save.
TEST_F(LoaderTest, ABurstOfChangesReloadsOnceAndOtherFilesNone) {
  Write("team.txt", "cd=2\r\n");
  std::string main = LoadMain(kMainWithTeam);
  EXPECT_EQ(gFake.watchedFolders, std::vector<std::string>{folder_}) << "the folder of both, once";
  uint32_t loads = gTriggers.loadCount;
  gFake.editorText = "typed=unsaved\r\n";
  gFake.editorChanged = true;
  for (const char* piece : {"ef", "=3", "\r\n"}) { ChangeOnDisk("team.txt", piece, true); Elapse(100); }
  Elapse(250);
  EXPECT_EQ(gTriggers.loadCount, loads) << "not before the changes settle";
  Elapse(100);
  EXPECT_EQ(gTriggers.loadCount, loads + 1);
  EXPECT_EQ(EntryCount(), 3);
  EXPECT_EQ(gFake.editorText, "typed=unsaved\r\n");
  EXPECT_TRUE(FakeEventsOf(kFakeQuestion).empty() && FakeEventsOf(kFakeClearKeyboard).empty());
  gFake.events.clear();
  ChangeOnDisk("team.txt.swp", "swap");
  ASSERT_TRUE(SaveAndReloadTriggerFile(main.c_str()));
  OnTriggerFolderChanged();
  Elapse(2000);
  EXPECT_EQ(gTriggers.loadCount, loads + 2) << "the save's own load alone";
  for (const FakeEvent& e : FakeEventsOf(kFakeTimerStart)) EXPECT_NE(e.a, kReloadTimerId);
  EXPECT_EQ(gFake.folderWatchCalls, 1) << "the same folders stay watched";
}

// A file held by its writer, or still growing, is read once it is whole, and one held at the load
// once it is let go; a missing file keeps its triggers and is named until it comes back; a new
// include's folder is watched.
TEST_F(LoaderTest, AFileIsReadWholeAndAMissingOneKeepsItsTriggers) {
  std::string team = Write("team.txt", "cd=2\r\n"), main = LoadMain(kMainWithTeam);
  gFake.lockedPaths.insert(team);
  LoadTriggerFile(main.c_str());  // the same folders: watched already
  uint32_t loads = gTriggers.loadCount;
  Elapse(5000);
  EXPECT_EQ(gTriggers.loadCount, loads) << "not while it is held";
  gFake.lockedPaths.clear();
  Elapse(2000);
  EXPECT_EQ(EntryCount(), 2);
  EXPECT_EQ(gTriggers.loadCount, ++loads);
  gFake.writingPaths.insert(team);
  ChangeOnDisk("team.txt", "ef=3\r\ngh", true);
  Elapse(2000);
  gFake.writingPaths.clear();
  // The writer goes on without its folder telling: each look sees it grow since the last.
  std::ofstream(team, std::ios::app) << "=4\r\nij";
  Elapse(250);
  std::ofstream(team, std::ios::app) << "=5\r\n";
  Elapse(1000);
  EXPECT_EQ(EntryCount(), 5);
  EXPECT_EQ(gTriggers.loadCount, ++loads) << "once, when whole";
  for (const std::string& gone : {team, main}) {
    ASSERT_EQ(unlink(gone.c_str()), 0);
    OnTriggerFolderChanged();
    Elapse(1000);
    EXPECT_EQ(gTriggers.loadCount, loads);
    EXPECT_EQ(gFake.statusText,
              " * * * WARNING: A trigger file is missing: " + gone + ". Its triggers stay loaded until it comes back.");
  }
  EXPECT_FALSE(Exists(main)) << "not made anew from the default text";
  MakeFolder("sub");
  Write("team.txt", "ij=5\r\n{include sub/more.txt}\r\n");
  ChangeOnDisk("triggers.txt", "xy=0\r\n{include team.txt}\r\n");
  Elapse(1000);
  EXPECT_EQ(gTriggers.loadCount, loads + 1);
  EXPECT_EQ(gFake.editorText, "xy=0\r\n{include team.txt}\r\n") << "nothing unsaved: the new text is shown";
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 2, 1 file not found: " + PathOf("sub/more.txt") + " ");
  EXPECT_EQ(gFake.watchedFolders, (std::vector<std::string>{folder_, PathOf("sub")}));
  gFake.unwatchableFolders.insert("\\\\server\\share\\");  // offline: tried again at the next load
  LoadMain("{include C:\\t.txt}\r\n{include \\\\server\\share\\t.txt}\r\n{include /t.txt}\r\n");
  EXPECT_EQ(gFake.watchedFolders.size(), 3u);
  gFake.unwatchableFolders.clear();
  LoadTriggerFile(gShell.triggerPath);
  EXPECT_EQ(gFake.watchedFolders, (std::vector<std::string>{folder_, "C:\\", "\\\\server\\share\\", "/"}));
}

// The main file changed while the editor holds unsaved changes: asked once the expansion under
// way has ended, and once only, even as more changes and ticks come while the question is open
// and another expansion then puts the load off; the table is loaded from disk whatever the
// answer; only Yes shows the new text.
TEST_F(LoaderTest, ChangesInTheEditorAreKeptOrGivenUpAsTheUserChooses) {
  std::string main = LoadMain("ab=1\r\n");
  for (bool yes : {false, true}) {
    gFake.events.clear();
    gFake.editorText = "mine=typed\r\n";
    gFake.editorChanged = true;
    gFake.answerYes = yes;
    std::string disk = yes ? "ab=1\r\ncd=2\r\nef=3\r\n" : "ab=1\r\ncd=2\r\n";
    gFake.whileAsking = [&] { ChangeOnDisk("triggers.txt", disk); Elapse(1000); gWatcher.suspended = true; };
    gWatcher.suspended = true;  // an expansion: no question, no load until it has ended
    ChangeOnDisk("triggers.txt", "c=2\r\n");
    Elapse(1000);
    EXPECT_TRUE(FakeEventsOf(kFakeQuestion).empty());
    gWatcher.suspended = false;
    Elapse(400);
    EXPECT_EQ(EntryCount(), yes ? 2 : 1) << "nothing loads during the second expansion";
    gFake.whileAsking = nullptr;
    gWatcher.suspended = false;
    Elapse(400);
    EXPECT_EQ(EntryCount(), yes ? 3 : 2);
    std::vector<FakeEvent> asked = FakeEventsOf(kFakeQuestion);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].detail, "WordHatch");
    EXPECT_EQ(asked[0].text, "The trigger file\n\n" + main + "\n\nwas changed by another program, and the editor holds "
              "changes that are not saved.\n\nYes: show the file as it is now, and lose your changes.\nNo: keep your "
              "changes in the editor; saving writes them over the file.");
    EXPECT_EQ(gFake.editorText, yes ? disk : "mine=typed\r\n");
    EXPECT_EQ(gFake.editorChanged, !yes) << "kept text stays unsaved";
  }
}

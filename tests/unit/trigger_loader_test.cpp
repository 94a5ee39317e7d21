// Loading trigger files into the trigger table, through LoadTriggerFile on real files.
#include <unistd.h>

#include <string>

#include "common/debug_log.h"
#include "tests/unit/loader_fixture.h"
#include "triggers/trigger_files.h"
#include "triggers/trigger_loader.h"

TEST_F(LoaderTest, RepresentativeLines) {
  ASSERT_EQ(Load("abc=x\r\n{control}{shift}a=x\r\n{control}!=x\r\n{alt}{F5}=x\r\nxy{Enter}=x\r\n{4}=x\r\n"
                 "{CONTROL}{Shift}X=y\r\n{f5}=z\r\n"),
            8);
  struct Expected { std::string stored; uint8_t flags; int length; std::string key; } expected[] = {
      {"cba", 0, 3, "\nabc="},
      {"A", kFlagControl | kFlagShift, 1, "\n{control}{shift}a="},
      {"1", kFlagControl, 1, "\n{control}!="},
      {"\x74", kFlagAlt | kFlagKeyName, 1, "\n{alt}{F5}="},
      {"\x0Dyx", kFlagKeyName, 3, "\nxy{Enter}="},
      {"\x04", 0, 1, "\n{4}="},
      {"X", kFlagControl | kFlagShift, 1, "\n{CONTROL}{Shift}X="},
      {"\x74", kFlagKeyName, 1, "\n{f5}="},
  };
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(expected[i].key);
    EXPECT_EQ(Stored(i), expected[i].stored);
    EXPECT_EQ(TriggerFlags(i), expected[i].flags);
    EXPECT_EQ(TriggerMatchLength(i), expected[i].length);
    EXPECT_EQ(SearchKey(i), expected[i].key);
  }
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 8 ");
  EXPECT_EQ(gFake.editorText.substr(0, 7), "abc=x\r\n");
}

TEST_F(LoaderTest, LineLayout) {
  // Blanks belong to the trigger; only the first "=" separates; comments only at a line's start.
  ASSERT_EQ(Load(" abc=x\na=b=c\n;c=comment\n ;d=x\n==x\nplain words\nab=x\nno equals at the end"), 4);
  EXPECT_EQ(Stored(0), "cba ");
  EXPECT_EQ(TriggerMatchLength(0), 4);
  EXPECT_EQ(Stored(1), "a");
  EXPECT_EQ(Stored(2), "d; ");
  EXPECT_EQ(Stored(3), "ba");
}

TEST_F(LoaderTest, LineEndsOfEveryKindGiveTheSameTable) {
  ASSERT_EQ(Load("abc=Hello\r\nxy=1\r\n\r\n"), 2);
  std::string first = Stored(0) + "|" + Stored(1);
  EXPECT_EQ(Load("abc=Hello\rxy=1\r"), 2);
  EXPECT_EQ(Stored(0) + "|" + Stored(1), first);
  EXPECT_EQ(Load("abc=Hello\nxy=1"), 2);
  EXPECT_EQ(Stored(0) + "|" + Stored(1), first);
  EXPECT_EQ(Load("\n\r\n\rabc=Hello\n\n\nxy=1\n"), 2);
  EXPECT_EQ(Stored(0) + "|" + Stored(1), first);
}

TEST_F(LoaderTest, TriggerLengthLimitCountsTheTextAsWritten) {
  // "{control}" counts with its 9 bytes towards the 61 bytes of a trigger as written.
  std::string control52 = "{control}" + std::string(52, 'q');
  std::string control53 = "{control}" + std::string(53, 'q');
  ASSERT_EQ(Load(control52 + "=x\n" + control53 + "=x\nend=x\n"), 2);
  EXPECT_EQ(Stored(0), std::string(51, 'q') + "Q");
  EXPECT_EQ(TriggerFlags(0), kFlagControl);
  EXPECT_EQ(TriggerMatchLength(0), 52);
  EXPECT_EQ(SearchKey(0), "\n" + control52 + "=");
  EXPECT_EQ(Stored(1), "dne");
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 2  (1 not loaded: longer than 61 characters, or no key) ");
}

TEST_F(LoaderTest, LongAbbreviationsLoadWithTheirWholeLength) {
  std::string t31(31, 'a'), t32(32, 'b'), t61(61, 'c'), t62(62, 'd');
  ASSERT_EQ(Load(t31 + "=x\n" + t32 + "=x\n" + t61 + "=x\n" + t62 + "=x\n" + t62 + " no equals\nok=x\n"), 4);
  EXPECT_EQ(Stored(0), t31);
  EXPECT_EQ(TriggerMatchLength(0), 31);
  EXPECT_EQ(Stored(1), t32);
  EXPECT_EQ(TriggerMatchLength(1), 32);
  EXPECT_EQ(Stored(2), t61);
  EXPECT_EQ(TriggerMatchLength(2), 61);
  EXPECT_EQ(SearchKey(2), "\n" + t61 + "=");
  EXPECT_EQ(Stored(3), "ko");
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 4  (1 not loaded: longer than 61 characters, or no key) ")
      << "a long line without \"=\" is no trigger at all and is not counted";
  // The length compared is what must be typed: the middle-click words are one byte each.
  ASSERT_EQ(Load(std::string(55, 'e') + "{4}{4}=x\n"), 1);
  EXPECT_EQ(TriggerMatchLength(0), 57);
}

TEST_F(LoaderTest, ModifierWordsAloneDoNotHideLaterTriggers) {
  ASSERT_EQ(Load("{control}=x\nab=x\n{shift}{alt}=y\ncd=y\n"), 2);
  EXPECT_EQ(Stored(0), "ba");
  EXPECT_EQ(Stored(1), "dc");
  EXPECT_EQ(TriggerFlags(0), 0) << "the skipped line leaves no flags behind";
  EXPECT_EQ(SearchKey(0), "\nab=");
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 2  (2 not loaded: longer than 61 characters, or no key) ");
}

TEST_F(LoaderTest, WordsInsideTriggers) {
  ASSERT_EQ(Load("{control}{control}k=1\n"  // repeated words are all removed
                 "x{4}{4}=2\n"              // middle clicks inside an abbreviation
                 "{F12}{Enter}=3\n"         // F12's code is "{", compared again by later rows
                 "{shift}{alt}%=4\n"        // shifted punctuation: the key's plain character
                 "{alt}|=5\n"
                 "{control}~=6\n"
                 "{con{control}trol}z=7\n"),  // the search resumes at the removal
            7);
  EXPECT_EQ(Stored(0), "K");
  EXPECT_EQ(TriggerFlags(0), kFlagControl);
  EXPECT_EQ(Stored(1), "\x04\x04x");
  EXPECT_EQ(TriggerFlags(1), 0);
  EXPECT_EQ(Stored(2), "\x0D{");
  EXPECT_EQ(TriggerFlags(2), kFlagKeyName);
  EXPECT_EQ(Stored(3), "5");
  EXPECT_EQ(TriggerFlags(3), kFlagShift | kFlagAlt);
  EXPECT_EQ(Stored(4), "\\");
  EXPECT_EQ(Stored(5), "`");
  // What the removal leaves behind is the key name "{Control}", which the key names then replace.
  EXPECT_EQ(Stored(6), "z\x11");
  EXPECT_EQ(TriggerFlags(6), kFlagControl | kFlagKeyName);
}

TEST_F(LoaderTest, UnshiftedKeyCharTable) {
  const std::string shifted = "~!@#$%^&*()_+{}|:\"<>?";
  const std::string plain = "`1234567890-=[]\\;',./";
  for (size_t i = 0; i < shifted.size(); ++i) EXPECT_EQ(UnshiftedKeyChar(shifted[i]), plain[i]) << shifted[i];
  for (int c = 1; c < 256; ++c) {
    char ch = char(c);
    if (shifted.find(ch) != std::string::npos) continue;
    char expected = (c >= 'a' && c <= 'z') ? char(c - 32) : ch;
    EXPECT_EQ(UnshiftedKeyChar(ch), expected) << "byte " << c;
  }
}

TEST_F(LoaderTest, ReplaceKeyNamesCountsEveryName) {
  char text[] = "{enter}a{TAB}{Foo}{f12}{Num*}";
  EXPECT_EQ(ReplaceKeyNames(text), 4);
  EXPECT_STREQ(text, "\x0D" "a\x09{Foo}{\x6A");
  char none[] = "plain {text}";
  EXPECT_EQ(ReplaceKeyNames(none), 0);
  EXPECT_STREQ(none, "plain {text}");
}

TEST_F(LoaderTest, EveryTriggerLineLoadsHoweverMany) {
  std::string lines;
  for (int i = 0; i < 3000; ++i) lines += "t" + std::to_string(i) + "=x\r\n";
  lines += "WordHatch_DEBUG is searched in the whole file\r\n";
  ASSERT_EQ(Load(lines), 3000);
  EXPECT_EQ(Stored(254), "452t");
  EXPECT_EQ(Stored(255), "552t") << "no end after the 255th trigger any more";
  EXPECT_EQ(Stored(2999), "9992t");
  EXPECT_EQ(SearchKey(2999), "\nt2999=");
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 3000  * * * DEBUG ON * * *");
  EXPECT_EQ(gFake.editorText.size(), lines.size()) << "the editor shows the whole file";
  EXPECT_LT(gTriggers.textCapacity, 2 * 3000 * 16u) << "the text grows with the file, not by fixed blocks";
  EXPECT_LE(gTriggers.capacity, 2 * 3000);
}

TEST_F(LoaderTest, RepeatedTriggersEachTakeAnEntry) {
  ASSERT_EQ(Load("sig=One\r\nsig=Two\r\n"), 2);
  EXPECT_EQ(Stored(0), "gis");
  EXPECT_EQ(Stored(1), "gis");
}

// Every part of every entry, so two loads can be compared whole.
static std::string TableBytes() {
  std::string bytes = std::to_string(TriggerCount());
  for (int i = 0; i < TriggerCount(); ++i) {
    bytes += std::string("|") + StoredTrigger(i) + "|" + TriggerSearchKey(i);
    bytes += char(TriggerFlags(i)) + std::to_string(TriggerMatchLength(i));
  }
  return bytes;
}

TEST_F(LoaderTest, LoadingTwiceGivesTheSameTable) {
  std::string text = "abc=x\r\n{control}{shift}a=x\r\n{alt}{F5}=x\r\n;note\r\nzz=1\r\n";
  ASSERT_EQ(Load(text), 4);
  std::string first = TableBytes();
  ASSERT_EQ(Load("a much longer trigger=x\r\nz=1\r\n"), 2);
  ASSERT_EQ(Load(text), 4);
  EXPECT_TRUE(first == TableBytes()) << "nothing of the load in between is left over";
}

TEST_F(LoaderTest, MarkerWordsInTheirExactCase) {
  Load("; wordhatch_debug remap tilde\r\na=b\r\n");
  EXPECT_EQ(gTriggers.debugMode, 0);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 1 ");
  gShell.remapAllowed = true;
  Load("a=b\r\n; REMAP only\r\n");
  EXPECT_EQ(gTriggers.remapMode, 0);
  Load("a=WordHatch_DEBUG\r\n; TILDE and then REMAP\r\n");
  EXPECT_EQ(gTriggers.debugMode, 1);
  EXPECT_EQ(gTriggers.remapMode, kRemapModeBit);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 1  * * * DEBUG ON * * *");
  Load("a=b\r\n");
  EXPECT_EQ(gTriggers.debugMode, 1) << "a later load never switches the modes off";
  EXPECT_EQ(gTriggers.remapMode, kRemapModeBit);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 1  * * * DEBUG ON * * *");
}

TEST_F(LoaderTest, RemapNeedsThisComputersPermission) {
  Load("; REMAP TILDE\r\n");
  EXPECT_EQ(gTriggers.remapMode, 0);
}

TEST_F(LoaderTest, ResetsTheKeyboardFirst) {
  gFake.asyncKeyState[0x12] = 0x8000;  // Alt
  gFake.asyncKeyState[0x11] = 0x8001;  // Ctrl
  gFake.asyncKeyState[0x10] = 0x8000;  // Shift
  memset(gWatcher.previousKeyState, 1, sizeof gWatcher.previousKeyState);
  memset(gWatcher.typedHistory, 'x', sizeof gWatcher.typedHistory);
  Load("a=b\r\n");
  EXPECT_EQ(FakeKeyEventText(), "11:3 10:2 12:2") << "Ctrl (extended), Shift, Alt, each let go";
  EXPECT_EQ(FakeEventsOf(kFakeKeyEvent)[0].b, 0x1Du) << "with the key's scan code";
  EXPECT_EQ(FakeEventsOf(kFakeClearKeyboard).size(), 1u);
  EXPECT_GE(gFake.asyncKeyQueries, 3 + 2 * 255);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(gWatcher.previousKeyState[i], 0) << i;
  for (int i = 0; i < kHistorySize; ++i) ASSERT_EQ(gWatcher.typedHistory[i], 0) << i;
}

TEST_F(LoaderTest, NothingHeldSendsNothing) {
  Load("a=b\r\n");
  EXPECT_EQ(FakeKeyEventText(), "");
}

// ---- included files ----------------------------------------------------------------------------

// An include line loads its file's lines in its place, each file read in its own encoding, and
// each file's options lines and rules holding within that file alone.
TEST_F(LoaderTest, IncludedFilesLoadInPlaceWithTheirOwnEncodingOptionsAndRules) {
  MakeFolder("sub");
  Write("sub/b.txt", Utf16LeFile("{case}\r\n{in notepad.exe}\r\nB=2\r\n{include ../d.txt}\r\n"));
  Write("d.txt", "\xEF\xBB\xBF" "d=4\r\n");
  ASSERT_EQ(Load("{word}\r\n\xE9t\xE9=summer\r\n{include sub/b.txt}\r\n  {INCLUDE \"d.txt\"} \r\nc=3\r\n"), 4);
  const char* stored[] = {"\xC3\xA9t\xC3\xA9", "b", "d", "c"};
  const int files[] = {0, 1, 2, 0};
  const uint8_t options[] = {kOptionWholeWord, kOptionAnyCase, 0, kOptionWholeWord};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(stored[i]);
    EXPECT_EQ(Stored(i), stored[i]);
    EXPECT_EQ(TriggerFileOf(i), files[i]);
    EXPECT_EQ(TriggerOptions(i), options[i]);
    EXPECT_EQ(TriggerRule(i) != kEverywhere, i == 1) << "the rule holds in its own file only";
  }
  EXPECT_EQ(TriggerFileAt(1).path, PathOf("sub/b.txt"));
  EXPECT_EQ(TriggerFileAt(2).path, PathOf("d.txt")) << "\"..\" taken out";
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 4, 1 file included twice, loaded once: " + PathOf("d.txt") + " ");
  EXPECT_EQ(gTriggers.fileEncoding, kEncodingAnsi) << "the main file's encoding, for its save";
}

// Files load to a depth of 8; a ninth is named, and loads where it is included less deep. A
// file included twice or in a cycle loads once, and the status bar says so.
TEST_F(LoaderTest, DepthCyclesAndFilesIncludedTwice) {
  for (int n = 1; n <= 9; ++n) {
    Write("f" + std::to_string(n) + ".txt", "t" + std::to_string(n) + "=x\r\n{include f" + std::to_string(n + 1) + ".txt}\r\n");
  }
  EXPECT_EQ(Load("m=x\r\n{include f1.txt}\r\n"), 9);
  EXPECT_EQ(Stored(8), "8t");
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 9, 1 file not read (included more than 8 deep): " + PathOf("f9.txt") + " ");
  EXPECT_EQ(Load("m=x\r\n{include f1.txt}\r\n{include f9.txt}\r\n"), 10);
  EXPECT_EQ(Stored(9), "9t");
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 10, 1 file not found: " + PathOf("f10.txt") + " ");
  Write("a.txt", "a=1\r\n{include triggers.txt}\r\n{include a.txt}\r\n");
  EXPECT_EQ(Load("{include a.txt}\r\nm=2\r\n{include A.TXT}\r\n"), 2);
  EXPECT_EQ(Stored(0), "a");
  EXPECT_EQ(gFake.statusText,
            " Triggers Loaded: 2, 3 files included twice, loaded once, the first: " + PathOf("triggers.txt") + " ");
  // The main file is known as itself however its path is written.
  MakeFolder("sub");
  ReloadTriggerFile((folder_ + "/./sub/../triggers.txt").c_str());
  EXPECT_EQ(TriggerCount(), 2) << "not loaded again through a.txt";
  EXPECT_EQ(gFake.statusText,
            " Triggers Loaded: 2, 3 files included twice, loaded once, the first: " + PathOf("triggers.txt") + " ");
  // A file not read is named as such alone, however often it is included.
  EXPECT_EQ(Load("{include missing.txt}\r\n{include missing.txt}\r\n"), 0);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 0, 1 file not found: " + PathOf("missing.txt") + " ");
}

// A file that cannot be read is named with why, and the rest loads; the debug log lists each file.
TEST_F(LoaderTest, AnIncludedFileNotReadIsNamedAndTheRestLoads) {
  gFake.environment["TEAM"] = folder_;
  Write("team.txt", "t=1\r\n");
  std::string main = "x=1\r\n{include missing.txt}\r\n{include %TEAM%/team.txt}\r\ny=2\r\n";
  EXPECT_EQ(Load(main), 3);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 3, 1 file not found: " + PathOf("missing.txt") + " ");
  gFake.lockedPaths.insert(PathOf("team.txt"));
  EXPECT_EQ(Load(main), 2);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 2, 2 files not read, the first (not found): " + PathOf("missing.txt") + " ");
  EXPECT_EQ(Load("{include team.txt}\r\n"), 0);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 0, 1 file not read (in use by another program): " + PathOf("team.txt") + " ");
  EXPECT_EQ(Load("{include " + std::string(kPathCapacity, 'p') + "}\r\n"), 0);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 0, 1 file not read (its path is too long): " + std::string(kPathCapacity - 1, 'p') + " ");
  gFake.lockedPaths.clear();
  std::string many;  // a file not found takes its place in the list too, to be named
  for (int n = 0; n < kMaxTriggerFiles; ++n) many += "{include m" + std::to_string(n) + ".txt}\r\n";
  EXPECT_EQ(Load(many), 0);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 0, 63 files not read, the first (not found): " + PathOf("m0.txt") +
                                  ", 1 file not loaded: more than 64 files ");
  char previous[kPathCapacity];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(folder_.c_str()), 0);  // the log's fixed path lands in the test's folder
  std::string longName(kPathCapacity - 10 - folder_.size(), 'n');  // a path of 249 characters, whole in the log
  Load("WordHatch_DEBUG=1\r\n" + main + "{include " + longName + "}\r\n");
  EXPECT_EQ(Read(PathOf(kDebugLogPath)), "09:05:01 Loaded " + PathOf("triggers.txt") + ": 3 triggers\r\n" +
                                             "09:05:01 Not loaded " + PathOf("missing.txt") + ": not found\r\n" +
                                             "09:05:01 Loaded " + PathOf("team.txt") + ": 1 triggers\r\n" +
                                             "09:05:01 Not loaded " + PathOf(longName) + ": not found\r\n");
  ASSERT_EQ(chdir(previous), 0);
}

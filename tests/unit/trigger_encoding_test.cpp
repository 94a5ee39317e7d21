// Trigger files in every encoding through the whole program's core: the load, the typed history,
// the firing and its output lookup, and the save back.
#include <string>

#include "app/trigger_save.h"
#include "common/text.h"
#include "tests/unit/watcher_fixture.h"
#include "watcher/typed_history.h"

static const std::string kUtf8Mark = "\xEF\xBB\xBF";
static const char kArrow[] = "\xE2\x86\x92", kEAcute[] = "\xC3\xA9", kEuro[] = "\xE2\x82\xAC";

// "a=b\r\n" style text as UTF-16 with its mark, LE or BE, or without a mark; only for ASCII and
// the BMP characters used here.
enum Utf16Form { kLittleMarked, kBigMarked, kLittle, kBig };
static std::string Utf16File(const std::u16string& text, Utf16Form form = kLittleMarked) {
  bool big = form == kBigMarked || form == kBig;
  std::string bytes = form == kLittleMarked ? "\xFF\xFE" : form == kBigMarked ? "\xFE\xFF" : "";
  for (char16_t u : text) {
    char low = char(u & 0xFF), high = char(u >> 8);
    bytes += big ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

class TriggerEncodingTest : public WatcherTest {
 protected:
  // Loads `bytes` as the run's trigger file.
  int UseFile(const std::string& bytes) {
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    return Load(bytes);
  }
  // Types the character's UTF-8 bytes into the history as the poller would record a key of it.
  static void TypeChar(const char* utf8) { PushTypedChar(utf8, int(strlen(utf8))); }
  static int Backspaces() {
    int n = 0;
    for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) n += e.a == kVkBackspace && !(e.c & kKeyEventKeyUp);
    return n;
  }
  std::string OnDisk() const { return Read(gShell.triggerPath); }
  std::vector<std::string> StatusTexts() const {
    std::vector<std::string> out;
    for (const FakeEvent& e : FakeEventsOf(kFakeStatusText)) out.push_back(e.text);
    return out;
  }
};

TEST_F(TriggerEncodingTest, TheMarkIsNoPartOfTheFirstTrigger) {
  ASSERT_EQ(UseFile(kUtf8Mark + "btw=by the way\r\ncaf" + kEAcute + "=x\r\n"), 2);
  EXPECT_EQ(Stored(0), "wtb");
  EXPECT_EQ(SearchKey(0), "\nbtw=");
  EXPECT_EQ(Stored(1), std::string(kEAcute) + "fac") << "reversed by characters, each keeping its bytes";
  EXPECT_EQ(gTriggers.fileEncoding, kEncodingUtf8Marked);
  EXPECT_EQ(gFake.editorText, "btw=by the way\r\ncaf" + std::string(kEAcute) + "=x\r\n");
}

TEST_F(TriggerEncodingTest, EachEncodingLoadsTheSameTable) {
  std::string utf8 = "caf" + std::string(kEAcute) + "=1\r\nx=2\r\n";
  struct Case { const char* name; std::string bytes; TextEncoding encoding; } cases[] = {
      {"ANSI", "caf\xE9=1\r\nx=2\r\n", kEncodingAnsi},
      {"UTF-8", utf8, kEncodingUtf8},
      {"UTF-16", Utf16File(u"caf\u00E9=1\r\nx=2\r\n"), kEncodingUtf16},
      {"UTF-16 BE", Utf16File(u"caf\u00E9=1\r\nx=2\r\n", kBigMarked), kEncodingUtf16Be},
      {"UTF-16 LE without a mark", Utf16File(u"caf\u00E9=1\r\nx=2\r\n", kLittle), kEncodingUtf16Unmarked},
      {"UTF-16 BE without a mark", Utf16File(u"caf\u00E9=1\r\nx=2\r\n", kBig), kEncodingUtf16BeUnmarked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(UseFile(c.bytes), 2);
    EXPECT_EQ(SearchKey(0), "\ncaf" + std::string(kEAcute) + "=");
    EXPECT_EQ(TriggerMatchLength(0), 5);
    EXPECT_EQ(gFake.editorText, utf8);
    EXPECT_EQ(gTriggers.fileEncoding, c.encoding);
  }
}

TEST_F(TriggerEncodingTest, TheLengthLimitCountsCharacters) {
  std::string longest, tooLong;
  for (int i = 0; i < kMaxTriggerLength; ++i) longest += kEuro;
  tooLong = longest + "x";
  ASSERT_EQ(UseFile(longest + "=fits\r\n" + tooLong + "=no\r\n"), 1);
  EXPECT_EQ(TriggerMatchLength(0), kMaxTriggerLength * 3);
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 1  (1 not loaded: longer than 61 characters, or no key) ");
}

TEST_F(TriggerEncodingTest, BackspaceTakesAWholeCharacterAndTheHistoryKeepsWholeOnes) {
  Type("a");
  TypeChar(kArrow);
  TypeChar(kEAcute);
  EXPECT_EQ(History(6), std::string(kEAcute) + kArrow + "a");
  Press(kVkBackspace);
  EXPECT_EQ(History(5), std::string(kArrow) + std::string("a\0", 2));
  Press(kVkBackspace);
  EXPECT_EQ(History(2), std::string("a\0", 2));
  for (int i = 0; i < 70; ++i) TypeChar(kEuro);
  std::string full;
  for (int i = 0; i < kHistoryChars; ++i) full += kEuro;
  EXPECT_EQ(History(kHistorySize), full + std::string(size_t(kHistorySize) - full.size(), '\0'))
      << "61 characters, none cut at the end";
}

TEST_F(TriggerEncodingTest, FiringErasesCharactersAndTypesUtf8FromEveryEncoding) {
  struct Case { const char* name; std::string bytes; } cases[] = {
      {"ANSI", "\xE9x=caf\xE9\x80\r\n"},
      {"UTF-8 with the mark", kUtf8Mark + kEAcute + "x=caf" + kEAcute + kEuro + "\r\n"},
      {"UTF-16", Utf16File(u"\u00E9x=caf\u00E9\u20AC\r\n")},
      {"UTF-16 BE", Utf16File(u"\u00E9x=caf\u00E9\u20AC\r\n", kBigMarked)},
      {"UTF-16 LE without a mark", Utf16File(u"\u00E9x=caf\u00E9\u20AC\r\n", kLittle)},
      {"UTF-16 BE without a mark", Utf16File(u"\u00E9x=caf\u00E9\u20AC\r\n", kBig)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(UseFile(c.bytes), 1);
    gFake.events.clear();
    outputs_.clear();
    TypeChar(kEAcute);
    Type("x");
    EXPECT_EQ(Backspaces(), 2) << "one per character, not per byte";
    ASSERT_EQ(outputs_.size(), 1u);
    EXPECT_EQ(outputs_[0], "caf" + std::string(kEAcute) + kEuro);
  }
}

TEST_F(TriggerEncodingTest, SavingKeepsTheEncodingTheFileWasReadIn) {
  std::string ansi;
  for (int b = 0x20; b < 0x100; ++b) ansi += char(b);
  ansi = "a=" + ansi + "\r\n";
  struct Case { const char* name; std::string bytes; } cases[] = {
      {"ANSI, every byte", ansi},
      {"ANSI that is plain ASCII", "x=y\r\n"},
      {"UTF-8 without the mark", "x=" + std::string(kArrow) + "\r\n"},
      {"UTF-8 with the mark", kUtf8Mark + "x=y\r\n"},
      {"UTF-16", Utf16File(u"x=\u2192\r\n")},
      {"UTF-16 BE", Utf16File(u"x=\u2192\r\n", kBigMarked)},
      {"UTF-16 LE without a mark", Utf16File(u"x=\u2192\r\n", kLittle)},
      {"UTF-16 BE without a mark", Utf16File(u"x=\u2192\r\n", kBig)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseFile(c.bytes);
    gFake.events.clear();
    ASSERT_TRUE(SaveAndReloadTriggerFile(gShell.triggerPath));
    EXPECT_EQ(OnDisk(), c.bytes) << "byte for byte";
    EXPECT_EQ(StatusTexts().back(), " Triggers Loaded: 1 ");
  }
}

TEST_F(TriggerEncodingTest, AnsiTakesWhatItsCodePageHoldsAndTurnsUtf8OnceForTheRest) {
  UseFile("x=y\r\n");
  gFake.editorText = "x=caf" + std::string(kEAcute) + "\r\n";
  ASSERT_TRUE(SaveAndReloadTriggerFile(gShell.triggerPath));
  EXPECT_EQ(OnDisk(), "x=caf\xE9\r\n") << "still ANSI";
  gFake.editorText = "x=caf" + std::string(kEAcute) + kArrow + "\r\n";
  gFake.events.clear();
  ASSERT_TRUE(SaveAndReloadTriggerFile(gShell.triggerPath));
  EXPECT_EQ(OnDisk(), kUtf8Mark + gFake.editorText);
  EXPECT_EQ(gTriggers.fileEncoding, kEncodingUtf8Marked);
  EXPECT_EQ(StatusTexts(), (std::vector<std::string>{" Triggers Loaded: 1 ", kSavedAsUtf8Text}));
  gFake.events.clear();
  ASSERT_TRUE(SaveAndReloadTriggerFile(gShell.triggerPath));
  EXPECT_EQ(StatusTexts(), std::vector<std::string>{" Triggers Loaded: 1 "}) << "said once";
  EXPECT_EQ(OnDisk(), kUtf8Mark + gFake.editorText);
}

TEST_F(TriggerEncodingTest, AFailedSaveLeavesTheFileAndItsEncoding) {
  UseFile("x=y\r\n");
  gFake.editorText = std::string("x=") + kArrow;
  gFake.failReplace = true;
  EXPECT_FALSE(SaveAndReloadTriggerFile(gShell.triggerPath));
  EXPECT_EQ(OnDisk(), "x=y\r\n");
  EXPECT_EQ(gTriggers.fileEncoding, kEncodingAnsi);
  gFake.hasEditor = false;
  gFake.failReplace = false;
  EXPECT_FALSE(SaveAndReloadTriggerFile(gShell.triggerPath)) << "no editor text to save";
  EXPECT_EQ(OnDisk(), "x=y\r\n");
}

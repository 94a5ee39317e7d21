// Whole-word and any-case abbreviations: where a word ends and begins, the case that an output
// follows, the options line, the undo with Backspace, and the index against a plain walk.
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "common/text.h"
#include "tests/unit/fake_keyboard_layout.h"
#include "tests/unit/watcher_fixture.h"
#include "triggers/trigger_table.h"
#include "triggers/word_case.h"
#include "watcher/matcher.h"

const int kVkEnter = 0x0D, kVkTab = 0x09, kVkLeft = 0x25, kVkComma = 0xBC, kVkPeriod = 0xBE, kVkQuote = 0xDE;
const int kVkMinus = 0xBD, kVkUmlautU = 0xBA;  // "-" and, on the German layout, "ü"

class AutocorrectTest : public WatcherTest {
 protected:
  void UseTriggers(const std::string& triggers) {
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    ASSERT_GT(Load(triggers), 0);
    gFake.events.clear();
    outputs_.clear();
  }
  // Types letters, digits, blanks and the punctuation of prose with their US keys.
  void TypeProse(const std::string& text) {
    for (char c : text) {
      if (c == '.') Press(kVkPeriod);
      else if (c == ',') Press(kVkComma);
      else if (c == '\'') Press(kVkQuote);
      else if (c == '(') PressWith({kVkShift}, '9');
      else if (c == ')') PressWith({kVkShift}, '0');
      else if (c == '_') PressWith({kVkShift}, kVkMinus);
      else Type(std::string(1, c));
    }
  }
  static int Backspaces() {
    int n = 0;
    for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) n += e.a == kVkBackspace && !(e.c & kKeyEventKeyUp);
    return n;
  }
};

TEST_F(AutocorrectTest, AWholeWordFiresAtTheCharacterThatEndsItAndKeepsThatCharacter) {
  UseTriggers("{word}teh=the\r\n{WORD}thier=their\r\n");
  TypeProse("teh");
  EXPECT_TRUE(outputs_.empty()) << "not at its last letter";
  const struct {
    const char *typed, *output, *ending;
    int erased;  // the abbreviation and its ending character
  } cases[] = {{" ", "the", " ", 4}, {"(teh)", "the", ")", 4}, {"thier.", "their", ".", 6}, {"teh,", "the", ",", 4}};
  for (const auto& c : cases) {
    gFake.events.clear();
    TypeProse(c.typed);
    EXPECT_EQ(outputs_.back(), c.output) << c.typed;
    EXPECT_STREQ(gPlayer.endingText, c.ending) << c.typed;
    EXPECT_EQ(Backspaces(), c.erased) << c.typed;
  }
  EXPECT_EQ(outputs_.size(), 4u);
}

TEST_F(AutocorrectTest, AWholeWordDoesNotFireInsideALongerWord) {
  UseTriggers("{word}teh=the\r\n");
  for (const char* typed : {"xteh ", "tehx ", "2teh ", "teh2 ", "_teh ", "o'teh ", "teh's "}) TypeProse(typed);
  gFake.foregroundLayout = kFakeLayoutGerman;
  Press(kVkUmlautU);
  TypeProse("teh ");
  EXPECT_TRUE(outputs_.empty()) << "a letter of two bytes is a letter too";
  TypeProse("teh");
  Press(kVkEnter);
  Press(kVkTab);
  EXPECT_TRUE(outputs_.empty()) << "Enter and Tab end no word";
  TypeProse("teh ");
  EXPECT_EQ(outputs_.size(), 1u) << "after Tab a word begins";
  TypeProse("x");
  Press(kVkLeft);
  TypeProse("teh ");
  EXPECT_EQ(outputs_.size(), 2u) << "after a key that types nothing a word begins";
}

TEST_F(AutocorrectTest, AnyCaseFollowsTheCaseTyped) {
  UseTriggers("{word}{case}teh=the\r\n{case}{word}u=you\r\n{case}Btw=by the way\r\n");
  const struct {
    const char* typed;
    uint8_t outputCase;
  } cases[] = {{"teh ", kCaseAsWritten}, {"Teh ", kCaseFirstCapital}, {"TEH ", kCaseAllCapitals},
               {"tEH ", kCaseAsWritten}, {"U ", kCaseFirstCapital}, {"u ", kCaseAsWritten},
               {"BTW", kCaseAllCapitals}, {"btw", kCaseAsWritten}};
  for (const auto& c : cases) {
    size_t before = outputs_.size();
    TypeProse(c.typed);
    ASSERT_EQ(outputs_.size(), before + 1) << c.typed;
    EXPECT_EQ(gPlayer.outputCase, c.outputCase) << c.typed;
  }
  EXPECT_EQ(Stored(2), "wtb") << "stored in small letters";
  UseTriggers("{word}Teh=the\r\n");
  TypeProse("teh TEH ");
  EXPECT_TRUE(outputs_.empty()) << "without {case} the letter case counts";
  UseTriggers("{case}\xD0\xA2\xD0\x95\xD0\xA5=x\r\n");  // "ТЕХ"
  EXPECT_EQ(Stored(0), "\xD1\x85\xD0\xB5\xD1\x82") << "folded by the system's case, then reversed";
  memcpy(gWatcher.typedHistory, "\xD1\x85\xD0\x95\xD0\xA2", 6);  // "ТЕх" typed, newest first
  EXPECT_EQ(FindMatchingTrigger(0), 0);
}

TEST(WordCaseTest, TheCaseRuleAndWordCharactersHoldInEveryScript) {
  EXPECT_EQ(CaseTyped("\xD0\xA2\xD0\x95\xD0\xA5", 6), kCaseAllCapitals);  // "ТЕХ"
  EXPECT_EQ(CaseTyped("\xD0\xA2\xD0\xB5\xD1\x85", 6), kCaseFirstCapital);  // "Тех"
  EXPECT_EQ(CaseTyped("\xCE\xA3", 2), kCaseFirstCapital) << "one capital is a first capital";
  EXPECT_EQ(CaseTyped("2ND", 3), kCaseAllCapitals) << "digits have no case";
  EXPECT_EQ(CaseTyped("2", 1), kCaseAsWritten);
  uint8_t outputCase = kCaseFirstCapital;
  std::string out;
  for (uint32_t c : {uint32_t('\''), 0x3B1u, 0x3B2u}) {  // "'αβ"
    char bytes[kMaxUtf8Bytes];
    out.append(bytes, size_t(EncodeUtf8(ApplyOutputCase(c, &outputCase), bytes)));
  }
  EXPECT_EQ(out, "'\xCE\x91\xCE\xB2") << "the first letter, past the apostrophe";
  char folded[16];
  EXPECT_EQ(std::string(folded, LowerCaseText("\xD0\x94\xC3\x89x\xFF", 6, folded)), "\xD0\xB4\xC3\xA9x\xFF")
      << "a stray byte stays as it is";
  EXPECT_TRUE(IsWordCharacter(0x416) && IsWordCharacter('_') && IsWordCharacter(0x2019) && IsWordCharacter(0x301));
  EXPECT_TRUE(EndsWord(' ') && EndsWord(')') && EndsWord(0xBB) && EndsWord(0x2014));
  EXPECT_FALSE(EndsWord('\r') || EndsWord('\t') || EndsWord(0) || EndsWord('7') || EndsWord(0x85));
}

TEST_F(AutocorrectTest, AnOptionsLineSetsTheLinesAfterItAndATriggerLineOverridesIt) {
  UseTriggers("zq=1\r\n {word} {case} \r\nteh=the\r\nadn{anywhere}=and\r\n{EXACT}wich=which\r\n"
              "{word} not options\r\n{Anywhere}\r\nbtw=by the way\r\n{word}{anywhere}x=last wins\r\n"
              "{case}\r\n{shift}{word}k=hotkey\r\n");
  ASSERT_EQ(EntryCount(), 7) << "options lines are no triggers";
  const uint8_t expected[] = {0,
                              kOptionWholeWord | kOptionAnyCase,
                              kOptionAnyCase,
                              kOptionWholeWord,
                              kOptionAnyCase,
                              kOptionAnyCase,
                              0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(TriggerOptions(i), expected[i]) << SearchKey(i);
  EXPECT_EQ(SearchKey(2), "\nadn{anywhere}=") << "the output is found by the line as written";
  EXPECT_EQ(Stored(3), "hciw");
  EXPECT_EQ(TriggerFlags(6), kFlagShift) << "options do not apply to a hotkey";
  TypeProse("azqb");
  EXPECT_EQ(outputs_, std::vector<std::string>{"1"}) << "the line before the options fires inside words";
}

TEST_F(AutocorrectTest, BackspaceRightAfterAWholeWordTakesItBack) {
  UseTriggers("{word}recieve=receive\r\n{word}sig=Regards{Enter}\r\n");
  TypeProse("recieve ");
  ASSERT_EQ(outputs_, std::vector<std::string>{"receive"});
  gFake.events.clear();
  SetKey(kVkShift, true);  // a modifier alone decides nothing
  Tick();
  SetKey(kVkShift, false);
  Press(kVkBackspace);
  ASSERT_EQ(outputs_.size(), 2u);
  EXPECT_EQ(outputs_[1], "recieve") << "what was typed, without the ending character";
  EXPECT_TRUE(gPlayer.literalOutput) << "typed as it stands";
  EXPECT_EQ(Backspaces(), 7) << "the output's characters";
  EXPECT_EQ(History(7), "eveicer");
  TypeProse(" ");
  EXPECT_EQ(outputs_.size(), 2u) << "the word taken back does not fire again";
  TypeProse("recieve ");
  EXPECT_EQ(outputs_.size(), 3u) << "typed anew, it does";
  TypeProse("x");
  Press(kVkBackspace);
  EXPECT_EQ(outputs_.size(), 3u) << "another key first: Backspace means Backspace";
  TypeProse(" sig ");
  Press(kVkBackspace);
  EXPECT_EQ(outputs_.back(), "Regards{Enter}") << "an output with a key name is not taken back";
}

// The plainest match of what the index must find: every entry in file order against the typed
// text, oldest first, in ASCII and "é".
static std::string Fold(std::string text) {
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] >= 'A' && text[at] <= 'Z') text[at] = char(text[at] + 32);
    if (text.compare(at, 2, "\xC3\x89") == 0) text[at + 1] = '\xA9';
  }
  return text;
}

static bool Boundary(const std::string& before) {
  if (before.empty()) return true;
  unsigned char last = static_cast<unsigned char>(before.back());
  return !(isalnum(last) || last == '\'' || last == '_' || last >= 0x80);
}

static int PlainWalk(const std::vector<std::string>& written, const std::vector<uint8_t>& options,
                     const std::string& typed) {
  for (size_t i = 0; i < written.size(); ++i) {
    bool word = options[i] & kOptionWholeWord, any = options[i] & kOptionAnyCase;
    std::string text = typed;
    if (word) {
      if (text.empty() || (text.back() != ' ' && text.back() != '.')) continue;
      text.pop_back();
    }
    if (text.size() < written[i].size()) continue;
    std::string tail = text.substr(text.size() - written[i].size());
    if ((any ? Fold(tail) == Fold(written[i]) : tail == written[i]) &&
        (!word || Boundary(text.substr(0, text.size() - written[i].size())))) {
      return int(i);
    }
  }
  return -1;
}

TEST_F(AutocorrectTest, TheIndexFindsWhatAPlainWalkFindsWithAnyCaseAndWholeWords) {
  std::mt19937 random(20261209);
  const char* pieces[] = {"a", "b", "A", "B", "\xC3\xA9", "\xC3\x89"};
  auto text = [&](int length) {
    std::string out;
    for (int i = 0; i < length; ++i) out += pieces[random() % 6];
    return out;
  };
  for (int round = 0; round < 20; ++round) {
    std::vector<std::string> written;
    std::vector<uint8_t> options;
    std::string file;
    for (int i = 0; i < 200; ++i) {
      written.push_back(text(1 + int(random() % 6)));
      options.push_back(uint8_t(random() % 4));
      file += std::string(options.back() & kOptionWholeWord ? "{word}" : "") +
              (options.back() & kOptionAnyCase ? "{case}" : "") + written.back() + "=x\n";
    }
    ASSERT_EQ(Load(file), 200);
    for (int probe = 0; probe < 200; ++probe) {
      std::string typed = text(int(random() % 8)) + (random() % 3 ? "" : random() % 2 ? " " : ".");
      memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
      char newestFirst[kHistorySize] = {0};
      for (size_t at = 0, out = typed.size(); at < typed.size();) {
        size_t n = (uint8_t(typed[at]) >= 0x80) ? 2 : 1;
        out -= n;
        memcpy(newestFirst + out, typed.data() + at, n);
        at += n;
      }
      memcpy(gWatcher.typedHistory, newestFirst, typed.size());
      ASSERT_EQ(FindMatchingTrigger(0), PlainWalk(written, options, typed)) << "typed \"" << typed << "\"";
    }
  }
}

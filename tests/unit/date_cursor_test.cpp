// Dates, the clipboard's text and the caret's mark in outputs, through the recording fake: the
// picture letters, the day offset, the clipboard's text typed as it stands, and the way back to
// the mark.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "common/heap.h"
#include "common/state.h"
#include "player/date_text.h"
#include "player/output_player.h"
#include "player/paste.h"
#include "tests/unit/fake_platform.h"

namespace {

const uint8_t kVkLeftArrow = 0x25;

std::string Picture(const std::string& picture, LocalDate date = {2026, 12, 8}, LocalTime time = {9, 5, 1}) {
  char out[kDateTextSize];
  uint32_t length = FormatDatePicture(picture.data(), picture.size(), date, time, out, sizeof out);
  EXPECT_EQ(length, strlen(out));
  return out;
}

TEST(DatePictureTest, EveryLetterQuotesAndOtherCharacters) {
  EXPECT_EQ(Picture("d dd ddd dddd ddddd"), "8 08 Tue Tuesday Tuesday");
  EXPECT_EQ(Picture("M MM MMM MMMM"), "12 12 Dec December");
  EXPECT_EQ(Picture("y yy yyyy", {2007, 3, 4}), "7 07 2007");
  EXPECT_EQ(Picture("h hh H HH m mm s ss t tt"), "9 09 9 09 5 05 1 01 A AM");
  EXPECT_EQ(Picture("h:mm tt H", {2026, 1, 1}, {0, 30, 0}), "12:30 AM 0");
  EXPECT_EQ(Picture("hh tt HH", {2026, 1, 1}, {23, 0, 0}), "11 PM 23");
  EXPECT_EQ(Picture("'Due:' dddd, 'the' d"), "Due: Tuesday, the 8");
  EXPECT_EQ(Picture("'it''s' d''M 'open"), "it's 8'12 open") << "two quotes give one; a quote may stay open";
  EXPECT_EQ(Picture("d"), "8");
  EXPECT_EQ(Picture(""), "");
  EXPECT_EQ(Picture("yyyy-MM-dd / é €"), "2026-12-08 / é €");
}

TEST(DatePictureTest, DaysOnAndBackAcrossMonthAndYearEnds) {
  auto text = [](LocalDate d) { return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day); };
  EXPECT_EQ(text(AddDays({2026, 12, 31}, 1)), "2027-1-1");
  EXPECT_EQ(text(AddDays({2027, 1, 1}, -1)), "2026-12-31");
  EXPECT_EQ(text(AddDays({2028, 2, 28}, 1)), "2028-2-29");
  EXPECT_EQ(text(AddDays({2100, 2, 28}, 1)), "2100-3-1") << "no leap day in 2100";
  EXPECT_EQ(text(AddDays({2026, 12, 8}, 7)), "2026-12-15");
  EXPECT_EQ(text(AddDays({2026, 12, 8}, -365)), "2025-12-8");
  EXPECT_EQ(DayOfWeek({1970, 1, 1}), 4);
  EXPECT_EQ(DayOfWeek({2000, 1, 1}), 6);
}

// The Left presses among the key events recorded.
int LeftPresses() {
  int lefts = 0;
  for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) lefts += e.a == kVkLeftArrow && !(e.c & kKeyEventKeyUp);
  return lefts;
}

class OutputTokensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    gPlayer = PlayerState();
  }
  void TearDown() override { FreeAndForget(gPlayer.outputBuffer); }
  // Plays `output` to its end and returns what it typed, with the Left presses counted apart.
  std::string Play(const std::string& output) {
    gFake.events.clear();
    gPlayer.outputBuffer = static_cast<char*>(AllocZeroed(output.size() + 1, 1));
    memcpy(gPlayer.outputBuffer, output.data(), output.size());
    StartPlayer();
    for (int tick = 0; tick < 10 && gPlayer.outputBuffer; ++tick) PlayOutputTick();
    lefts_ = LeftPresses();
    // The Left presses show as "?": the fake's typed text leaves them out.
    std::string typed = FakeTypedText();
    return typed.substr(0, typed.find_last_not_of('?') + 1);
  }
  int lefts_ = 0;
};

TEST_F(OutputTokensTest, DateTokensTypeTodayOrADayOnWithTheirPicture) {
  gFake.now = LocalTime{14, 7, 9};
  EXPECT_EQ(Play("{Date yyyy-MM-dd}!"), "2026-12-08!");
  EXPECT_EQ(Play("{DATE+1 dddd}, {date-8 d MMM}"), "Wednesday, 30 Nov");
  EXPECT_EQ(Play("{Date+24 d/M/yy HH:mm}"), "1/1/27 14:07");
  EXPECT_EQ(Play("[{Date}] [{Date }] [{Date+1}]"), "[12/8/2026] [12/8/2026] [12/9/2026]") << "the short date";
  EXPECT_EQ(Play("{Date 'yyyy' yyyy"), "yyyy 2026") << "a picture may run to the end of the output";
  EXPECT_EQ(Play("{Dates}"), "{Dates}") << "no token: typed as it stands";
}

TEST_F(OutputTokensTest, TheClipboardsTextIsTypedAsItStands) {
  gFake.clipboard[1] = std::string("{Enter} RUN: x %PATH% {Date}\0tail", 33);
  EXPECT_EQ(Play("Re: {Clipboard}!"), "Re: {Enter} RUN: x %PATH% {Date}!");
  gFake.clipboardBusy = true;
  EXPECT_EQ(Play("[{clipboard}]"), "[]");
  gFake.clipboardBusy = false;
  gFake.clipboard.clear();
  EXPECT_EQ(Play("[{Clipboard}]"), "[]");
}

// Copied terminal text holds backspace and escape characters, and a line end may be CR LF, LF or
// CR alone: none of them may press a key of its own, and each line end makes one new line.
const char kControlsCopied[] = "one\ntwo\bx\r\nthree\rfour\tfive\x1b\x7f\xC2\x85 six\r";

TEST_F(OutputTokensTest, TheClipboardsControlCharactersTypeLineEndsAndTabsAlone) {
  gFake.clipboard[1] = kControlsCopied;
  EXPECT_EQ(Play("[{Clipboard}]{Cursor}"), "[one\rtwox\rthree\rfour\tfive six\r]");
  EXPECT_EQ(Play("{Cursor}{Clipboard}"), "one\rtwox\rthree\rfour\tfive six\r");
  EXPECT_EQ(lefts_, 29) << "one step back a character, a line end and a tab included";
  // Pasted, the text holds the same: every line end as CR LF.
  gPlayer.pasteThreshold = 10;
  Play("{Clipboard}");
  ASSERT_TRUE(gFake.clipboardTextOffered);
  RenderPastedText();
  EXPECT_EQ(gFake.clipboard[kFakeUnicodeFormat], "one\r\ntwox\r\nthree\r\nfour\tfive six\r\n");
  gFake.tickCount += kPasteWaitMs;
  PlayOutputTick();
  EXPECT_EQ(gFake.clipboard[1], kControlsCopied) << "the user's copy comes back as it was";
}

TEST_F(OutputTokensTest, TheCaretGoesBackToTheMarkOverTheCharactersAfterIt) {
  EXPECT_EQ(Play("<b>{Cursor}</b>"), "<b></b>");
  EXPECT_EQ(lefts_, 4);
  Play("{Cursor}\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80x");
  EXPECT_EQ(lefts_, 4) << "one step a character, however many bytes";
  EXPECT_EQ(Play("a{Cursor}b{Tab}{Cursor}c"), "ab\t{Cursor}c");
  EXPECT_EQ(lefts_, 10) << "a key name counts nothing; the second mark is text";
  strcpy(gPlayer.endingText, ")");
  EXPECT_EQ(Play("({Cursor}"), "()");
  EXPECT_EQ(lefts_, 1) << "the character that ended the word is typed after the output";
  EXPECT_EQ(Play("x{Cursor}y WINDOW: Nowhere"), "xy ");
  EXPECT_EQ(lefts_, 0) << "no way back once another window may have come forward";
}

TEST_F(OutputTokensTest, TokenTextsJoinTheRunThatIsPasted) {
  gPlayer.pasteThreshold = 20;
  gFake.clipboard[1] = std::string("subject\0", 8);
  const std::string output = "{Cursor}Re: {Clipboard} of {Date yyyy-MM-dd}";
  gPlayer.outputBuffer = static_cast<char*>(AllocZeroed(output.size() + 1, 1));
  memcpy(gPlayer.outputBuffer, output.data(), output.size());
  StartPlayer();
  PlayOutputTick();
  ASSERT_TRUE(gFake.clipboardTextOffered) << "long enough only with the tokens' texts";
  RenderPastedText();
  EXPECT_EQ(gFake.clipboard[kFakeUnicodeFormat], "Re: subject of 2026-12-08");
  gFake.events.clear();
  PlayOutputTick();
  EXPECT_EQ(gPlayer.outputBuffer, nullptr);
  EXPECT_EQ(gFake.clipboard[1], std::string("subject\0", 8)) << "the clipboard is back";
  EXPECT_EQ(LeftPresses(), 25) << "the caret goes back over the pasted text";
}

}  // namespace

// The search over every trigger: items built from the file in file order with their labels,
// words in any order and any letter case, the rank groups, recent choices first, the row texts.
#include <string>
#include <vector>

#include "common/heap.h"
#include "common/text.h"
#include "search/trigger_search.h"
#include "tests/unit/watcher_fixture.h"
#include "watcher/expansion.h"
#include "watcher/window_in_front.h"

const char kSearchFile[] =
    "; my postal address\r\n"
    "addr=1 Long Road{Enter}Springfield\r\n"
    "{word}{case}\r\n"
    "ad=advertisement\r\n"
    "{anywhere}{exact}\r\n"
    "sig{in notepad.exe}=Best regards, \xCE\x91\xCE\xBD\xCE\xBD\xCE\xB1\r\n"
    "xad=road works ahead\r\n"
    "{control}{alt}{Space}={Search}\r\n"
    "; Greek greeting\r\n"
    "gr=\xCE\x93\xCE\xB5\xCE\xB9\xCE\xB1 \xCF\x83\xCE\xBF\xCF\x85\r\n";

const int kVkSpaceBar = 0x20;

class TriggerSearchTest : public WatcherTest {
 protected:
  void SetUp() override {
    WatcherTest::SetUp();
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    ASSERT_EQ(Load(kSearchFile), 6);
    uint32_t capacity = 0;
    char* text = ReadTriggerFileAfterLineFeed(PathOf("triggers.txt").c_str(), &capacity);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(BuildSearchItems(text, nullptr));
    FreeBlock(text);
  }
  void TearDown() override {
    ReleaseSearchItems();
    gSearch.recentCount = 0;
    gSearch.lastQuery[0] = 0;
    KeepKeysOut(false);
    WatcherTest::TearDown();
  }
  // The triggers of the rows that `query` lists, best first.
  static std::vector<std::string> Rows(const char* query) {
    FilterSearchItems(query);
    std::vector<std::string> rows;
    for (int32_t row = 0; row < gSearch.rowCount; ++row) rows.push_back(SearchRowTrigger(row));
    return rows;
  }
};

using RowList = std::vector<std::string>;

TEST_F(TriggerSearchTest, RowsShowTheTriggerAsWrittenItsLabelAndItsOutputsFirstLine) {
  ASSERT_EQ(Rows(""), (RowList{"addr", "ad", "sig", "xad", "gr"})) << "file order; the search hotkey is not listed";
  EXPECT_STREQ(SearchRowLabel(0), "my postal address");
  EXPECT_STREQ(SearchRowOutput(0), "1 Long Road");
  EXPECT_STREQ(SearchRowLabel(1), "") << "an options line above is no label";
  EXPECT_STREQ(SearchRowTrigger(2), "sig") << "without its rule word";
  EXPECT_STREQ(SearchRowLabel(4), "Greek greeting");
  EXPECT_STREQ(gSearch.lastQuery, "");
}

TEST_F(TriggerSearchTest, EveryWordInAnyOrderAndCaseInTriggerLabelOrOutput) {
  EXPECT_EQ(Rows("POSTAL springf"), (RowList{"addr"}));
  EXPECT_EQ(Rows("springf postal"), (RowList{"addr"}));
  EXPECT_EQ(Rows("postal nowhere"), RowList{});
  EXPECT_EQ(Rows("\xCE\xB1\xCE\xBD\xCE\xBD\xCE\xB1"), (RowList{"sig"})) << "capital alpha found by a small one";
  EXPECT_EQ(Rows("\xCE\xB3\xCE\xB5\xCE\xB9\xCE\xB1"), (RowList{"gr"}));
  EXPECT_STREQ(gSearch.lastQuery, "\xCE\xB3\xCE\xB5\xCE\xB9\xCE\xB1");
}

TEST_F(TriggerSearchTest, ExactThenPrefixThenWordStartsThenTheRest) {
  // "ad": exact; "addr": begins with it; "xad" holds it inside words only ("road", "ahead").
  EXPECT_EQ(Rows("ad"), (RowList{"ad", "addr", "xad"}));
  EXPECT_EQ(Rows("road"), (RowList{"addr", "xad"})) << "both begin a word with it: file order";
  EXPECT_EQ(Rows("oad"), (RowList{"addr", "xad"})) << "neither begins a word with it";
  EXPECT_EQ(SearchItemGroup(3, "works ro"), kSearchWordStarts);
  EXPECT_EQ(SearchItemGroup(3, "orks"), kSearchAnywhere);
  EXPECT_EQ(SearchItemGroup(3, "XAD"), kSearchExact);
}

TEST_F(TriggerSearchTest, RecentChoicesComeFirstWithinTheirGroup) {
  FilterSearchItems("");
  EXPECT_EQ(TriggerSearchKey(ChooseSearchRow(0)), std::string("\naddr="));
  FilterSearchItems("road");
  ASSERT_EQ(std::string(SearchRowTrigger(1)), "xad");
  EXPECT_EQ(TriggerSearchKey(ChooseSearchRow(1)), std::string("\nxad="));
  uint32_t capacity = 0;
  char* text = ReadTriggerFileAfterLineFeed(PathOf("triggers.txt").c_str(), &capacity);
  ASSERT_TRUE(BuildSearchItems(text, nullptr));
  FreeBlock(text);
  EXPECT_EQ(Rows("road"), (RowList{"xad", "addr"})) << "the newest choice first";
  EXPECT_EQ(Rows("ad"), (RowList{"ad", "addr", "xad"})) << "a better group stays first";
  EXPECT_EQ(Rows(""), (RowList{"addr", "ad", "sig", "xad", "gr"})) << "no query: file order";
}

TEST_F(TriggerSearchTest, OpeningListsWhatMayFireInTheWindowInFrontWithTheLastQuery) {
  FilterSearchItems("si");
  uint32_t notepad = FakeFrontWindowOf("notepad.exe");
  ASSERT_TRUE(OpenTriggerSearch());
  std::vector<FakeEvent> opened = FakeEventsOf(kFakeSearchWindow);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].a, notepad) << "centred on the window that was in front";
  EXPECT_EQ(opened[0].text, "si");
  ASSERT_EQ(gSearch.rowCount, 1);
  EXPECT_STREQ(SearchRowTrigger(0), "sig");
  FakeFrontWindowOf("other.exe");
  ASSERT_TRUE(OpenTriggerSearch());
  EXPECT_EQ(gSearch.rowCount, 0) << "the rule keeps sig out of other programs";
  EXPECT_EQ(gSearch.count, 4);
}

TEST_F(TriggerSearchTest, AChosenTriggerPlaysWithNothingErasedAndTheQueryFiresNothing) {
  KeepKeysOut(true);
  Type("ad ");
  EXPECT_TRUE(outputs_.empty()) << "a query is no abbreviation";
  EXPECT_EQ(History(kHistorySize), std::string(kHistorySize, '\0'));
  KeepKeysOut(false);
  FilterSearchItems("addr");
  gFake.events.clear();
  PlayChosenTrigger(ChooseSearchRow(0));
  ASSERT_NE(gPlayer.outputBuffer, nullptr);
  EXPECT_STREQ(gPlayer.outputBuffer, "1 Long Road{Enter}Springfield");
  EXPECT_TRUE(FakeEventsOf(kFakeKeyEvent).empty()) << "nothing to erase";
  EXPECT_EQ(gShell.automationCount, 1);
}

TEST_F(TriggerSearchTest, TheSearchHotkeyOpensTheWindowWhileItsModifiersAreHeld) {
  SetKey(kVkControl, true);
  Tick();
  SetKey(kVkAlt, true);
  Tick();
  Press(kVkSpaceBar);
  ASSERT_EQ(outputs_.size(), 1u) << "no wait for Ctrl and Alt to be let go";
  EXPECT_EQ(outputs_[0], "{Search}");
  SetKey(kVkControl, false);
  SetKey(kVkAlt, false);
}
TEST_F(TriggerSearchTest, AnIncludedFilesItemsStandInItsPlaceWithItsOwnOutputsAndLabels) {
  Write("team.txt", Utf16LeFile("; team address\r\naddr=Team Road\r\nty=Thank you\r\n"));
  ASSERT_EQ(Load("sig=Main\r\n{include team.txt}\r\naddr=Main Road\r\n"), 4);
  uint32_t capacity = 0;
  char* text = ReadTriggerFileAfterLineFeed(PathOf("triggers.txt").c_str(), &capacity);
  ASSERT_TRUE(text && BuildSearchItems(text, nullptr));
  FreeBlock(text);
  ASSERT_EQ(Rows(""), (RowList{"sig", "addr", "ty", "addr"}));
  EXPECT_STREQ(SearchRowOutput(1), "Team Road");
  EXPECT_STREQ(SearchRowLabel(1), "team address");
  EXPECT_STREQ(SearchRowOutput(3), "Main Road");
}

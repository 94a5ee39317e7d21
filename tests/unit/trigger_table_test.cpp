// The trigger table at any size: growth with the file, a load that runs out of memory part-way,
// the index against a plain walk of the whole table, and the first line winning across
// abbreviations and hotkeys.
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "common/text.h"
#include "tests/unit/watcher_fixture.h"
#include "watcher/matcher.h"

const char kOutOfMemoryStatus[] = " (out of memory: the rest were not loaded) ";

// The plainest match, as the table was matched before it had an index: every entry in file
// order against the history and the pressed key.
static int PlainWalk(uint8_t pressedKey) {
  const uint8_t* keys = gWatcher.previousKeyState;
  uint8_t held = uint8_t((keys[kVkControl] ? kFlagControl : 0) | (keys[kVkShift] ? kFlagShift : 0) |
                         (keys[kVkAlt] ? kFlagAlt : 0));
  for (int i = 0; i < TriggerCount(); ++i) {
    const uint8_t* stored = reinterpret_cast<const uint8_t*>(StoredTrigger(i));
    uint8_t flags = TriggerFlags(i);
    if (flags == 0) {
      if (memcmp(stored, gWatcher.typedHistory, size_t(TriggerMatchLength(i))) == 0) return i;
    } else if (stored[0] == pressedKey && (flags & (kFlagControl | kFlagShift | kFlagAlt)) == held) {
      return i;
    }
  }
  return -1;
}

// Sets the typed history, newest byte first.
static void SetHistory(const std::string& newestFirst) {
  memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
  memcpy(gWatcher.typedHistory, newestFirst.data(), std::min(newestFirst.size(), size_t(kHistoryBytes)));
}

// "n<number>x" lines, distinct, every one ending in the same letter: one crowded index key.
static std::string NumberedLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += "n" + std::to_string(i) + "x=out" + std::to_string(i) + "\r\n";
  return lines;
}

TEST_F(LoaderTest, ALoadRunningOutOfMemoryKeepsWhatItHasAndSaysSo) {
  const int kLines = 300;  // enough for the records to grow three times and the text twice
  std::string path = Write("many.txt", NumberedLines(kLines));
  gFake.heapAllocs = 0;
  LoadTriggerFile(path.c_str());
  ASSERT_EQ(TriggerCount(), kLines);
  int allocations = gFake.heapAllocs;
  ReleaseTriggerTable();
  int baseline = gFake.liveHeapBlocks, partial = 0;
  for (int failAt = 1; failAt <= allocations + 1; ++failAt) {
    SCOPED_TRACE("allocation " + std::to_string(failAt) + " fails");
    gFake.heapAllocs = 0;
    gFake.failHeapAllocAt = failAt;
    LoadTriggerFile(path.c_str());
    gFake.failHeapAllocAt = 0;
    int count = TriggerCount();
    if (gFake.statusText.find("WARNING") != std::string::npos) {
      EXPECT_EQ(count, 0) << "the file's text could not be had: nothing loads";
      continue;
    }
    std::string expected = " Triggers Loaded: " + std::to_string(count) + (count < kLines ? kOutOfMemoryStatus : " ");
    ASSERT_EQ(gFake.statusText, expected);
    partial += count > 0 && count < kLines;
    for (int i = 0; i < count; ++i) {
      std::string written = "n" + std::to_string(i) + "x";
      ASSERT_EQ(SearchKey(i), "\n" + written + "=");
      ASSERT_EQ(Stored(i), std::string(written.rbegin(), written.rend()));
      SetHistory(Stored(i));
      ASSERT_EQ(FindMatchingTrigger('X'), i) << "the index holds every entry loaded";
    }
    std::string next = "n" + std::to_string(count) + "x";
    SetHistory(std::string(next.rbegin(), next.rend()));
    EXPECT_EQ(FindMatchingTrigger('X'), -1) << "nothing past the last entry loaded";
    ReleaseTriggerTable();
    ASSERT_EQ(gFake.liveHeapBlocks, baseline) << "a failed growth leaks nothing";
  }
  EXPECT_GE(partial, 4) << "failures fell on growths part-way through";
  EXPECT_EQ(Load(NumberedLines(kLines)), kLines) << "the next load with memory loads everything";
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 300 ");
}

// Random trigger lists over a few letters (so abbreviations end alike and hide in each other),
// hotkeys and repeats, and random histories that often end in one of them.
TEST_F(LoaderTest, TheIndexGivesThePlainWalksAnswerForEveryHistory) {
  std::mt19937 random(20240611);
  const std::vector<std::string> pieces = {"a", "b", "c", "\xC3\xA9", "A", " "};
  const std::vector<std::string> hotkeys = {"{control}a=", "{alt}{F5}=", "{shift}b=", "x{Enter}=", "{F5}=",
                                            "{control}{shift}c=", "{alt}a="};
  const int sizes[] = {1, 5, 63, 64, 65, 200, 1000, 5000};
  int matches = 0, hotkeyMatches = 0, comparisons = 0;
  for (int size : sizes) {
    SCOPED_TRACE("a list of " + std::to_string(size));
    std::string file;
    for (int i = 0; i < size; ++i) {
      if (random() % 8 == 0) {
        file += hotkeys[random() % hotkeys.size()] + "h\r\n";
        continue;
      }
      std::string trigger;
      for (int n = 1 + int(random() % 7); n > 0; --n) trigger += pieces[random() % pieces.size()];
      file += trigger + "=o\r\n";
    }
    int count = Load(file);
    ASSERT_GT(count, size / 2);
    for (int round = 0; round < 3000; ++round) {
      std::string history;
      if (random() % 2) history = Stored(int(random() % unsigned(count)));
      for (int n = int(random() % 5); n > 0; --n) history += pieces[random() % pieces.size()];
      SetHistory(history);
      const uint8_t keys[] = {'A', 'B', 'C', 0x74, 0x0D, 'X'};
      uint8_t key = keys[random() % sizeof keys];
      gWatcher.previousKeyState[kVkControl] = random() % 2;
      gWatcher.previousKeyState[kVkShift] = random() % 2;
      gWatcher.previousKeyState[kVkAlt] = random() % 2;
      int plain = PlainWalk(key);
      ASSERT_EQ(FindMatchingTrigger(key), plain) << "history \"" << history << "\", key " << int(key);
      ++comparisons;
      matches += plain >= 0;
      hotkeyMatches += plain >= 0 && TriggerFlags(plain) != 0;
    }
  }
  EXPECT_GT(matches, comparisons / 3) << "the histories found triggers often";
  EXPECT_GT(hotkeyMatches, 100);
}

TEST_F(LoaderTest, ACrowdedIndexKeyStillFindsEveryEntry) {
  ASSERT_EQ(Load(NumberedLines(3000)), 3000);
  for (int i : {0, 1, 999, 1500, 2998, 2999}) {
    std::string written = "n" + std::to_string(i) + "x";
    SetHistory(std::string(written.rbegin(), written.rend()) + "zz");
    EXPECT_EQ(FindMatchingTrigger('X'), i);
  }
  SetHistory("x3000n");
  EXPECT_EQ(FindMatchingTrigger('X'), -1);
  SetHistory("x03n");  // "n30x" is there; "n30" is not a whole trigger, nor "0x" a line of its own
  EXPECT_EQ(FindMatchingTrigger('X'), 30);
}

class FirstLineWinsTest : public WatcherTest {
 protected:
  std::string Fire(const std::string& triggers, const std::string& typed) {
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    EXPECT_GT(Load(triggers), 0);
    outputs_.clear();
    Type(typed);
    return outputs_.empty() ? "<none>" : outputs_.back();
  }
};

TEST_F(FirstLineWinsTest, AcrossAbbreviationsAndHotkeys) {
  // Shift+Q both completes the abbreviation "Q" and presses the hotkey {shift}q.
  EXPECT_EQ(Fire("Q=abbreviation\r\n{shift}q=hotkey\r\n", "Q"), "abbreviation");
  EXPECT_EQ(Fire("{shift}q=hotkey\r\nQ=abbreviation\r\n", "Q"), "hotkey");
  EXPECT_EQ(Fire("aQ=long\r\n{shift}q=hotkey\r\nQ=short\r\n", "aQ"), "long");
  EXPECT_EQ(Fire("Q=short\r\naQ=long\r\n", "aQ"), "short") << "a shorter abbreviation first in the file wins";
}

TEST_F(FirstLineWinsTest, InALargeFileTheFirstOfTwoEqualLinesFires) {
  std::string lines = NumberedLines(4000) + "n17x=the second n17x\r\n";
  EXPECT_EQ(Fire(lines, "n17x"), "out17");
  EXPECT_EQ(Fire(lines, "n3999x"), "out3999") << "the last line of a large file fires";
  EXPECT_EQ(Fire("teh=second\r\n" + lines + "teh=third\r\n", "teh"), "second");
}

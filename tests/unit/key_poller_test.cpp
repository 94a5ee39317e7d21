// The key poller through scripted key-state timelines: what each pressed key records in the
// typed history, and the rule that lets the poller skip its scan while nobody types.
#include <random>
#include <string>
#include <vector>

#include "tests/unit/watcher_fixture.h"

const int kVkLeft = 0x25, kVkF1 = 0x70, kVkSlash = 0xBF, kVkLeftControl = 0xA2;

using KeyPollerTest = WatcherTest;

TEST_F(KeyPollerTest, HeldKeyRecordsOnceAndAShortPressNotAtAll) {
  SetKey('A', true);
  for (int i = 0; i < 20; ++i) Tick();  // held for 200 ms: auto-repeat adds nothing
  SetKey('A', false);
  Tick();
  SetKey('B', true);
  SetKey('B', false);  // pressed and released between two looks
  Tick();
  EXPECT_EQ(History(2), std::string("a\0", 2));
}

TEST_F(KeyPollerTest, TwoKeysDownInOneTickGoInKeyCodeOrder) {
  SetKey('W', true);
  SetKey('B', true);
  Tick();
  EXPECT_EQ(History(1), "b") << "the scan stops at the lower code";
  Tick();
  EXPECT_EQ(History(2), "wb");
}

TEST_F(KeyPollerTest, LetterCaseFromShiftAndCapsLock) {
  Press('A');
  PressWith({kVkShift}, 'A');
  gFake.threadKeyState[kVkCapsLock] = 1;  // toggled on
  Press('A');
  PressWith({kVkShift}, 'A');
  EXPECT_EQ(History(4), "aAAa");
}

TEST_F(KeyPollerTest, ShiftWithDigitsPunctuationAndKeysWithoutCharacters) {
  PressWith({kVkShift}, '1');
  PressWith({kVkShift}, kVkSlash);
  PressWith({kVkShift}, ' ');
  PressWith({kVkShift}, kVkF1);
  PressWith({kVkShift}, kVkMiddleButton);
  Press(kVkMiddleButton);
  Press('1');
  EXPECT_EQ(History(7), std::string("1\4\0\0 ?!", 7));
}

TEST_F(KeyPollerTest, ShortcutsTypeNothing) {
  Type("bt");
  PressWith({kVkControl, kVkLeftControl}, 'W');
  PressWith({kVkAlt}, 'W');
  EXPECT_EQ(History(4), std::string("\0\0tb", 4));
}

TEST_F(KeyPollerTest, KeysThatTypeNothingAndClicksSeparate) {
  Type("bt");
  Press(kVkLeft);
  Type("w");
  EXPECT_EQ(History(4), std::string("w\0tb", 4));
  Type("bt");
  Press(kVkLeftButton);
  Type("w");
  EXPECT_EQ(History(3), std::string("w\0b", 3)) << "the click replaced the t";
  Press(kVkRightButton);
  EXPECT_EQ(History(3), std::string("\0\0b", 3));
}

TEST_F(KeyPollerTest, BackspaceTakesBackTheNewestByte) {
  Type("btx");
  Press(kVkBackspace);
  Type("w");
  EXPECT_EQ(History(4), std::string("wtb\0", 4));
  for (int i = 0; i < 70; ++i) Press(kVkBackspace);
  EXPECT_EQ(History(kHistorySize), std::string(kHistorySize, '\0'));
}

TEST_F(KeyPollerTest, HistoryKeepsTheNewestCharactersAndEndsInZero) {
  std::string typed;
  for (int i = 0; i < 70; ++i) typed += char('a' + i % 26);
  Type(typed);
  std::string newestFirst(typed.rbegin(), typed.rbegin() + kHistoryChars);
  EXPECT_EQ(History(kHistoryChars), newestFirst);
  EXPECT_EQ(gWatcher.typedHistory[kHistoryChars], 0);
  Press(kVkBackspace);
  EXPECT_EQ(gWatcher.typedHistory[kHistoryChars - 1], 0) << "the ending zero moved up";
  EXPECT_EQ(gWatcher.typedHistory[kHistoryChars], 0);
}

TEST_F(KeyPollerTest, ModifiersAloneRecordNothingButAreRemembered) {
  for (int vk : {int(kVkShift), int(kVkControl), int(kVkAlt), 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}) Press(vk);
  EXPECT_EQ(History(1), std::string(1, '\0'));
  SetKey(kVkShift, true);
  Tick();
  EXPECT_EQ(gWatcher.previousKeyState[kVkShift], 1);
  Press('Q');
  EXPECT_EQ(History(1), "Q");
}

TEST_F(KeyPollerTest, TheSentinelThatEndsSentKeysRecordsNothing) {
  // The player's wait for sent keys ends with a press of F24, which the poller may still see
  // after the output: it must neither become a character nor cut the history.
  Type("bt");
  Press(kVkSentinel);
  Type("w");
  EXPECT_EQ(History(3), "wtb");
}

TEST_F(KeyPollerTest, ATickThatScansStopsAndRestartsItsTimer) {
  Type("ab");
  SetKey(kVkShift, true);
  Tick();
  for (const FakeEvent& e : gFake.events) ASSERT_EQ(e.a, kPollTimerId);
  std::vector<FakeEvent> starts = FakeEventsOf(kFakeTimerStart), stops = FakeEventsOf(kFakeTimerStop);
  ASSERT_EQ(starts.size(), 5u);
  ASSERT_EQ(stops.size(), 5u);
  EXPECT_EQ(starts.back().b, kPollPeriodMs);
  EXPECT_EQ(gFake.events.front().kind, kFakeTimerStop) << "the tick first stops its timer";
}

TEST_F(KeyPollerTest, UnshiftedKeysRecordTheirLayoutCharacter) {
  // Any key that is no letter, no modifier, no button and no Backspace records what the layout
  // gives it without Shift.
  for (int vk = 0x05; vk < 255; ++vk) {
    if ((vk >= 'A' && vk <= 'Z') || vk == kVkBackspace || (vk >= kVkShift && vk <= kVkAlt) || (vk >= 0xA0 && vk <= 0xA5)) {
      continue;
    }
    Press(vk);
    ASSERT_EQ(gWatcher.typedHistory[0], uint8_t(PlatformMapVirtualKey(uint32_t(vk), 2))) << "key " << vk;
  }
}

// ---- the idle rule ---------------------------------------------------------------------------

// A key event of a scripted timeline, in tenths of a millisecond so that an event can fall
// between two looks within the same millisecond. Its key state shows `lag` later.
struct TimedKeyEvent {
  uint64_t at;
  int vk;
  bool down;
  uint32_t lag;
};
const uint64_t kUnitsPerMs = 10;

// What the poller saw after each tick.
struct Look {
  std::string keys, history;
  bool operator==(const Look& other) const { return keys == other.keys && history == other.history; }
};

// Runs the poller over a timeline with ticks at `ticks` (milliseconds). With `fullScans` the
// last-input time is unavailable, so the poller scans on every tick: the reference.
static std::vector<Look> RunTimeline(const std::vector<TimedKeyEvent>& events, const std::vector<uint32_t>& ticks,
                                     bool fullScans, int* queries) {
  FakeReset();
  memset(&gWatcher, 0, sizeof gWatcher);
  gFake.hasLastInputTick = !fullScans;
  std::vector<Look> looks;
  for (uint32_t now : ticks) {
    uint64_t nowUnits = uint64_t(now - ticks.front()) * kUnitsPerMs;
    memset(gFake.asyncKeyState, 0, sizeof gFake.asyncKeyState);
    bool anyInput = false;
    for (const TimedKeyEvent& e : events) {
      if (e.at + e.lag * kUnitsPerMs <= nowUnits) gFake.asyncKeyState[e.vk] = e.down ? kDown : 0;
      if (e.at <= nowUnits) {
        gFake.lastInputTick = ticks.front() + uint32_t(e.at / kUnitsPerMs);
        anyInput = true;
      }
    }
    if (!anyInput) gFake.lastInputTick = ticks.front() - 5000;
    gFake.tickCount = now;
    PollKeys();
    looks.push_back(Look{std::string(reinterpret_cast<char*>(gWatcher.previousKeyState), 255),
                         std::string(reinterpret_cast<char*>(gWatcher.typedHistory), kHistorySize)});
  }
  *queries = gFake.asyncKeyQueries;
  return looks;
}

static void ExpectSameAsFullScans(const std::vector<TimedKeyEvent>& events, const std::vector<uint32_t>& ticks,
                                  int* savedQueries = nullptr) {
  int fullQueries = 0, idleQueries = 0;
  std::vector<Look> reference = RunTimeline(events, ticks, true, &fullQueries);
  std::vector<Look> idle = RunTimeline(events, ticks, false, &idleQueries);
  ASSERT_EQ(reference.size(), idle.size());
  for (size_t i = 0; i < idle.size(); ++i) {
    ASSERT_TRUE(idle[i] == reference[i]) << "the poller saw something else at tick " << i << " (" << ticks[i] << " ms)";
  }
  if (savedQueries) *savedQueries = fullQueries - idleQueries;
}

static std::vector<uint32_t> TicksEvery(uint32_t first, uint32_t period, int count) {
  std::vector<uint32_t> ticks;
  for (int i = 0; i < count; ++i) ticks.push_back(first + uint32_t(i) * period);
  return ticks;
}

TEST(KeyPollerIdleRule, LaggingKeyStatesAreRecordedAsByAScanOnEveryTick) {
  // Each key shows down 57 ms after its event, much later than the tick after the event.
  std::vector<TimedKeyEvent> events = {
      {24450, 'B', true, 46}, {25250, 'B', false, 57}, {26140, 'T', true, 57}, {26900, 'T', false, 57},
      {27820, 'W', true, 50}, {28600, 'W', false, 57},
  };
  int saved = 0;
  ExpectSameAsFullScans(events, TicksEvery(1000, 10, 600), &saved);
  EXPECT_GT(saved, 255 * 300) << "idle ticks made no scan";
}

TEST_F(KeyPollerTest, AScanThatStopsEarlyIsFollowedByAnotherOneWhateverTheInputTime) {
  Type("a");
  for (int i = 0; i < 100; ++i) Tick();  // settled
  // Two keys show down with no input event to announce them: the scan of once a second finds
  // the lower one and stops there; the very next tick must look on.
  gFake.asyncKeyState['W'] = kDown;
  gFake.asyncKeyState['B'] = kDown;
  int ticks = 0;
  while (gWatcher.typedHistory[0] != 'b' && ticks < 200) {
    Tick();
    ++ticks;
  }
  ASSERT_LT(ticks, 101) << "found within a second";
  Tick();
  EXPECT_EQ(History(3), "wba");
}

TEST(KeyPollerIdleRule, AnEventInTheSameMillisecondAsThePreviousLook) {
  // Ticks fall on whole milliseconds; these events come half a millisecond after a look and are
  // reported with that look's own millisecond, twice in a row.
  std::vector<TimedKeyEvent> events = {{20005, 'A', true, 57}, {20005, 'A', false, 80}, {30005, 'C', true, 57},
                                       {30005, 'C', false, 120}};
  ExpectSameAsFullScans(events, TicksEvery(7000, 10, 500));
}

TEST(KeyPollerIdleRule, TheTickCountWrapsAround) {
  std::vector<TimedKeyEvent> events = {{12000, 'A', true, 40}, {12900, 'A', false, 40}, {40000, 'B', true, 57},
                                       {40800, 'B', false, 57}};
  std::vector<uint32_t> ticks = TicksEvery(0xFFFFFFFFu - 3500, 10, 700);  // wraps after 3.5 s
  int saved = 0;
  ExpectSameAsFullScans(events, ticks, &saved);
  EXPECT_GT(saved, 255 * 400);
}

TEST(KeyPollerIdleRule, RandomTypingWithLagsAndUnevenTicks) {
  std::mt19937 random(7771);
  const int keys[] = {'A', 'B', 'Q', kVkShift, kVkControl, kVkBackspace, kVkLeftButton, ' ', '1', kVkSlash};
  for (int round = 0; round < 20; ++round) {
    std::vector<TimedKeyEvent> events;
    uint64_t at = 1000;
    for (int n = 0; n < 40; ++n) {
      at += 10 + random() % (random() % 4 == 0 ? 30000 : 1500);  // now and then an idle spell
      int vk = keys[random() % (sizeof keys / sizeof keys[0])];
      uint64_t hold = 10 + random() % 1200;  // from too short to be seen to well held
      events.push_back({at, vk, true, uint32_t(random() % 58)});
      events.push_back({at + hold, vk, false, uint32_t(random() % 58)});
    }
    std::vector<uint32_t> ticks;
    for (uint32_t t = 500; t < at / kUnitsPerMs + 2000; t += 10 + random() % 7) ticks.push_back(t);
    SCOPED_TRACE("round " + std::to_string(round));
    ExpectSameAsFullScans(events, ticks);
  }
}

TEST(KeyPollerIdleRule, IdleTicksCostOneScanASecond) {
  std::vector<TimedKeyEvent> events = {{1000, 'A', true, 10}, {2000, 'A', false, 10}};
  int queries = 0;
  std::vector<uint32_t> ticks = TicksEvery(1000, 10, 1000);  // 10 s, the key in the first 200 ms
  RunTimeline(events, ticks, false, &queries);
  EXPECT_LE(queries, 255 * (50 + 12)) << "scans only while input settles and once a second";
  EXPECT_GE(queries, 255 * 9) << "still looks at least once a second";
}

TEST_F(KeyPollerTest, ALoadMakesTheNextTickScan) {
  Type("a");
  for (int i = 0; i < 100; ++i) Tick();  // settled: ticks skip the scan
  int before = gFake.asyncKeyQueries;
  size_t events = gFake.events.size();
  Tick();
  EXPECT_EQ(gFake.asyncKeyQueries, before);
  EXPECT_EQ(gFake.events.size(), events) << "an idle tick leaves the running timer alone";
  gFake.asyncKeyState[kVkControl] = kDown;  // held through a save, with no input event since
  Load("ab=x\n");
  Tick();
  EXPECT_EQ(gWatcher.previousKeyState[kVkControl], 1) << "the held key is seen at once after the reset";
}

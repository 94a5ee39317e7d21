// The fault sweep: each operation runs once for every seam call it makes, with exactly that call
// failing, until a run makes no call that fails. Every run must end sound: no file or heap block
// left open, the trigger file on disk and the editor's text never lost, a report where the
// program gives one, and the key poller running again.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>

#include "app/autostart.h"
#include "app/clipboard_clean.h"
#include "app/help_file.h"
#include "app/trigger_open.h"
#include "app/trigger_save.h"
#include "resources/resource_ids.h"
#include "tools/pack_text.h"
#include "common/heap.h"
#include "common/state.h"
#include "forms/field_form.h"
#include "picklist/pick_list.h"
#include "player/output_player.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/loader_fixture.h"
#include "watcher/expansion.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"

namespace {

const char kTriggerText[] = "; mine\r\nbtw=by the way\r\nme=I am %USERNAME%{Enter}\r\nlst=LIST: a;notepad\r\n";
const char kNewText[] = "; edited\r\nbtw=by the way, really\r\n";
// No operation here makes more seam calls than this; a sweep that does not end is a fault.
const int kMostCalls = 2000;

bool Started(uint32_t timer) {
  for (const FakeEvent& e : gFake.events) {
    if (e.kind == kFakeTimerStart && e.a == timer) return true;
  }
  return false;
}

class FaultSweepTest : public LoaderTest {
 protected:
  void SetUp() override {
    LoaderTest::SetUp();
    gPlayer = PlayerState();
    gPickList = PickListState();
    path_ = Write("triggers.txt", kTriggerText);
    snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path_.c_str());
    snprintf(gShell.settingsPath, sizeof gShell.settingsPath, "%s", PathOf("WordHatch.ini").c_str());
  }

  // Runs `prepare` (never failing), then `operation` with call N failing, then `check`, for N
  // from 1 until the operation runs clean. Returns the number of failing runs.
  int Sweep(std::function<void()> prepare, std::function<void()> operation, std::function<void()> check) {
    for (int n = 1; n <= kMostCalls; ++n) {
      SCOPED_TRACE("call " + std::to_string(n) + " fails");
      gFake.failCallAt = 0;
      gFake.events.clear();
      gFake.editorText.clear();
      gFake.statusText.clear();
      prepare();
      gFake.fallibleCalls = 0;
      gFake.failCallAt = n;
      operation();
      bool ranClean = gFake.fallibleCalls < n;
      gFake.failCallAt = 0;
      check();
      EXPECT_EQ(gFake.openFiles, 0);
      ReleaseAll();
      EXPECT_EQ(gFake.liveHeapBlocks, 0) << "every heap block is released";
      if (ranClean || HasFailure()) return n - 1;
    }
    ADD_FAILURE() << "the operation never ran clean";
    return kMostCalls;
  }

  void ReleaseAll() {
    ReleaseTriggerTable();
    FreeAndForget(gPlayer.outputBuffer);
    ReleasePickList();
    Write("triggers.txt", kTriggerText);
  }

  void LoadClean() {
    gFake.failCallAt = 0;
    LoadTriggerFile(path_.c_str());
  }

  // Plays the output handed over, tick by tick, to its end.
  static void PlayToEnd() {
    for (int tick = 0; tick < 100 && Started(kPlayTimerId); ++tick) {
      gFake.events.clear();
      if (PlayOutputTick()) ResumeKeyWatch();
    }
  }

  std::string path_;
};

TEST_F(FaultSweepTest, LoadNeverLosesTheFileAndShowsWhatItLoaded) {
  int failing = Sweep([] {}, [&] { LoadTriggerFile(path_.c_str()); }, [&] {
    EXPECT_EQ(Read(path_), kTriggerText) << "the user's file on disk is never replaced";
    EXPECT_FALSE(gFake.statusText.empty()) << "the load always reports";
    // The editor shows the file's text or keeps what it showed (nothing here), never a part of
    // the file that a save would then write as the whole.
    EXPECT_TRUE(gFake.editorText.empty() || gFake.editorText == kTriggerText) << gFake.editorText;
  });
  EXPECT_GT(failing, 5);
}

TEST_F(FaultSweepTest, MissingFileIsMadeFromTheDefaultTextOrReported) {
  std::string missing = PathOf("new.txt");
  int failing = Sweep([&] { remove(missing.c_str()); }, [&] { LoadTriggerFile(missing.c_str()); }, [&] {
    EXPECT_FALSE(gFake.statusText.empty());
    EXPECT_TRUE(gFake.editorText.empty() || gFake.editorText == Read(missing));
  });
  EXPECT_GT(failing, 5);
}

// Every failure while included files load leaves nothing open, and the load names what it missed.
TEST_F(FaultSweepTest, IncludedFilesLoadOrAreNamed) {
  gFake.environment["HERE"] = folder_;
  Write("team.txt", Utf16LeFile("ty=thank you\r\n"));
  std::string main = Write("main.txt", "btw=x\r\n{include %HERE%/team.txt}\r\n");
  int failing = Sweep([] {}, [&] { LoadTriggerFile(main.c_str()); }, [&] {
    bool named = gFake.statusText.find("team.txt") != std::string::npos;
    EXPECT_TRUE(TriggerCount() == 2 || named || gTriggers.outOfMemory || gTriggers.loadFailed) << gFake.statusText;
  });
  EXPECT_GT(failing, 5);
}

// A load that cannot read the file keeps the triggers and the text from before, and leaves the
// state that makes a save ask first and the shell try again.
TEST_F(FaultSweepTest, ReloadKeepsWhatItCannotReplace) {
  int failing = Sweep([&] { LoadClean(); }, [&] { LoadTriggerFile(path_.c_str()); }, [&] {
    EXPECT_EQ(gFake.editorText, kTriggerText);
    EXPECT_TRUE(TriggerCount() == 3 || gTriggers.outOfMemory) << TriggerCount();
    EXPECT_EQ(gTriggers.loadFailed, gTriggers.fileShortfall == kShortfallUnread);
    if (gTriggers.loadFailed) {
      EXPECT_EQ(TriggerCount(), 3) << "the table from before stays whole";
    }
  });
  EXPECT_GT(failing, 5);
}

TEST_F(FaultSweepTest, OpenShowsTheNewFileOrKeepsTheOldAndResumesThePoller) {
  std::string other = Write("other.txt", "; other\r\nomw=on my way\r\n");
  int failing = Sweep([&] {
    LoadClean();  // the editor shows the first file
  }, [&] { OpenTriggerFile(other.c_str()); }, [&] {
    // Never the old file's text under the new name.
    if (std::string(gShell.triggerPath) == other) {
      EXPECT_TRUE(gFake.editorText.empty() || gFake.editorText == Read(other)) << gFake.editorText;
    } else {
      EXPECT_EQ(gFake.editorText, kTriggerText);
    }
    EXPECT_EQ(Read(path_), kTriggerText);
    EXPECT_EQ(Read(other), "; other\r\nomw=on my way\r\n");
    EXPECT_TRUE(Started(kPollTimerId) || FakeEventsOf(kFakeTimerStop).empty()) << "the poller runs";
    snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path_.c_str());
  });
  EXPECT_GT(failing, 5);
}

TEST_F(FaultSweepTest, SaveLeavesTheOldFileOrTheNewOneAndReloads) {
  int failing = Sweep([] {}, [&] {
    if (SaveTextAsFile(path_.c_str(), kNewText, uint32_t(strlen(kNewText)))) LoadTriggerFile(path_.c_str());
  }, [&] {
    std::string disk = Read(path_);
    EXPECT_TRUE(disk == kTriggerText || disk == kNewText) << disk;
    EXPECT_FALSE(Exists(path_ + ".saving")) << "no temporary file is left behind";
  });
  EXPECT_GT(failing, 5);
}

TEST_F(FaultSweepTest, ExpansionAlwaysHandsTheKeyboardBack) {
  gFake.environment["USERNAME"] = "ann";
  int entry = -1;
  int failing = Sweep([&] {
    LoadClean();
    entry = 1;  // "me", read again from disk and expanded
  }, [&] {
    StartExpansion(entry, 'E');
    PlayToEnd();
  }, [&] {
    EXPECT_TRUE(Started(kPollTimerId)) << "the key poller runs again";
    EXPECT_EQ(gPlayer.outputBuffer, nullptr);
    EXPECT_EQ(Read(path_), kTriggerText);
  });
  EXPECT_GT(failing, 3);
}

// An output with fields: the form opened (or not), answered and played. The keyboard comes back
// and every block of the fields is released.
TEST_F(FaultSweepTest, FormAnsweredAndPlayedHandsTheKeyboardBack) {
  int failing = Sweep([&] {
    Write("triggers.txt", "ty=Dear {Input Name}, {Choice Sign} {Choice End=a|b}\r\n");
    LoadClean();
  }, [&] {
    StartExpansion(0, 'Y');
    SetFieldAnswer(0, "Ann");
    PlayAcceptedForm();
    PlayToEnd();
  }, [&] {
    EXPECT_TRUE(Started(kPollTimerId)) << "the key poller runs again";
    EXPECT_EQ(gPlayer.outputBuffer, nullptr);
    ReleaseFieldForm();
  });
  EXPECT_GT(failing, 3);
}

TEST_F(FaultSweepTest, PickListOpenAndChoiceLeaveWatchingAsItWas) {
  int failing = Sweep([] {}, [&] {
    OpenPickList("a;notepad{Enter}");
    ChoosePickListItem(1);
    OnPickListClosed(ListPlacement{1, 2, 300, 200});
  }, [&] {
    EXPECT_FALSE(gWatcher.suspended);
    EXPECT_TRUE(FakeEventsOf(kFakeTimerStop).empty()) << "the poller was never stopped";
  });
  EXPECT_GT(failing, 3);
}

TEST_F(FaultSweepTest, HelpIsShownWholeOrReported) {
  const std::string help = "WordHatch help\r\n" + std::string(3000, 'h') + "\r\n";
  gFake.resources[IDR_HELP_TEXT] = PackText(help) + '\0';
  gFake.startableFiles = {"notepad.exe"};
  std::string path = PathOf("WordHatch README.txt");
  HelpResult result = kHelpShown;
  int failing = Sweep([&] { Write("WordHatch README.txt", std::string(5000, 's')); }, [&] {
    char command[kHelpCommandSize];
    result = ShowHelpFile(path.c_str(), command);
  }, [&] {
    bool asked = !FakeEventsOf(kFakeShellExecute).empty();
    // Notepad is only ever asked to show the whole, fresh help text.
    EXPECT_TRUE(!asked || Read(path) == help);
    EXPECT_EQ(asked, result != kHelpNotWritten);
  });
  EXPECT_GT(failing, 3);
}

TEST_F(FaultSweepTest, AutoStartCheckMarkNeverClaimsAValueThatIsNotThere) {
  gFake.modulePath = "C:\\Program Files\\WordHatch\\WordHatch.exe";
  int failing = Sweep([] {}, [] { OnAutoStartCommand(); }, [] {
    EXPECT_EQ(gFake.openRegistryKeys, 0);
    EXPECT_TRUE(!gFake.menuChecks[IDM_OPT_AUTOSTART] || IsAutoStartSet());
    gFake.registry.clear();
    gFake.menuChecks.clear();
  });
  EXPECT_GT(failing, 1);
}

TEST_F(FaultSweepTest, ClipboardIsLeftAsItWasOrHoldsTheSameTextAlone) {
  const uint32_t kHtmlFormat = 49350;
  int failing = Sweep([&] {
    gFake.clipboard = {{1, std::string("copied text") + '\0'}, {kHtmlFormat, "<b>copied</b> text"}};
  }, [] { CleanClipboard(); }, [&] {
    EXPECT_EQ(gFake.clipboardOpens, 0);
    EXPECT_EQ(gFake.clipboardLocks, 0);
    ASSERT_TRUE(gFake.clipboard.count(1)) << "the text is never lost";
    EXPECT_EQ(gFake.clipboard[1], std::string("copied text") + '\0');
    EXPECT_TRUE(gFake.clipboard.size() == 1 || gFake.clipboard.count(kHtmlFormat));
  });
  EXPECT_GT(failing, 1);
}

}  // namespace

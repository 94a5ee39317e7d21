// Remove Clipboard Formatting through the fake clipboard: the text alone stays, and every way
// it can fail leaves the clipboard as it was.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/clipboard_clean.h"
#include "tests/unit/fake_platform.h"

const uint32_t kText = 1, kHtml = 49300, kUnicode = 13, kBitmap = 2;

class ClipboardCleanTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeReset(); }
  void TearDown() override {
    EXPECT_EQ(gFake.clipboardOpens, 0) << "every opening is closed";
    EXPECT_EQ(gFake.clipboardLocks, 0) << "every lock is undone";
  }
  static void Formatted() {
    gFake.clipboard = {{kText, std::string("Hello\0", 6)}, {kHtml, "<b>Hello</b>"}, {kUnicode, "H\0e\0"}};
  }
};

TEST_F(ClipboardCleanTest, OnlyThePlainTextStays) {
  Formatted();
  EXPECT_TRUE(CleanClipboard());
  std::map<uint32_t, std::string> expected = {{kText, std::string("Hello\0", 6)}};
  EXPECT_EQ(gFake.clipboard, expected);
}

TEST_F(ClipboardCleanTest, TextEndsAtItsFirstNulOrItsBlock) {
  gFake.clipboard = {{kText, std::string("ab\0cd", 5)}};
  EXPECT_TRUE(CleanClipboard());
  EXPECT_EQ(gFake.clipboard[kText], std::string("ab\0", 3));
  gFake.clipboard = {{kText, std::string(5000, 'q')}};  // no NUL at all
  EXPECT_TRUE(CleanClipboard());
  EXPECT_EQ(gFake.clipboard[kText], std::string(5000, 'q') + '\0');
}

TEST_F(ClipboardCleanTest, EveryFailureLeavesTheClipboardAsItWas) {
  struct Case {
    const char* what;
    void (*arrange)();
  };
  const Case cases[] = {
      {"no text, only a picture", [] { gFake.clipboard = {{kBitmap, "pixels"}}; }},
      {"held open by another program", [] { Formatted(); gFake.clipboardBusy = true; }},
      {"text that cannot be locked", [] { Formatted(); gFake.failClipboardLock = true; }},
      {"no memory for the private copy", [] { Formatted(); gFake.failHeapAllocAt = 1; }},
      {"no memory for the new block", [] { Formatted(); gFake.failClipboardMemory = true; }},
  };
  for (const Case& c : cases) {
    FakeReset();
    c.arrange();
    std::map<uint32_t, std::string> before = gFake.clipboard;
    EXPECT_FALSE(CleanClipboard()) << c.what;
    EXPECT_EQ(gFake.clipboard, before) << c.what;
    EXPECT_EQ(gFake.clipboardOpens, 0) << c.what;
    EXPECT_EQ(gFake.clipboardLocks, 0) << c.what;
  }
}

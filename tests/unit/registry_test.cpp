// The registry helpers' handling of their arguments through the recording fake, and the
// auto-start command built on them.
#include <string>
#include <vector>

#include "app/autostart.h"
#include "app/registry_helpers.h"
#include "resources/resource_ids.h"
#include "tests/unit/shell_fixture.h"

const char kKey[] = "Software\\Test";
const std::string kStoreKey = "HKCU\\Software\\Test";

class RegistryTest : public ShellTest {
 protected:
  static void StoreValue(const std::string& key, const std::string& name, const std::string& bytes) {
    gFake.registry[key][name] = FakePlatform::RegistryValue{1, bytes};
  }
  static std::string ValueOf(const std::string& key, const std::string& name) {
    auto values = gFake.registry.find(key);
    if (values == gFake.registry.end() || !values->second.count(name)) return "<absent>";
    return values->second.at(name).data;
  }
};

TEST_F(RegistryTest, ReadingAsksForQueryAccessUnderTheCurrentUserByDefault) {
  StoreValue(kStoreKey, "v", std::string("abc\0", 4));
  char out[kRegistryTextMin] = "old";
  EXPECT_TRUE(RegReadString(kRegistryNoRoot, kKey, "v", out, sizeof out));
  EXPECT_STREQ(out, "abc");
  std::vector<std::string> calls = FakeRegistryCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], "open " + kStoreKey + " query");
  EXPECT_EQ(calls[1], "query v 254") << "one byte stays back for a NUL";
  EXPECT_EQ(gFake.openRegistryKeys, 0);
}

TEST_F(RegistryTest, ReadingFailuresLeaveTheBufferAloneOrEmpty) {
  char out[kRegistryTextMin] = "old";
  EXPECT_FALSE(RegReadString(kRegistryCurrentUser, kKey, "v", out, sizeof out));
  EXPECT_STREQ(out, "old") << "a key that cannot be opened leaves the buffer as it was";
  gFake.registry[kStoreKey];
  EXPECT_FALSE(RegReadString(kRegistryCurrentUser, kKey, "v", out, sizeof out));
  EXPECT_STREQ(out, "") << "a missing value empties it";
  StoreValue(kStoreKey, "v", std::string(300, 'x'));
  strcpy(out, "old");
  EXPECT_FALSE(RegReadString(kRegistryCurrentUser, kKey, "v", out, sizeof out));
  EXPECT_STREQ(out, "") << "data that does not fit is not half-read";
  EXPECT_EQ(gFake.openRegistryKeys, 0);
}

TEST_F(RegistryTest, DataStoredWithoutItsNulStillReadsAsText) {
  StoreValue(kStoreKey, "v", std::string(kRegistryTextMin - 1, 'y'));
  char out[kRegistryTextMin];
  memset(out, 'z', sizeof out);
  ASSERT_TRUE(RegReadString(kRegistryCurrentUser, kKey, "v", out, sizeof out));
  EXPECT_EQ(strlen(out), kRegistryTextMin - 1);
}

TEST_F(RegistryTest, WritingCountsTheNulAndCreatesAMissingKey) {
  RegWriteString(kRegistryNoRoot, kKey, "v", "C:\\a.exe");
  EXPECT_EQ(ValueOf(kStoreKey, "v"), std::string("C:\\a.exe\0", 9));
  EXPECT_EQ(gFake.registry[kStoreKey]["v"].type, 2u) << "REG_EXPAND_SZ";
  std::vector<std::string> calls = FakeRegistryCalls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0], "open " + kStoreKey + " all");
  EXPECT_EQ(calls[1], "create " + kStoreKey);
  EXPECT_EQ(calls[2], "set v 9");
  gFake.events.clear();
  RegWriteString(kRegistryCurrentUser, kKey, "w", nullptr);
  EXPECT_EQ(ValueOf(kStoreKey, "w"), std::string(1, '\0')) << "an absent text is written empty";
  EXPECT_EQ(FakeRegistryCalls()[1], "set w 1") << "the key exists now: no create";
  EXPECT_EQ(gFake.openRegistryKeys, 0);
}

TEST_F(RegistryTest, AKeyThatCannotBeCreatedGetsNothingWritten) {
  gFake.failRegistryCreate = true;
  RegWriteString(kRegistryCurrentUser, kKey, "v", "x");
  for (const std::string& call : FakeRegistryCalls()) EXPECT_NE(call.rfind("set", 0), 0u) << call;
  EXPECT_EQ(gFake.openRegistryKeys, 0);
}

TEST_F(RegistryTest, DeletingRemovesTheValueAndASubkeyOfItsName) {
  StoreValue(kStoreKey, "v", "a");
  StoreValue(kStoreKey, "other", "b");
  gFake.registry[kStoreKey + "\\v"];
  RegDeleteEntry(kRegistryNoRoot, kKey, "v");
  EXPECT_EQ(ValueOf(kStoreKey, "v"), "<absent>");
  EXPECT_EQ(ValueOf(kStoreKey, "other"), "b");
  EXPECT_EQ(gFake.registry.count(kStoreKey + "\\v"), 0u);
  EXPECT_EQ(FakeRegistryCalls()[0], "open " + kStoreKey + " readwrite");
  gFake.events.clear();
  RegDeleteEntry(kRegistryCurrentUser, "Software\\Missing", "v");
  EXPECT_EQ(FakeRegistryCalls(), std::vector<std::string>{"open HKCU\\Software\\Missing readwrite"});
  EXPECT_EQ(gFake.openRegistryKeys, 0);
}

// ---- auto-start ------------------------------------------------------------------------------

const std::string kRunStoreKey = "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST_F(RegistryTest, AutoStartTurnsOnAndOffAndTheMarkShowsTheRegistry) {
  gFake.modulePath = "C:\\Tools\\WordHatch.exe";
  OnAutoStartCommand();
  EXPECT_EQ(ValueOf(kRunStoreKey, "WordHatch"), std::string("C:\\Tools\\WordHatch.exe\0", 23));
  EXPECT_TRUE(gFake.menuChecks[IDM_OPT_AUTOSTART]);
  EXPECT_TRUE(IsAutoStartSet());
  OnAutoStartCommand();
  EXPECT_EQ(ValueOf(kRunStoreKey, "WordHatch"), "<absent>");
  EXPECT_FALSE(gFake.menuChecks[IDM_OPT_AUTOSTART]);
  EXPECT_FALSE(IsAutoStartSet());
}

TEST_F(RegistryTest, AFailedAutoStartWriteLeavesTheItemUnchecked) {
  gFake.failRegistrySet = true;
  OnAutoStartCommand();
  EXPECT_FALSE(gFake.menuChecks[IDM_OPT_AUTOSTART]);
}

TEST_F(RegistryTest, AnEmptyRunValueIsNotAutoStart) {
  StoreValue(kRunStoreKey, "WordHatch", std::string(1, '\0'));
  EXPECT_FALSE(IsAutoStartSet());
}

TEST_F(RegistryTest, TheRunCommandQuotesAPathWithBlanks) {
  char out[300];
  ASSERT_TRUE(MakeAutoStartCommand("C:\\Program Files\\WordHatch.exe", out, sizeof out));
  EXPECT_STREQ(out, "\"C:\\Program Files\\WordHatch.exe\"");
  ASSERT_TRUE(MakeAutoStartCommand("C:\\WordHatch.exe", out, sizeof out));
  EXPECT_STREQ(out, "C:\\WordHatch.exe");
  EXPECT_FALSE(MakeAutoStartCommand("C:\\a b.exe", out, 10));
  EXPECT_STREQ(out, "");
}

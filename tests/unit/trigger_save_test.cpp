// Saving the editor's text as the trigger file: exact bytes, and on every failure the old file
// stays and no temporary file is left.
#include <string>

#include "app/trigger_open.h"
#include "app/trigger_save.h"
#include "tests/unit/shell_fixture.h"
#include "triggers/trigger_loader.h"

class SaveTest : public ShellTest {
 protected:
  bool Save(const std::string& path, const std::string& text) {
    return SaveTextAsFile(path.c_str(), text.data(), uint32_t(text.size()));
  }
  void ExpectNoTemporaryFile(const std::string& path) {
    EXPECT_FALSE(Exists(path + ".saving")) << "the temporary file is gone";
  }
};

TEST_F(SaveTest, FileHoldsExactlyTheText) {
  std::string every;  // every byte value but NUL, which an editor text cannot hold
  for (int b = 1; b < 256; ++b) every += char(b);
  every += "\r\nlast line without end";
  std::string path = Write("t.txt", std::string(10000, 'o'));
  ASSERT_TRUE(Save(path, every));
  EXPECT_EQ(Read(path), every) << "shorter than the old file: nothing of it is left";
  ExpectNoTemporaryFile(path);
  ASSERT_TRUE(Save(path, "a=b"));
  EXPECT_EQ(Read(path), "a=b") << "no NUL, no byte-order mark";
}

TEST_F(SaveTest, CreatesAMissingFileAndSavesEmptyText) {
  std::string path = PathOf("new.txt");
  ASSERT_TRUE(Save(path, "x=y\r\n"));
  EXPECT_EQ(Read(path), "x=y\r\n");
  ASSERT_TRUE(Save(path, ""));
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(Read(path), "");
  ExpectNoTemporaryFile(path);
}

TEST_F(SaveTest, StaleTemporaryFileIsReplacedNotWrittenOver) {
  std::string path = Write("t.txt", "old");
  Write("t.txt.saving", std::string(500, 'z'));
  ASSERT_TRUE(Save(path, "new"));
  EXPECT_EQ(Read(path), "new");
  ExpectNoTemporaryFile(path);
}

// Each injected failure of the save's steps: the old file stays whole.
TEST_F(SaveTest, EveryFailureKeepsTheOldFile) {
  struct Case {
    const char* name;
    void (*inject)(const std::string& path);
  } cases[] = {
      {"temporary file cannot be opened", [](const std::string&) { gFake.failFileOpenAt = 1; }},
      {"temporary file is locked", [](const std::string& p) { gFake.lockedPaths.insert(p + ".saving"); }},
      {"write fails", [](const std::string&) { gFake.failFileWriteAt = 1; }},
      {"replace fails", [](const std::string&) { gFake.failReplace = true; }},
      {"temporary name is a folder", [](const std::string& p) { mkdir((p + ".saving").c_str(), 0755); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeReset();
    std::string path = Write("t.txt", "old=text\r\n");
    c.inject(path);
    EXPECT_FALSE(Save(path, "new=text\r\n"));
    EXPECT_EQ(Read(path), "old=text\r\n");
    if (std::string(c.name) != "temporary name is a folder") ExpectNoTemporaryFile(path);
    rmdir((path + ".saving").c_str());
  }
}

TEST_F(SaveTest, TemporaryPathBound) {
  char temp[kPathCapacity];
  std::string fits(252, 'f');  // 252 + ".saving" = 259
  ASSERT_TRUE(MakeSaveTempPath(fits.c_str(), temp));
  EXPECT_EQ(std::string(temp), fits + ".saving");
  std::string tooLong(253, 'f');
  EXPECT_FALSE(MakeSaveTempPath(tooLong.c_str(), temp));
  EXPECT_STREQ(temp, "");
  EXPECT_FALSE(MakeSaveTempPath("", temp));
  EXPECT_FALSE(MakeSaveTempPath(nullptr, temp));
  EXPECT_FALSE(SaveTextAsFile(tooLong.c_str(), "a", 1)) << "refused, nothing written";
  EXPECT_EQ(gFake.fileOpens, 0);
}

TEST_F(SaveTest, WriteFileAtOffsets) {
  std::string path = Write("w.txt", "0123456789");
  EXPECT_EQ(WriteFileAt(path.c_str(), 2, "ab", 2), 2u);
  EXPECT_EQ(Read(path), "01ab456789") << "the rest of the file stays";
  EXPECT_EQ(WriteFileAt(path.c_str(), -1, "END", 3), 3u);
  EXPECT_EQ(Read(path), "01ab456789END") << "a negative offset appends";
  std::string created = PathOf("created.txt");
  EXPECT_EQ(WriteFileAt(created.c_str(), 0, "new", 3), 3u);
  EXPECT_EQ(Read(created), "new");
  EXPECT_EQ(WriteFileAt(PathOf("no/such/folder.txt").c_str(), 0, "x", 1), 0u) << "not opened";
  gFake.lockedPaths.insert(path);
  EXPECT_EQ(WriteFileAt(path.c_str(), 0, "zz", 2), 0u);
  EXPECT_EQ(Read(path), "01ab456789END");
}

// A file held when WordHatch started, and a line typed meanwhile: once the file reads, its triggers
// load but the line stays, and a save asks before writing the line over the file.
TEST_F(SaveTest, ASaveAsksBeforeWritingOverWhatTheEditorLacks) {
  ReleaseTriggerTable();
  memset(&gTriggers, 0, sizeof gTriggers);
  std::string path = Write("t.txt", "a1=one\r\nb1=two\r\n");
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path.c_str());
  gFake.lockedPaths.insert(path);
  LoadTriggerFile(path.c_str());
  gFake.editorText = "d1=four\r\n";
  gFake.editorChanged = true;
  gFake.lockedPaths.clear();
  OnLoadRetryTimer();
  EXPECT_EQ(TriggerCount(), 2);
  EXPECT_EQ(gFake.editorText, "d1=four\r\n");
  EXPECT_EQ(gFake.statusText, " Triggers Loaded: 2  * * * The editor keeps the text typed while the file could not "
                              "be read: Save asks before writing it over the file. ");
  EXPECT_FALSE(MaySaveOverTriggerFile(path.c_str())) << "No keeps the file";
  std::vector<FakeEvent> asked = FakeEventsOf(kFakeQuestion);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, "The trigger file\n\n" + path + "\n\ncould not be read, so the editor does not hold its "
                           "text. Saving writes the editor's text over the whole file.\n\nSave anyway?");
  gFake.answerYes = true;
  ASSERT_TRUE(MaySaveOverTriggerFile(path.c_str()));
  ASSERT_TRUE(SaveAndReloadTriggerFile(path.c_str()));
  EXPECT_EQ(Read(path), "d1=four\r\n") << "the user said Yes";
  EXPECT_FALSE(gFake.editorChanged) << "the reload shows the file again";
  gFake.events.clear();
  EXPECT_TRUE(MaySaveOverTriggerFile(path.c_str()));
  EXPECT_TRUE(FakeEventsOf(kFakeQuestion).empty()) << "the editor holds the file: nothing to ask";
  ReleaseTriggerTable();
}

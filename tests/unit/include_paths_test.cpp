// The paths of included trigger files: relative to the includer, "." and "..", %NAME% variables,
// network paths, paths too long, and when two paths name the same file.
#include <gtest/gtest.h>

#include <string>

#include "common/state.h"
#include "tests/unit/fake_platform.h"
#include "triggers/include_paths.h"

static std::string Resolved(const char* includer, const std::string& written) {
  char out[kPathCapacity] = "unchanged";
  if (!ResolveIncludePath(includer, written.data(), written.size(), out, sizeof out)) return "<too long>";
  return out;
}

TEST(IncludePathTest, RelativeDotsVariablesAndNetworkPaths) {
  FakeReset();
  gFake.environment["TEAM"] = "\\\\server\\share";
  gFake.environment["USERPROFILE"] = "C:\\Users\\ann";
  struct Case { const char* includer; const char* written; const char* expected; } cases[] = {
      {"C:\\wh\\main.txt", "team.txt", "C:\\wh\\team.txt"},
      {"C:\\wh\\main.txt", "sub/./team.txt", "C:\\wh\\sub/team.txt"},
      {"C:\\wh\\sub\\main.txt", "..\\..\\..\\x.txt", "C:\\x.txt"},  // never above the drive
      {"C:\\wh\\main.txt", "D:\\a\\..\\b.txt", "D:\\b.txt"},
      {"C:\\wh\\main.txt", "%TEAM%\\team.txt", "\\\\server\\share\\team.txt"},
      {"C:\\wh\\main.txt", "%USERPROFILE%\\Synced\\mine.txt", "C:\\Users\\ann\\Synced\\mine.txt"},
      {"C:\\wh\\main.txt", "%NOT_SET%\\x.txt", "C:\\wh\\%NOT_SET%\\x.txt"},
      {"\\\\server\\share\\team.txt", "..\\..\\up.txt", "\\\\server\\share\\up.txt"},
      {"\\\\server\\share\\a\\team.txt", "..\\b.txt", "\\\\server\\share\\b.txt"},
      {"D:\\wh\\main.txt", "\\shared\\team.txt", "D:\\shared\\team.txt"},  // the includer's drive
      {"\\\\server\\share\\a\\team.txt", "\\x.txt", "\\\\server\\share\\x.txt"},
      {"main.txt", "..\\x.txt", "..\\x.txt"},  // a relative includer keeps the way out of its folder
      {"/tmp/wh/main.txt", "../x/y.txt", "/tmp/x/y.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(Resolved(c.includer, c.written), c.expected) << c.written;
  EXPECT_EQ(Resolved("C:\\wh\\main.txt", std::string(kPathCapacity, 'a')), "<too long>");
  EXPECT_EQ(Resolved(("C:\\" + std::string(250, 'w') + "\\main.txt").c_str(), "twelve_bytes"), "<too long>");
  gFake.environment["LONG"] = std::string(kPathCapacity, 'v');
  EXPECT_EQ(Resolved("C:\\wh\\main.txt", "%LONG%\\x.txt"), "<too long>");
  gFake.failExpandEnvironment = true;
  EXPECT_EQ(Resolved("C:\\wh\\main.txt", "%TEAM%\\t.txt"), "C:\\wh\\%TEAM%\\t.txt") << "left as written";
}

TEST(IncludePathTest, SamePathIgnoresAsciiCaseAndWhichSeparator) {
  EXPECT_TRUE(SamePath("C:\\Wh\\Team.TXT", "c:/wh/team.txt"));
  EXPECT_FALSE(SamePath("C:\\wh\\team.txt", "C:\\wh\\team.txt2"));
  EXPECT_FALSE(SamePath("C:\\wh\\team", "C:\\wh\\team.txt"));
}

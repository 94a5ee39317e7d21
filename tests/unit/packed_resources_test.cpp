// The two built-in texts, resources/help.txt and resources/default_triggers.txt: they come back
// byte for byte from the packer and the decoder, the packer really shrinks them, and each keeps
// the rules that the program and the user rely on.
#include <gtest/gtest.h>
#include <ctype.h>
#include <string.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/heap.h"
#include "tests/unit/fake_platform.h"
#include "tools/pack_text.h"
#include "triggers/key_names.h"
#include "triggers/packed_text.h"

namespace {

const size_t kLongestTrigger = 61;
const size_t kLongestAbbreviation = 31;  // what the typed history holds
const size_t kLongestHelpLine = 78;

std::string ReadSourceFile(const std::string& relative) {
  std::string path = std::string(WH_SOURCE_DIR) + "/" + relative;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " << path;
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string HelpText() { return ReadSourceFile("resources/help.txt"); }
std::string DefaultTriggers() { return ReadSourceFile("resources/default_triggers.txt"); }

bool StartsWithNoCaseAt(const std::string& text, size_t at, const std::string& word) {
  if (at + word.size() > text.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (tolower((unsigned char)text[at + i]) != tolower((unsigned char)word[i])) return false;
  }
  return true;
}

// Packs `text` as the build does, puts it in a resource-like block (the packed text followed by
// zero padding, read up to its first NUL) and unpacks it again.
void ExpectRoundTrip(const std::string& text, const char* name) {
  ASSERT_FALSE(text.empty()) << name;
  std::string packed = PackText(text);
  ASSERT_FALSE(packed.empty()) << name << " could not be packed";
  EXPECT_EQ(packed.find('\0'), std::string::npos) << name << ": the resource ends at its first NUL";
  EXPECT_LT(packed.size() * 10, text.size() * 8)
      << name << ": packed " << packed.size() << " of " << text.size() << " bytes, not below 80%";

  std::string resource = packed + std::string(16, '\0');
  size_t length = strlen(resource.c_str());
  ASSERT_EQ(length, packed.size());
  char* unpacked = UnpackText(resource.c_str(), &length);
  ASSERT_NE(unpacked, nullptr) << name;
  EXPECT_EQ(length, text.size()) << name;
  EXPECT_EQ(strlen(unpacked), text.size()) << name << ": callers take the length from the NUL";
  EXPECT_TRUE(std::string(unpacked, length) == text) << name << " does not come back unchanged";
  FreeBlock(unpacked);
}

// Every line ends in CR LF: no LF without a CR before it, no CR without a LF after it, and the
// last line is ended too. Returns the lines without their ends.
std::vector<std::string> SplitCrLfLines(const std::string& text, const char* name) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n')
          << name << ": CR without LF on line " << lines.size() + 1;
    } else if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << name << ": LF without CR on line " << lines.size() + 1;
      size_t end = (i > start && text[i - 1] == '\r') ? i - 1 : i;
      lines.push_back(text.substr(start, end - start));
      start = i + 1;
    }
  }
  EXPECT_EQ(start, text.size()) << name << ": the last line has no line end";
  return lines;
}

struct TriggerLine {
  int lineNumber;
  std::string trigger, output;
};

// The trigger lines of the default file. Every line is empty, a comment or a trigger line; a
// stray line of text in the starter file would be a mistake.
std::vector<TriggerLine> ParseTriggerLines(const std::string& text) {
  std::vector<TriggerLine> result;
  std::vector<std::string> lines = SplitCrLfLines(text, "default_triggers.txt");
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    int number = int(i) + 1;
    if (line.empty() || line[0] == ';') continue;
    size_t equals = line.find('=');
    EXPECT_NE(equals, std::string::npos) << "line " << number << " is neither comment nor trigger: " << line;
    if (equals == std::string::npos) continue;
    EXPECT_GE(equals, 1u) << "line " << number << " has an empty trigger";
    EXPECT_LE(equals, kLongestTrigger) << "line " << number << " has a trigger over 61 bytes";
    result.push_back(TriggerLine{number, line.substr(0, equals), line.substr(equals + 1)});
  }
  return result;
}

// Removes the hotkey words and replaces "{4}" and key names by one byte each, as the loader does.
// Returns the number of words and key names found; an unknown "{...}" is reported.
int ReduceTrigger(const TriggerLine& line, std::string* keys) {
  int found = 0;
  keys->clear();
  const std::string& t = line.trigger;
  for (size_t i = 0; i < t.size();) {
    if (t[i] != '{') {
      *keys += t[i++];
      continue;
    }
    bool matched = false;
    for (const char* word : {"{control}", "{shift}", "{alt}"}) {
      if (StartsWithNoCaseAt(t, i, word)) {
        i += strlen(word);
        ++found;
        matched = true;
        break;
      }
    }
    if (matched) continue;
    if (StartsWithNoCaseAt(t, i, "{4}")) {
      *keys += '\x04';
      i += 3;
      continue;
    }
    int nameLength = 0;
    uint8_t code = LookupKeyName(t.c_str() + i, &nameLength, nullptr);
    EXPECT_NE(code, 0) << "line " << line.lineNumber << ": unknown word in the trigger at " << t.substr(i);
    if (code == 0) {
      *keys += t[i++];
      continue;
    }
    *keys += char(code);
    i += size_t(nameLength);
    ++found;
  }
  return found;
}

}  // namespace

TEST(PackedResources, HelpTextComesBackUnchangedAndSmaller) {
  FakeReset();
  ExpectRoundTrip(HelpText(), "help.txt");
}

TEST(PackedResources, DefaultTriggersComeBackUnchangedAndSmaller) {
  FakeReset();
  ExpectRoundTrip(DefaultTriggers(), "default_triggers.txt");
}

TEST(PackedResources, UnpackingUsesOneBlockAndReleasesIt) {
  FakeReset();
  std::string packed = PackText(DefaultTriggers());
  size_t length = packed.size();
  char* unpacked = UnpackText(packed.c_str(), &length);
  ASSERT_NE(unpacked, nullptr);
  EXPECT_EQ(gFake.heapAllocs, 1);
  FreeBlock(unpacked);

  gFake.failHeapAllocAt = gFake.heapAllocs + 1;
  length = packed.size();
  EXPECT_EQ(UnpackText(packed.c_str(), &length), nullptr) << "no memory: no text";
  EXPECT_EQ(length, 0u);
}

TEST(DefaultTriggers, KeepTheRulesOfATriggerFile) {
  FakeReset();
  std::string text = DefaultTriggers();
  EXPECT_EQ(text.find("WordHatch_DEBUG"), std::string::npos) << "would switch debug mode on";
  EXPECT_FALSE(text.find("REMAP") != std::string::npos && text.find("TILDE") != std::string::npos)
      << "the two mode words must not both be in the file";
  EXPECT_EQ(text.find('\0'), std::string::npos);

  std::vector<TriggerLine> lines = ParseTriggerLines(text);
  ASSERT_GE(lines.size(), 10u) << "a starter set, not a stub";
  EXPECT_LE(lines.size(), 255u);
  std::set<std::string> seen;
  for (const TriggerLine& line : lines) {
    EXPECT_NE(line.trigger[0], ';') << "line " << line.lineNumber;
    EXPECT_TRUE(seen.insert(line.trigger).second)
        << "line " << line.lineNumber << " repeats the trigger " << line.trigger << " and never fires";
  }
}

TEST(DefaultTriggers, EveryTriggerCanFire) {
  FakeReset();
  std::vector<TriggerLine> lines = ParseTriggerLines(DefaultTriggers());
  std::vector<std::pair<std::string, int>> abbreviations;  // reduced text, line number
  int hotkeys = 0;
  for (const TriggerLine& line : lines) {
    std::string keys;
    int words = ReduceTrigger(line, &keys);
    if (words > 0) {
      ++hotkeys;
      EXPECT_EQ(keys.size(), 1u) << "line " << line.lineNumber << ": a hotkey is its words and one key";
      ASSERT_FALSE(keys.empty());
      unsigned char key = (unsigned char)keys[0];
      for (unsigned char never : {0x08, 0x10, 0x11, 0x12, 0x01, 0x02}) {
        EXPECT_NE(key, never) << "line " << line.lineNumber << ": this key never reaches the matcher";
      }
    } else {
      EXPECT_LE(keys.size(), kLongestAbbreviation) << "line " << line.lineNumber;
      abbreviations.emplace_back(keys, line.lineNumber);
    }
  }
  EXPECT_GT(hotkeys, 0);
  EXPECT_GT(abbreviations.size(), 0u);

  // An abbreviation fires the moment it is complete, so one that appears inside another before its
  // end, or at its end on an earlier line, keeps the other from ever firing.
  for (size_t a = 0; a < abbreviations.size(); ++a) {
    for (size_t b = 0; b < abbreviations.size(); ++b) {
      if (a == b) continue;
      const std::string& longer = abbreviations[a].first;
      const std::string& shorter = abbreviations[b].first;
      size_t at = longer.find(shorter);
      while (at != std::string::npos) {
        bool atEnd = at + shorter.size() == longer.size();
        EXPECT_FALSE(!atEnd || abbreviations[b].second < abbreviations[a].second)
            << "line " << abbreviations[a].second << " (" << longer << ") is hidden by line "
            << abbreviations[b].second << " (" << shorter << ")";
        at = longer.find(shorter, at + 1);
      }
    }
  }
}

TEST(DefaultTriggers, OutputsUseOnlyKnownWords) {
  FakeReset();
  // The variables every Windows session has; others would be typed as written.
  const std::set<std::string> variables = {"USERNAME", "COMPUTERNAME", "USERPROFILE", "USERDOMAIN",
                                           "APPDATA", "LOCALAPPDATA", "TEMP", "TMP", "WINDIR",
                                           "SYSTEMROOT", "HOMEDRIVE", "HOMEPATH", "PUBLIC"};
  std::set<std::string> commands;
  for (const TriggerLine& line : ParseTriggerLines(DefaultTriggers())) {
    const std::string& out = line.output;
    for (size_t i = 0; i < out.size(); ++i) {
      for (const char* command : {"RUN: ", "WINDOW: ", "LIST: "}) {
        if (!StartsWithNoCaseAt(out, i, command)) continue;
        commands.insert(command);
        size_t from = i + strlen(command);
        size_t end = out.find('{', from);
        std::string argument = out.substr(from, end == std::string::npos ? std::string::npos : end - from);
        EXPECT_FALSE(argument.empty()) << "line " << line.lineNumber << ": " << command << "without argument";
        EXPECT_LE(argument.size(), std::string(command) == "WINDOW: " ? 62u : 258u) << "line " << line.lineNumber;
      }
      if (out[i] == '{') {
        bool known = StartsWithNoCaseAt(out, i, "{Delay") || StartsWithNoCaseAt(out, i, "{click") ||
                     StartsWithNoCaseAt(out, i, "{mouse_return}") || StartsWithNoCaseAt(out, i, "{Search}") ||
                     LookupKeyName(out.c_str() + i, nullptr, nullptr) != 0;
        EXPECT_TRUE(known) << "line " << line.lineNumber << ": would be typed as it stands: " << out.substr(i);
        EXPECT_NE(out.find('}', i), std::string::npos) << "line " << line.lineNumber << ": unclosed brace";
      }
      if (out[i] == '%') {
        size_t close = out.find('%', i + 1);
        ASSERT_NE(close, std::string::npos) << "line " << line.lineNumber << ": lone percent sign";
        std::string name = out.substr(i + 1, close - i - 1);
        EXPECT_TRUE(variables.count(name)) << "line " << line.lineNumber << ": %" << name
                                           << "% is not an environment variable of every session";
        i = close;
      }
    }
  }
  EXPECT_EQ(commands.size(), 3u) << "the starter set shows RUN:, WINDOW: and LIST:";
}

TEST(HelpText, IsPlainTextThatNotepadShowsWell) {
  FakeReset();
  std::string text = HelpText();
  std::vector<std::string> lines = SplitCrLfLines(text, "help.txt");
  ASSERT_GT(lines.size(), 100u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), kLongestHelpLine) << "help line " << i + 1 << " is too long";
    for (unsigned char c : lines[i]) {
      EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "help line " << i + 1 << " holds the byte " << int(c);
    }
  }
}

TEST(HelpText, ListsEveryKeyNameAsWritten) {
  FakeReset();
  std::string text = HelpText();
  int names = 0;
  for (int row = 0; row < kKeyNameRows && kKeyNames[row][0]; ++row, ++names) {
    EXPECT_NE(text.find(kKeyNames[row]), std::string::npos) << kKeyNames[row] << " is missing from the help";
  }
  EXPECT_EQ(names, 92);
}

TEST(HelpText, NamesTheOutputWordsAndTheDebugMarker) {
  FakeReset();
  std::string text = HelpText();
  for (const char* word : {"{control}", "{shift}", "{alt}", "{4}", "{Delay=", "{click ", "{click right ",
                           "{click dbl ", "{mouse_return}", "RUN: ", "WINDOW: ", "LIST: ", "%USERNAME%",
                           "WordHatch_DEBUG", "C:\\WordHatch_log.txt", "Auto-start at Login",
                           "Minimize to Tray", "Choose Font", "Remove Clipboard Formatting",
                           "Track Mouse", "Show Total Automations", "WordHatch.ini", "{in ", "{not in ",
                           "{everywhere}", "title ", "{Suspend}", "{Program}", "{Title}", "WordHatch (suspended)",
                           "{Search}", "{Input ", "{Choice ", "{include ", "A trigger file is missing: "}) {
    EXPECT_NE(text.find(word), std::string::npos) << word << " is not explained";
  }
  std::string lower;
  for (unsigned char c : text) lower += char(tolower(c));
  EXPECT_EQ(lower.find("remap"), std::string::npos);
  EXPECT_EQ(lower.find("tilde"), std::string::npos);
}

// The key-name table and its lookup.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "common/text.h"
#include "triggers/key_names.h"

TEST(KeyNameTable, HasNinetyTwoNamesThenEmptyRows) {
  int used = 0;
  while (used < kKeyNameRows && kKeyNames[used][0]) ++used;
  EXPECT_EQ(used, 92);
  EXPECT_STREQ(kKeyNames[0], "{Control}");
  EXPECT_STREQ(kKeyNames[91], "{xbutton2}");
  for (int row = 92; row < kKeyNameRows; ++row) {
    EXPECT_STREQ(kKeyNames[row], "") << "row " << row;
    EXPECT_EQ(kKeyCodes[row], 0) << "row " << row;
  }
}

TEST(KeyNameTable, EveryNameIsBracedUniqueAndFindsItsOwnRow) {
  for (int row = 0; row < 92; ++row) {
    const char* name = kKeyNames[row];
    SCOPED_TRACE(name);
    size_t length = strlen(name);
    ASSERT_GE(length, 3u);
    EXPECT_EQ(name[0], '{');
    EXPECT_EQ(name[length - 1], '}');
    EXPECT_EQ(strchr(name + 1, '{'), nullptr);
    for (int other = 0; other < row; ++other) {
      EXPECT_FALSE(StartsWithNoCase(name, kKeyNames[other]) && strlen(kKeyNames[other]) == length)
          << "same name as row " << other;
    }
    int nameLength = -1, mode = -1;
    EXPECT_EQ(LookupKeyName(name, &nameLength, &mode), kKeyCodes[row]);
    EXPECT_EQ(nameLength, int(length));
  }
}

TEST(LookupKeyName, IgnoresLetterCase) {
  for (const char* text : {"{enter}", "{ENTER}", "{Enter}", "{eNtEr} and more"}) {
    int length = 0;
    EXPECT_EQ(LookupKeyName(text, &length, nullptr), 0x0D) << text;
    EXPECT_EQ(length, 7) << text;
  }
  EXPECT_EQ(LookupKeyName("{f5}", nullptr, nullptr), 0x74);
  EXPECT_EQ(LookupKeyName("{num*}", nullptr, nullptr), 0x6A);
  EXPECT_EQ(LookupKeyName("{XBUTTON1}", nullptr, nullptr), 0x05);
}

TEST(LookupKeyName, KeyModesOfTheModifiers) {
  struct Case { const char* name; uint8_t code; int mode; } cases[] = {
      {"{CtrlDown}", 0x11, kKeyDownOnly},   {"{ControlDown}", 0x11, kKeyDownOnly},
      {"{CtrlUp}", 0x11, kKeyUpOnly},       {"{Control}", 0x11, kKeyUpOnly},
      {"{ShiftDown}", 0x10, kKeyDownOnly},  {"{Shift}", 0x10, kKeyUpOnly},
      {"{AltDown}", 0x12, kKeyDownOnly},    {"{AltUp}", 0x12, kKeyUpOnly},
      {"{altdown}", 0x12, kKeyDownOnly},    {"{WinKeyDown}", 0x5B, kKeyPressRelease},
      {"{WinKeyUp}", 0x5B, kKeyPressRelease}, {"{Down}", 0x28, kKeyPressRelease},
      {"{PageDown}", 0x22, kKeyPressRelease}, {"{Enter}", 0x0D, kKeyPressRelease},
  };
  for (const Case& c : cases) {
    int mode = -1;
    EXPECT_EQ(LookupKeyName(c.name, nullptr, &mode), c.code) << c.name;
    EXPECT_EQ(mode, c.mode) << c.name;
  }
}

TEST(LookupKeyName, NoMatchGivesZeroAndClearsResults) {
  for (const char* text : {"{Enterx}", "{Enter", "{4}", "x{Enter}", "", "{", "{}", "Enter}"}) {
    int length = 99, mode = 99;
    EXPECT_EQ(LookupKeyName(text, &length, &mode), 0) << text;
    EXPECT_EQ(length, 0) << text;
    EXPECT_EQ(mode, 0) << text;
  }
  int length = 99;
  EXPECT_EQ(LookupKeyName(nullptr, &length, nullptr), 0);
  EXPECT_EQ(length, 0);
}

TEST(LookupKeyName, F12IsTheOpeningBrace) {
  EXPECT_EQ(LookupKeyName("{F12}", nullptr, nullptr), uint8_t('{'));
  EXPECT_EQ(LookupKeyName("{F1}", nullptr, nullptr), 0x70) << "{F1} is not a prefix match of {F12}";
  EXPECT_EQ(LookupKeyName("{F10}", nullptr, nullptr), 0x79);
}

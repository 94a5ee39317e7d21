// The application shell's pure rules (see shell_rules.h).
#include "app/shell_rules.h"

#include <stdio.h>
#include <string.h>

#include "common/text.h"
#include "platform/files.h"
#include "platform/mouse.h"

const char kDefaultFontFace[] = "Courier New";
const char kDefaultFontSetting[] = "Courier New,10";

static const char kProgramSuffix[] = ".exe";
static const char kSettingsSuffix[] = ".ini";
static const char kTriggerSuffix[] = ".txt";
static const char kRemapComputer[] = "MINIBOX";
static const char kTitlePrefix[] = "WordHatch - ";
static const char kChangedMark[] = " *";

// Writes `base` cut at the first `cut` (when found) and then `suffix` into `out`, keeping the
// whole within kMaxPathLength by cutting the base further when it must.
static void ReplaceSuffix(const char* base, const char* cut, const char* suffix, char out[kPathCapacity]) {
  size_t length = strlen(base);
  if (const char* at = strstr(base, cut)) length = size_t(at - base);
  size_t room = size_t(kMaxPathLength) - strlen(suffix);
  if (length > room) length = room;
  memcpy(out, base, length);
  strcpy(out + length, suffix);
}

bool MakeSettingsPath(const char* programPath, char out[kPathCapacity]) {
  out[0] = 0;
  if (!programPath || !*programPath) return false;
  ReplaceSuffix(programPath, kProgramSuffix, kSettingsSuffix, out);
  return true;
}

void MakeDefaultTriggerPath(const char* settingsPath, char out[kPathCapacity]) {
  ReplaceSuffix(settingsPath, kSettingsSuffix, kTriggerSuffix, out);
}

void ChooseTriggerPath(const char* configured, const char* settingsPath, char out[kPathCapacity]) {
  if (configured && *configured && PlatformPathKind(configured) == kPathFile) {
    CopyTextBounded(out, configured, kPathCapacity);
  } else {
    MakeDefaultTriggerPath(settingsPath, out);
  }
}

FontChoice ParseFontSetting(const char* value) {
  FontChoice font;
  CopyTextBounded(font.face, value, sizeof font.face);
  font.face[strcspn(font.face, ",;")] = 0;
  if (!font.face[0]) CopyTextBounded(font.face, kDefaultFontFace, sizeof font.face);
  font.points = TextToInt(value);
  if (font.points < kSmallestFontPoints) font.points = kDefaultFontPoints;
  return font;
}

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = int64_t(a) * b;
  int64_t half = (c < 0 ? -int64_t(c) : int64_t(c)) / 2;
  bool negative = (product < 0) != (c < 0);
  int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -int64_t(c) : int64_t(c));
  int64_t result = negative ? -magnitude : magnitude;
  return (result > INT32_MAX || result < INT32_MIN) ? -1 : int32_t(result);
}

static const int32_t kPointsPerInch = 72;

int32_t FontHeightFromPoints(int32_t points, int32_t pixelsPerInch) {
  return -MulDivRounded(points, pixelsPerInch, kPointsPerInch);
}

int32_t FontPointsFromHeight(int32_t height, int32_t pixelsPerInch) {
  return MulDivRounded(height < 0 ? -height : height, kPointsPerInch, pixelsPerInch);
}

void FormatFontSetting(const char* face, int32_t points, char* out, size_t size) {
  snprintf(out, size, "%s,%d", face && *face ? face : kDefaultFontFace, int(points));
}

WindowBox InitialWindowBox(WindowBox saved, int32_t screenWidth, int32_t screenHeight, int32_t dpi) {
  WindowBox box = saved;
  int32_t defaultWidth = MulDivRounded(kDefaultWindowWidth, dpi, kBaseDpi);
  int32_t defaultHeight = MulDivRounded(kDefaultWindowHeight, dpi, kBaseDpi);
  if (box.width == 0) box.width = defaultWidth;
  if (box.height == 0) box.height = defaultHeight;
  // Centred for the default size, whatever the saved size: a saved size keeps a saved position.
  if (box.top == 0) box.top = screenHeight / 2 - defaultHeight / 2;
  if (box.left == 0) box.left = screenWidth / 2 - defaultWidth / 2;
  return box;
}

static const char* const kStartStateTexts[] = {"normal", "maximized", "minimized"};

static bool SameTextNoCase(const char* a, const char* b) {
  return a && b && strlen(a) == strlen(b) && StartsWithNoCase(a, b);
}

WindowStartState ParseStartState(const char* value) {
  if (SameTextNoCase(value, kStartStateTexts[kStartMaximized])) return kStartMaximized;
  if (SameTextNoCase(value, kStartStateTexts[kStartMinimized])) return kStartMinimized;
  return kStartNormal;
}

const char* StartStateText(WindowStartState state) { return kStartStateTexts[state]; }

bool IsRemapComputerName(const char* computerName) { return SameTextNoCase(computerName, kRemapComputer); }

void FormatMainTitle(const char* triggerPath, char* out, size_t size) {
  snprintf(out, size, "%s%s", kTitlePrefix, triggerPath ? triggerPath : "");
}

bool AddChangedMark(char* title, size_t size) {
  size_t length = strlen(title);
  if (strchr(title, '*') || length + sizeof kChangedMark > size) return false;
  memcpy(title + length, kChangedMark, sizeof kChangedMark);
  return true;
}

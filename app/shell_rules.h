// The application shell's pure rules: where the settings and trigger files are, how the font
// setting reads, where the main window first appears and how it is first shown, and what the
// title says. Portable: no window is touched here, so the host tests check every rule.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "common/state.h"

const int kMaxPathLength = kPathCapacity - 1;  // 259 characters

// Room for the program's own path: at most 258 characters, so that ".ini" still fits after the
// cut at ".exe" in all but the cases MakeSettingsPath bounds.
const uint32_t kProgramPathCapacity = 259;

// Makes the settings path from the program's full path: the path cut at its first ".exe" (that
// letter case only), then ".ini". A result longer than 259 characters (a path without ".exe" of
// 256 or more characters) is kept within the bound by cutting the end of the program path, so
// the settings file stays beside the program under a name up to a few characters shorter.
// Returns false, with `out` empty, for an empty program path: the program does not know where
// it is (the module query yields nothing for a path too long to hold).
bool MakeSettingsPath(const char* programPath, char out[kPathCapacity]);

// The default trigger path: the settings path cut at its first ".ini", then ".txt".
void MakeDefaultTriggerPath(const char* settingsPath, char out[kPathCapacity]);

// The trigger path of the run: `configured` (the setting "file") when it names an existing file,
// otherwise (empty, a folder, nothing there) the default trigger path.
void ChooseTriggerPath(const char* configured, const char* settingsPath, char out[kPathCapacity]);

// The editor font as the setting "font" gives it, e.g. "Courier New,10".
const int kFontSettingCapacity = 63;  // at most 62 characters are read
const int32_t kDefaultFontPoints = 10;
const int32_t kSmallestFontPoints = 7;  // smaller sizes fall back to the default
extern const char kDefaultFontFace[];   // "Courier New"
extern const char kDefaultFontSetting[];  // "Courier New,10"
struct FontChoice {
  char face[kFontSettingCapacity];
  int32_t points;
};

// Reads a "font" value: the face is the text before the first "," or ";" ("Courier New" when
// that is empty); the size is the value's first number (TextToInt of the whole value), 10 when
// it is below 7.
FontChoice ParseFontSetting(const char* value);

// The system's MulDiv: a times b divided by c, rounded to the nearest integer with halves away
// from zero; -1 when c is 0 or the result does not fit in 32 bits.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);

// The font height (LOGFONT's lfHeight) that asks for a character height of `points` at the
// screen's `pixelsPerInch`: negative, as a character height is asked for.
int32_t FontHeightFromPoints(int32_t points, int32_t pixelsPerInch);

// The point size of a font description's height in pixels (either sign) at `pixelsPerInch`.
int32_t FontPointsFromHeight(int32_t height, int32_t pixelsPerInch);

// The "font" setting for a face and a size: "face,points" ("Courier New" for an empty face).
void FormatFontSetting(const char* face, int32_t points, char* out, size_t size);

// The main window's outer rectangle.
struct WindowBox {
  int32_t left, top, width, height;
};
const int32_t kDefaultWindowWidth = 780;
const int32_t kDefaultWindowHeight = 550;

// The first placement from the saved one: each saved value that is 0 is replaced on its own,
// the size by 780 by 550 scaled from 96 to the screen's `dpi` (1170 by 825 at 144) and the
// position by the one that centres a window of that default size on a screen of the given size.
// Saved values are screen pixels and stand as they are.
WindowBox InitialWindowBox(WindowBox saved, int32_t screenWidth, int32_t screenHeight, int32_t dpi);

// How the main window is first shown, from the setting "window_start" and back.
enum WindowStartState { kStartNormal, kStartMaximized, kStartMinimized };
const int kStartSettingCapacity = 63;  // at most 62 characters are read
WindowStartState ParseStartState(const char* value);  // letter case ignored; unknown text is normal
const char* StartStateText(WindowStartState state);   // "normal", "maximized", "minimized"

// True when the computer's name is the one that may use the tilde remap ("MINIBOX", letter case
// ignored).
bool IsRemapComputerName(const char* computerName);

// The main window's title: "WordHatch - " and the trigger path.
const size_t kTitleCapacity = 300;
void FormatMainTitle(const char* triggerPath, char* out, size_t size);

// The changed mark: appends " *" to `title` (a buffer of `size` bytes) unless the title already
// holds a "*" anywhere. Returns true when it appended the mark.
bool AddChangedMark(char* title, size_t size);

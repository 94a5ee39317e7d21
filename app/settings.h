// The settings file: its section, the names of all its keys, and the shell's reads and writes.
// Every value is read or written key by key at the moment of use (nothing is cached) through the
// settings seam, in the run's settings file (gShell.settingsPath). Portable.
#pragma once
#include <stdint.h>

#include "app/shell_rules.h"

extern const char kSettingsSection[];  // "WordHatch Settings"

// All keys of the section.
extern const char kKeyFile[];            // trigger file path
extern const char kKeyWindowLeft[];      // main window placement, outer frame, screen coordinates
extern const char kKeyWindowTop[];
extern const char kKeyWindowWidth[];
extern const char kKeyWindowHeight[];
extern const char kKeyTray[];            // "1" or "0": minimising hides into the tray
extern const char kKeyWrapText[];        // non-zero: the editor wraps long lines
extern const char kKeyWindowStart[];     // "normal", "maximized" or "minimized"
extern const char kKeyFont[];            // "face,points"
extern const char kKeyActivationCount[]; // expansions of all earlier runs
extern const char kKeyWindowList[];      // pick list placement: "left,top,width,height"
extern const char kKeyKeyWatch[];        // "poll": keys are watched by polling, never through raw input

// True when `key` is in the section: it is read (at most 30 characters) with the stand-in "x",
// and any other text, the empty one included, means present. A value of exactly "x" therefore
// counts as absent.
bool IsSettingPresent(const char* settingsPath, const char* section, const char* key);

// Reads `key` of the run's settings into `out` (at most size - 1 characters); `defaultValue`
// when absent. Returns the length read.
uint32_t ReadSettingText(const char* key, const char* defaultValue, char* out, uint32_t size);

// Reads `key` of the run's settings as an integer; `defaultValue` when absent.
int32_t ReadSettingInt(const char* key, int32_t defaultValue);

// True when the settings ask for the keys to be watched by polling the key states.
bool KeysWatchedByPolling();

// "paste_threshold": runs of plain text longer than this many characters are pasted; 100 when
// absent, 0 (never) for 0 or less.
int32_t ReadPasteThreshold();

// Writes a text or a number (decimal, IntToText) as the value of `key` in the run's settings.
void WriteSettingText(const char* key, const char* value);
void WriteSettingInt(const char* key, int32_t value);

// An on/off option ("tray", "wrap_text"): on when the key is absent; when present, on only for a
// non-zero number, so an empty value or one that is not a number is off.
bool ReadOptionSetting(const char* key);

// Start-up: sets the run's settings path from the program's path, then the trigger path (setting
// "file"), the tray and wrap options, the paste threshold, and returns the saved placement in *saved. Writes nothing.
// Returns false, having read nothing, when the program's path is empty (see MakeSettingsPath).
bool ReadStartupSettings(const char* programPath, WindowBox* saved);

// WM_EXITSIZEMOVE: writes the placement in the order left, top, width, height.
void WriteWindowPlacement(WindowBox box);

// The expansions of all runs: "activation_count" plus this run's automation count, summed as
// the 32-bit counter wraps rather than overflowing.
int32_t ReadActivationTotal();

// The end of the run: writes "window_start", writes "font" as "Courier New,10" when it is
// absent, and adds this run's automation count to "activation_count".
void WriteEndOfRunSettings(WindowStartState state);

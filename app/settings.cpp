// The settings file of the run (see settings.h).
#include "app/settings.h"

#include <string.h>

#include "common/state.h"
#include "common/text.h"
#include "platform/settings.h"

const char kSettingsSection[] = "WordHatch Settings";

const char kKeyFile[] = "file";
const char kKeyWindowLeft[] = "window_left";
const char kKeyWindowTop[] = "window_top";
const char kKeyWindowWidth[] = "window_width";
const char kKeyWindowHeight[] = "window_height";
const char kKeyTray[] = "tray";
const char kKeyWrapText[] = "wrap_text";
const char kKeyKeyWatch[] = "key_watch";
const char kKeyWatchByPolling[] = "poll";
const uint32_t kKeyWatchValueSize = 8;
const char kKeyWindowStart[] = "window_start";
const char kKeyFont[] = "font";
const char kKeyActivationCount[] = "activation_count";
const char kKeyWindowList[] = "window_list";
const char kKeyPasteThreshold[] = "paste_threshold";
const int32_t kDefaultPasteThreshold = 100;

static const char kAbsentStandIn[] = "x";
static const uint32_t kPresenceProbeSize = 31;  // 30 characters and the NUL
static const uint32_t kFileSettingSize = 259;   // at most 258 characters

bool IsSettingPresent(const char* settingsPath, const char* section, const char* key) {
  char text[kPresenceProbeSize];
  PlatformReadSetting(settingsPath, section, key, kAbsentStandIn, text, sizeof text);
  return strcmp(text, kAbsentStandIn) != 0;
}

uint32_t ReadSettingText(const char* key, const char* defaultValue, char* out, uint32_t size) {
  return PlatformReadSetting(gShell.settingsPath, kSettingsSection, key, defaultValue, out, size);
}

int32_t ReadSettingInt(const char* key, int32_t defaultValue) {
  return PlatformReadSettingInt(gShell.settingsPath, kSettingsSection, key, defaultValue);
}

void WriteSettingText(const char* key, const char* value) {
  PlatformWriteSetting(gShell.settingsPath, kSettingsSection, key, value);
}

void WriteSettingInt(const char* key, int32_t value) {
  char text[kIntTextSize];
  WriteSettingText(key, IntToText(value, text));
}

bool ReadOptionSetting(const char* key) {
  if (!IsSettingPresent(gShell.settingsPath, kSettingsSection, key)) return true;
  // Default 0, so that an empty value is off whichever way the system reads it.
  return ReadSettingInt(key, 0) != 0;
}

bool ReadStartupSettings(const char* programPath, WindowBox* saved) {
  if (!MakeSettingsPath(programPath, gShell.settingsPath)) return false;
  char configured[kFileSettingSize];
  ReadSettingText(kKeyFile, "", configured, sizeof configured);
  ChooseTriggerPath(configured, gShell.settingsPath, gShell.triggerPath);
  saved->height = ReadSettingInt(kKeyWindowHeight, 0);
  saved->width = ReadSettingInt(kKeyWindowWidth, 0);
  saved->top = ReadSettingInt(kKeyWindowTop, 0);
  saved->left = ReadSettingInt(kKeyWindowLeft, 0);
  gShell.trayOption = ReadOptionSetting(kKeyTray);
  gShell.wrapOption = ReadOptionSetting(kKeyWrapText);
  gPlayer.pasteThreshold = ReadPasteThreshold();
  return true;
}

int32_t ReadPasteThreshold() {
  int32_t threshold = ReadSettingInt(kKeyPasteThreshold, kDefaultPasteThreshold);
  // No run is shorter than nothing: a negative number pastes none, like 0.
  return threshold > 0 ? threshold : 0;
}

bool KeysWatchedByPolling() {
  char value[kKeyWatchValueSize];
  ReadSettingText(kKeyKeyWatch, "", value, sizeof value);
  return StartsWithNoCase(value, kKeyWatchByPolling) && strlen(value) == strlen(kKeyWatchByPolling);
}

void WriteWindowPlacement(WindowBox box) {
  WriteSettingInt(kKeyWindowLeft, box.left);
  WriteSettingInt(kKeyWindowTop, box.top);
  WriteSettingInt(kKeyWindowWidth, box.width);
  WriteSettingInt(kKeyWindowHeight, box.height);
}

int32_t ReadActivationTotal() {
  uint32_t total = uint32_t(ReadSettingInt(kKeyActivationCount, 0)) + uint32_t(gShell.automationCount);
  return int32_t(total);
}

void WriteEndOfRunSettings(WindowStartState state) {
  WriteSettingText(kKeyWindowStart, StartStateText(state));
  if (!IsSettingPresent(gShell.settingsPath, kSettingsSection, kKeyFont)) WriteSettingText(kKeyFont, kDefaultFontSetting);
  WriteSettingInt(kKeyActivationCount, ReadActivationTotal());
}

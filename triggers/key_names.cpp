// The program's vocabulary of named keys, shared by trigger hotkeys and outputs.
#include "triggers/key_names.h"

#include <string.h>

#include "common/text.h"
#include "platform/keyboard.h"

const char* const kKeyNames[kKeyNameRows] = {
    "{Control}", "{CtrlDown}", "{ControlDown}", "{CtrlUp}", "{ControlUp}",
    "{Shift}", "{ShiftDown}", "{ShiftUp}", "{Alt}", "{AltDown}", "{AltUp}",
    "{Enter}", "{Return}", "{Newline}", "{Space}", "{Tab}",
    "{Left}", "{Right}", "{Up}", "{Down}", "{PageUp}", "{PgUp}", "{PageDown}", "{PgDn}",
    "{Home}", "{End}", "{Escape}", "{Insert}", "{Delete}", "{Backspace}",
    "{CapsLock}", "{PrintScreen}", "{ScrollLock}", "{Pause}",
    "{WinKey}", "{WinKeyDown}", "{WinKeyUp}", "{LeftWinkey}", "{RightWinkey}", "{AppKey}",
    "{F1}", "{F2}", "{F3}", "{F4}", "{F5}", "{F6}", "{F7}", "{F8}",
    "{F9}", "{F10}", "{F11}", "{F12}", "{F13}", "{F14}", "{F15}", "{F16}",
    "{NumLock}", "{Num0}", "{Num1}", "{Num2}", "{Num3}", "{Num4}", "{Num5}", "{Num6}",
    "{Num7}", "{Num8}", "{Num9}", "{Num*}", "{Num+}", "{Num-}", "{Num.}", "{Num/}",
    "{VolumeUp}", "{VolumeDown}", "{VolumeMute}", "{NextTrack}", "{PreviousTrack}",
    "{MediaStop}", "{MediaPause}", "{BrowserBack}", "{BrowserForward}", "{BrowserRefresh}",
    "{BrowserStop}", "{BrowserSearch}", "{BrowserFavorites}", "{BrowserHome}",
    "{LaunchEmail}", "{SleepMode}", "{App1}", "{App2}", "{xbutton1}", "{xbutton2}",
    "", "", "", ""};

const uint8_t kKeyCodes[kKeyNameRows] = {
    0x11, 0x11, 0x11, 0x11, 0x11,
    0x10, 0x10, 0x10, 0x12, 0x12, 0x12,
    0x0D, 0x0D, 0x0D, 0x20, 0x09,
    0x25, 0x27, 0x26, 0x28, 0x21, 0x21, 0x22, 0x22,
    0x24, 0x23, 0x1B, 0x2D, 0x2E, 0x08,
    0x14, 0x2C, 0x91, 0x13,
    0x5B, 0x5B, 0x5B, 0x5B, 0x5C, 0x5D,
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77,
    0x78, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F,
    0x90, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66,
    0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6D, 0x6E, 0x6F,
    0xAF, 0xAE, 0xAD, 0xB0, 0xB1,
    0xB2, 0xB3, 0xA6, 0xA7, 0xA8,
    0xA9, 0xAA, 0xAB, 0xAC,
    0xB4, 0x5F, 0xB6, 0xB7, 0x05, 0x06,
    0, 0, 0, 0};

// The modifiers are the only keys that names can hold down or let go of alone.
static int KeyModeOfRow(int row) {
  uint8_t code = kKeyCodes[row];
  if (code != kVkShift && code != kVkControl && code != kVkAlt) return kKeyPressRelease;
  return strstr(kKeyNames[row], "Down") ? kKeyDownOnly : kKeyUpOnly;
}

uint8_t LookupKeyName(const char* text, int* nameLength, int* mode) {
  if (nameLength) *nameLength = 0;
  if (mode) *mode = kKeyPressRelease;
  if (!text || *text != '{') return 0;
  for (int row = 0; row < kKeyNameRows && kKeyNames[row][0]; ++row) {
    if (!StartsWithNoCase(text, kKeyNames[row])) continue;
    if (nameLength) *nameLength = int(strlen(kKeyNames[row]));
    if (mode) *mode = KeyModeOfRow(row);
    return kKeyCodes[row];
  }
  return 0;
}

// The process-wide state records of the portable core, one per subsystem. Each is owned by its
// subsystem; others read it, and write only where their comments say so.
#pragma once
#include <stdint.h>

const int kPathCapacity = 260;  // 259 characters and the NUL

// Shell state (application shell): the run's paths and options. Set at start-up, except the
// trigger path (Open, Save As) and the automation count (each expansion started).
struct ShellState {
  char settingsPath[kPathCapacity];
  char triggerPath[kPathCapacity];
  bool trayOption;
  bool wrapOption;
  bool remapAllowed;        // this computer may use the tilde-as-Alt remap mode
  int32_t automationCount;  // expansions started in this run
};
extern ShellState gShell;

// Trigger table (trigger definitions): rebuilt whole by every load of the trigger file.
const int kTriggerSlots = 256;
const int kMaxTriggers = 255;
const int kEntryBlockSize = 256;
const int kStoredTriggerSize = 64;   // the stored trigger's field, NUL included
const int kMaxTriggerLength = 61;    // longest trigger as written in the file
const int kMatchLengthCap = 32;
const uint8_t kFlagControl = 0x01, kFlagShift = 0x02, kFlagAlt = 0x04, kFlagKeyName = 0x10;
const uint8_t kRemapModeBit = 0x01;

// One entry block: the stored trigger (reversed, words replaced) and then the search key
// (line feed, the trigger as written, "=").
struct TriggerEntry {
  char storedTrigger[kStoredTriggerSize];
  char searchKey[kEntryBlockSize - kStoredTriggerSize];
};
static_assert(sizeof(TriggerEntry) == kEntryBlockSize, "an entry is one 256-byte block");

struct TriggerTable {
  TriggerEntry* entries[kTriggerSlots];  // zero-filled heap blocks; the first empty one ends the table
  uint8_t flags[kTriggerSlots];
  int32_t matchLengths[kTriggerSlots];
  uint8_t debugMode;  // set by a load, never cleared
  uint8_t remapMode;  // kRemapModeBit set by a load, never cleared
};
extern TriggerTable gTriggers;

// Watcher state (keystroke watcher): what the key poller saw at its last look and what was typed.
const int kHistorySize = 32;  // 31 bytes, newest first, and a zero that always ends it
struct WatcherState {
  uint8_t previousKeyState[256];
  uint8_t typedHistory[kHistorySize];
};
extern WatcherState gWatcher;

// Player state (output player): the output being played.
struct PlayerState {
  char* outputBuffer;  // heap block, or nullptr
  int32_t playPosition;
  int32_t savedCursorX, savedCursorY;
};
extern PlayerState gPlayer;

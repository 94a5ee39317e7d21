// Menu seam: the check marks of the main window's menu items.
// Both operations do nothing (or answer false) while there is no main window or no such item.
#pragma once
#include <stdint.h>

// True when the main menu's item with command id `id` is checked.
bool PlatformMenuItemChecked(uint32_t id);

// Checks or unchecks the main menu's item with command id `id`.
void PlatformCheckMenuItem(uint32_t id, bool checked);

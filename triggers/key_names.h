// The key-name table: brace-enclosed names such as "{Enter}" or "{F5}" and their virtual keys.
#pragma once
#include <stddef.h>
#include <stdint.h>

// How a key name is sent by the output player.
enum KeyMode { kKeyPressRelease = 0, kKeyDownOnly = 1, kKeyUpOnly = 2 };

// Rows in the table, including the empty rows that end it.
const int kKeyNameRows = 96;

// The table itself: names (with braces, in their own letter case) and codes, in table order.
// It ends at the first row whose name is empty.
extern const char* const kKeyNames[kKeyNameRows];
extern const uint8_t kKeyCodes[kKeyNameRows];

// Returns the virtual-key code of the key name that begins `text`, ignoring ASCII letter case, or
// 0 when none does (also for an absent text or one that does not begin with "{"). When given,
// *nameLength receives the matched name's length (braces included) and *mode its key mode;
// both receive 0 when nothing matches.
uint8_t LookupKeyName(const char* text, int* nameLength, int* mode);

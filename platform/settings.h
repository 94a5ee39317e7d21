// Settings seam: one key of one section of an INI-style settings file, read or written at the
// moment of use. Nothing is cached; the program implements it over the private-profile calls
// (win32_settings.cpp), host tests over an in-memory store.
#pragma once
#include <stdint.h>

// Reads `key` of `section` in the settings file at `path` into `out`: at most size - 1 characters,
// always NUL-terminated (size > 0). When the key (or the file, or the section) is absent, the
// text is `defaultValue`, cut the same way. A present key with an empty value reads as empty.
// Returns the length of the text written into `out`.
uint32_t PlatformReadSetting(const char* path, const char* section, const char* key, const char* defaultValue,
                             char* out, uint32_t size);

// Reads `key` as a decimal integer: `defaultValue` when the key is absent, the number its text
// begins with otherwise (an optional "-" and digits), 0 when the text does not begin with one.
// An empty value may give 0 or `defaultValue` (the system's implementations differ): callers
// that must tell an empty value apart pass 0 as the default.
int32_t PlatformReadSettingInt(const char* path, const char* section, const char* key, int32_t defaultValue);

// Writes `value` as the text of `key`, creating the file and the section when needed. A failed
// write is not reported: the settings keep their old value.
void PlatformWriteSetting(const char* path, const char* section, const char* key, const char* value);

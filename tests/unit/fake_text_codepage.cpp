// The fake's ANSI code page: Windows-1252 for real, as the system converts it (its five undefined
// bytes stand for the control characters of the same value, both ways), so that tests of what
// is loaded and saved see the bytes a Western system would.
#include <string.h>

#include "common/utf8.h"
#include "platform/text_codepage.h"

const uint8_t kFirstTableByte = 0x80, kLastTableByte = 0x9F;
// The characters of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
static const uint16_t kCp1252Table[] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
const uint32_t kLastLatin1 = 0xFF;
const char kDefaultChar = '?';

static uint32_t Cp1252ToCodePoint(uint8_t byte) {
  return (byte >= kFirstTableByte && byte <= kLastTableByte) ? kCp1252Table[byte - kFirstTableByte] : byte;
}

// The byte of `codePoint` in Windows-1252; false when it has none.
static bool CodePointToCp1252(uint32_t codePoint, char* byte) {
  for (int i = 0; i <= kLastTableByte - kFirstTableByte; ++i) {
    if (kCp1252Table[i] != codePoint) continue;
    *byte = char(kFirstTableByte + i);
    return true;
  }
  if (codePoint > kLastLatin1 || (codePoint >= kFirstTableByte && codePoint <= kLastTableByte)) return false;
  *byte = char(codePoint);
  return true;
}

size_t PlatformAnsiToUtf8(const char* ansi, size_t size, char* out) {
  size_t written = 0;
  for (size_t i = 0; i < size; ++i) written += size_t(EncodeUtf8(Cp1252ToCodePoint(uint8_t(ansi[i])), out + written));
  return written;
}

size_t PlatformUtf8ToAnsi(const char* text, size_t length, char* out, bool* unrepresentable) {
  *unrepresentable = false;
  size_t written = 0;
  for (size_t at = 0; at < length;) {
    int n = 0;
    uint32_t codePoint = DecodeUtf8(text + at, length - at, &n);
    // A byte that begins no sequence is no character at all: the system would replace it.
    bool character = n > 1 || codePoint < kFirstTableByte;
    char byte = kDefaultChar;
    if (!character || !CodePointToCp1252(codePoint, &byte)) *unrepresentable = true;
    out[written++] = byte;
    at += size_t(n);
  }
  return written;
}

uint16_t PlatformAnsiByteToUnit(uint8_t byte) { return uint16_t(Cp1252ToCodePoint(byte)); }

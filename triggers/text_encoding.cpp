// Trigger file encodings (see text_encoding.h).
#include "triggers/text_encoding.h"

#include <string.h>

#include "common/heap.h"
#include "common/utf16.h"
#include "common/utf8.h"
#include "platform/text_codepage.h"

static const char kUtf8Mark[] = "\xEF\xBB\xBF";
static const char kUtf16Mark[] = "\xFF\xFE";
const size_t kUtf8MarkSize = sizeof kUtf8Mark - 1;
const size_t kUtf16MarkSize = sizeof kUtf16Mark - 1;
const size_t kUtf16UnitSize = 2;
const int kBitsPerByte = 8;
const uint16_t kLowByteMask = 0xFF;

static bool BeginsWith(const char* bytes, size_t size, const char* mark, size_t markSize) {
  return size >= markSize && memcmp(bytes, mark, markSize) == 0;
}

TextEncoding DetectTextEncoding(const char* bytes, size_t size) {
  if (BeginsWith(bytes, size, kUtf8Mark, kUtf8MarkSize)) return kEncodingUtf8Marked;
  if (BeginsWith(bytes, size, kUtf16Mark, kUtf16MarkSize)) return kEncodingUtf16;
  bool multiByte = false;
  if (IsWellFormedUtf8(bytes, size, &multiByte) && multiByte) return kEncodingUtf8;
  return kEncodingAnsi;
}

// The most UTF-8 bytes that `size` bytes of a file in `encoding` can become.
static size_t LargestUtf8Size(size_t size, TextEncoding encoding) {
  switch (encoding) {
    case kEncodingAnsi: return size * kUtf8BytesPerAnsiByte;
    case kEncodingUtf16: return (size / kUtf16UnitSize + 1) * kUtf8BytesPerUtf16Unit;
    default: return size;
  }
}

// UTF-16 LE bytes after the mark to UTF-8; a final odd byte is no unit and becomes U+FFFD.
// False when the heap cannot hold the units.
static bool Utf16BytesToUtf8(const char* bytes, size_t size, char* out, size_t* written) {
  size_t count = size / kUtf16UnitSize;
  uint16_t* units = static_cast<uint16_t*>(AllocZeroed(count + 1, sizeof(uint16_t)));
  if (!units) return false;
  const uint8_t* at = reinterpret_cast<const uint8_t*>(bytes);
  for (size_t i = 0; i < count; ++i) {
    units[i] = uint16_t(at[i * kUtf16UnitSize] | (at[i * kUtf16UnitSize + 1] << kBitsPerByte));
  }
  if (size % kUtf16UnitSize) units[count++] = kReplacementChar;
  *written = Utf16ToUtf8(units, count, out);
  FreeBlock(units);
  return true;
}

char* DecodeFileText(const char* bytes, size_t size, TextEncoding encoding, size_t headroom, size_t* length,
                     size_t* capacity) {
  size_t mark = encoding == kEncodingUtf8Marked ? kUtf8MarkSize : encoding == kEncodingUtf16 ? kUtf16MarkSize : 0;
  if (size < mark) mark = size;
  bytes += mark;
  size -= mark;
  // A size whose conversion could not even be counted in a size_t cannot be held either.
  if (size > (SIZE_MAX - headroom - kTextSlack) / kUtf8BytesPerAnsiByte) return nullptr;
  // Most files are plain ASCII: they need neither the conversion nor its room.
  if (encoding == kEncodingAnsi && AsciiPrefixLength(bytes, size) == size) encoding = kEncodingUtf8;
  *capacity = headroom + LargestUtf8Size(size, encoding) + kTextSlack;
  char* block = static_cast<char*>(AllocZeroed(*capacity, 1));
  if (!block) return nullptr;
  char* text = block + headroom;
  size_t written = 0;
  if (encoding == kEncodingUtf16 && !Utf16BytesToUtf8(bytes, size, text, &written)) {
    FreeBlock(block);
    return nullptr;
  }
  if (encoding == kEncodingAnsi) written = PlatformAnsiToUtf8(bytes, size, text);
  // UTF-8 stays as it is, and so does ANSI text that the system could not convert.
  if (written == 0 && encoding != kEncodingUtf16) {
    memcpy(text, bytes, size);
    written = size;
  }
  *length = written;
  return block;
}

// UTF-8 to UTF-16 LE bytes after the mark.
static size_t Utf8ToUtf16Bytes(const char* text, size_t length, char* out) {
  uint16_t* units = static_cast<uint16_t*>(AllocZeroed(length ? length : 1, sizeof(uint16_t)));
  if (!units) return 0;
  size_t count = Utf8ToUtf16(text, length, units);
  for (size_t i = 0; i < count; ++i) {
    out[i * kUtf16UnitSize] = char(units[i] & kLowByteMask);
    out[i * kUtf16UnitSize + 1] = char(units[i] >> kBitsPerByte);
  }
  FreeBlock(units);
  return count * kUtf16UnitSize;
}

char* EncodeFileText(const char* text, size_t length, TextEncoding encoding, size_t* size, bool* unrepresentable) {
  *unrepresentable = false;
  *size = 0;
  if (length > (SIZE_MAX - kUtf16MarkSize) / kUtf16UnitSize) return nullptr;
  size_t room = encoding == kEncodingUtf16 ? kUtf16MarkSize + length * kUtf16UnitSize : kUtf8MarkSize + length;
  char* out = static_cast<char*>(AllocZeroed(room ? room : 1, 1));
  if (!out) return nullptr;
  switch (encoding) {
    case kEncodingAnsi:
      *size = PlatformUtf8ToAnsi(text, length, out, unrepresentable);
      if (*unrepresentable) FreeAndForget(out);
      return out;
    case kEncodingUtf8:
      memcpy(out, text, length);
      *size = length;
      return out;
    case kEncodingUtf8Marked:
      memcpy(out, kUtf8Mark, kUtf8MarkSize);
      memcpy(out + kUtf8MarkSize, text, length);
      *size = kUtf8MarkSize + length;
      return out;
    case kEncodingUtf16:
      memcpy(out, kUtf16Mark, kUtf16MarkSize);
      *size = kUtf16MarkSize + Utf8ToUtf16Bytes(text, length, out + kUtf16MarkSize);
      // Without room for the units the text would be saved as its mark alone.
      if (*size == kUtf16MarkSize && length > 0) FreeAndForget(out);
      return out;
  }
  FreeBlock(out);
  return nullptr;
}

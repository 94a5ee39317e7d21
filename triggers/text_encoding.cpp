// Trigger file encodings (see text_encoding.h).
#include "triggers/text_encoding.h"

#include <string.h>

#include "common/heap.h"
#include "common/utf16.h"
#include "common/utf8.h"
#include "platform/text_codepage.h"

static const char kUtf8Mark[] = "\xEF\xBB\xBF";
static const char kUtf16Mark[] = "\xFF\xFE";
static const char kUtf16BeMark[] = "\xFE\xFF";
const size_t kUtf8MarkSize = sizeof kUtf8Mark - 1;
const size_t kUtf16MarkSize = sizeof kUtf16Mark - 1;
const size_t kUtf16UnitSize = 2;
const int kBitsPerByte = 8;
const uint16_t kLowByteMask = 0xFF;

// UTF-16 without a mark is told by its zero bytes, as editors tell it: Latin letters, digits,
// blanks, "=" and line ends have a zero in every unit, always on the same side. A file is taken
// for it when at least kMinZeroUnits units, and one unit in kZeroUnitsShare, have a zero on that
// side, and zeros on the other side (characters such as U+4E00) are at most half as many. A NUL
// byte or two in an ANSI or UTF-8 file come nowhere near that.
const size_t kMinZeroUnits = 3;
const size_t kZeroUnitsShare = 16;
const size_t kOtherSideShare = 2;

static bool BeginsWith(const char* bytes, size_t size, const char* mark, size_t markSize) {
  return size >= markSize && memcmp(bytes, mark, markSize) == 0;
}

bool IsUtf16Encoding(TextEncoding encoding) {
  return encoding == kEncodingUtf16 || encoding == kEncodingUtf16Be || encoding == kEncodingUtf16Unmarked ||
         encoding == kEncodingUtf16BeUnmarked;
}

static bool IsBigEndian(TextEncoding encoding) {
  return encoding == kEncodingUtf16Be || encoding == kEncodingUtf16BeUnmarked;
}

// The byte-order mark that a file in `encoding` begins with; *size 0 for none.
static const char* MarkOf(TextEncoding encoding, size_t* size) {
  switch (encoding) {
    case kEncodingUtf8Marked: *size = kUtf8MarkSize; return kUtf8Mark;
    case kEncodingUtf16: *size = kUtf16MarkSize; return kUtf16Mark;
    case kEncodingUtf16Be: *size = kUtf16MarkSize; return kUtf16BeMark;
    default: *size = 0; return "";
  }
}

// The unmarked UTF-16 that the zero bytes of the file show; false when they show none.
static bool DetectUnmarkedUtf16(const char* bytes, size_t size, TextEncoding* encoding) {
  if (size < kUtf16UnitSize || size % kUtf16UnitSize) return false;
  size_t zeroFirst = 0, zeroSecond = 0;
  for (size_t at = 0; at < size; at += kUtf16UnitSize) {
    zeroFirst += bytes[at] == 0;
    zeroSecond += bytes[at + 1] == 0;
  }
  size_t units = size / kUtf16UnitSize;
  bool little = zeroSecond >= zeroFirst;
  size_t zeros = little ? zeroSecond : zeroFirst, others = little ? zeroFirst : zeroSecond;
  if (zeros < kMinZeroUnits || zeros * kZeroUnitsShare < units || others * kOtherSideShare > zeros) return false;
  *encoding = little ? kEncodingUtf16Unmarked : kEncodingUtf16BeUnmarked;
  return true;
}

TextEncoding DetectTextEncoding(const char* bytes, size_t size) {
  if (BeginsWith(bytes, size, kUtf8Mark, kUtf8MarkSize)) return kEncodingUtf8Marked;
  if (BeginsWith(bytes, size, kUtf16Mark, kUtf16MarkSize)) return kEncodingUtf16;
  if (BeginsWith(bytes, size, kUtf16BeMark, kUtf16MarkSize)) return kEncodingUtf16Be;
  TextEncoding unmarked;
  if (DetectUnmarkedUtf16(bytes, size, &unmarked)) return unmarked;
  bool multiByte = false;
  if (IsWellFormedUtf8(bytes, size, &multiByte) && multiByte) return kEncodingUtf8;
  return kEncodingAnsi;
}

// The most UTF-8 bytes that `size` bytes of a file in `encoding` can become.
static size_t LargestUtf8Size(size_t size, TextEncoding encoding) {
  if (IsUtf16Encoding(encoding)) return (size / kUtf16UnitSize + 1) * kUtf8BytesPerUtf16Unit;
  return encoding == kEncodingAnsi ? size * kUtf8BytesPerAnsiByte : size;
}

// UTF-16 bytes after the mark, in the byte order `bigEndian` says, to UTF-8; a final odd byte is
// no unit and becomes U+FFFD. False when the heap cannot hold the units.
static bool Utf16BytesToUtf8(const char* bytes, size_t size, bool bigEndian, char* out, size_t* written) {
  size_t count = size / kUtf16UnitSize;
  uint16_t* units = static_cast<uint16_t*>(AllocZeroed(count + 1, sizeof(uint16_t)));
  if (!units) return false;
  const uint8_t* at = reinterpret_cast<const uint8_t*>(bytes);
  size_t high = bigEndian ? 0 : 1;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* unit = at + i * kUtf16UnitSize;
    units[i] = uint16_t((unit[high] << kBitsPerByte) | unit[1 - high]);
  }
  if (size % kUtf16UnitSize) units[count++] = kReplacementChar;
  *written = Utf16ToUtf8(units, count, out);
  FreeBlock(units);
  return true;
}

char* DecodeFileText(const char* bytes, size_t size, TextEncoding encoding, size_t headroom, size_t* length,
                     size_t* capacity) {
  size_t mark = 0;
  MarkOf(encoding, &mark);
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
  bool utf16 = IsUtf16Encoding(encoding);
  if (utf16 && !Utf16BytesToUtf8(bytes, size, IsBigEndian(encoding), text, &written)) {
    FreeBlock(block);
    return nullptr;
  }
  if (encoding == kEncodingAnsi) written = PlatformAnsiToUtf8(bytes, size, text);
  // UTF-8 stays as it is, and so does ANSI text that the system could not convert.
  if (written == 0 && !utf16) {
    memcpy(text, bytes, size);
    written = size;
  }
  *length = written;
  return block;
}

// UTF-8 to UTF-16 bytes in the byte order `bigEndian` says, after the mark.
static size_t Utf8ToUtf16Bytes(const char* text, size_t length, bool bigEndian, char* out) {
  uint16_t* units = static_cast<uint16_t*>(AllocZeroed(length ? length : 1, sizeof(uint16_t)));
  if (!units) return 0;
  size_t count = Utf8ToUtf16(text, length, units);
  size_t high = bigEndian ? 0 : 1;
  for (size_t i = 0; i < count; ++i) {
    out[i * kUtf16UnitSize + high] = char(units[i] >> kBitsPerByte);
    out[i * kUtf16UnitSize + 1 - high] = char(units[i] & kLowByteMask);
  }
  FreeBlock(units);
  return count * kUtf16UnitSize;
}

char* EncodeFileText(const char* text, size_t length, TextEncoding encoding, size_t* size, bool* unrepresentable) {
  *unrepresentable = false;
  *size = 0;
  if (length > (SIZE_MAX - kUtf16MarkSize) / kUtf16UnitSize) return nullptr;
  bool utf16 = IsUtf16Encoding(encoding);
  size_t markSize = 0;
  const char* mark = MarkOf(encoding, &markSize);
  size_t room = markSize + (utf16 ? length * kUtf16UnitSize : length);
  char* out = static_cast<char*>(AllocZeroed(room ? room : 1, 1));
  if (!out) return nullptr;
  memcpy(out, mark, markSize);
  if (encoding == kEncodingAnsi) {
    *size = PlatformUtf8ToAnsi(text, length, out, unrepresentable);
    if (*unrepresentable) FreeAndForget(out);
    return out;
  }
  if (!utf16) {
    memcpy(out + markSize, text, length);
    *size = markSize + length;
    return out;
  }
  *size = markSize + Utf8ToUtf16Bytes(text, length, IsBigEndian(encoding), out + markSize);
  // Without room for the units the text would be saved as its mark (or nothing) alone.
  if (*size == markSize && length > 0) FreeAndForget(out);
  return out;
}

bool FindFileTextShortfall(const char* bytes, size_t size, TextEncoding encoding, const char* text, size_t length,
                           FileShortfall* shortfall, bool* unpaired) {
  *unpaired = false;
  *shortfall = kShortfallNone;
  if (memchr(text, 0, length)) {
    *shortfall = kShortfallAfterNul;
    return true;
  }
  if (!KeepsThroughUtf16(text, length, unpaired)) {
    *shortfall = kShortfallBytes;
    return true;
  }
  size_t written = 0;
  bool unrepresentable = false;
  char* again = EncodeFileText(text, length, encoding, &written, &unrepresentable);
  if (!again && !unrepresentable) return false;
  if (unrepresentable || written != size || memcmp(again, bytes, size) != 0) *shortfall = kShortfallBytes;
  FreeBlock(again);
  return true;
}

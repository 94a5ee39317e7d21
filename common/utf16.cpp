// UTF-16 to and from UTF-8 (see utf16.h).
#include "common/utf16.h"

#include "common/utf8.h"

const uint32_t kFirstSupplementary = 0x10000;
const int kSurrogateBits = 10;
const uint32_t kSurrogatePayload = 0x3FF;

// The three-byte form of a surrogate, which well-formed UTF-8 does not allow.
const int kSurrogateFormBytes = 3;
const uint8_t kSurrogateFormLead = 0xED;
const uint8_t kSurrogateFormSecondLow = 0xA0, kSurrogateFormSecondHigh = 0xBF;
const uint8_t kContinuationLow = 0x80, kContinuationHigh = 0xBF;
const uint8_t kThreeByteLeadPayload = 0x0F, kContinuationPayload = 0x3F;
const int kContinuationBits = 6;

static bool IsHighSurrogate(uint32_t unit) { return unit >= kHighSurrogateFirst && unit <= kHighSurrogateLast; }
static bool IsLowSurrogate(uint32_t unit) { return unit >= kLowSurrogateFirst && unit <= kLowSurrogateLast; }

// The three bytes that UTF-8's pattern gives a surrogate's value.
static size_t WriteSurrogateForm(uint32_t unit, char* out) {
  out[0] = char(kSurrogateFormLead);
  out[1] = char(kContinuationLow | ((unit >> kContinuationBits) & kContinuationPayload));
  out[2] = char(kContinuationLow | (unit & kContinuationPayload));
  return kSurrogateFormBytes;
}

size_t Utf16ToUtf8(const uint16_t* units, size_t count, char* out) {
  size_t written = 0;
  for (size_t i = 0; i < count; ++i) {
    uint32_t unit = units[i];
    if (i + 1 < count && IsSurrogatePair(units[i], units[i + 1])) {
      uint32_t codePoint = kFirstSupplementary + (((unit & kSurrogatePayload) << kSurrogateBits) |
                                                  (units[++i] & kSurrogatePayload));
      written += size_t(EncodeUtf8(codePoint, out + written));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      written += WriteSurrogateForm(unit, out + written);
    } else {
      written += size_t(EncodeUtf8(unit, out + written));
    }
  }
  return written;
}

// The surrogate whose three-byte form stands at `text`, or 0 when none does.
static uint32_t SurrogateFormAt(const char* text, size_t available) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
  if (available < size_t(kSurrogateFormBytes) || bytes[0] != kSurrogateFormLead) return 0;
  if (bytes[1] < kSurrogateFormSecondLow || bytes[1] > kSurrogateFormSecondHigh) return 0;
  if (bytes[2] < kContinuationLow || bytes[2] > kContinuationHigh) return 0;
  return (uint32_t(bytes[0] & kThreeByteLeadPayload) << (2 * kContinuationBits)) |
         (uint32_t(bytes[1] & kContinuationPayload) << kContinuationBits) | (bytes[2] & kContinuationPayload);
}

size_t Utf8ToUtf16(const char* text, size_t length, uint16_t* out) {
  size_t written = 0;
  for (size_t at = 0; at < length;) {
    int n = 0;
    uint32_t codePoint = DecodeUtf8(text + at, length - at, &n);
    if (n == 1 && codePoint >= kContinuationLow) {
      uint32_t surrogate = SurrogateFormAt(text + at, length - at);
      codePoint = surrogate ? surrogate : kReplacementChar;
      n = surrogate ? kSurrogateFormBytes : 1;
    }
    at += size_t(n);
    if (codePoint < kFirstSupplementary) {
      out[written++] = uint16_t(codePoint);
      continue;
    }
    codePoint -= kFirstSupplementary;
    out[written++] = uint16_t(kHighSurrogateFirst | (codePoint >> kSurrogateBits));
    out[written++] = uint16_t(kLowSurrogateFirst | (codePoint & kSurrogatePayload));
  }
  return written;
}

bool KeepsThroughUtf16(const char* text, size_t length, bool* unpaired) {
  *unpaired = false;
  for (size_t at = 0; at < length;) {
    at += AsciiPrefixLength(text + at, length - at);
    if (at == length) break;
    int n = Utf8SequenceLength(text + at, length - at);
    if (n > 1) {
      at += size_t(n);
      continue;
    }
    uint32_t surrogate = SurrogateFormAt(text + at, length - at);
    if (!surrogate) return false;  // the way in makes U+FFFD of it
    at += kSurrogateFormBytes;
    if (IsHighSurrogate(surrogate) && IsLowSurrogate(SurrogateFormAt(text + at, length - at))) return false;
    *unpaired = true;
  }
  return true;
}

// UTF-8 walking, after the well-formed table of the Unicode standard (no overlong forms, no
// surrogates, nothing above U+10FFFF).
#include "common/utf8.h"

#include <string.h>

// The second byte's range for each kind of lead byte; the rest continue with 0x80 to 0xBF.
struct LeadRule {
  uint8_t firstLead, lastLead;
  int length;
  uint8_t secondLow, secondHigh;
};
static const LeadRule kLeadRules[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};
static const uint8_t kLeadPayloadMasks[kMaxUtf8Bytes + 1] = {0, 0x7F, 0x1F, 0x0F, 0x07};
static const uint8_t kLeadMarks[kMaxUtf8Bytes + 1] = {0, 0x00, 0xC0, 0xE0, 0xF0};
static const uint32_t kLargestOfLength[kMaxUtf8Bytes + 1] = {0, 0x7F, 0x7FF, 0xFFFF, kLastCodePoint};
const int kContinuationBits = 6;
const uint8_t kContinuationMark = 0x80;
const uint8_t kContinuationPayload = 0x3F;
const uint32_t kFirstSurrogate = 0xD800, kLastSurrogate = 0xDFFF;

int Utf8SequenceLength(const char* text, size_t available) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
  if (available == 0 || bytes[0] < kContinuationMark) return 1;
  for (const LeadRule& rule : kLeadRules) {
    if (bytes[0] < rule.firstLead || bytes[0] > rule.lastLead) continue;
    if (size_t(rule.length) > available) return 1;
    if (bytes[1] < rule.secondLow || bytes[1] > rule.secondHigh) return 1;
    for (int i = 2; i < rule.length; ++i) {
      if (!IsUtf8Continuation(bytes[i])) return 1;
    }
    return rule.length;
  }
  return 1;
}

uint32_t DecodeUtf8(const char* text, size_t available, int* length) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
  int n = Utf8SequenceLength(text, available);
  *length = n;
  if (n == 1) return bytes[0];
  uint32_t codePoint = bytes[0] & kLeadPayloadMasks[n];
  for (int i = 1; i < n; ++i) codePoint = (codePoint << kContinuationBits) | (bytes[i] & kContinuationPayload);
  return codePoint;
}

int EncodeUtf8(uint32_t codePoint, char* out) {
  if (codePoint > kLastCodePoint || (codePoint >= kFirstSurrogate && codePoint <= kLastSurrogate)) return 0;
  int n = 1;
  while (codePoint > kLargestOfLength[n]) ++n;
  for (int i = n - 1; i > 0; --i) {
    out[i] = char(kContinuationMark | (codePoint & kContinuationPayload));
    codePoint >>= kContinuationBits;
  }
  out[0] = char(kLeadMarks[n] | codePoint);
  return n;
}

bool IsWellFormedUtf8(const char* bytes, size_t size, bool* multiByte) {
  *multiByte = false;
  const uint8_t* unsignedBytes = reinterpret_cast<const uint8_t*>(bytes);
  for (size_t at = 0; at < size;) {
    // Runs of ASCII, most of any trigger file, are passed over without decoding.
    if (unsignedBytes[at] < kContinuationMark) {
      at += AsciiPrefixLength(bytes + at, size - at);
      continue;
    }
    int n = Utf8SequenceLength(bytes + at, size - at);
    if (n == 1 && uint8_t(bytes[at]) >= kContinuationMark) return false;
    if (n > 1) *multiByte = true;
    at += size_t(n);
  }
  return true;
}

size_t AsciiPrefixLength(const char* bytes, size_t size) {
  // A word at a time: a trigger file is read whole at every firing.
  const uint64_t kHighBits = 0x8080808080808080ull;
  size_t at = 0;
  for (uint64_t word = 0; at + sizeof word <= size; at += sizeof word) {
    memcpy(&word, bytes + at, sizeof word);
    if (word & kHighBits) break;
  }
  while (at < size && uint8_t(bytes[at]) < kContinuationMark) ++at;
  return at;
}

size_t Utf8CharCount(const char* text) {
  size_t count = 0;
  for (size_t left = strlen(text); left > 0; ++count) {
    size_t n = size_t(Utf8SequenceLength(text, left));
    text += n;
    left -= n;
  }
  return count;
}

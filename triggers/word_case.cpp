// Words and letter case of typed text (see word_case.h). The system's tables answer for each
// character; this file adds what the program itself counts as a part of a word.
#include "triggers/word_case.h"

#include "common/utf8.h"
#include "platform/text_case.h"

const uint32_t kApostrophe = 0x27;
const uint32_t kRightSingleQuote = 0x2019;
const uint32_t kUnderscore = 0x5F;
const uint32_t kFirstPrintable = 0x20;
const uint32_t kFirstControlAfterAscii = 0x7F;  // Delete and the C1 controls, to 0x9F
const uint32_t kLastC1Control = 0x9F;
const uint32_t kFirstNonAscii = 0x80;
const int kMinCapitalsForAll = 2;

bool IsWordCharacter(uint32_t codePoint) {
  return codePoint == kApostrophe || codePoint == kRightSingleQuote || codePoint == kUnderscore ||
         PlatformIsLetterOrDigit(codePoint);
}

bool EndsWord(uint32_t codePoint) {
  bool control = codePoint < kFirstPrintable || (codePoint >= kFirstControlAfterAscii && codePoint <= kLastC1Control);
  return !control && !IsWordCharacter(codePoint);
}

// A byte that begins no well-formed sequence stands for itself: it is no letter to fold.
static bool IsStrayByte(uint32_t codePoint, int length) { return length == 1 && codePoint >= kFirstNonAscii; }

size_t LowerCaseText(const char* text, size_t length, char* out) {
  size_t written = 0;
  for (size_t at = 0; at < length;) {
    int n = 1;
    uint32_t codePoint = DecodeUtf8(text + at, length - at, &n);
    int folded = IsStrayByte(codePoint, n) ? 0 : EncodeUtf8(PlatformLowerCase(codePoint), out + written);
    if (folded == 0) {
      for (int i = 0; i < n; ++i) out[written + size_t(i)] = text[at + size_t(i)];
      folded = n;
    }
    written += size_t(folded);
    at += size_t(n);
  }
  return written;
}

static bool IsCapital(uint32_t codePoint) { return PlatformLowerCase(codePoint) != codePoint; }

static bool HasCase(uint32_t codePoint) { return IsCapital(codePoint) || PlatformUpperCase(codePoint) != codePoint; }

OutputCase CaseTyped(const char* typed, size_t length) {
  int letters = 0, capitals = 0;
  bool firstIsCapital = false;
  for (size_t at = 0; at < length;) {
    int n = 1;
    uint32_t codePoint = DecodeUtf8(typed + at, length - at, &n);
    at += size_t(n);
    if (IsStrayByte(codePoint, n) || !HasCase(codePoint)) continue;
    if (letters == 0) firstIsCapital = IsCapital(codePoint);
    ++letters;
    if (IsCapital(codePoint)) ++capitals;
  }
  if (letters >= kMinCapitalsForAll && capitals == letters) return kCaseAllCapitals;
  return firstIsCapital ? kCaseFirstCapital : kCaseAsWritten;
}

uint32_t ApplyOutputCase(uint32_t codePoint, uint8_t* outputCase) {
  if (*outputCase == kCaseAllCapitals) return PlatformUpperCase(codePoint);
  if (*outputCase != kCaseFirstCapital || !PlatformIsLetterOrDigit(codePoint)) return codePoint;
  *outputCase = kCaseAsWritten;
  return PlatformUpperCase(codePoint);
}

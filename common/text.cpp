// Number conversion and case-blind search for the whole program.
#include "common/text.h"

#include <string.h>

int32_t TextToIntBounded(const char* text, size_t length) {
  if (!text) return 0;
  size_t i = 0;
  while (i < length && text[i] && !(text[i] >= '0' && text[i] <= '9')) ++i;
  if (i >= length || !text[i]) return 0;
  bool negative = i > 0 && text[i - 1] == '-';
  // Unsigned arithmetic wraps like the 32-bit accumulator it stands for, without overflow faults.
  uint32_t value = 0;
  for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10u + uint32_t(text[i] - '0');
  return int32_t(negative ? 0u - value : value);
}

int32_t TextToInt(const char* text) { return TextToIntBounded(text, SIZE_MAX); }

char* IntToText(int32_t value, char* out) {
  char digits[kIntTextSize];
  size_t n = 0;
  uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
  do {
    digits[n++] = char('0' + magnitude % 10u);
    magnitude /= 10u;
  } while (magnitude);
  size_t at = 0;
  if (value < 0) out[at++] = '-';
  while (n) out[at++] = digits[--n];
  out[at] = 0;
  return out;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix) {
    if (AsciiLower((unsigned char)*text) != AsciiLower((unsigned char)*prefix)) return false;
  }
  return true;
}

const char* FindTextNoCase(const char* text, const char* word) {
  if (!text || !word || !*text || !*word) return nullptr;
  for (; *text; ++text) {
    if (StartsWithNoCase(text, word)) return text;
  }
  return nullptr;
}

char* FindTextNoCase(char* text, const char* word) {
  return const_cast<char*>(FindTextNoCase(static_cast<const char*>(text), word));
}

void CopyTextBounded(char* to, const char* from, size_t size) {
  size_t n = 0;
  if (from) {
    while (n + 1 < size && from[n]) {
      to[n] = from[n];
      ++n;
    }
  }
  to[n] = 0;
}

static bool EndsCommandArgument(char c) { return c == 0 || c == '\r' || c == '\n' || c == '{'; }

int32_t CopyCommandArgument(char* to, const char* from, int32_t limit) {
  int32_t n = 0;
  while (from && n < limit && !EndsCommandArgument(from[n])) {
    if (to) to[n] = from[n];
    ++n;
  }
  if (to) to[n] = 0;
  return n;
}

void ReadCommaFields(const char* text, int32_t length, int32_t fieldLimit, int32_t* values, int count) {
  int32_t from = 0;
  for (int field = 0; field < count; ++field) {
    values[field] = 0;
    if (from > length) continue;  // past the last comma: the field is missing
    int32_t end = from;
    while (end < length && text[end] != ',') ++end;
    int32_t fieldLength = end - from < fieldLimit ? end - from : fieldLimit;
    values[field] = TextToIntBounded(text + from, size_t(fieldLength));
    from = end + 1;
  }
}

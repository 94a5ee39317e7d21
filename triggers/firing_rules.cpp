// Program rules and Suspend (see firing_rules.h). Patterns are kept in small letters, so that a
// window is compared in any letter case by folding its program and title once.
#include "triggers/firing_rules.h"

#include <string.h>

#include "common/state.h"
#include "common/text.h"
#include "common/utf8.h"
#include "triggers/trigger_table.h"
#include "triggers/word_case.h"

const char kInWord[] = "{in ";
const char kNotInWord[] = "{not in ";
const char kEverywhereWord[] = "{everywhere}";
const char kTitlePrefix[] = "title ";
const char kPatternEnd = ';';
const char kWordEnd = '}';

// ---- reading a rule word ---------------------------------------------------------------------

// Appends the pattern of `length` bytes at `from`, blanks around it taken off and in small
// letters, with its ";", to `out` (which has room: see kRulePatternsSize). An empty one is left out.
static void AppendPattern(const char* from, size_t length, RuleWord* word) {
  while (length > 0 && IsBlankOrTab(*from)) ++from, --length;
  while (length > 0 && IsBlankOrTab(from[length - 1])) --length;
  if (length == 0) return;
  char* out = word->patterns + strlen(word->patterns);
  size_t written = LowerCaseText(from, length, out);
  out[written] = kPatternEnd;
  out[written + 1] = 0;
  if (strncmp(out, kTitlePrefix, strlen(kTitlePrefix)) == 0) word->byTitle = true;
}

size_t ReadRuleWordAt(const char* text, RuleWord* word) {
  if (*text != '{') return 0;
  bool everywhere = StartsWithNoCase(text, kEverywhereWord), exclude = StartsWithNoCase(text, kNotInWord);
  size_t start = exclude ? strlen(kNotInWord) : StartsWithNoCase(text, kInWord) ? strlen(kInWord) : 0;
  size_t end = start;
  if (start > 0) {
    while (text[end] && text[end] != kWordEnd && text[end] != '\r' && text[end] != '\n') ++end;
    if (text[end] != kWordEnd || end - start > size_t(kMaxRulePatternBytes)) return 0;
  } else if (!everywhere) {
    return 0;
  }
  if (!word) return everywhere ? strlen(kEverywhereWord) : end + 1;
  memset(word, 0, sizeof *word);
  word->everywhere = everywhere;
  word->exclude = exclude;
  if (everywhere) return strlen(kEverywhereWord);
  for (size_t from = start, at = start; at <= end; ++at) {
    if (at == end || text[at] == kPatternEnd) {
      AppendPattern(text + from, at - from, word);
      from = at + 1;
    }
  }
  return end + 1;
}

// ---- matching --------------------------------------------------------------------------------

static size_t CharLength(const char* text, size_t available) {
  return size_t(Utf8SequenceLength(text, available < size_t(kMaxUtf8Bytes) ? available : size_t(kMaxUtf8Bytes)));
}

// The classic matcher with one star to go back to: on a mismatch the last "*" takes one more
// character of the text. Linear in practice, and never worse than the two lengths multiplied.
bool PatternMatches(const char* pattern, size_t length, const char* text) {
  size_t p = 0, t = 0, textLength = strlen(text);
  size_t starAt = SIZE_MAX, resumeAt = 0;
  while (t < textLength) {
    size_t n = CharLength(text + t, textLength - t);
    if (p < length && pattern[p] == '*') {
      starAt = p++;
      resumeAt = t;
    } else if (p < length && pattern[p] == '?') {
      ++p;
      t += n;
    } else if (p + n <= length && strncmp(pattern + p, text + t, n) == 0) {
      p += n;
      t += n;
    } else if (starAt != SIZE_MAX) {
      p = starAt + 1;
      resumeAt += CharLength(text + resumeAt, textLength - resumeAt);
      t = resumeAt;
    } else {
      return false;
    }
  }
  while (p < length && pattern[p] == '*') ++p;
  return p == length;
}

// Whether one pattern (its `length` bytes at `pattern`) matches the window: a "title " pattern
// its title, any other its program. An unread title matches when that lets the trigger fire.
static bool PatternHits(const char* pattern, size_t length, const char* program, const char* title, bool exclude) {
  size_t prefix = strlen(kTitlePrefix);
  if (length < prefix || strncmp(pattern, kTitlePrefix, prefix) != 0) return PatternMatches(pattern, length, program);
  if (!title) return !exclude;
  return PatternMatches(pattern + prefix, length - prefix, title);
}

bool RuleAllows(int32_t rule, const char* program, const char* title) {
  if (rule == kEverywhere) return true;
  const ProgramRule& found = ProgramRuleAt(rule);
  const char* at = ProgramRulePatterns(rule);
  for (const char* end = strchr(at, kPatternEnd); end; at = end + 1, end = strchr(at, kPatternEnd)) {
    if (PatternHits(at, size_t(end - at), program, title, found.exclude)) return !found.exclude;
  }
  return found.exclude;
}

// ---- Suspend ---------------------------------------------------------------------------------

bool TriggersSuspended() { return gTriggers.suspended; }

void SetTriggersSuspended(bool on) { gTriggers.suspended = on; }

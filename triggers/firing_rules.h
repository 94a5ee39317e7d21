// Where a trigger may fire: program rules, the option words that limit trigger lines to some
// programs ({in P1; P2}), keep them out of some ({not in P1; P2}) or end both ({everywhere});
// and Suspend, which stops every trigger but the hotkeys that switch it.
#pragma once
#include <stddef.h>
#include <stdint.h>

// The longest pattern list that a rule word holds, in bytes as written.
const int kMaxRulePatternBytes = 1000;
// Room for a pattern list in small letters (a character may take more bytes folded) and its NUL.
const int kRulePatternsSize = 4 * kMaxRulePatternBytes + 1;

// A rule word as read: kEverywhere, or the patterns of an {in …} or {not in …}.
struct RuleWord {
  bool everywhere;
  bool exclude;
  bool byTitle;                     // some pattern begins with "title "
  char patterns[kRulePatternsSize];  // each in small letters, blanks around it off, ended by ";"
};

// The length of the rule word that `text` begins with (letter case ignored in the words), with
// *word filled (when not nullptr); 0 when it begins with none: "{in " or "{not in " without a "}"
// on its line, or with more than kMaxRulePatternBytes before it, is no rule word.
size_t ReadRuleWordAt(const char* text, RuleWord* word);

// Whether the UTF-8 `text` (in small letters) matches `pattern` (its first `length` bytes, in
// small letters) whole: "*" stands for any run of characters, "?" for one character.
bool PatternMatches(const char* pattern, size_t length, const char* text);

// Whether rule `rule` (kEverywhere, or a number of the table's rules) lets a trigger fire in
// the window whose program's file name is `program` and whose title is `title`, both in small
// letters. A nullptr `title` is one not read: a pattern on titles then counts as letting it fire.
bool RuleAllows(int32_t rule, const char* program, const char* title);

// Suspend: on, no trigger fires but a hotkey that switches it, and nothing typed is kept.
bool TriggersSuspended();
void SetTriggersSuspended(bool on);

// Words and letter case of typed text: which characters make up a word and which end one, text
// folded to small letters for matching in any case, and the case that an output follows.
#pragma once
#include <stddef.h>
#include <stdint.h>

// How an output's text is written: as in the file, with its first letter a capital, or all in
// capitals.
enum OutputCase : uint8_t { kCaseAsWritten = 0, kCaseFirstCapital, kCaseAllCapitals };

// A part of a word: a letter or digit of any script (marks included), an apostrophe (' or the
// right single quotation mark, as in "don't") or the underscore.
bool IsWordCharacter(uint32_t codePoint);

// A character that ends a word when it is typed after one: a blank, punctuation or a symbol. A
// control character (Enter, Tab) and a key that types nothing end none.
bool EndsWord(uint32_t codePoint);

// Writes the `length` bytes of UTF-8 `text` with every letter in its small form into `out`, which
// must hold kMaxUtf8Bytes bytes for each character of the text; writes no NUL. A byte that begins
// no well-formed sequence is copied as it stands. Returns the number of bytes written.
size_t LowerCaseText(const char* text, size_t length, char* out);

// The case that an output follows when `typed` (UTF-8, `length` bytes) fired it: all capitals
// when every letter typed is a capital and there are two or more; else a first capital when the
// first letter typed is one; else as written. Letters without case do not count.
OutputCase CaseTyped(const char* typed, size_t length);

// `codePoint` as the next character of an output's text in case *outputCase. A first capital
// applies to the first letter or digit (a digit stays as it is) and then turns to as written.
uint32_t ApplyOutputCase(uint32_t codePoint, uint8_t* outputCase);

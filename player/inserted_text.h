// Texts that tokens of an output stand for: {Date…} (see date_text.h); {Clipboard}, the
// clipboard's text; {Program} and {Title}, the file name of the program that owns the window in
// front and that window's title; a fill-in field's answer (forms/field_form.h). All are plain
// text: nothing in them is played. Portable.
#pragma once
#include <stddef.h>
#include <stdint.h>

// True when the text at `at` begins with "{Clipboard}" (letter case ignored).
bool IsClipboardToken(const char* at);

// The length of the token that `at` begins with: "{Clipboard}", or any other up to and with its
// first "}" (the end of the output ends it too); `available` bytes follow `at`.
size_t InsertedTokenLength(const char* at, size_t available);

// The text of that token in a new heap block with a NUL after it, *length its bytes; nullptr
// when it stands for no text (a clipboard without text, or one that cannot be opened; a window
// that tells nothing) or memory ran out. The clipboard's text and a window's come as text alone:
// every line end in them as CR LF, their tabs, and no other control character.
char* InsertedText(const char* token, size_t tokenLength, uint32_t* length);

// How many presses of the Left key take the caret back over `text` as typed or pasted: one a
// character, a CR LF pair being one line end.
int32_t CaretSteps(const char* text, uint32_t length);

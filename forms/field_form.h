// Fill-in fields: an output's {Input NAME}, {Input NAME=DEFAULT} and {Choice NAME=a|b|c} tokens,
// asked for in one form before the output is typed. The form window (forms/form_window.cpp)
// calls SetFieldAnswer for each field and then the watcher's PlayAcceptedForm or
// TypeBackCancelledForm (watcher/expansion.h). Portable.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "platform/top_windows.h"

// The length of the field token that `at` begins with ("{Input " or "{Choice ", any letter case,
// a name, and a "}" before the end of the line and before any other "{"), 0 when it begins
// none: such text is typed as it stands.
size_t FieldTokenLength(const char* at);

// Whether `output` holds a field token.
bool OutputAsksFields(const char* output);

// Reads the fields of `output` into gForm, in the order of their first token; a name asked again
// (any letter case) is the same field. An input's default is the text after "=", a choice's
// values are split at "|" (blanks around each off, empty ones left out; a choice without values
// asks for a line of text). At most kMaxFormFields; tokens of further names are typed empty.
// Releases the fields before. Returns the number of fields.
int ReadFormFields(const char* output);

// The form takes `output` and `typedBack` (heap blocks, now the form's; typedBack may be
// nullptr) and opens for `previous`, titled `title`. False when the window could not be made:
// the output is released, and TakeCancelledText gives what to type back.
bool OpenFieldForm(char* output, char* typedBack, const char* title, WindowHandle previous);

// The answer of field `index` (UTF-8), from the form, before it is accepted.
void SetFieldAnswer(int index, const char* text);

// The choice values of field `index` one after the other: the value at number `choice` into
// `out` (size bytes); false when there is none.
bool FieldChoice(int index, int choice, char* out, size_t size);

// The form was accepted: returns the output that waited (a heap block, now the caller's); the
// answers stay for the player until the next form. nullptr when no form was open.
char* TakeAcceptedOutput();

// The form was cancelled (or could not open): returns what the erase took (a heap block, now the
// caller's; nullptr when nothing), and forgets the output and the answers.
char* TakeCancelledText();

// The answer for the field token of `length` bytes at `token` in a new heap block, *textLength
// its bytes; nullptr when the field has no answer (or memory ran out).
char* FieldAnswerText(const char* token, size_t length, uint32_t* textLength);

// Releases every field, the waiting output and the text to type back.
void ReleaseFieldForm();

// Fill-in fields (see field_form.h). The tokens stay in the output: the player asks for each
// token's answer where it stands (player/inserted_text.cpp), so an answer is typed as plain text
// and joins the run around it, and the output's %NAME%, case and caret work as for any output.
#include "forms/field_form.h"

#include <string.h>

#include "common/heap.h"
#include "common/state.h"
#include "common/text.h"
#include "platform/form_window.h"
#include "triggers/word_case.h"

const char kInputToken[] = "{Input ";
const char kChoiceToken[] = "{Choice ";
const char kTokenEnd = '}';
const char kOfferStart = '=';
const char kChoiceSeparator = '|';

// ---- tokens ----------------------------------------------------------------------------------

// The bytes of the token's word ("{Input " or "{Choice "), 0 when `at` begins neither.
static size_t TokenWordLength(const char* at) {
  if (*at != '{') return 0;
  if (StartsWithNoCase(at, kInputToken)) return strlen(kInputToken);
  if (StartsWithNoCase(at, kChoiceToken)) return strlen(kChoiceToken);
  return 0;
}

size_t FieldTokenLength(const char* at) {
  size_t word = TokenWordLength(at);
  if (word == 0) return 0;
  size_t end = word + strcspn(at + word, "{}\r\n");
  if (at[end] != kTokenEnd) return 0;
  // A name of blanks alone is no name.
  size_t nameEnd = word + strcspn(at + word, "=}");
  for (size_t i = word; i < nameEnd; ++i) {
    if (!IsBlankOrTab(at[i])) return end + 1;
  }
  return 0;
}

bool OutputAsksFields(const char* output) {
  for (const char* at = strchr(output, '{'); at; at = strchr(at + 1, '{')) {
    if (FieldTokenLength(at)) return true;
  }
  return false;
}

// The `length` bytes at `from` without the blanks around them.
static void Trim(const char** from, size_t* length) {
  while (*length > 0 && IsBlankOrTab(**from)) ++*from, --*length;
  while (*length > 0 && IsBlankOrTab((*from)[*length - 1])) --*length;
}

static char* CopyOf(const char* from, size_t length) {
  char* copy = static_cast<char*>(AllocZeroed(length + 1, 1));
  if (copy) memcpy(copy, from, length);
  return copy;
}

// A token's name and offer: the name up to "=" (or the end), the offer after it.
struct TokenParts {
  const char* name;
  size_t nameLength;
  const char* offer;
  size_t offerLength;
  bool choice;
};

static TokenParts PartsOf(const char* token, size_t length) {
  TokenParts parts = {};
  size_t word = TokenWordLength(token);
  parts.choice = StartsWithNoCase(token, kChoiceToken);
  const char* inner = token + word;
  size_t innerLength = length - word - 1;  // the "}" off
  const char* equals = static_cast<const char*>(memchr(inner, kOfferStart, innerLength));
  parts.name = inner;
  parts.nameLength = equals ? size_t(equals - inner) : innerLength;
  Trim(&parts.name, &parts.nameLength);
  if (parts.nameLength >= size_t(kFieldNameSize)) parts.nameLength = kFieldNameSize - 1;
  parts.offer = equals ? equals + 1 : inner + innerLength;
  parts.offerLength = equals ? size_t(inner + innerLength - parts.offer) : 0;
  return parts;
}

// A choice's values as "a|b|c": blanks around each off, empty ones left out.
static char* ChoiceValues(const char* offer, size_t length) {
  char* values = static_cast<char*>(AllocZeroed(length + 1, 1));
  if (!values) return nullptr;
  size_t written = 0;
  for (size_t from = 0, at = 0; at <= length; ++at) {
    if (at < length && offer[at] != kChoiceSeparator) continue;
    const char* value = offer + from;
    size_t valueLength = at - from;
    Trim(&value, &valueLength);
    if (valueLength > 0) {
      if (written > 0) values[written++] = kChoiceSeparator;
      memcpy(values + written, value, valueLength);
      written += valueLength;
    }
    from = at + 1;
  }
  values[written] = 0;
  return values;
}

// The field named so (any letter case), or -1.
static int FieldNamed(const char* name, size_t length) {
  for (int i = 0; i < gForm.fieldCount; ++i) {
    const char* other = gForm.fields[i].name;
    if (strlen(other) != length) continue;
    char a[kFieldNameSize * 4], b[kFieldNameSize * 4];
    size_t aLength = LowerCaseText(other, length, a), bLength = LowerCaseText(name, length, b);
    if (aLength == bLength && memcmp(a, b, aLength) == 0) return i;
  }
  return -1;
}

static void AddField(const TokenParts& parts) {
  if (gForm.fieldCount == kMaxFormFields || FieldNamed(parts.name, parts.nameLength) >= 0) return;
  FormField& field = gForm.fields[gForm.fieldCount];
  memcpy(field.name, parts.name, parts.nameLength);
  field.name[parts.nameLength] = 0;
  const char* offer = parts.offer;
  size_t offerLength = parts.offerLength;
  Trim(&offer, &offerLength);
  field.offer = parts.choice ? ChoiceValues(offer, offerLength) : CopyOf(offer, offerLength);
  field.kind = parts.choice && field.offer && field.offer[0] ? kFieldChoice : kFieldInput;
  // No values (or no memory for them): a line of text.
  if (field.kind == kFieldInput && parts.choice && field.offer) field.offer[0] = 0;
  field.value = nullptr;
  ++gForm.fieldCount;
}

static void ReleaseFields() {
  for (int i = 0; i < gForm.fieldCount; ++i) {
    FreeAndForget(gForm.fields[i].offer);
    FreeAndForget(gForm.fields[i].value);
    gForm.fields[i].name[0] = 0;
  }
  gForm.fieldCount = 0;
}

int ReadFormFields(const char* output) {
  ReleaseFields();
  for (const char* at = strchr(output, '{'); at; at = strchr(at + 1, '{')) {
    size_t length = FieldTokenLength(at);
    if (length) AddField(PartsOf(at, length));
  }
  return gForm.fieldCount;
}

// ---- the form --------------------------------------------------------------------------------

void ReleaseFieldForm() {
  ReleaseFields();
  FreeAndForget(gForm.output);
  FreeAndForget(gForm.typedBack);
  gForm.open = false;
}

bool OpenFieldForm(char* output, char* typedBack, const char* title, WindowHandle previous) {
  ReleaseFieldForm();
  ReadFormFields(output);
  gForm.output = output;
  gForm.typedBack = typedBack;
  gForm.previous = previous;
  CopyTextBounded(gForm.title, title, sizeof gForm.title);
  gForm.open = true;
  if (PlatformOpenFieldForm(previous)) return true;
  ReleaseFields();
  FreeAndForget(gForm.output);
  gForm.open = false;
  return false;
}

void SetFieldAnswer(int index, const char* text) {
  if (index < 0 || index >= gForm.fieldCount) return;
  FreeAndForget(gForm.fields[index].value);
  gForm.fields[index].value = CopyOf(text, strlen(text));
}

bool FieldChoice(int index, int choice, char* out, size_t size) {
  if (index < 0 || index >= gForm.fieldCount || gForm.fields[index].kind != kFieldChoice) return false;
  const char* at = gForm.fields[index].offer;
  for (int skipped = 0; skipped < choice && at; ++skipped) {
    at = strchr(at, kChoiceSeparator);
    if (at) ++at;
  }
  if (!at) return false;
  size_t length = strcspn(at, "|");
  if (length >= size) length = size - 1;
  memcpy(out, at, length);
  out[length] = 0;
  return true;
}

char* TakeAcceptedOutput() {
  if (!gForm.open) return nullptr;
  char* output = gForm.output;
  gForm.output = nullptr;
  FreeAndForget(gForm.typedBack);
  gForm.open = false;
  return output;
}

char* TakeCancelledText() {
  char* typed = gForm.typedBack;
  gForm.typedBack = nullptr;
  ReleaseFieldForm();
  return typed;
}

char* FieldAnswerText(const char* token, size_t length, uint32_t* textLength) {
  *textLength = 0;
  if (FieldTokenLength(token) != length) return nullptr;
  TokenParts parts = PartsOf(token, length);
  int field = FieldNamed(parts.name, parts.nameLength);
  if (field < 0 || !gForm.fields[field].value) return nullptr;
  uint32_t answerLength = uint32_t(strlen(gForm.fields[field].value));
  char* text = CopyOf(gForm.fields[field].value, answerLength);
  if (text) *textLength = answerLength;
  return text;
}

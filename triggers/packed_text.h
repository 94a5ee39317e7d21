// Packed text: the program's compact encoding of its built-in help and default trigger texts.
//
// Layout: two hex digits K (dictionary entries), one hex digit W (text width of every entry),
// K entries of one marker byte and W bytes of text, then the body. Unpacking replaces each
// entry's marker in the body by its text, from entry K down to entry 1, so an entry's text may
// hold the markers of earlier entries.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Least size of the output block, which never grows.
const size_t kUnpackMinBlock = 4u * 1024u * 1024u;

// Unpacks the first *length bytes of `packed` (stopping early at a NUL). Returns the text,
// NUL-terminated, in a new zero-filled heap block that the caller releases with FreeBlock, and
// sets *length to its length. Returns nullptr and sets *length to 0 for an absent text, a length
// of 0, an unusable header (width 0 with entries, or fewer bytes than the header needs), output
// that would not fit the block, or no memory. Never reads or writes outside input and output.
char* UnpackText(const char* packed, size_t* length);

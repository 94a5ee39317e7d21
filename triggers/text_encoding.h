// The conversion of trigger files, in the encodings that Windows editors write, to and from
// UTF-8, the text of the core. The load, the output lookup at each firing and the save all go
// through here, so all three read a file the same way.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "common/text_encoding_kind.h"

// The encoding of a file whose bytes are the `size` bytes at `bytes`: UTF-8 when it begins with
// the UTF-8 mark; UTF-16 LE or BE when it begins with the mark of either; UTF-16 without a mark
// when zero bytes in one byte of many units, nearly always the same one, show it (the side of the
// zeros tells the byte order); UTF-8 when it is well-formed UTF-8 with at least one multi-byte
// sequence; ANSI otherwise (plain ASCII included).
TextEncoding DetectTextEncoding(const char* bytes, size_t size);

// True for the four forms of UTF-16.
bool IsUtf16Encoding(TextEncoding encoding);

// Converts the `size` bytes of a file in `encoding` to UTF-8 text, the mark left out, in a new
// block (AllocZeroed) where the text begins `headroom` zero bytes in, ends with a NUL and is
// followed by at least kTextSlack zero bytes. *length is the text's length and *capacity the
// block's size. A final odd byte of UTF-16 becomes U+FFFD; an ANSI file that the system cannot
// convert is taken byte for byte. nullptr when the heap cannot supply the block.
char* DecodeFileText(const char* bytes, size_t size, TextEncoding encoding, size_t headroom, size_t* length,
                     size_t* capacity);

// Converts the `length` bytes of UTF-8 `text` to the bytes of a file in `encoding`, with the
// mark that the encoding begins with (none for the unmarked ones), in a new block (AllocZeroed);
// *size is their number. For ANSI, returns nullptr with *unrepresentable set when a character of
// the text has no form in the code page. nullptr (and *unrepresentable false) when the heap cannot supply the block.
char* EncodeFileText(const char* text, size_t length, TextEncoding encoding, size_t* size, bool* unrepresentable);

// What the editor and then a save would fail to give back of a file: `text` (`length` bytes) is
// what DecodeFileText made of its `size` bytes at `bytes` in `encoding`. *shortfall is
// kShortfallAfterNul when the text holds a NUL (the editor ends there), kShortfallBytes when a
// save of the text unchanged would not write the same bytes (bytes that are no text in the
// encoding), kShortfallNone otherwise; *unpaired tells whether it holds UTF-16 units that are
// no characters, which come back as they were. False when the heap cannot supply the check.
bool FindFileTextShortfall(const char* bytes, size_t size, TextEncoding encoding, const char* text, size_t length,
                           FileShortfall* shortfall, bool* unpaired);

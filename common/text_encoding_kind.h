// The encodings that Windows editors write trigger files in. The trigger table remembers the
// one its file was read in, so that a save writes it so again; triggers/text_encoding.h converts.
#pragma once
#include <stdint.h>

enum TextEncoding : uint8_t {
  kEncodingAnsi = 0,          // the system's ANSI code page: any file without the signs below
  kEncodingUtf8,              // UTF-8 without the byte-order mark, told by a multi-byte sequence
  kEncodingUtf8Marked,        // UTF-8 that begins with the byte-order mark
  kEncodingUtf16,             // UTF-16 little-endian after its mark FF FE (Notepad's "Unicode")
  kEncodingUtf16Be,           // UTF-16 big-endian after its mark FE FF ("Unicode big endian")
  kEncodingUtf16Unmarked,     // UTF-16 little-endian without a mark, told by its zero bytes
  kEncodingUtf16BeUnmarked,   // UTF-16 big-endian without a mark, told by its zero bytes
};

// What the editor lacks of the trigger file: what a save of the editor's text, unchanged, would
// fail to write back of the file on disk.
enum FileShortfall : uint8_t {
  kShortfallNone = 0,  // nothing: the editor holds the whole file, or a save wrote its text as the file
  kShortfallUnread,    // all of it: the file could not be read (the editor may hold text typed meanwhile)
  kShortfallAfterNul,  // the text after a NUL character, where the editor's text ends
  kShortfallBytes,     // bytes that are no text in the file's encoding: the editor shows U+FFFD for them
};

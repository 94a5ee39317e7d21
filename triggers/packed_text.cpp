// Decoder of packed text, used for the help text and the default trigger file.
#include "triggers/packed_text.h"

#include <string.h>

#include "common/heap.h"

static unsigned HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return unsigned(c - '0');
  if (c >= 'a' && c <= 'f') return unsigned(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return unsigned(c - 'A' + 10);
  return 0;
}

// Replaces every `marker` in out[0..*used) by the `width` bytes of `text`, never walking the
// text it inserts. Works backwards from the end in one pass, so the block is filled in place
// without moving the tail once per marker. Returns false, changing nothing, when the result
// would not fit in `capacity` bytes (one kept for the NUL).
static bool ReplaceMarker(char* out, size_t* used, size_t capacity, char marker, const char* text,
                          size_t width) {
  size_t markers = 0;
  for (size_t i = 0; i < *used; ++i) markers += out[i] == marker;
  if (markers == 0) return true;
  size_t grown = *used + markers * (width - 1);
  if (grown >= capacity) return false;
  size_t write = grown;
  for (size_t read = *used; read-- > 0;) {
    if (out[read] == marker) {
      write -= width;
      memcpy(out + write, text, width);
    } else {
      out[--write] = out[read];
    }
  }
  *used = grown;
  return true;
}

char* UnpackText(const char* packed, size_t* length) {
  if (!packed || !length || *length == 0) {
    if (length) *length = 0;
    return nullptr;
  }
  size_t n = strnlen(packed, *length);
  *length = 0;
  if (n < 3) return nullptr;
  size_t entries = HexDigitValue(packed[0]) * 16u + HexDigitValue(packed[1]);
  size_t width = HexDigitValue(packed[2]);
  size_t header = 3 + entries * (width + 1);
  // A zero width would delete markers rather than replace them: not a text this program packs.
  if (header > n || (entries > 0 && width == 0)) return nullptr;

  size_t capacity = 4 * n + kTextSlack;
  if (capacity < kUnpackMinBlock) capacity = kUnpackMinBlock;
  char* out = static_cast<char*>(AllocZeroed(capacity, 1));
  if (!out) return nullptr;

  size_t used = n - header;
  memcpy(out, packed + header, used);
  for (size_t entry = entries; entry >= 1; --entry) {
    const char* record = packed + 3 + (entry - 1) * (width + 1);
    if (!ReplaceMarker(out, &used, capacity, record[0], record + 1, width)) {
      FreeBlock(out);
      return nullptr;
    }
  }
  out[used] = 0;
  *length = used;
  return out;
}

// Fuzz target: UnpackText on fuzzed packed text, checked against a restatement of the layout:
// a body byte is replaced by the text of the highest entry with that marker, and the bytes of
// that text by the entries below it, and so on. The restatement walks the result once instead
// of rewriting it once per entry.
#include <string.h>

#include <vector>

#include "common/heap.h"
#include "tests/fuzz/fuzz_support.h"
#include "triggers/packed_text.h"

static size_t HexValue(char c) {
  const char digits[] = "0123456789abcdef0123456789ABCDEF";
  const char* at = c ? strchr(digits, c) : nullptr;
  return at ? size_t(at - digits) % 16 : 0;
}

struct Layout {
  const char* records;  // entry e's marker at records[(e - 1) * (width + 1)], its text after it
  size_t entries, width;
  std::vector<uint8_t> owner;  // owner[e * 256 + byte]: the highest entry up to e with that marker, or 0
  std::vector<size_t> unpackedWidth;  // of each entry's text, bounded by `bound`
  size_t bound;
};

static const char* EntryText(const Layout& layout, size_t entry) {
  return layout.records + (entry - 1) * (layout.width + 1) + 1;
}

// The unpacked length of `length` bytes at `text`, seen by the entries up to `below`; at most
// layout.bound.
static size_t UnpackedLength(const Layout& layout, const char* text, size_t length, size_t below) {
  size_t total = 0;
  for (size_t i = 0; i < length && total < layout.bound; ++i) {
    size_t entry = layout.owner[below * 256 + uint8_t(text[i])];
    total += entry ? layout.unpackedWidth[entry] : 1;
  }
  return total < layout.bound ? total : layout.bound;
}

// True when `out` from *at on holds the unpacked form of the bytes; moves *at past it.
static bool Matches(const Layout& layout, const char* text, size_t length, size_t below, const char* out, size_t* at) {
  for (size_t i = 0; i < length; ++i) {
    size_t entry = layout.owner[below * 256 + uint8_t(text[i])];
    if (entry ? !Matches(layout, EntryText(layout, entry), layout.width, entry - 1, out, at) : out[(*at)++] != text[i]) {
      return false;
    }
  }
  return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBegin();
  const char* packed = reinterpret_cast<const char*>(data);
  size_t length = size;
  char* text = UnpackText(packed, &length);

  size_t n = strnlen(packed, size);
  Layout layout = {packed + 3, n >= 3 ? HexValue(packed[0]) * 16 + HexValue(packed[1]) : 0,
                   n >= 3 ? HexValue(packed[2]) : 0, {}, {}, 4 * n + kTextSlack};
  if (layout.bound < kUnpackMinBlock) layout.bound = kUnpackMinBlock;
  size_t header = 3 + layout.entries * (layout.width + 1);
  bool usable = n >= 3 && header <= n && (layout.entries == 0 || layout.width > 0);
  size_t expected = layout.bound;
  if (usable) {
    layout.owner.assign((layout.entries + 1) * 256, 0);
    layout.unpackedWidth.assign(layout.entries + 1, 0);
    for (size_t e = 1; e <= layout.entries; ++e) {
      memcpy(&layout.owner[e * 256], &layout.owner[(e - 1) * 256], 256);
      layout.owner[e * 256 + uint8_t(EntryText(layout, e)[-1])] = uint8_t(e);
      layout.unpackedWidth[e] = UnpackedLength(layout, EntryText(layout, e), layout.width, e - 1);
    }
    expected = UnpackedLength(layout, packed + header, n - header, layout.entries);
  }
  // What does not fit the block (one byte kept for the NUL) is refused.
  if (expected < layout.bound) {
    FUZZ_CHECK(text != nullptr && length == expected && text[length] == 0);
    size_t at = 0;
    FUZZ_CHECK(Matches(layout, packed + header, n - header, layout.entries, text, &at) && at == length);
  } else {
    FUZZ_CHECK(text == nullptr && length == 0);
  }
  FreeBlock(text);
  FuzzEnd();
  return 0;
}

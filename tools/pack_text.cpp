// Greedy dictionary packer for packed text.
//
// Entry j is chosen from the body in which entries 1 to j-1 were already replaced, so its text
// may hold their markers; the decoder applies entries from the last to the first, which undoes
// the replacements in reverse order.
#include "tools/pack_text.h"

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

static const int kMaxEntries = 255;
static const int kMaxWidth = 15;
static const int kMaxSearchedWidth = 8;  // wider entries never paid off on real texts

// Bytes that the text never uses, in the order they are handed out as markers.
static std::vector<unsigned char> FreeMarkers(const std::string& text) {
  bool used[256] = {false};
  for (unsigned char c : text) used[c] = true;
  std::vector<unsigned char> free;
  for (int b = 255; b >= 1; --b) {
    if (!used[b]) free.push_back((unsigned char)b);
  }
  return free;
}

// Up to eight bytes make one exact number, so counting needs no string per position; wider
// substrings are hashed, where a rare collision can only make the choice less good, never wrong.
static uint64_t KeyOf(const std::string& body, size_t at, size_t width) {
  if (width > sizeof(uint64_t)) return std::hash<std::string_view>()(std::string_view(body).substr(at, width));
  uint64_t key = 0;
  for (size_t i = 0; i < width; ++i) key = key << 8 | (unsigned char)body[at + i];
  return key;
}

// Counts non-overlapping occurrences, left to right, the way the replacement will take them,
// and returns the substring found most often (the earliest of equals).
static std::string MostValuableSubstring(const std::string& body, size_t width, size_t* count) {
  struct Seen { size_t count, end, first; };
  std::unordered_map<uint64_t, Seen> seen;
  seen.reserve(body.size());
  for (size_t i = 0; i + width <= body.size(); ++i) {
    auto inserted = seen.emplace(KeyOf(body, i, width), Seen{0, 0, i});
    Seen& slot = inserted.first->second;
    if (slot.count == 0 || i >= slot.end) {
      slot.count++;
      slot.end = i + width;
    }
  }
  *count = 0;
  size_t best = 0;
  for (auto& entry : seen) {
    const Seen& s = entry.second;
    if (s.count > *count || (s.count == *count && s.first < best)) {
      best = s.first;
      *count = s.count;
    }
  }
  return *count ? body.substr(best, width) : std::string();
}

static std::string ReplaceAll(const std::string& body, const std::string& what, char marker) {
  std::string out;
  for (size_t i = 0; i < body.size();) {
    if (body.compare(i, what.size(), what) == 0) {
      out += marker;
      i += what.size();
    } else {
      out += body[i++];
    }
  }
  return out;
}

static char HexDigit(int value) { return "0123456789abcdef"[value & 15]; }

std::string PackTextWithWidth(const std::string& text, int width) {
  if (text.find('\0') != std::string::npos || width < 1 || width > kMaxWidth) return "";
  std::vector<unsigned char> markers = FreeMarkers(text);
  std::string body = text, dictionary;
  int entries = 0;
  while (entries < kMaxEntries && size_t(entries) < markers.size()) {
    size_t count = 0;
    std::string best = MostValuableSubstring(body, size_t(width), &count);
    // An entry costs width + 1 bytes and saves width - 1 bytes per occurrence.
    if (best.empty() || count * size_t(width - 1) <= size_t(width + 1)) break;
    char marker = char(markers[entries]);
    body = ReplaceAll(body, best, marker);
    dictionary += marker;
    dictionary += best;
    ++entries;
  }
  std::string header = {HexDigit(entries >> 4), HexDigit(entries), HexDigit(width)};
  return header + dictionary + body;
}

std::string PackText(const std::string& text) {
  std::string best = PackTextWithWidth(text, 1);
  for (int width = 2; width <= kMaxSearchedWidth && !best.empty(); ++width) {
    std::string packed = PackTextWithWidth(text, width);
    if (packed.size() < best.size()) best = packed;
  }
  return best;
}

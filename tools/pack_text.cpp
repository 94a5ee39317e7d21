// Greedy dictionary packer for packed text.
//
// Entry j is chosen from the body in which entries 1 to j-1 were already replaced, so its text
// may hold their markers; the decoder applies entries from the last to the first, which undoes
// the replacements in reverse order.
#include "tools/pack_text.h"

#include <stdio.h>

#include <string>
#include <unordered_map>
#include <vector>

static const int kMaxEntries = 255;
static const int kMaxWidth = 15;

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

// Counts non-overlapping occurrences, left to right, the way the replacement will take them.
static std::string MostValuableSubstring(const std::string& body, size_t width, size_t* count) {
  std::unordered_map<std::string, std::pair<size_t, size_t>> seen;  // count, end of last taken
  for (size_t i = 0; i + width <= body.size(); ++i) {
    auto& slot = seen[body.substr(i, width)];
    if (slot.first == 0 || i >= slot.second) {
      slot.first++;
      slot.second = i + width;
    }
  }
  std::string best;
  *count = 0;
  for (auto& entry : seen) {
    if (entry.second.first > *count || (entry.second.first == *count && entry.first < best)) {
      best = entry.first;
      *count = entry.second.first;
    }
  }
  return best;
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
  for (int width = 2; width <= kMaxWidth && !best.empty(); ++width) {
    std::string packed = PackTextWithWidth(text, width);
    if (packed.size() < best.size()) best = packed;
  }
  return best;
}

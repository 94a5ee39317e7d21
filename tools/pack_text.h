// Build-time packer of the program's texts into packed text (the decoder is triggers/packed_text).
#pragma once
#include <string>

// Packs `text` with entries of `width` bytes (1 to 15), choosing greedily, at each step, the
// substring whose replacement saves the most bytes. Markers are bytes that do not occur in the
// text. Returns an empty string when the text holds a NUL or `width` is out of range.
std::string PackTextWithWidth(const std::string& text, int width);

// Packs `text` with the width that gives the shortest result (width 1 with no entries when
// nothing pays off). Returns an empty string when the text holds a NUL.
std::string PackText(const std::string& text);

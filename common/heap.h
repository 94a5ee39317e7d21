// Zero-filled heap blocks: every variable-sized buffer of the program comes from here.
#pragma once
#include <stddef.h>

// Extra room given to a buffer that holds a whole file or the editor's text, and the least
// size of any text copy.
const size_t kTextSlack = 4096;

// Returns a zero-filled block of count times size bytes, or nullptr when the product overflows or
// the heap cannot supply it.
void* AllocZeroed(size_t count, size_t size);

// Releases a block from AllocZeroed; nullptr is ignored.
void FreeBlock(void* block);

// Releases *block and sets it to nullptr.
template <typename T> void FreeAndForget(T*& block) {
  FreeBlock(block);
  block = nullptr;
}

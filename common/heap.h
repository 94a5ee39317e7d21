// Zero-filled heap blocks: every variable-sized buffer of the program comes from here.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Extra room given to a buffer that holds a whole file or the editor's text, and the least
// size of any text copy.
const size_t kTextSlack = 4096;

// Returns a zero-filled block of count times size bytes, or nullptr when the product overflows or
// the heap cannot supply it.
void* AllocZeroed(size_t count, size_t size);

// Makes room in the text block *text (*capacity bytes, `used` of them taken) for `bytes` more:
// a new block of twice the size (`first` for none yet), or more when that is too little, with the
// text taken over. False, leaving the block as it was, when the heap has no room or the size
// would pass 4 GB.
bool ReserveTextRoom(char** text, uint32_t used, uint32_t* capacity, uint64_t bytes, uint32_t first);

// Releases a block from AllocZeroed; nullptr is ignored.
void FreeBlock(void* block);

// Releases *block and sets it to nullptr.
template <typename T> void FreeAndForget(T*& block) {
  FreeBlock(block);
  block = nullptr;
}

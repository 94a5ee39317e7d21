// Heap seam: the process heap, zero-filled.
#pragma once
#include <stddef.h>

// Returns a zero-filled block of `bytes` bytes from the process heap, or nullptr when the heap
// cannot supply it. The caller releases it with PlatformHeapFree.
void* PlatformHeapAlloc(size_t bytes);

// Releases a block from PlatformHeapAlloc; nullptr is ignored.
void PlatformHeapFree(void* block);

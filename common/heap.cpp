// Zero-filled heap blocks over the platform's process heap.
#include "common/heap.h"

#include <stdint.h>

#include "platform/memory.h"

void* AllocZeroed(size_t count, size_t size) {
  if (size != 0 && count > SIZE_MAX / size) return nullptr;
  return PlatformHeapAlloc(count * size);
}

void FreeBlock(void* block) { PlatformHeapFree(block); }

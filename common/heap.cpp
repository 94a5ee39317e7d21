// Zero-filled heap blocks over the platform's process heap.
#include "common/heap.h"

#include <stdint.h>
#include <string.h>

#include "platform/memory.h"

void* AllocZeroed(size_t count, size_t size) {
  if (size != 0 && count > SIZE_MAX / size) return nullptr;
  return PlatformHeapAlloc(count * size);
}

void FreeBlock(void* block) { PlatformHeapFree(block); }

bool ReserveTextRoom(char** text, uint32_t used, uint32_t* capacity, uint64_t bytes, uint32_t first) {
  if (bytes <= *capacity - used) return true;
  uint64_t wanted = uint64_t(used) + bytes;
  uint64_t grown = *capacity ? uint64_t(*capacity) * 2 : first;
  if (grown < wanted) grown = wanted;
  if (grown > UINT32_MAX) return false;
  char* block = static_cast<char*>(AllocZeroed(size_t(grown), 1));
  if (!block) return false;
  if (used > 0) memcpy(block, *text, used);
  FreeBlock(*text);
  *text = block;
  *capacity = uint32_t(grown);
  return true;
}

// Heap seam over the Win32 process heap.
#include <windows.h>

#include "platform/memory.h"

void* PlatformHeapAlloc(size_t bytes) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes); }

void PlatformHeapFree(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

// A copy of the clipboard's formats (see clipboard_copy.h).
#include "player/clipboard_copy.h"

#include "common/heap.h"
#include "platform/clipboard.h"

const int32_t kFirstFormatCapacity = 8;
// A clipboard that lists more formats than this is taken for one whose listing never ends.
const int32_t kMostFormats = 4096;

void ForgetSavedClipboard(SavedClipboard* saved) {
  for (int32_t i = 0; i < saved->count; ++i) FreeBlock(saved->formats[i].bytes);
  FreeAndForget(saved->formats);
  saved->count = saved->capacity = 0;
}

// Room for one format more.
static bool MakeRoom(SavedClipboard* saved) {
  if (saved->count < saved->capacity) return true;
  if (saved->capacity >= kMostFormats) return false;
  int32_t capacity = saved->capacity ? saved->capacity * 2 : kFirstFormatCapacity;
  SavedFormat* grown = static_cast<SavedFormat*>(AllocZeroed(size_t(capacity), sizeof(SavedFormat)));
  if (!grown) return false;
  for (int32_t i = 0; i < saved->count; ++i) grown[i] = saved->formats[i];
  FreeBlock(saved->formats);
  saved->formats = grown;
  saved->capacity = capacity;
  return true;
}

// Copies one format to the end of the copy; true too for one the system makes again.
static bool SaveFormat(SavedClipboard* saved, uint32_t format) {
  uint32_t size = 0;
  ClipboardFormatKind kind = PlatformMeasureClipboardFormat(format, &size);
  if (kind == kFormatLeftToSystem) return true;
  if (kind != kFormatCopyable || !MakeRoom(saved)) return false;
  void* bytes = AllocZeroed(size ? size : 1, 1);
  if (!bytes || !PlatformReadClipboardFormat(format, bytes, size)) {
    FreeBlock(bytes);
    return false;
  }
  saved->formats[saved->count++] = SavedFormat{format, size, bytes};
  return true;
}

bool SaveClipboard(SavedClipboard* saved) {
  for (uint32_t format = PlatformNextClipboardFormat(0); format; format = PlatformNextClipboardFormat(format)) {
    if (!SaveFormat(saved, format)) {
      ForgetSavedClipboard(saved);
      return false;
    }
  }
  return true;
}

bool RestoreClipboard(const SavedClipboard* saved) {
  bool whole = PlatformEmptyClipboard();
  for (int32_t i = 0; i < saved->count; ++i) {
    const SavedFormat& format = saved->formats[i];
    whole = PlatformPutClipboardFormat(format.format, format.bytes, format.size) && whole;
  }
  return whole;
}

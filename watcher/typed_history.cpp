// The typed history (see typed_history.h).
#include "watcher/typed_history.h"

#include <string.h>

#include "common/state.h"
#include "common/utf8.h"

size_t NewestCharsBytes(const uint8_t* history, int count) {
  const char* text = reinterpret_cast<const char*>(history);
  size_t at = 0;
  for (int i = 0; i < count && at < size_t(kHistoryBytes); ++i) {
    at += size_t(Utf8SequenceLength(text + at, size_t(kHistoryBytes) - at));
  }
  return at;
}

size_t NewestCharsInOrder(const uint8_t* history, int count, char* out) {
  const char* text = reinterpret_cast<const char*>(history);
  size_t starts[kHistoryChars + 1];
  int held = 0;
  size_t at = 0;
  for (; held < count && held < kHistoryChars && at < size_t(kHistoryBytes); ++held) {
    starts[held] = at;
    at += size_t(Utf8SequenceLength(text + at, size_t(kHistoryBytes) - at));
  }
  starts[held] = at;
  size_t written = 0;
  for (int i = held - 1; i >= 0; --i) {
    memcpy(out + written, text + starts[i], starts[i + 1] - starts[i]);
    written += starts[i + 1] - starts[i];
  }
  out[written] = 0;
  return written;
}

void PushTypedChar(const char* bytes, int length) {
  if (length < 1 || length > kMaxUtf8Bytes) return;
  uint8_t* history = gWatcher.typedHistory;
  // Room is made by dropping whole characters, so none is ever left cut at the end.
  size_t kept = NewestCharsBytes(history, kHistoryChars - 1);
  if (kept > size_t(kHistoryBytes - length)) kept = size_t(kHistoryBytes - length);
  memset(history + kept, 0, size_t(kHistorySize) - kept);
  memmove(history + length, history, kept);
  memcpy(history, bytes, size_t(length));
}

void EraseNewestTypedChar() {
  uint8_t* history = gWatcher.typedHistory;
  size_t n = size_t(Utf8SequenceLength(reinterpret_cast<const char*>(history), size_t(kHistoryBytes)));
  memmove(history, history + n, size_t(kHistorySize) - n);  // the ending zero moves up as well
  memset(history + kHistorySize - n, 0, n);
}

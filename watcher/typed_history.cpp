// The typed history (see typed_history.h).
#include "watcher/typed_history.h"

#include <string.h>

#include "common/state.h"
#include "common/utf8.h"

// The number of bytes of the first `count` characters of the history. A zero byte counts as a
// character: a key that types nothing is one.
static size_t BytesOfNewestChars(int count) {
  const char* history = reinterpret_cast<const char*>(gWatcher.typedHistory);
  size_t at = 0;
  for (int i = 0; i < count && at < size_t(kHistoryBytes); ++i) {
    at += size_t(Utf8SequenceLength(history + at, size_t(kHistoryBytes) - at));
  }
  return at;
}

void PushTypedChar(const char* bytes, int length) {
  if (length < 1 || length > kMaxUtf8Bytes) return;
  uint8_t* history = gWatcher.typedHistory;
  // Room is made by dropping whole characters, so none is ever left cut at the end.
  size_t kept = BytesOfNewestChars(kHistoryChars - 1);
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

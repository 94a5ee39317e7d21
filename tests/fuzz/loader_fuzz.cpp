// Fuzz target: a whole load of a fuzzed trigger file.
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/heap.h"
#include "common/state.h"
#include "common/utf8.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/unit/fake_platform.h"
#include "triggers/text_encoding.h"
#include "triggers/trigger_loader.h"

const char kLoadedPrefix[] = " Triggers Loaded: ";

static std::string FileText(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// Every entry up to the first empty one is a trigger that can fire; none follows it.
static void CheckTable() {
  int slot = 0;
  for (; slot < kTriggerSlots && gTriggers.entries[slot] && gTriggers.entries[slot]->storedTrigger[0]; ++slot) {
    const TriggerEntry* entry = gTriggers.entries[slot];
    size_t stored = strnlen(entry->storedTrigger, sizeof entry->storedTrigger);
    FUZZ_CHECK(stored <= size_t(kMaxTriggerBytes));
    std::string written(entry->searchKey + 1, strnlen(entry->searchKey + 1, sizeof entry->searchKey - 1) - 1);
    FUZZ_CHECK(Utf8CharCount(written.c_str()) <= size_t(kMaxTriggerLength));
    FUZZ_CHECK(gTriggers.matchLengths[slot] == int32_t(stored));
    FUZZ_CHECK(entry->searchKey[0] == '\n');
    FUZZ_CHECK(memchr(entry->searchKey, '=', sizeof entry->searchKey) != nullptr);
  }
  FUZZ_CHECK(slot <= kMaxTriggers);
  for (; slot < kTriggerSlots; ++slot) FUZZ_CHECK(!gTriggers.entries[slot] || !gTriggers.entries[slot]->storedTrigger[0]);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBegin();
  const char* path = WriteTriggerFile(std::string(reinterpret_cast<const char*>(data), size));
  LoadTriggerFile(path);
  CheckTable();
  // The editor shows the file as it stands now (the default text when it was nearly empty), as
  // UTF-8, up to its first NUL.
  std::string onDisk = FileText(path);
  size_t length = 0, capacity = 0;
  char* text = DecodeFileText(onDisk.data(), onDisk.size(), DetectTextEncoding(onDisk.data(), onDisk.size()), 0,
                              &length, &capacity);
  FUZZ_CHECK(text && gFake.editorText == std::string(text));
  FreeBlock(text);
  FUZZ_CHECK(gFake.statusText.compare(0, strlen(kLoadedPrefix), kLoadedPrefix) == 0);
  FuzzEnd();
  return 0;
}

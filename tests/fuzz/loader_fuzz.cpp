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

// Every entry is a trigger that can fire, its texts of the right shape.
static void CheckTable() {
  for (int entry = 0; entry < TriggerCount(); ++entry) {
    const char* searchKey = TriggerSearchKey(entry);
    size_t stored = strlen(StoredTrigger(entry));
    FUZZ_CHECK(stored > 0 && stored <= size_t(kMaxTriggerBytes));
    std::string written(searchKey + 1, strlen(searchKey + 1) - 1);
    FUZZ_CHECK(Utf8CharCount(written.c_str()) <= size_t(kMaxTriggerLength));
    FUZZ_CHECK(TriggerMatchLength(entry) == int32_t(stored));
    FUZZ_CHECK(searchKey[0] == '\n');
    FUZZ_CHECK(searchKey[strlen(searchKey) - 1] == '=');
  }
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

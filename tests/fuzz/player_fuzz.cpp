// Fuzz target: the output interpreter, a fuzzed output played tick by tick to its end.
#include <string.h>

#include "common/heap.h"
#include "common/state.h"
#include "player/output_player.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBegin();
  gPlayer.outputBuffer = static_cast<char*>(AllocZeroed(size + 1, 1));
  FUZZ_CHECK(gPlayer.outputBuffer != nullptr);
  memcpy(gPlayer.outputBuffer, data, size);
  // Every tick plays at least one token, so a longer play is a hang.
  int32_t maxTicks = int32_t(strlen(gPlayer.outputBuffer)) + 1;
  StartPlayer();
  PlayToEnd(maxTicks);
  FuzzEnd();
  return 0;
}

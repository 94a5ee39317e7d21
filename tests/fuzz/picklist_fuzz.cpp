// Fuzz target: the pick list. The input is the line height of the paint (one signed byte), the
// stored "window_list" value (a length byte, absent when 0, and that many bytes), then the text
// after "LIST: ". The list is opened, painted, every item read and the first ones chosen, and
// the placement is stored and read back.
#include <string.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "common/state.h"
#include "common/text.h"
#include "picklist/pick_list.h"
#include "player/program_commands.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/unit/fake_platform.h"
#include "watcher/key_poller.h"

// Items beyond the first few are chosen the same way.
const int32_t kChosenItems = 12;

static void CheckPaint(int32_t lineHeight) {
  int32_t step = lineHeight < 1 ? 1 : lineHeight;
  ListPaintWalk walk = StartListPaint(lineHeight);
  char line[kListLineSize];
  int32_t top = -1, lines = 0;
  while (NextListLine(&walk, line, sizeof line, &top)) {
    FUZZ_CHECK(top == lines * step && ListLineAt(uint32_t(top)) == lines);
    FUZZ_CHECK(strlen(line) < kListLineSize);
    FUZZ_CHECK(++lines <= kListPaintLimit);
  }
}

// Every item is trimmed and bounded; past the last separator there are none.
static int32_t CheckItems() {
  int32_t items = 1;
  for (const char* at = gPickList.listBuffer; (at = strchr(at, ';')); ++at) ++items;
  char item[kProgramNameLimit + 1];
  for (int32_t index = -1; index <= items; ++index) {
    ListItemText(index, item);
    size_t length = strlen(item);
    FUZZ_CHECK(length <= size_t(kProgramNameLimit));
    FUZZ_CHECK(length == 0 || (!IsBlankOrTab(item[0]) && !IsBlankOrTab(item[length - 1])));
    FUZZ_CHECK(length == 0 || (index >= 0 && index < items));
  }
  return items;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBegin();
  FuzzInput input = {data, size};
  int32_t lineHeight = int8_t(TakeByte(&input));
  if (size_t placementLength = TakeByte(&input)) {
    FakePresetSetting(kFuzzSettingsPath, kSettingsSection, kKeyWindowList, TakeBytes(&input, placementLength));
  }
  std::string text = TakeRest(&input);

  int32_t taken = OpenPickList(text.c_str());
  FUZZ_CHECK(taken <= kListTextLimit && gPickList.listBuffer && strlen(gPickList.listBuffer) == size_t(taken));
  FUZZ_CHECK(text.compare(0, size_t(taken), gPickList.listBuffer) == 0);
  FUZZ_CHECK(taken == kListTextLimit || strchr("\r\n{", text.c_str()[taken]));
  FUZZ_CHECK(FakeEventsOf(kFakeListWindow).size() == 1);

  CheckPaint(lineHeight);
  int32_t items = CheckItems();
  for (int32_t index = 0; index < items && index < kChosenItems; ++index) {
    gFake.events.clear();
    ChoosePickListItem(index);
    FUZZ_CHECK(FakeEventsOf(kFakeBringForward).size() + FakeEventsOf(kFakeShellExecute).size() <= 1);
  }

  // A closed list stores where it was, and the next list opens there.
  ListPlacement placement = ReadListPlacement();
  OnPickListClosed(placement);
  ListPlacement again = ReadListPlacement();
  FUZZ_CHECK(again.left == placement.left && again.top == placement.top && again.width == placement.width &&
             again.height == placement.height);
  FuzzEnd();
  return 0;
}

// The pick list's text, its lines and its choices. The list text is kept apart from the output,
// so it outlives the output that opened it; every open list window shows the newest one.
#include "picklist/pick_list.h"

#include <stdio.h>
#include <string.h>

#include "app/settings.h"
#include "common/heap.h"
#include "common/state.h"
#include "common/text.h"
#include "platform/mouse.h"
#include "platform/top_windows.h"
#include "platform/ui.h"
#include "player/program_commands.h"
#include "player/window_commands.h"

const char kItemSeparator = ';';
// "window_list": four numbers, each read from its first characters only.
const uint32_t kPlacementTextSize = 256;
const int32_t kPlacementFieldLimit = 31;
const int kPlacementFields = 4;
const char kPlacementFormat[] = "%d,%d,%d,%d";
// Without a stored placement the list opens near the screen's top right corner: pixels at
// kBaseDpi, scaled to the screen's DPI.
const int32_t kDefaultRightMargin = 310;
const int32_t kDefaultTop = 10;
const int32_t kDefaultWidth = 300;
const int32_t kDefaultHeight = 200;

int32_t OpenPickList(const char* text) {
  // The list text is measured apart from the buffer: it is never typed, even when the list
  // cannot be shown.
  int32_t length = CopyCommandArgument(nullptr, text, kListTextLimit);
  FreeAndForget(gPickList.listBuffer);
  gPickList.listBuffer = static_cast<char*>(AllocZeroed(kListBufferSize, 1));
  if (!gPickList.listBuffer) return length;
  CopyCommandArgument(gPickList.listBuffer, text, kListTextLimit);
  PlatformOpenListWindow(ReadListPlacement());
  return length;
}

// A default size in pixels at kBaseDpi, at the screen's `dpi`, rounded to the nearest pixel.
static int32_t AtScreenDpi(int32_t pixels, int32_t dpi) { return (pixels * dpi + kBaseDpi / 2) / kBaseDpi; }

ListPlacement ReadListPlacement() {
  char stored[kPlacementTextSize];
  uint32_t length = ReadSettingText(kKeyWindowList, "", stored, sizeof stored);
  if (length == 0) {
    int32_t screenWidth = 0, screenHeight = 0;
    PlatformScreenSize(&screenWidth, &screenHeight);
    int32_t dpi = PlatformScreenDpi();
    return ListPlacement{screenWidth - AtScreenDpi(kDefaultRightMargin, dpi), AtScreenDpi(kDefaultTop, dpi),
                         AtScreenDpi(kDefaultWidth, dpi), AtScreenDpi(kDefaultHeight, dpi)};
  }
  int32_t fields[kPlacementFields];
  ReadCommaFields(stored, int32_t(length), kPlacementFieldLimit, fields, kPlacementFields);
  return ListPlacement{fields[0], fields[1], fields[2], fields[3]};
}

ListPaintWalk StartListPaint(int32_t lineHeight) {
  // A font without height must not stack every line at the top or divide by zero.
  if (lineHeight < 1) lineHeight = 1;
  gPickList.lineHeight = lineHeight;
  return ListPaintWalk{0, 0, lineHeight};
}

bool NextListLine(ListPaintWalk* walk, char* line, size_t size, int32_t* lineTop) {
  const char* text = gPickList.listBuffer;
  int32_t at = walk->position;
  if (!text || at >= kListPaintLimit || !text[at]) return false;
  while (at < kListPaintLimit && text[at] == ' ') ++at;
  int32_t start = at;
  while (at < kListPaintLimit && text[at] && text[at] != kItemSeparator) ++at;
  int32_t itemLength = at - start;
  if (at < kListPaintLimit && text[at] == kItemSeparator) ++at;
  walk->position = at;
  *lineTop = walk->lineTop;
  if (walk->lineTop < kNumberedLines * walk->lineHeight) {
    snprintf(line, size, "%d - %.*s", int(1 + walk->lineTop / walk->lineHeight), int(itemLength), text + start);
  } else {
    snprintf(line, size, "%.*s", int(itemLength), text + start);
  }
  walk->lineTop += walk->lineHeight;
  return true;
}

int32_t ListLineAt(uint32_t y) {
  if (gPickList.lineHeight <= 0) return -1;
  return int32_t(y / uint32_t(gPickList.lineHeight));
}

// The start of item `index`: after the index-th separator; nullptr when there are fewer.
static const char* FindItem(const char* text, int32_t index) {
  for (int32_t k = 0; k < index; ++k) {
    text = strchr(text, kItemSeparator);
    if (!text) return nullptr;
    ++text;
  }
  return text;
}

void ListItemText(int32_t index, char* out) {
  out[0] = 0;
  const char* item = gPickList.listBuffer && index >= 0 ? FindItem(gPickList.listBuffer, index) : nullptr;
  if (!item) return;
  int32_t length = 0;
  while (length < kProgramNameLimit && item[length] && item[length] != kItemSeparator) ++length;
  int32_t start = 0;
  while (start < length && IsBlankOrTab(item[start])) ++start;
  while (length > start && IsBlankOrTab(item[length - 1])) --length;
  memcpy(out, item + start, size_t(length - start));
  out[length - start] = 0;
}

void ChoosePickListItem(int32_t index) {
  char item[kProgramNameLimit + 1];
  ListItemText(index, item);
  if (!item[0]) return;
  if (WindowHandle window = FindWindowByTitle(item)) {
    if (PlatformIsWindow(window)) PlatformBringWindowForward(window);
    return;
  }
  // A list is a launcher of the user's own choosing: a failed start is not reported.
  SetCommandDirectory(item);
  LaunchCommand(item);
}

void OnPickListClosed(const ListPlacement& placement) {
  char text[4 * kIntTextSize];
  snprintf(text, sizeof text, kPlacementFormat, int(placement.left), int(placement.top), int(placement.width),
           int(placement.height));
  WriteSettingText(kKeyWindowList, text);
}

void ReleasePickList() { FreeAndForget(gPickList.listBuffer); }

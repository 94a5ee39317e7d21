// The pick list: a small always-on-top window of numbered items, opened by "LIST: " in an
// output. A chosen item is brought forward as a window or, failing that, started as a program,
// document or address. The window itself (picklist/list_window.cpp) calls the procedures below.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "platform/list_window.h"

// The longest list text: what follows in the output is played as usual.
const int32_t kListTextLimit = 479;
const size_t kListBufferSize = 65536;
// Painting looks at this many characters of the list text at most.
const int32_t kListPaintLimit = 255;
// The first lines carry their number, so that the digit keys choose them.
const int32_t kNumberedLines = 9;
// WM_COMMAND identifiers that choose an item: the first item's, and the last item's that can be
// chosen.
const uint32_t kFirstItemCommand = 0x8000;
const uint32_t kLastItemCommand = 0x8020;
// Room for one painted line: its number, " - " and the item.
const size_t kListLineSize = kListPaintLimit + 8;

// "LIST: ": keeps the list text (up to its first CR, LF or "{", at most kListTextLimit
// characters) in a fresh list buffer and opens a list window at the stored placement. Returns
// at once with the number of characters taken as the list text.
int32_t OpenPickList(const char* text);

// The placement stored in "window_list", or the default one (near the top right corner).
ListPlacement ReadListPlacement();

// Walks the list text line by line for painting.
struct ListPaintWalk {
  int32_t position;   // next character of the list text
  int32_t lineTop;    // top edge of the next line, from the client area's top
  int32_t lineHeight;
};

// Starts a walk with lines `lineHeight` apart.
ListPaintWalk StartListPaint(int32_t lineHeight);

// The text of the next line ("1 - item" on the first nine lines), and its top edge in *lineTop.
// False when the list has no more lines to show (or there is no list).
bool NextListLine(ListPaintWalk* walk, char* line, size_t size, int32_t* lineTop);

// The line under client coordinate `y`; -1 when no list has been painted yet.
int32_t ListLineAt(uint32_t y);

// Item `index` of the list text, without the blanks and tabs around it; empty when the list has
// fewer items. `out` holds kProgramNameLimit + 1 bytes.
void ListItemText(int32_t index, char* out);

// Carries out the choice of item `index`: its window comes forward, or it is started. An empty
// item does nothing. The caller closes the list window afterwards.
void ChoosePickListItem(int32_t index);

// A list window closed at `placement`: it is stored for the next list. Watching the keys goes on
// as it was: the output that opened the list resumed it when it ended.
void OnPickListClosed(const ListPlacement& placement);

// Releases the list buffer at the end of the run.
void ReleasePickList();

// The editor's font.
#pragma once
#include <windows.h>

// Makes a font from the stock GUI font's description with the given face (cut to 30 characters;
// empty keeps the stock face), point size (0 keeps the stock height) and styles. Never returns
// nullptr: the stock font stands in when nothing better can be made.
HFONT CreateEditorFont(const char* face, int points, bool bold, bool italic, bool underline);

// Deletes a font from CreateEditorFont, unless it is the stock font, and forgets it.
void DeleteEditorFont(HFONT* font);

// The editor's font.
#pragma once
#include <windows.h>

// Makes a font from the stock GUI font's description with the given face (cut to 30 characters;
// empty keeps the stock face), point size at `dpi` (0 keeps the stock height, scaled from the
// screen's DPI to `dpi`) and styles. Never returns nullptr: the stock font stands in when
// nothing better can be made.
HFONT CreateEditorFont(const char* face, int points, bool bold, bool italic, bool underline, int dpi);

// The editor's font becomes `face` at `points` (plain style) for `dpi`, in place of the one it
// had, which is deleted; the choice is kept in gApp.editorFontChoice. The editor, when it exists,
// takes the new font and is redrawn.
void UseEditorFont(const char* face, int points, int dpi);

// Deletes a font from CreateEditorFont, unless it is the stock font, and forgets it.
void DeleteEditorFont(HFONT* font);

// What the font dialog gave: a face name (up to 31 characters), a point size and the styles.
struct ChosenFont {
  char face[32];
  int points;
  bool bold, italic, underline;
};

// Shows the font dialog, owned by the desktop window so that the main window stays usable
// meanwhile. Returns false when it was cancelled; otherwise true with the choice in *chosen.
bool ChooseEditorFont(ChosenFont* chosen);

// Command 3403: the editor takes the chosen face and size (plain style), and the setting "font"
// keeps them. Sizes below the start-up minimum are used as chosen; the next start corrects them.
void OnChooseFontCommand();

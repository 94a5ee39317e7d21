// The editor's font, made from the stock GUI font's description.
#include "app/editor_font.h"

#include "common/text.h"

static const int kFaceNameMax = 30;  // characters of the face name kept
static const int kPointsPerInch = 72;
static const char kSymbolFace[] = "Wingdings";

static HFONT StockFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// Minus the character height in pixels of `points` on the screen.
static LONG HeightForPoints(int points) {
  HDC screen = GetDC(nullptr);
  int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return -MulDiv(points, pixelsPerInch, kPointsPerInch);
}

HFONT CreateEditorFont(const char* face, int points, bool bold, bool italic, bool underline) {
  LOGFONTA description;
  if (!GetObjectA(StockFont(), sizeof description, &description)) return StockFont();
  if (face && *face) CopyTextBounded(description.lfFaceName, face, kFaceNameMax + 1);
  LONG height = points != 0 ? HeightForPoints(points) : description.lfHeight;
  BYTE charset = lstrcmpiA(description.lfFaceName, kSymbolFace) == 0 ? SYMBOL_CHARSET : DEFAULT_CHARSET;
  HFONT font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE, charset,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           description.lfFaceName);
  return font ? font : StockFont();
}

void DeleteEditorFont(HFONT* font) {
  if (*font && *font != StockFont()) DeleteObject(*font);
  *font = nullptr;
}

// The editor's font, made from the stock GUI font's description.
#include "app/editor_font.h"

#include <commdlg.h>

#include "app/app_state.h"
#include "app/settings.h"
#include "app/shell_rules.h"
#include "common/text.h"
#include "platform/win32_dpi.h"
#include "platform/win32_sizes.h"

static const int kFaceNameMax = 30;  // characters of the face name kept
static const char kSymbolFace[] = "Wingdings";
static const LONG kBoldWeight = 600;  // this weight and heavier count as bold
static_assert(sizeof(CHOOSEFONTA) == Win32BuildSize(60, 104), "CHOOSEFONTA as the font dialog takes it in this build");

static HFONT StockFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HFONT CreateEditorFont(const char* face, int points, bool bold, bool italic, bool underline, int dpi) {
  LOGFONTA description;
  if (!GetObjectA(StockFont(), sizeof description, &description)) return StockFont();
  if (face && *face) CopyTextBounded(description.lfFaceName, face, kFaceNameMax + 1);
  LONG height =
      points != 0 ? FontHeightFromPoints(points, dpi) : Win32ScaleFromScreenDpi(int(description.lfHeight), dpi);
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

void UseEditorFont(const char* face, int points, int dpi) {
  HFONT font = CreateEditorFont(face, points, false, false, false, dpi);
  FontChoice* kept = &gApp.editorFontChoice;
  if (face != kept->face) CopyTextBounded(kept->face, face, sizeof kept->face);  // made again: kept already
  kept->points = points;
  if (gApp.editor) SendMessageA(gApp.editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  DeleteEditorFont(&gApp.editorFont);
  gApp.editorFont = font;
}

bool ChooseEditorFont(ChosenFont* chosen) {
  LOGFONTA description = {};
  CHOOSEFONTA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetDesktopWindow();
  dialog.lpLogFont = &description;
  dialog.rgbColors = GetSysColor(COLOR_BTNTEXT);
  dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST;
  if (!ChooseFontA(&dialog)) return false;
  CopyTextBounded(chosen->face, description.lfFaceName, sizeof chosen->face);
  // The dialog measures its sizes at the screen's DPI.
  chosen->points = FontPointsFromHeight(description.lfHeight, Win32ScreenDpi());
  chosen->bold = description.lfWeight >= kBoldWeight;
  chosen->italic = description.lfItalic != 0;
  chosen->underline = description.lfUnderline != 0;
  return true;
}

void OnChooseFontCommand() {
  ChosenFont chosen;
  if (!ChooseEditorFont(&chosen)) return;
  const char* face = chosen.face[0] ? chosen.face : kDefaultFontFace;
  UseEditorFont(face, chosen.points, Win32WindowDpi(gApp.mainWindow));
  char setting[kFontSettingCapacity];
  FormatFontSetting(face, chosen.points, setting, sizeof setting);
  WriteSettingText(kKeyFont, setting);
}

// The DPI that the program's windows draw at. The program declares itself aware of each
// monitor's DPI, so nothing is scaled for it: it sizes its windows and letters itself. Systems
// before those that know a DPI per window or per monitor (XP, Vista, 7) have one DPI, the
// screen's; the newer calls are looked up at run time, and the screen's DPI stands in for them.
#pragma once
#include <windows.h>

#include "platform/mouse.h"  // kBaseDpi

// WM_DPICHANGED, which the headers for XP leave out: the new DPI in the high word of wParam, and
// the window rectangle suggested for it in lParam.
const UINT kDpiChangedMessage = 0x02E0;

// The screen's DPI (LOGPIXELSY): the system's one DPI, which the stock fonts and the system's
// metrics are made for. kBaseDpi when it cannot be read.
int Win32ScreenDpi();

// The DPI of `monitor` where the system knows one per monitor; otherwise the screen's.
int Win32MonitorDpi(HMONITOR monitor);

// The DPI of `window`: the system's own answer where it knows a DPI per window, otherwise the
// DPI of the monitor that holds most of it.
int Win32WindowDpi(HWND window);

// `value`, written for kBaseDpi, at `dpi`.
int Win32ScaleToDpi(int value, int dpi);

// `value`, a size at the screen's DPI (a stock font's height, a system metric), at `dpi`.
int Win32ScaleFromScreenDpi(int value, int dpi);

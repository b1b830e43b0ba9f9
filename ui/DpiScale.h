// What the dialog manager does not scale, at the DPI of the monitor that shows
// a window: pictures, icons, metrics and pixel sizes drawn at 96 DPI.
#pragma once

#include <windows.h>

// The headers of the oldest Windows the program runs on leave these out;
// Windows 10 sends them to a program that declares per-monitor awareness.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// The DPI that the pictures and pixel sizes are drawn for.
constexpr int kBaseDpi = 96;

// Posted by a dialog to itself on WM_DPICHANGED, so that it comes after the
// dialog manager has laid the template out anew; wParam is the new DPI.
constexpr UINT UM_DPI_SETTLED = WM_APP + 39;

// The DPI of the monitor that shows window; where the system cannot tell
// (before Windows 10) the screen's, which then is the same for every monitor.
int WindowDpi(HWND window);
// pixels at 96 DPI as at dpi, rounded as MulDiv rounds.
int ScaleForDpi(int pixels, int dpi);
// A system metric (SM_...) at dpi; the system's own where only that is known.
int MetricForDpi(int index, int dpi);

// A copy of bitmap at dpi / 96 of its size, its pixels repeated, never
// blended (NearestSourcePixel). Takes bitmap over: gives it back unchanged at
// 96 DPI or when no copy can be made, deletes it otherwise.
HBITMAP ScaleBitmapForDpi(HBITMAP bitmap, int dpi);
// Shows bitmap, scaled for dpi, in the picture control of dialog; *owned is
// the picture shown before, deleted once replaced, and then holds the new
// one. A bitmap that did not load (null) changes nothing.
void ShowPictureForDpi(HWND dialog, int control, HBITMAP bitmap, int dpi, HBITMAP* owned);

// WM_GETDPISCALEDSIZE of a window laid out for dpi: its size at newDpi with
// the client area as it is now (the user's size, a collapsed window) scaled
// in proportion, not the template's. Yields TRUE (as the message's result
// too) when *size was set; the system suggests it with WM_DPICHANGED.
INT_PTR OnGetDpiScaledSize(HWND window, int dpi, WPARAM newDpi, SIZE* size);
// WM_DPICHANGED: *dpi takes the new DPI, the window the suggested rectangle,
// and UM_DPI_SETTLED is posted. Yields FALSE, so that the dialog manager lays
// the controls and fonts out for the new DPI as well.
INT_PTR OnDpiChanged(HWND window, int* dpi, WPARAM wParam, const RECT* suggested);

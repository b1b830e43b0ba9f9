#include "ui/DpiScale.h"

#include "system/OptionalFunctions.h"
#include "system/PictureScale.h"
#include "system/ScopedHandle.h"

int WindowDpi(HWND window) {
    UINT dpi = OptGetDpiForWindow(window);
    if (dpi != 0)
        return (int)dpi;
    ScopedWindowDC context(window);
    int pixels = context.Get() ? GetDeviceCaps(context.Get(), LOGPIXELSY) : 0;
    return pixels > 0 ? pixels : kBaseDpi;
}

int ScaleForDpi(int pixels, int dpi) {
    return MulDiv(pixels, dpi, kBaseDpi);
}

int MetricForDpi(int index, int dpi) {
    int metric = OptGetSystemMetricsForDpi(index, (UINT)dpi);
    return metric != 0 ? metric : GetSystemMetrics(index);
}

namespace {

// An empty bitmap of bitmap's kind: a monochrome one stays monochrome, so
// that the control showing it gives its two colours as for the one loaded.
HBITMAP CreateLike(HDC screen, const BITMAP& facts, int width, int height) {
    if (facts.bmBitsPixel == 1)
        return CreateBitmap(width, height, 1, 1, nullptr);
    return CreateCompatibleBitmap(screen, width, height);
}

// Copies source (facts' size) into target, width x height, a whole column
// and then a whole row of pixels at a time.
bool CopyEnlarged(HDC source, const BITMAP& facts, HDC columns, HDC target, int width, int height) {
    bool copied = true;
    for (int x = 0; x < width; ++x)
        copied &= BitBlt(columns, x, 0, 1, facts.bmHeight, source,
                         NearestSourcePixel(x, width, facts.bmWidth), 0, SRCCOPY) != FALSE;
    for (int y = 0; y < height; ++y)
        copied &= BitBlt(target, 0, y, width, 1, columns, 0,
                         NearestSourcePixel(y, height, facts.bmHeight), SRCCOPY) != FALSE;
    return copied;
}

} // namespace

HBITMAP ScaleBitmapForDpi(HBITMAP bitmap, int dpi) {
    BITMAP facts;
    if (!bitmap || dpi == kBaseDpi || !GetObjectA(bitmap, sizeof facts, &facts))
        return bitmap;
    int width = ScaleForDpi(facts.bmWidth, dpi);
    int height = ScaleForDpi(facts.bmHeight, dpi);
    if (width <= 0 || height <= 0)
        return bitmap;
    ScopedWindowDC screen(nullptr);
    ScopedMemoryDC source(CreateCompatibleDC(screen.Get()));
    ScopedMemoryDC columns(CreateCompatibleDC(screen.Get()));
    ScopedMemoryDC target(CreateCompatibleDC(screen.Get()));
    ScopedGdiObject widened(CreateLike(screen.Get(), facts, width, facts.bmHeight));
    HBITMAP scaled = CreateLike(screen.Get(), facts, width, height);
    if (!source || !columns || !target || !widened || !scaled) {
        if (scaled)
            DeleteObject(scaled);
        return bitmap;
    }
    HGDIOBJ previousSource = SelectObject(source.Get(), bitmap);
    HGDIOBJ previousColumns = SelectObject(columns.Get(), widened.Get());
    HGDIOBJ previousTarget = SelectObject(target.Get(), scaled);
    bool copied = CopyEnlarged(source.Get(), facts, columns.Get(), target.Get(), width, height);
    SelectObject(target.Get(), previousTarget);
    SelectObject(columns.Get(), previousColumns);
    SelectObject(source.Get(), previousSource);
    if (!copied) {
        DeleteObject(scaled);
        return bitmap;
    }
    DeleteObject(bitmap);
    return scaled;
}

void ShowPictureForDpi(HWND dialog, int control, HBITMAP bitmap, int dpi, HBITMAP* owned) {
    HBITMAP picture = ScaleBitmapForDpi(bitmap, dpi);
    if (!picture)
        return;
    SendDlgItemMessageA(dialog, control, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)picture);
    if (*owned)
        DeleteObject(*owned);
    *owned = picture;
}

INT_PTR OnGetDpiScaledSize(HWND window, int dpi, WPARAM newDpi, SIZE* size) {
    RECT client;
    if (!size || dpi <= 0 || !GetClientRect(window, &client))
        return FALSE;
    RECT outer = {0, 0, MulDiv(client.right, (int)newDpi, dpi),
                  MulDiv(client.bottom, (int)newDpi, dpi)};
    DWORD style = (DWORD)GetWindowLongA(window, GWL_STYLE);
    DWORD exStyle = (DWORD)GetWindowLongA(window, GWL_EXSTYLE);
    if (!OptAdjustWindowRectExForDpi(&outer, style, FALSE, exStyle, (UINT)newDpi))
        return FALSE;
    size->cx = outer.right - outer.left;
    size->cy = outer.bottom - outer.top;
    SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

INT_PTR OnDpiChanged(HWND window, int* dpi, WPARAM wParam, const RECT* suggested) {
    *dpi = HIWORD(wParam);
    if (suggested)
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(window, UM_DPI_SETTLED, (WPARAM)*dpi, 0);
    return FALSE;
}

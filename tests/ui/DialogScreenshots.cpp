// Pictures of the three dialogs for the documentation. Disabled in the test
// run; make them with
//   CALVERIN_SCREENSHOTS='Z:\path\to\folder' calverin_tests.exe
//     --gtest_also_run_disabled_tests --gtest_filter='DialogScreenshots*'
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "res/resource.h"
#include "tests/ui/DialogTestSupport.h"

namespace {

// The window as it shows on the screen, as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path) {
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<char> bits(stride * height);
    bool read = GetDIBits(memory, picture, 0, height, bits.data(), (BITMAPINFO*)&info,
                          DIB_RGB_COLORS) == height;
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!read)
        return false;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + (DWORD)bits.size();
    std::ofstream out(path, std::ios::binary);
    out.write((const char*)&file, sizeof file);
    out.write((const char*)&info, sizeof info);
    out.write(bits.data(), bits.size());
    return out.good();
}

class DialogScreenshots : public MainWindowTest {};

TEST_F(DialogScreenshots, DISABLED_Save) {
    char folder[MAX_PATH] = {};
    ASSERT_NE(GetEnvironmentVariableA("CALVERIN_SCREENSHOTS", folder, MAX_PATH), 0u);
    struct Shot {
        UINT command;
        const char* name;
    };
    const Shot shots[] = {{IDM_HASH_STRING, "hash-string-dialog"},
                          {IDM_OPTIONS, "options-dialog"},
                          {IDM_ABOUT, "about-dialog"}};
    for (const Shot& shot : shots) {
        bool saved = false;
        RunModal(
            main_,
            [&] {
                SendMessageA(main_, WM_COMMAND, shot.command, 0);
                return (INT_PTR)0;
            },
            [&](HWND dialog) {
                if (shot.command == IDM_HASH_STRING)
                    SetWindowTextA(GetDlgItem(dialog, IDC_STRING_TEXT), "The text to hash");
                // Moved clear of the main window and painted before the picture.
                SetWindowPos(dialog, HWND_TOPMOST, 420, 40, 0, 0, SWP_NOSIZE);
                RedrawWindow(dialog, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                saved = SaveWindowPicture(dialog, std::string(folder) + "\\" + shot.name + ".bmp");
            });
        EXPECT_TRUE(saved) << shot.name;
    }
}

}  // namespace

#include "main_window_fixture.h"

#include <functional>

#include "../res/resource.h"
#include "version.h"
#include "about/about_dialog.h"

using AboutDialogTest = MainWindowFixture;

namespace {

const char Caption[] = "About";

// A real click: the pointer moves there, the button goes down and up.
void clickAt(HWND window, POINT point)
{
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    for (DWORD flag : {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        mouse_event(flag, 0, 0, 0, 0);
}

// The 48 x 48 pixels from (x, y) on.
std::vector<COLORREF> pixels(HDC dc, int x, int y)
{
    std::vector<COLORREF> read;
    for (int row = 0; row < 48; ++row)
        for (int column = 0; column < 48; ++column) read.push_back(GetPixel(dc, x + column, y + row));
    return read;
}

std::vector<COLORREF> bitmapPixels(HBITMAP bitmap)
{
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<COLORREF> read = pixels(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    return read;
}

} // namespace

TEST_F(AboutDialogTest, EndsWithTheResultOfItsCommand)
{
    const std::pair<std::function<void(HWND)>, INT_PTR> cases[] = {
        {[](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }, 1},
        {[](HWND d) { clickButton(d, IDC_ABOUT_OK); }, 62},
        {[](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
        {[](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }, 0}, // Esc, as the close box
    };
    for (const auto &c : cases) {
        GuiScript script;
        script.onDialog(Caption, [&](HWND d) { c.first(d); });
        EXPECT_EQ(runAboutDialog(MainWindow), c.second);
        EXPECT_TRUE(script.finished()) << script.problems();
    }
}

TEST_F(AboutDialogTest, ShowsTheVersionAndALinkThatOpensTheProjectPage)
{
    HWND group = NULL;
    std::string link;
    LOGFONTA font = {};
    bool hovered = false, openAfterClick = false;
    GuiScript script;
    script.onDialog(Caption, [&](HWND d) {
        group = FindWindowExA(d, NULL, "Button", MEMORION_PRODUCT_TITLE);
        HWND control = GetDlgItem(d, IDC_ABOUT_LINK);
        link = windowText(control);
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        clickAt(d, {200, 130});
        pumpFor(300);
        hovered = GetCapture() == control;
        openAfterClick = IsWindowVisible(d);
        PostMessageA(d, WM_CLOSE, 0, 0);
    });
    command(IDM_ABOUT);
    ASSERT_TRUE(script.finished()) << script.problems();
    EXPECT_NE(group, (HWND)NULL) << "the group box reads \"" MEMORION_PRODUCT_TITLE "\"";
    EXPECT_EQ(link, "Visit the website");
    EXPECT_EQ(std::vector<LONG>({font.lfHeight, font.lfWeight, font.lfItalic, font.lfUnderline}),
              std::vector<LONG>({15, 1, TRUE, FALSE}));
    EXPECT_STREQ(font.lfFaceName, "Times New Roman");
    EXPECT_TRUE(hovered) << "the pointer over the link is captured";
    EXPECT_TRUE(openAfterClick);
    ASSERT_EQ(recordedShellCalls().size(), 1u);
    const ShellCall &call = recordedShellCalls()[0];
    EXPECT_EQ(std::vector<std::string>({call.verb, call.file}),
              std::vector<std::string>({"open", WebPageAddress}));
    EXPECT_FALSE(call.hasParameters || call.hasFolder);
    EXPECT_EQ(call.showCommand, SW_SHOWNORMAL);
}

TEST_F(AboutDialogTest, PictureShowsTheBackgroundWhereItIsBlack)
{
    HBITMAP resource = LoadBitmapA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDB_ABOUT_PICTURE));
    const std::vector<COLORREF> picture = bitmapPixels(resource);
    DeleteObject(resource);
    std::vector<COLORREF> shown;
    GuiScript script;
    script.onDialog(Caption, [&](HWND d) {
        UpdateWindow(d);
        HDC dc = GetDC(d);
        shown = pixels(dc, 45, 65);
        ReleaseDC(d, dc);
        PostMessageA(d, WM_CLOSE, 0, 0);
    });
    command(IDM_ABOUT);
    ASSERT_TRUE(script.finished()) << script.problems();
    const std::vector<COLORREF> mask = bitmapPixels(AboutMask);
    ASSERT_EQ(shown.size(), picture.size());
    int black = 0, wrongPixels = 0, wrongMask = 0;
    for (size_t i = 0; i < picture.size(); ++i) {
        const bool transparent = picture[i] == RGB(0, 0, 0);
        black += transparent;
        wrongPixels += shown[i] != (transparent ? GetSysColor(COLOR_BTNFACE) : picture[i]);
        wrongMask += mask[i] != (transparent ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
    EXPECT_GT(black, 0);
    EXPECT_LT(black, 48 * 48);
    EXPECT_EQ(wrongPixels, 0);
    EXPECT_EQ(wrongMask, 0);
}

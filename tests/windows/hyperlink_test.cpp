#include <gtest/gtest.h>
#include <windows.h>

#include "about/hyperlink.h"
#include "gui_harness.h"

namespace {

const char *const Properties[] = {"_Hyperlink_Original_Proc_", "_Hyperlink_Original_Font_",
                                  "_Hyperlink_Underline_Font_", "_Hyperlink_From_Static_"};
const COLORREF LinkColour = RGB(0, 0, 192);

// What each window's own procedure finds when WM_DESTROY reaches it, after
// the link's procedures have passed the message on.
int parentPropertiesAtDestroy, linkPropertiesAtDestroy;
HFONT linkFontAtDestroy;
WNDPROC staticClassProc;

int propertyCount(HWND window)
{
    int count = 0;
    for (const char *name : Properties) count += GetPropA(window, name) != NULL;
    return count;
}

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) parentPropertiesAtDestroy = propertyCount(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK linkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        linkPropertiesAtDestroy = propertyCount(window);
        linkFontAtDestroy = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    }
    return CallWindowProcA(staticClassProc, window, message, wParam, lParam);
}

class HyperlinkTest : public testing::Test {
protected:
    void SetUp() override
    {
        parentPropertiesAtDestroy = linkPropertiesAtDestroy = -1;
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = parentProc;
        windowClass.lpszClassName = "HyperlinkTestParent";
        RegisterClassA(&windowClass);
        parent = CreateWindowExA(0, "HyperlinkTestParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                 200, NULL, NULL, NULL, NULL);
        for (int i = 0; i < 3; ++i) {
            statics[i] = CreateWindowExA(0, "static", "Visit", WS_CHILD | WS_VISIBLE, 10, 10 + 30 * i,
                                         100, 20, parent, NULL, NULL, NULL);
            SendMessageA(statics[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        staticClassProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(linkProc)));
        makeHyperlink(link);
        makeHyperlink(statics[1]);
    }

    void TearDown() override
    {
        if (IsWindow(parent)) DestroyWindow(parent);
        DeleteObject(font);
    }

    COLORREF textColour(HWND control)
    {
        HDC dc = CreateCompatibleDC(NULL);
        SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control));
        COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return colour;
    }

    HFONT linkFont() { return reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)); }

    HFONT font = CreateFontA(16, 0, 0, 0, 0, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial");
    HWND parent = NULL, statics[3] = {};
    HWND &link = statics[0]; // statics[1] is a link too, statics[2] stays plain
};

} // namespace

TEST_F(HyperlinkTest, LinksUnderOneParentTakeTheLinkColourAndOtherStaticsDoNot)
{
    EXPECT_EQ(textColour(link), LinkColour);
    EXPECT_EQ(textColour(statics[1]), LinkColour);
    EXPECT_NE(textColour(statics[2]), LinkColour);
    // Subclassed twice, the parent would call itself for ever.
    EXPECT_EQ(GetPropA(parent, Properties[0]), reinterpret_cast<HANDLE>(parentProc));
}

TEST_F(HyperlinkTest, HoverUnderlinesAndCapturesLeavingUndoesBothAndDestroyingEverything)
{
    HFONT underlined = static_cast<HFONT>(GetPropA(link, Properties[2]));
    for (int pass = 0; pass < 20; ++pass) {
        SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(95, 15));
        ASSERT_EQ(GetCapture(), link) << "pass " << pass;
        ASSERT_EQ(linkFont(), underlined) << "one underlined font for every hover";
        SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), 0);
        ASSERT_EQ(GetCursor(), LoadCursorA(NULL, IDC_HAND));
        SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 25));
        ASSERT_NE(GetCapture(), link);
        ASSERT_EQ(linkFont(), font);
    }
    LOGFONTA description = {};
    GetObjectA(underlined, sizeof description, &description);
    EXPECT_TRUE(description.lfUnderline);
    EXPECT_STREQ(description.lfFaceName, "Arial");

    SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    DestroyWindow(parent);
    EXPECT_EQ(parentPropertiesAtDestroy, 0);
    EXPECT_EQ(linkPropertiesAtDestroy, 0);
    EXPECT_EQ(linkFontAtDestroy, font) << "the link's own font is given back";
    EXPECT_EQ(GetObjectType(underlined), 0u) << "the underlined font is deleted";
}

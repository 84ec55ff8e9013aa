#include "about/hyperlink.h"

#include <windowsx.h>

namespace {

const char OriginalProc[] = "_Hyperlink_Original_Proc_";
const char OriginalFont[] = "_Hyperlink_Original_Font_";
const char UnderlineFont[] = "_Hyperlink_Underline_Font_";
const char FromStatic[] = "_Hyperlink_From_Static_";

const COLORREF LinkColour = RGB(0, 0, 192);

static_assert(sizeof(LOGFONTA) == 60, "font descriptions are read whole");

WNDPROC previousProc(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetPropA(window, OriginalProc));
}

void subclass(HWND window, WNDPROC procedure)
{
    SetPropA(window, OriginalProc,
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

void unsubclass(HWND window)
{
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc(window)));
    RemovePropA(window, OriginalProc);
}

HFONT fontProperty(HWND window, const char *name)
{
    return static_cast<HFONT>(GetPropA(window, name));
}

// Swapped without redraw; the caller invalidates without erasing, so the
// text does not flicker.
void showFont(HWND link, HFONT font)
{
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    InvalidateRect(link, NULL, FALSE);
}

HFONT makeUnderlinedFont(HFONT font)
{
    // A static control without a font of its own draws in the system font.
    HGDIOBJ described = font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT);
    LOGFONTA description = {};
    GetObjectA(described, sizeof description, &description);
    description.lfUnderline = TRUE;
    return CreateFontIndirectA(&description);
}

HCURSOR linkCursor()
{
    HCURSOR hand = LoadCursorA(NULL, IDC_HAND);
    return hand ? hand : LoadCursorA(NULL, IDC_ARROW);
}

// The capture is the only record of whether the pointer is over the link:
// holding it, the link also hears the move that leaves it.
void trackPointer(HWND link, LPARAM position)
{
    if (GetCapture() != link) {
        showFont(link, fontProperty(link, UnderlineFont));
        SetCapture(link);
        return;
    }
    POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ClientToScreen(link, &point);
    RECT area;
    GetWindowRect(link, &area);
    if (PtInRect(&area, point)) return;
    showFont(link, fontProperty(link, OriginalFont));
    ReleaseCapture();
}

void undoLink(HWND link)
{
    unsubclass(link);
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(fontProperty(link, OriginalFont)),
                 FALSE);
    RemovePropA(link, OriginalFont);
    DeleteObject(fontProperty(link, UnderlineFont));
    RemovePropA(link, UnderlineFont);
    RemovePropA(link, FromStatic);
}

} // namespace

BOOL makeHyperlink(HWND link)
{
    HWND parent = GetParent(link);
    // Several links share one parent, which is subclassed once.
    if (parent &&
        GetWindowLongPtrA(parent, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(HyperlinkParentProc))
        subclass(parent, HyperlinkParentProc);
    // Without SS_NOTIFY a static control lets the mouse through to its
    // parent: no pointer messages and no click notification.
    SetWindowLongPtrA(link, GWL_STYLE, GetWindowLongPtrA(link, GWL_STYLE) | SS_NOTIFY);
    subclass(link, HyperlinkStaticProc);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    SetPropA(link, OriginalFont, font);
    SetPropA(link, UnderlineFont, makeUnderlinedFont(font));
    SetPropA(link, FromStatic, reinterpret_cast<HANDLE>(1));
    return TRUE;
}

LRESULT CALLBACK HyperlinkParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = previousProc(window);
    switch (message) {
    case WM_CTLCOLORSTATIC:
        if (GetPropA(reinterpret_cast<HWND>(lParam), FromStatic)) {
            // The parent still chooses the background.
            LRESULT brush = CallWindowProcA(previous, window, message, wParam, lParam);
            SetTextColor(reinterpret_cast<HDC>(wParam), LinkColour);
            return brush;
        }
        break;
    case WM_DESTROY:
        unsubclass(window);
        break;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK HyperlinkStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = previousProc(window);
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(linkCursor());
        return TRUE;
    case WM_MOUSEMOVE:
        trackPointer(window, lParam);
        break;
    case WM_DESTROY:
        undoLink(window);
        break;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

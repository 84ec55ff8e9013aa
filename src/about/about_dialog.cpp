#include "about/about_dialog.h"

#include "../res/resource.h"
#include "about/hyperlink.h"
#include "about/transparency_mask.h"
#include "mainwindow/shell_handoff.h"
#include "mainwindow/dialog_controls.h"

const char WebPageAddress[] = "https://github.com/memorion/memorion";

HBITMAP AboutBitmap;
HBITMAP AboutMask;

namespace {

constexpr int PictureX = 45;
constexpr int PictureY = 65;

void warn(HWND dialog, const char *text)
{
    MessageBoxA(dialog, text, "Error", MB_ICONWARNING | MB_OK);
}

// The previous opening's picture is no longer shown by anything.
void releasePicture()
{
    if (AboutBitmap) DeleteObject(AboutBitmap);
    if (AboutMask) DeleteObject(AboutMask);
    AboutBitmap = AboutMask = NULL;
}

void loadPicture(HWND dialog)
{
    releasePicture();
    AboutBitmap = LoadBitmapA(instanceOf(dialog), MAKEINTRESOURCEA(IDB_ABOUT_PICTURE));
    // Without a picture there is nothing to mask, and one message is enough.
    if (!AboutBitmap) return warn(dialog, "Could not load MYBITMAP!");
    AboutMask = makeTransparencyMask(AboutBitmap, RGB(0, 0, 0));
    if (!AboutMask) warn(dialog, "Could not create mask!");
}

HFONT createLinkFont()
{
    // Weight 1 is the thinnest there is, not the default.
    return CreateFontA(15, 0, 0, 0, 1, TRUE, FALSE, FALSE, 0, 0, 0, 0, 0, "Times New Roman");
}

void createLink(HWND dialog)
{
    HWND link = createDialogControl(dialog, 0, "static", "Visit the website", WS_CHILD | WS_VISIBLE,
                                    IDC_ABOUT_LINK, 150, 120, 200, 20);
    HFONT font = createLinkFont();
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The dialog owns the font; the link keeps using it until it is gone.
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(font));
    makeHyperlink(link);
}

void drawPicture(HDC target)
{
    BITMAP size;
    GetObjectA(AboutBitmap, sizeof size, &size);
    HDC source = CreateCompatibleDC(target);
    // The mask blackens the opaque area and the picture is or-ed into it;
    // where the picture is black the background stays.
    HGDIOBJ old = SelectObject(source, AboutMask);
    BitBlt(target, PictureX, PictureY, size.bmWidth, size.bmHeight, source, 0, 0, SRCAND);
    SelectObject(source, AboutBitmap);
    BitBlt(target, PictureX, PictureY, size.bmWidth, size.bmHeight, source, 0, 0, SRCPAINT);
    SelectObject(source, old);
    DeleteDC(source);
}

void paintPicture(HWND dialog)
{
    PAINTSTRUCT paint;
    HDC target = BeginPaint(dialog, &paint);
    if (AboutBitmap && AboutMask) drawPicture(target);
    EndPaint(dialog, &paint);
}

void openWebPage(HWND dialog)
{
    shellExecute(dialog, "open", WebPageAddress, NULL, NULL, SW_SHOWNORMAL);
}

} // namespace

INT_PTR runAboutDialog(HWND owner)
{
    return DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutDialogProc,
                           0);
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        loadPicture(dialog);
        createLink(dialog);
        return TRUE;
    case WM_PAINT:
        paintPicture(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:           EndDialog(dialog, IDOK); break;
        case IDCANCEL:       EndDialog(dialog, 0); break; // Esc, as the close box
        case IDC_ABOUT_OK:   EndDialog(dialog, IDC_ABOUT_OK); break;
        case IDC_ABOUT_LINK: openWebPage(dialog); break;
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    case WM_NCDESTROY:
        // The link is gone by now; nothing draws with its font any more.
        DeleteObject(reinterpret_cast<HFONT>(GetWindowLongPtrA(dialog, DWLP_USER)));
        return FALSE;
    }
    return FALSE;
}

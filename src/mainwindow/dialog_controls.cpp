#include "mainwindow/dialog_controls.h"

HINSTANCE instanceOf(HWND window)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

HWND createDialogControl(HWND dialog, DWORD exStyle, const char *className, const char *text,
                         DWORD style, int id, int x, int y, int width, int height)
{
    return CreateWindowExA(exStyle, className, text, style, x, y, width, height, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instanceOf(dialog),
                           NULL);
}

std::string dialogItemText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    std::string text(GetWindowTextLengthA(control) + 1, '\0');
    text.resize(GetWindowTextA(control, &text[0], static_cast<int>(text.size())));
    return text;
}

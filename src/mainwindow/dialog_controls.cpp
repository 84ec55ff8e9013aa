#include "mainwindow/dialog_controls.h"

#include <commctrl.h>

#include "document/core/biography_document.h"

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

void addListColumn(HWND list, int index, const char *text, int width)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.cx = width;
    column.pszText = const_cast<char *>(text);
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void useFontOfEveryScript(HWND dialog, std::initializer_list<int> boxIds)
{
    // A stock object: shared, never deleted.
    const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    for (int id : boxIds)
        SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

std::string dialogItemText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    std::string text(GetWindowTextLengthA(control) + 1, '\0');
    text.resize(GetWindowTextA(control, &text[0], static_cast<int>(text.size())));
    return text;
}

// No horizontal scrolling, so long lines wrap; Return makes a new line.
constexpr DWORD TextBoxStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                               ES_WANTRETURN;
static_assert(TextBoxStyle == 0x50211004, "text box style");

HWND createTextBox(HWND dialog, int id)
{
    HWND box = createDialogControl(dialog, WS_EX_CLIENTEDGE, "EDIT", "", TextBoxStyle, id, 0, 0,
                                   100, 100);
    SendMessageA(box, EM_SETLIMITTEXT, 0, 0);
    useFontOfEveryScript(dialog, {id});
    return box;
}

void layOutTextDialog(HWND dialog, int boxId, int okId, int cancelId)
{
    RECT client;
    GetClientRect(dialog, &client);
    constexpr int Strip = 35, ButtonHeight = 30;
    MoveWindow(GetDlgItem(dialog, boxId), 0, 0, client.right, client.bottom - Strip, TRUE);
    // Row 130 fits the template's height in the font it was drawn for; a
    // smaller font makes the dialog lower, and the buttons then move up into
    // the strip below the box rather than be cut off.
    const int y = 130 + ButtonHeight <= client.bottom ? 130 : client.bottom - Strip + 2;
    MoveWindow(GetDlgItem(dialog, okId), 5, y, 80, ButtonHeight, TRUE);
    MoveWindow(GetDlgItem(dialog, cancelId), 90, y, 80, ButtonHeight, TRUE);
}

void focusTextBox(HWND dialog, int boxId, int okId)
{
    SendMessageA(dialog, DM_SETDEFID, okId, 0);
    HWND box = GetDlgItem(dialog, boxId);
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 0, -1);
}

bool acceptedEntryText(HWND dialog, int boxId, std::string &text)
{
    text = dialogItemText(dialog, boxId);
    if (isValidEntryText(text)) return true;
    MessageBoxA(dialog, InvalidTextMessage, "Error", MB_ICONWARNING | MB_OK);
    return false;
}

#include "editor_steps.h"

#include <commctrl.h>

#include <cstring>

#include "../res/resource.h"
#include "entryedit/entry_editor.h"
#include "mainwindow/main_window.h"

namespace {

// A body waiting to run in the next modal loop.
std::function<void()> pendingBody;

void CALLBACK runPendingBody(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    std::function<void()> body = std::move(pendingBody);
    pendingBody = nullptr;
    if (body) body();
}

} // namespace

void inDialog(GuiScript &script, const std::string &caption, std::function<void(HWND)> body)
{
    // The step runs in the harness's timer; the body, which may open more
    // modal loops, runs from a timer of its own.
    script.onDialog(caption, [body](HWND dialog) {
        pendingBody = [body, dialog] {
            body(dialog);
            if (IsWindow(dialog)) SendMessageA(dialog, WM_CLOSE, 0, 0);
        };
        SetTimer(NULL, 0, 0, runPendingBody);
    });
}

void doubleClickRow(int row)
{
    // The first click of a double-click selects the row alone.
    for (int other = 0; other < listRowCount(EntryListView); ++other)
        selectListRow(EntryListView, other, other == row);
    const POINT at = rowPoint(EntryListView, row);
    PostMessageA(EntryListView, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    pumpMessages();
}

std::string editorText()
{
    // Wine's rich edit counts the length of its text in characters, not
    // the bytes the text takes.
    GETTEXTLENGTHEX length = {GTL_NUMBYTES, CP_ACP};
    std::string text(SendMessageA(EntryRichText, EM_GETTEXTLENGTHEX,
                                  reinterpret_cast<WPARAM>(&length), 0) + 1, '\0');
    GETTEXTEX how = {static_cast<DWORD>(text.size()), GT_DEFAULT, CP_ACP, NULL, NULL};
    SendMessageA(EntryRichText, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

CHARRANGE rangeOf(const std::string &text)
{
    const std::string all = editorText();
    const LONG start = static_cast<LONG>(wide(all.substr(0, all.find(text))).size());
    return CHARRANGE{start, start + static_cast<LONG>(wide(text).size())};
}

void clickLink(HWND editor, CHARRANGE range, UINT mouseMessage)
{
    ENLINK link = {};
    link.nmhdr.hwndFrom = EntryRichText;
    link.nmhdr.idFrom = IDC_EDITOR_TEXT;
    link.nmhdr.code = EN_LINK;
    link.msg = mouseMessage;
    link.chrg = range;
    SendMessageA(editor, WM_NOTIFY, IDC_EDITOR_TEXT, reinterpret_cast<LPARAM>(&link));
}

void typeAndPress(HWND fieldDialog, const std::string &text, int button)
{
    SetDlgItemTextA(fieldDialog, IDC_FIELD_EDIT, text.c_str());
    clickButton(fieldDialog, button);
}

POINT rowPoint(HWND list, int row)
{
    RECT rect = {LVIR_LABEL, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return POINT{rect.left + 5, (rect.top + rect.bottom) / 2};
}

// "Move to category": puts the selected entries of the list into a
// category chosen from all of them.
#include <vector>

#include "../res/resource.h"
#include "document/core/biography_document.h"
#include "mainwindow/category_commands.h"
#include "mainwindow/dialog_controls.h"
#include "mainwindow/entry_list.h"

namespace {

constexpr DWORD CategoryListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP |
                                    LBS_NOINTEGRALHEIGHT;
static_assert(CategoryListStyle == 0x50210100, "category list style");

void initialise(HWND dialog)
{
    HWND list = createDialogControl(dialog, WS_EX_CLIENTEDGE, "LISTBOX", "", CategoryListStyle,
                                    IDC_MOVE_LIST, 0, 0, 100, 100);
    // Placed for real by the first size message, when the dialog is shown.
    createDialogControl(dialog, 0, "BUTTON", "Proceed", PushButtonStyle, IDC_MOVE_PROCEED, 0, 100,
                        100, 100);
    createDialogControl(dialog, 0, "BUTTON", "Cancel", PushButtonStyle, IDC_MOVE_CANCEL, 0, 100, 100,
                        100);
    const Biography &d = BiographyDocument;
    for (int i = 0; i < d.categoryCount; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.categories[i].c_str()));
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    // Enter proceeds.
    SendMessageA(dialog, DM_SETDEFID, IDC_MOVE_PROCEED, 0);
}

void layOut(HWND dialog, int width, int height)
{
    MoveWindow(GetDlgItem(dialog, IDC_MOVE_LIST), 0, 0, width, height - 40, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_MOVE_PROCEED), 5, height - 36, 90, 30, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_MOVE_CANCEL), 100, height - 36, 90, 30, TRUE);
}

void onProceed(HWND dialog)
{
    const int target =
        static_cast<int>(SendDlgItemMessageA(dialog, IDC_MOVE_LIST, LB_GETCURSEL, 0, 0));
    moveEntriesToCategory(selectedEntryIndices(), target);
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK moveToCategoryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog);
        return TRUE;
    case WM_SIZE:
        layOut(dialog, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_MOVE_PROCEED: onProceed(dialog); break;
        case IDC_MOVE_CANCEL:
        case IDCANCEL:         EndDialog(dialog, 0); break;
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void runMoveToCategoryDialog(HWND owner)
{
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_MOVE_TO_CATEGORY), owner,
                    moveToCategoryDialogProc, 0);
}

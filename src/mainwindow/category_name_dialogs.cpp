// The dialogs that name a category: "Create new category" and "Rename
// category". Both hold the same controls, made here.
#include <string>

#include "../res/resource.h"
#include "document/core/biography_document.h"
#include "mainwindow/category_commands.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/dialog_controls.h"

namespace {

enum class Purpose : LONG_PTR { Add, Rename };

// The box scrolls, so that a name longer than it can be typed.
constexpr DWORD FrameStyle = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD NameBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | EditBit4000;
static_assert(FrameStyle == 0x50000007, "frame style");
static_assert(NameBoxStyle == 0x50014080, "name box style");

Purpose purposeOf(HWND dialog)
{
    return static_cast<Purpose>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void initialise(HWND dialog, Purpose purpose)
{
    SetWindowLongPtrA(dialog, DWLP_USER, static_cast<LONG_PTR>(purpose));
    HWND frame = createDialogControl(dialog, 0, "BUTTON", "Category name", FrameStyle,
                                     IDC_CATEGORY_FRAME, 3, 3, 100, 50);
    HWND name = createDialogControl(dialog, WS_EX_CLIENTEDGE, "EDIT", "", NameBoxStyle,
                                    IDC_CATEGORY_NAME, 5, 10, 100, 100);
    useFontOfEveryScript(dialog, {IDC_CATEGORY_NAME});
    createDialogControl(dialog, 0, "BUTTON", purpose == Purpose::Add ? "Add" : "Rename",
                        PushButtonStyle, IDC_CATEGORY_APPLY, 5, 58, 75, 33);
    createDialogControl(dialog, 0, "BUTTON", "Cancel", PushButtonStyle, IDC_CATEGORY_CANCEL, 80, 58,
                        75, 33);

    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(name, 10, 25, client.right - 21, 20, TRUE);
    MoveWindow(frame, 5, 5, client.right - 10, 50, TRUE);
    const std::string preset = purpose == Purpose::Add
                                   ? "New category"
                                   : BiographyDocument.categories[currentCategory()];
    SetWindowTextA(name, preset.c_str());
    // Enter adds or renames.
    SendMessageA(dialog, DM_SETDEFID, IDC_CATEGORY_APPLY, 0);
}

// Says why `name` cannot name a new or renamed category; false when it can.
// The dialog owns the message, so it cannot be used while the message is up.
bool refuseName(HWND dialog, const std::string &name)
{
    // An empty name would not survive a save: its entries would be written
    // without a category and come back in "Default".
    if (name.empty()) {
        MessageBoxA(dialog, "Category name cannot be empty.", "Error", MB_ICONEXCLAMATION | MB_OK);
        return true;
    }
    if (!isValidCategoryName(name)) {
        MessageBoxA(dialog, InvalidTextMessage, "Error", MB_ICONEXCLAMATION | MB_OK);
        return true;
    }
    if (findCategory(name) >= 0) {
        MessageBoxA(dialog, "Category already present.", "Cannot add category",
                    MB_ICONEXCLAMATION | MB_OK);
        return true;
    }
    return false;
}

// The dialog stays open for further categories, with the box emptied and
// focused for the next name: typed into the old one, it would lengthen it.
void onAdd(HWND dialog)
{
    const std::string name = dialogItemText(dialog, IDC_CATEGORY_NAME);
    if (refuseName(dialog, name)) return;
    if (addCategory(name)) {
        HWND box = GetDlgItem(dialog, IDC_CATEGORY_NAME);
        SetWindowTextA(box, "");
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        return;
    }
    const std::string text = "This biography already holds " + std::to_string(MaxCategories) +
                             " categories, as many as Memorion can keep.\nNo category was added.";
    MessageBoxA(dialog, text.c_str(), "Error", MB_ICONEXCLAMATION | MB_OK);
}

void onRename(HWND dialog)
{
    const std::string name = dialogItemText(dialog, IDC_CATEGORY_NAME);
    if (refuseName(dialog, name)) return;
    renameCategory(currentCategory(), name);
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK categoryNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog, static_cast<Purpose>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CATEGORY_APPLY:
            if (purposeOf(dialog) == Purpose::Add) onAdd(dialog);
            else onRename(dialog);
            break;
        case IDC_CATEGORY_CANCEL:
        case IDCANCEL:            EndDialog(dialog, 0); break;
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

void runNameDialog(HWND owner, int templateId, Purpose purpose)
{
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(templateId), owner, categoryNameDialogProc,
                    static_cast<LPARAM>(purpose));
}

} // namespace

void runNewCategoryDialog(HWND owner)
{
    runNameDialog(owner, IDD_NEW_CATEGORY, Purpose::Add);
}

void runRenameCategoryDialog(HWND owner)
{
    // A document without categories has nothing to rename; the dialog
    // relies on a selected category.
    if (currentCategory() < 0) return;
    runNameDialog(owner, IDD_RENAME_CATEGORY, Purpose::Rename);
}

#include "entryedit/field_input_dialog.h"

#include <commctrl.h>

#include <string>

#include "../res/resource.h"
#include "document/biography_document.h"
#include "entryedit/entry_editor.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"
#include "mainwindow/dialog_controls.h"

namespace {

struct FieldDialog {
    int dialogTemplate;
    const char *caption;
    std::string (Biography::*column)[MaxEntries];
};

const FieldDialog FieldDialogs[] = {
    {IDD_FIELD_TITLE, "Set title text", &Biography::title},
    {IDD_FIELD_ENTRY_DATE, "Set entry date text", &Biography::entryDate},
    {IDD_FIELD_TIME_PERIOD, "Set time period text", &Biography::timePeriod},
    {IDD_FIELD_LOCATION, "Set location text", &Biography::location},
    {IDD_FIELD_DETAIL, "Set detail text", &Biography::detail},
    {IDD_FIELD_KEYWORDS, "Set keywords text", &Biography::keywords},
};

// What one opening of a dialog works on: its field, and the list row that
// was selected when it opened, whose entry OK stores into.
struct FieldDialogState {
    const FieldDialog *field;
    int row;
};

FieldDialogState &stateOf(HWND dialog)
{
    return *reinterpret_cast<FieldDialogState *>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string *fieldOfRow(const FieldDialogState &state)
{
    const int entry = entryIndexOfRow(state.row);
    if (entry < 0) return nullptr;
    return &(BiographyDocument.*state.field->column)[entry];
}

void layOut(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IDC_FIELD_EDIT), 0, 0, client.right, client.bottom - 35, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_FIELD_OK), 5, 130, 80, 30, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_FIELD_CANCEL), 90, 130, 80, 30, TRUE);
}

// No horizontal scrolling, so long lines wrap.
constexpr DWORD FieldEditStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                                 ES_WANTRETURN;

void createFieldEdit(HWND dialog)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", FieldEditStyle, 0, 0, 100, 100,
                                dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIELD_EDIT)),
                                instance, NULL);
    // An edit control keeps about 32 000 characters unless told otherwise;
    // a longer text read from a file would be cut here and lost at OK.
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
}

void initialise(HWND dialog, FieldDialogState *state)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    SetWindowTextA(dialog, state->field->caption);
    createFieldEdit(dialog);
    state->row = static_cast<int>(SendMessageA(EntryListView, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    if (const std::string *value = fieldOfRow(*state))
        SetDlgItemTextA(dialog, IDC_FIELD_EDIT, value->c_str());
    layOut(dialog);
}

void onOk(HWND dialog)
{
    const std::string text = dialogItemText(dialog, IDC_FIELD_EDIT);
    if (!isValidEntryText(text)) {
        MessageBoxA(NULL, InvalidTextMessage, "Error", MB_ICONWARNING | MB_OK);
        return;
    }
    if (std::string *value = fieldOfRow(stateOf(dialog))) *value = text;
    BiographyDocument.modified = true;
    fillEntryEditor();
    EndDialog(dialog, 0);
}

} // namespace

void runFieldInputDialog(HWND owner, int dialogTemplate)
{
    for (const FieldDialog &field : FieldDialogs) {
        if (field.dialogTemplate != dialogTemplate) continue;
        FieldDialogState state = {&field, -1};
        HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
        DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogTemplate), owner, fieldInputDialogProc,
                        reinterpret_cast<LPARAM>(&state));
        return;
    }
}

INT_PTR CALLBACK fieldInputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog, reinterpret_cast<FieldDialogState *>(lParam));
        return FALSE;
    case WM_SIZE:
        layOut(dialog);
        return TRUE;
    case WM_COMMAND:
        // Every other command, Esc included, does nothing.
        switch (LOWORD(wParam)) {
        case IDC_FIELD_OK:     onOk(dialog); break;
        case IDC_FIELD_CANCEL: EndDialog(dialog, 0); break;
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

#include "entryedit/field_input_dialog.h"

#include <commctrl.h>

#include <string>

#include "../res/resource.h"
#include "document/core/document_edits.h"
#include "entryedit/entry_editor.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"
#include "mainwindow/dialog_controls.h"

namespace {

// What one opening of a dialog works on: its field, and the list row that
// was selected when it opened, whose entry OK stores into.
struct FieldDialogState {
    const EditorHeading *field;
    int row;
};

FieldDialogState &stateOf(HWND dialog)
{
    return *reinterpret_cast<FieldDialogState *>(GetWindowLongPtrA(dialog, DWLP_USER));
}

const std::string *fieldOfRow(const FieldDialogState &state)
{
    const int entry = entryIndexOfRow(state.row);
    if (entry < 0) return nullptr;
    return &(BiographyDocument.*state.field->column)[entry];
}

void initialise(HWND dialog, FieldDialogState *state)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    SetWindowTextA(dialog, fieldDialogCaption(*state->field).c_str());
    createTextBox(dialog, IDC_FIELD_EDIT);
    state->row = firstSelectedRow();
    if (const std::string *value = fieldOfRow(*state))
        SetDlgItemTextA(dialog, IDC_FIELD_EDIT, value->c_str());
    layOutTextDialog(dialog, IDC_FIELD_EDIT, IDC_FIELD_OK, IDC_FIELD_CANCEL);
    focusTextBox(dialog, IDC_FIELD_EDIT, IDC_FIELD_OK);
}

void onOk(HWND dialog)
{
    std::string text;
    if (!acceptedEntryText(dialog, IDC_FIELD_EDIT, text)) return;
    const FieldDialogState &state = stateOf(dialog);
    const int entry = entryIndexOfRow(state.row);
    if (entry >= 0) edit::okField(entry, fieldNumber(state.field->column), text);
    fillEntryEditor();
    EndDialog(dialog, 0);
}

} // namespace

void runFieldInputDialog(HWND owner, const EditorHeading &heading)
{
    FieldDialogState state = {&heading, -1};
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(heading.dialogTemplate), owner,
                    fieldInputDialogProc, reinterpret_cast<LPARAM>(&state));
}

INT_PTR CALLBACK fieldInputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog, reinterpret_cast<FieldDialogState *>(lParam));
        return FALSE; // the focus is set already
    case WM_SIZE:
        layOutTextDialog(dialog, IDC_FIELD_EDIT, IDC_FIELD_OK, IDC_FIELD_CANCEL);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_FIELD_OK:     onOk(dialog); break;
        case IDC_FIELD_CANCEL:
        case IDCANCEL:         EndDialog(dialog, 0); break;
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

#include "document/new_file_dialog.h"

#include <commctrl.h>
#include <string>

#include "../res/resource.h"
#include "document/core/biography_document.h"
#include "document/core/document_history.h"
#include "document/document_files.h"
#include "document/core/entry_date.h"
#include "document/file_dialogs.h"
#include "mainwindow/dialog_controls.h"

namespace {

const char DefaultTopic[] = "File topic text goes here";
const char FirstCategory[] = "Category 1";

HWND templateList(HWND dialog)
{
    return GetDlgItem(dialog, IDC_NEW_FILE_TEMPLATES);
}

int firstSelectedTemplate(HWND dialog)
{
    return static_cast<int>(
        SendMessageA(templateList(dialog), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void setRowState(HWND list, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
}

void setCellText(HWND list, int column, const char *text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char *>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
}

HWND createTemplateList(HWND dialog)
{
    HWND list = createDialogControl(dialog, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                        LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                    IDC_NEW_FILE_TEMPLATES, 15, 27, 490, 100);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    addListColumn(list, 0, "Title", 165);
    addListColumn(list, 1, "Desc", 320);
    return list;
}

void fillTemplates(HWND list)
{
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char *>("Blank");
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    setCellText(list, 1, "An empty biography template");
    // Selecting the row notifies the dialog, which puts the template's
    // topic into the Topic field.
    setRowState(list, 0, LVIS_SELECTED);
    setRowState(list, LVIS_SELECTED, LVIS_SELECTED);
    setRowState(list, LVIS_FOCUSED, LVIS_FOCUSED);
}

void refuse(HWND dialog, const char *text)
{
    MessageBoxA(dialog, text, "Error", MB_ICONERROR | MB_OK);
}

void fillFromBlankTemplate(const std::string &typedTopic)
{
    Biography &d = BiographyDocument;
    for (const EntryField &field : EntryFields)
        for (std::string &value : d.*field.column) value.clear();
    for (std::string &category : d.category) category = FirstCategory;
    d.entryCount = 1;
    d.title[0] = "New entry";
    d.entryDate[0] = todayAsDayMonthYear();
    d.topic = typedTopic.empty() ? DefaultTopic : typedTopic;
    rebuildCategories();
    d.documentLoaded = true;
    d.fileIsUtf8 = false;
    // The old document is gone: until the save below succeeds, this one is
    // unsaved.
    d.modified = true;
    startHistory();
}

void onTemplateChanged(HWND dialog)
{
    int selected = firstSelectedTemplate(dialog);
    SetWindowLongPtrA(dialog, DWLP_USER, selected);
    if (selected == 0) SetDlgItemTextA(dialog, IDC_NEW_FILE_TOPIC, "Blank template");
}

void onBrowse(HWND dialog)
{
    // Browse only names the file; nothing is written until Ok.
    std::string path;
    if (!chooseSavePath(dialog, path)) path.clear();
    SetDlgItemTextA(dialog, IDC_NEW_FILE_FILENAME, path.c_str());
}

void onOk(HWND dialog)
{
    int selected = firstSelectedTemplate(dialog);
    SetWindowLongPtrA(dialog, DWLP_USER, selected);
    if (selected == -1) return refuse(dialog, "No template selected.");
    std::string path = dialogItemText(dialog, IDC_NEW_FILE_FILENAME);
    if (path.empty()) return refuse(dialog, "No file name specified.");
    // The topic is stored as typed, so it follows the rule every typed
    // text does: markup in it would cut the file short at the next open.
    std::string topic;
    if (!acceptedEntryText(dialog, IDC_NEW_FILE_TOPIC, topic)) return;

    fillFromBlankTemplate(topic);
    saveDocument(path);
    setDocumentPath(path);
    BiographyDocument.workingFolder = containingFolder(path);
    EndDialog(dialog, TRUE);
}

INT_PTR onNotify(HWND dialog, LPARAM lParam)
{
    const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
    if (header->idFrom == IDC_NEW_FILE_TEMPLATES && header->code == LVN_ITEMCHANGED)
        onTemplateChanged(dialog);
    return FALSE;
}

} // namespace

bool runNewBiographyFileDialog(HWND owner)
{
    // The document about to be replaced may hold unsaved work.
    if (!offerToSaveChanges()) return false;
    return DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_NEW_FILE), owner,
                           newBiographyFileDialogProc, 0) == TRUE;
}

INT_PTR CALLBACK newBiographyFileDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, -1);
        useFontOfEveryScript(dialog, {IDC_NEW_FILE_TOPIC, IDC_NEW_FILE_FILENAME});
        fillTemplates(createTemplateList(dialog));
        // All three buttons of the template are default buttons, and the
        // last one, Cancel, would win: Enter would throw the choices away.
        SendMessageA(dialog, DM_SETDEFID, IDC_NEW_FILE_OK, 0);
        return FALSE;
    case WM_NOTIFY:
        return onNotify(dialog, lParam);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NEW_FILE_BROWSE: onBrowse(dialog); return TRUE;
        case IDC_NEW_FILE_OK:     onOk(dialog); return TRUE;
        case IDC_NEW_FILE_CANCEL:
        case IDCANCEL:            EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

#include "entryedit/associated_files_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "../res/resource.h"
#include "document/core/document_edits.h"
#include "document/file_dialogs.h"
#include "entryedit/entry_editor.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"
#include "mainwindow/shell_handoff.h"
#include "mainwindow/dialog_controls.h"

std::vector<std::string> workingFiles;
HWND FileListView;

namespace {

constexpr DWORD FileListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                LVS_SINGLESEL | LVS_SHOWSELALWAYS;

int selectedFileRow()
{
    return static_cast<int>(SendMessageA(FileListView, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void createFileList(HWND dialog)
{
    FileListView = createDialogControl(dialog, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", FileListStyle,
                                       IDC_FILES_LIST, 0, 10, 200, 500);
    const LRESULT extended = SendMessageA(FileListView, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(FileListView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 extended | LVS_EX_FULLROWSELECT);
    subclassControl(FileListView, fileListProc);
    addListColumn(FileListView, 0, "File", 370);
}

// Only a hand-edited file can name more; the user hears of it before the
// list is written back without the rest.
void tellOfUnlistedFiles(HWND dialog, size_t named)
{
    const std::string text =
        "This entry names " + std::to_string(named) + " associated files; Memorion can list " +
        std::to_string(MaxWorkingFiles) + ".\nOnly the first " +
        std::to_string(MaxWorkingFiles) +
        " are shown, and only they are kept when this window is closed.";
    MessageBoxA(dialog, text.c_str(), "Information", MB_ICONINFORMATION | MB_OK);
}

void initialise(HWND dialog)
{
    SetWindowTextA(dialog, "Associated files");
    createFileList(dialog);
    const size_t named = loadWorkingFiles(firstSelectedEntryIndex());
    fillFileList();
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(FileListView, 0, 0, client.right, client.bottom, TRUE);
    if (named > workingFiles.size()) tellOfUnlistedFiles(dialog, named);
}

// The path comes from the working list, not from the row's text, which a
// list hands back cut to 255 characters. A file may hold a NUL in a path;
// the shell sees only what comes before it, and so do the checks and the
// question.
void openSelectedFile(HWND dialog)
{
    const int row = selectedFileRow();
    if (row < 0 || row >= static_cast<int>(workingFiles.size())) return;
    openAssociatedFile(dialog, workingFiles[row].c_str());
}

void close(HWND dialog)
{
    EndDialog(dialog, 0);
    dropUnlistedFiles();
    fillEntryEditor();
    FileListView = NULL;
}

// Each file added or removed is a step of its own in the entry, so that
// it can be undone alone. The text is written from the list, so what a hand
// edit left outside the quotes becomes a quoted path like the others.
void keepWorkingFiles(StepKind kind)
{
    const int entry = firstSelectedEntryIndex();
    if (entry >= 0) edit::setFiles(entry, joinFileList(workingFiles), kind);
}

void addFile(HWND list)
{
    if (workingFiles.size() >= static_cast<size_t>(MaxWorkingFiles)) {
        const std::string text = "This entry already names " + std::to_string(MaxWorkingFiles) +
                                 " files, as many as Memorion can keep.\nNo file was added.";
        MessageBoxA(list, text.c_str(), "Error", MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    std::string path;
    if (!chooseFileToAttach(list, path)) return;
    workingFiles.push_back(path);
    fillFileList();
    keepWorkingFiles(StepKind::AddFile);
}

void removeSelectedFile(HWND list, const char *caption)
{
    if (MessageBoxA(list, "Delete selected?", caption, MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;
    const int row = selectedFileRow();
    if (row >= 0 && row < static_cast<int>(workingFiles.size()))
        workingFiles.erase(workingFiles.begin() + row);
    fillFileList();
    keepWorkingFiles(StepKind::RemoveFiles);
}

HMENU buildFileListMenu()
{
    HMENU menu = CreatePopupMenu();
    if (selectedFileRow() >= 0)
        AppendMenuA(menu, MF_STRING, IDM_REMOVE_FILE, "Remove file from list");
    AppendMenuA(menu, MF_STRING, IDM_ADD_FILE, "Add file to list");
    return menu;
}

void onDeleteKey(HWND list)
{
    if (selectedFileRow() >= 0) removeSelectedFile(list, "Delete Selected?");
}

} // namespace

size_t loadWorkingFiles(int entryIndex)
{
    workingFiles.clear();
    if (entryIndex < 0) return 0;
    std::vector<std::string> named = listedFiles(BiographyDocument.files[entryIndex]);
    workingFiles.assign(named.begin(),
                        named.begin() + std::min(named.size(), size_t(MaxWorkingFiles)));
    return named.size();
}

void dropUnlistedFiles()
{
    const int entry = firstSelectedEntryIndex();
    if (entry < 0) return;
    // The files beyond those listed go as the user was told, a change
    // like any other.
    if (listedFiles(BiographyDocument.files[entry]).size() > workingFiles.size())
        edit::setFiles(entry, joinFileList(workingFiles), StepKind::RemoveFiles);
}

void fillFileList()
{
    SendMessageA(FileListView, WM_SETREDRAW, FALSE, 0);
    SendMessageA(FileListView, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < workingFiles.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char *>(workingFiles[i].c_str());
        SendMessageA(FileListView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(FileListView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FileListView, NULL, TRUE);
}

void runAssociatedFilesDialog(HWND owner)
{
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_ASSOCIATED_FILES), owner,
                    associatedFilesDialogProc, 0);
}

INT_PTR CALLBACK associatedFilesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog);
        return FALSE;
    case WM_NOTIFY: {
        const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
        if (header->idFrom == IDC_FILES_LIST && header->code == static_cast<UINT>(NM_DBLCLK))
            openSelectedFile(dialog);
        return FALSE;
    }
    case WM_COMMAND:
        // Enter and Esc close it like the close box: there is no Cancel,
        // every change counts.
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: close(dialog); return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        close(dialog);
        return TRUE;
    }
    return FALSE;
}

// The list carries its own menu and keys; it does not move its selection
// by keyboard.
LRESULT CALLBACK fileListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_RBUTTONDOWN:
        // Not passed on, so a right click does not change the selection.
        showContextMenu(list, buildFileListMenu(), lParam);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_ADD_FILE:    addFile(list); break;
        case IDM_REMOVE_FILE: removeSelectedFile(list, "Delete selected?"); break;
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_DELETE) onDeleteKey(list);
        return 0;
    }
    return callPreviousProc(list, message, wParam, lParam);
}

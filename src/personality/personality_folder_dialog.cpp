#include "personality/personality_folder_dialog.h"

#include <string>
#include <vector>

#include "../res/resource.h"
#include "personality/personality_folder.h"
#include "mainwindow/dialog_controls.h"

namespace {

// One check box per subfolder, in the order the boxes are made ("LOGS"
// stands above "OTHER" on screen). The subfolders are made in the order of
// their ranks, whatever the order on screen.
struct Subfolder {
    int id;
    const char *name; // the box's text and the subfolder's name
    int y;
    int creationRank;
};

const Subfolder Subfolders[] = {
    {IDC_PERSONALITY_BIOGRAPHY, "BIOGRAPHY XML", 55, 5},
    {IDC_PERSONALITY_IMAGE, "IMAGE", 75, 1},
    {IDC_PERSONALITY_AUDIO, "AUDIO", 95, 0},
    {IDC_PERSONALITY_VIDEO, "VIDEO", 115, 4},
    {IDC_PERSONALITY_TEXT, "TEXT", 135, 3},
    {IDC_PERSONALITY_OTHER, "OTHER", 175, 2},
    {IDC_PERSONALITY_LOGS, "LOGS", 155, 6},
};
constexpr int SubfolderCount = sizeof Subfolders / sizeof Subfolders[0];

// Kept between uses of the command; every opening starts them afresh.
bool createFlags[SubfolderCount];

// The row of the box with this id, or -1 for another control.
int subfolderOf(int id)
{
    for (int row = 0; row < SubfolderCount; ++row)
        if (Subfolders[row].id == id) return row;
    return -1;
}

void createBoxes(HWND dialog)
{
    // Plain check boxes: the dialog checks and clears them itself, in step
    // with the create flags.
    for (const Subfolder &box : Subfolders) {
        createDialogControl(dialog, 0, "BUTTON", box.name, WS_CHILD | WS_VISIBLE | BS_CHECKBOX, box.id,
                            5, box.y, 150, 18);
        CheckDlgButton(dialog, box.id, BST_CHECKED);
    }
}

void initialise(HWND dialog)
{
    for (bool &flag : createFlags) flag = true;
    useFontOfEveryScript(dialog, {IDC_PERSONALITY_NAME});
    SetDlgItemTextA(dialog, IDC_PERSONALITY_NAME, "PERSONALITY-X");
    createBoxes(dialog);
}

// A command from a check box turns it and its flag over; any other id is
// not ours.
void toggle(HWND dialog, int id)
{
    const int row = subfolderOf(id);
    if (row < 0) return;
    const bool checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    CheckDlgButton(dialog, id, checked ? BST_UNCHECKED : BST_CHECKED);
    createFlags[row] = !checked;
}

std::vector<std::string> chosenSubfolders()
{
    std::vector<std::string> chosen;
    for (int rank = 0; rank < SubfolderCount; ++rank)
        for (int row = 0; row < SubfolderCount; ++row)
            if (Subfolders[row].creationRank == rank && createFlags[row])
                chosen.push_back(Subfolders[row].name);
    return chosen;
}

void onNext(HWND dialog)
{
    const std::string name = dialogItemText(dialog, IDC_PERSONALITY_NAME);
    if (name.empty()) {
        MessageBoxA(dialog, "No folder name specified.", "Information", MB_ICONERROR | MB_OK);
        return;
    }
    // The dialog ends only after the creation: ending it first would enable
    // the main window under the folder browser, and a second command could
    // start there.
    createPersonalityFolder(dialog, name, chosenSubfolders());
    EndDialog(dialog, 0);
}

} // namespace

void runPersonalityFolderDialog(HWND owner)
{
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_PERSONALITY_FOLDER), owner,
                    personalityFolderDialogProc, 0);
}

INT_PTR CALLBACK personalityFolderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PERSONALITY_NEXT:      onNext(dialog); break;
        case IDCANCEL:                  EndDialog(dialog, 0); break;
        default:                        toggle(dialog, LOWORD(wParam)); break;
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

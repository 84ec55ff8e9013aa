#include "personality/personality_folder_dialog.h"

#include <string>
#include <vector>

#include "../res/resource.h"
#include "personality/personality_folder.h"
#include "mainwindow/dialog_controls.h"

namespace {

struct SubfolderBox {
    int id;
    const char *name; // the box's text and the subfolder's name
    int y;
};

constexpr int SubfolderCount = 7;

// In the order the boxes are created. "LOGS" stands above "OTHER".
const SubfolderBox Boxes[SubfolderCount] = {
    {IDC_PERSONALITY_BIOGRAPHY, "BIOGRAPHY XML", 55}, {IDC_PERSONALITY_IMAGE, "IMAGE", 75},
    {IDC_PERSONALITY_AUDIO, "AUDIO", 95},             {IDC_PERSONALITY_VIDEO, "VIDEO", 115},
    {IDC_PERSONALITY_TEXT, "TEXT", 135},              {IDC_PERSONALITY_OTHER, "OTHER", 175},
    {IDC_PERSONALITY_LOGS, "LOGS", 155},
};

// The subfolders are made in this order, whatever the order on screen.
const int CreationOrder[SubfolderCount] = {
    IDC_PERSONALITY_AUDIO, IDC_PERSONALITY_IMAGE, IDC_PERSONALITY_OTHER, IDC_PERSONALITY_TEXT,
    IDC_PERSONALITY_VIDEO, IDC_PERSONALITY_BIOGRAPHY, IDC_PERSONALITY_LOGS,
};

// Kept between uses of the command; every opening starts them afresh.
bool createFlags[SubfolderCount];

int boxIndex(int id)
{
    return id - IDC_PERSONALITY_BIOGRAPHY;
}

void createBoxes(HWND dialog)
{
    // Plain check boxes: the dialog checks and clears them itself, in step
    // with the create flags.
    for (const SubfolderBox &box : Boxes) {
        createDialogControl(dialog, 0, "BUTTON", box.name, WS_CHILD | WS_VISIBLE | BS_CHECKBOX, box.id,
                            5, box.y, 150, 18);
        CheckDlgButton(dialog, box.id, BST_CHECKED);
    }
}

void initialise(HWND dialog)
{
    for (bool &flag : createFlags) flag = true;
    SetDlgItemTextA(dialog, IDC_PERSONALITY_NAME, "PERSONALITY-X");
    createBoxes(dialog);
}

void toggle(HWND dialog, int id)
{
    const bool checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    CheckDlgButton(dialog, id, checked ? BST_UNCHECKED : BST_CHECKED);
    createFlags[boxIndex(id)] = !checked;
}

std::vector<std::string> chosenSubfolders()
{
    std::vector<std::string> chosen;
    for (int id : CreationOrder)
        if (createFlags[boxIndex(id)]) chosen.push_back(Boxes[boxIndex(id)].name);
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
        // Every other command, Esc included, does nothing.
        switch (LOWORD(wParam)) {
        case IDC_PERSONALITY_NEXT:      onNext(dialog); break;
        case IDC_PERSONALITY_BIOGRAPHY:
        case IDC_PERSONALITY_IMAGE:
        case IDC_PERSONALITY_AUDIO:
        case IDC_PERSONALITY_VIDEO:
        case IDC_PERSONALITY_TEXT:
        case IDC_PERSONALITY_OTHER:
        case IDC_PERSONALITY_LOGS:      toggle(dialog, LOWORD(wParam)); break;
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

// The six small dialogs that change one text field of the entry shown in
// the entry editor.
#pragma once

#include <windows.h>

#include "entryedit/editor_headings.h"

// Opens the dialog of the field under this heading.
void runFieldInputDialog(HWND owner, const EditorHeading &heading);

INT_PTR CALLBACK fieldInputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

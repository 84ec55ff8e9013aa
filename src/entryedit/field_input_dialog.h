// The six small dialogs that change one text field of the entry shown in
// the entry editor.
#pragma once

#include <windows.h>

// Opens the field dialog made from this template (one per field).
void runFieldInputDialog(HWND owner, int dialogTemplate);

INT_PTR CALLBACK fieldInputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

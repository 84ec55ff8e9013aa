// "Create personality folder": the folder's name and which subfolders to
// make; "Next" goes on to the folder browser.
#pragma once

#include <windows.h>

void runPersonalityFolderDialog(HWND owner);
INT_PTR CALLBACK personalityFolderDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam);

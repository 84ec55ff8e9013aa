// "New biography file": a new document from a template, written at once.
#pragma once

#include <windows.h>

// True when a new document was made, for the window to show.
bool runNewBiographyFileDialog(HWND owner);
INT_PTR CALLBACK newBiographyFileDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);

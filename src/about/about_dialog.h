// "About": name, version, a picture with a transparent colour and a link
// to the program's web page.
#pragma once

#include <windows.h>

// The project's own page, opened by the link.
extern const char WebPageAddress[];

// Loaded anew at each opening and kept until the next one.
extern HBITMAP AboutBitmap;
extern HBITMAP AboutMask;

// Returns 1 for the default command (Enter), 62 for the OK button and 0
// for the close box.
INT_PTR runAboutDialog(HWND owner);
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Controls that dialogs make in code rather than take from their templates.
#pragma once

#include <windows.h>

#include <string>

// A child control of `dialog` with this id, text and place.
HWND createDialogControl(HWND dialog, DWORD exStyle, const char *className, const char *text,
                         DWORD style, int id, int x, int y, int width, int height);

// The dialog's resource module, where its template came from.
HINSTANCE instanceOf(HWND window);

// The whole text of the dialog's control with this id: a value read from a
// file may be longer than any buffer picked here, and a cut copy would
// change it by stealth when stored back.
std::string dialogItemText(HWND dialog, int id);

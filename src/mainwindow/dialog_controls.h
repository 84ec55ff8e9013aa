// Controls that dialogs make in code rather than take from their templates.
#pragma once

#include <windows.h>

// A child control of `dialog` with this id, text and place.
HWND createDialogControl(HWND dialog, DWORD exStyle, const char *className, const char *text,
                         DWORD style, int id, int x, int y, int width, int height);

// The dialog's resource module, where its template came from.
HINSTANCE instanceOf(HWND window);

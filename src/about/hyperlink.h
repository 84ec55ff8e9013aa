// Turns a static text control into a hyperlink: link colour, hand cursor,
// underlined while the pointer is over it. A click reaches the parent as
// the static control's own STN_CLICKED notification; the link opens
// nothing itself. All state lives in window properties, and destroying the
// windows undoes everything.
#pragma once

#include <windows.h>

// Set the static control's font first: the underlined font is made from it.
BOOL makeHyperlink(HWND link);

LRESULT CALLBACK HyperlinkParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK HyperlinkStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

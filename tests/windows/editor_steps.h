// Driving the entry editor and the dialogs it opens. Each of them runs its
// own modal loop, so what a test does inside one is run from that loop.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <functional>
#include <string>

#include "main_window_fixture.h"

// Adds the step that, once the dialog of this caption is up, runs `body`
// inside its modal loop and then closes it with its close box.
void inDialog(GuiScript &script, const std::string &caption, std::function<void(HWND dialog)> body);
inline void inEditor(GuiScript &script, std::function<void(HWND editor)> body)
{
    inDialog(script, "Entry editor", std::move(body));
}
// Double-clicks row `row` of the entry list as a user does; the editor it
// opens has come and gone when this returns.
void doubleClickRow(int row);

// The editor's text as the control counts characters: one "\r" per line
// break, so that positions in it are the control's positions.
std::string editorText();
// Where `text` first stands in the editor's text.
CHARRANGE rangeOf(const std::string &text);
// Sends the link notification the editor's text area sends for a mouse
// message over a link.
void clickLink(HWND editor, CHARRANGE range, UINT mouseMessage = WM_LBUTTONUP);
// Puts `text` into a field dialog's box and presses one of its buttons.
void typeAndPress(HWND fieldDialog, const std::string &text, int button);
// A point inside row `row` of a report list.
POINT rowPoint(HWND list, int row);

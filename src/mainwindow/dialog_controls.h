// Controls that dialogs make in code rather than take from their templates.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// A child control of `dialog` (or of any window) with this id, text and place.
HWND createDialogControl(HWND dialog, DWORD exStyle, const char *className, const char *text,
                         DWORD style, int id, int x, int y, int width, int height);

// Gives a box the user types into a font that draws every script: the
// dialogs' "MS Sans Serif" and the System font that controls made in code
// get are bitmap fonts of one code page, in which a Polish, Greek or
// Japanese name would show as boxes. The stock font of the shell's dialogs
// ("MS Shell Dlg", a TrueType face the system links to fonts of the other
// scripts) has the same size and look. Each id names a box of `dialog`.
void useFontOfEveryScript(HWND dialog, std::initializer_list<int> boxIds);

// A push button made in code; and a style bit the design gives edit
// controls, though it means nothing to them.
constexpr DWORD PushButtonStyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
constexpr DWORD EditBit4000 = 0x4000;
static_assert(PushButtonStyle == 0x50000000, "button style");

// Appends a column to a report list.
void addListColumn(HWND list, int index, const char *text, int width);

// The dialog's resource module, where its template came from.
HINSTANCE instanceOf(HWND window);

// The whole text of the dialog's control with this id: a value read from a
// file may be longer than any buffer picked here, and a cut copy would
// change it by stealth when stored back.
std::string dialogItemText(HWND dialog, int id);

// The one-text dialogs (the six entry fields and the topic) share their
// shape: a multi-line box filling the dialog above two fixed buttons.

// Their box, taking texts of any length: an edit control keeps about 32 000
// characters unless told otherwise, and a longer text read from a file
// would be cut when shown and lost at OK.
HWND createTextBox(HWND dialog, int id);

// The box fills the client area but for a strip where the buttons keep
// their places, moving up only where the dialog is too low for them.
void layOutTextDialog(HWND dialog, int boxId, int okId, int cancelId);

// Readies the dialog for the keyboard: OK is the default button (the
// templates mark Cancel as one too, which would win), and the box has the
// focus with its text selected, so typing replaces it at once. Enter in the
// box starts a new line; Tab reaches OK.
void focusTextBox(HWND dialog, int boxId, int okId);

// The box's text when it follows the entry text rule; otherwise says why,
// in a message owned by the dialog so that it cannot be used meanwhile,
// and gives false.
bool acceptedEntryText(HWND dialog, int boxId, std::string &text);

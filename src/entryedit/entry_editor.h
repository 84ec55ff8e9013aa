// The entry editor: one entry shown as formatted read-only text whose
// headings are links to the dialogs that change the entry.
#pragma once

#include <windows.h>

// The editor's rich text area; valid only while the editor is open.
extern HWND EntryRichText;

// Opens the editor on the entry of the first selected row of the entry
// list and lists the entries again when it closes.
void runEntryEditor(HWND owner);
// Rewrites the editor's text for the entry of the first selected row.
void fillEntryEditor();

INT_PTR CALLBACK entryEditorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

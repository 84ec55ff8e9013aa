// The main window and its children: the handles every window and dialog
// of the program works with, and the two command states.
#pragma once

#include <windows.h>

#include "document/core/biography_reader.h"

extern HWND MainWindow;
extern HWND StatusBar;
extern HWND EntryListView;
extern HWND CategoryTabs;
extern HWND TopicLine;

// Registers the common-control classes and "myWindowClass".
bool registerMainWindowClass(HINSTANCE instance);
// Creates the centred main window, stores it in MainWindow and puts it in
// the no-document state. Returns NULL on failure.
HWND createMainWindow(HINSTANCE instance);

void disableDocumentCommands();
void enableDocumentCommands();

// Closing by the close box, "Exit" or the end of the session: offers to save
// unsaved changes first. Returns false when the window stays open.
bool closeMainWindow();

// Shows the document just opened or created: its tabs with the leftmost
// selected and that category listed, its file name in the caption and the
// status bar.
void showDocument();
// Shows a document just read from a file, then tells what of the file did
// not fit into it.
void showOpenedDocument(const LoadReport &report);
// The document's file name in the caption and the status bar.
void showDocumentName();
// "Memorion - *Anna.xml" while the document holds unsaved changes,
// "Memorion - Anna.xml" when it holds none: closing asks exactly when the
// star is there.
void showDocumentTitle();
// What the window shows of the history and of `modified`: the Edit menu
// and the caption. Told of every step made, undone or redone, every save
// and every open.
void showDocumentState();

// The owner for a message box: the window the user is working in, a dialog
// when one is open, so that it cannot be used while the box is up.
HWND messageOwner();

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void dispatchMainCommand(HWND window, int id);

// Subclassing of the main window's children: the previous procedure is
// kept in the control's user-data slot.
void subclassControl(HWND control, WNDPROC procedure);
LRESULT callPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
// Shows a child's context menu where the mouse message `clientPoint` was,
// tracked with the right button; its commands go to the child. The menu
// is destroyed afterwards.
void showContextMenu(HWND control, HMENU menu, LPARAM clientPoint);

// The system's open and save dialogs, set up the same way everywhere.
// Both return false when nothing was chosen; a path too long to hold is
// reported to the user before that.
#pragma once

#include <string>
#include <windows.h>
#include <commdlg.h>

bool chooseSavePath(HWND owner, std::string &path);
bool chooseOpenPath(HWND owner, std::string &path);
// Any file, to be named in an entry.
bool chooseFileToAttach(HWND owner, std::string &path);
// Where to export the web page, proposing `proposedName` in `folder`.
bool chooseWebPagePath(HWND owner, const std::string &folder, const std::string &proposedName,
                       std::string &path);
// A family-tree file to import.
bool chooseFamilyTreeToImport(HWND owner, std::string &path);
// Where to export the family-tree file, proposing `proposedName` in `folder`.
bool chooseFamilyTreeExportPath(HWND owner, const std::string &folder, const std::string &proposedName,
                                std::string &path);

// Shows a set-up dialog: true when a path was chosen, otherwise false with
// the dialog's error code (0 for Cancel). Replaceable, so that tests can
// give answers the system's dialogs only give in rare cases.
using FileDialogRunner = bool (*)(OPENFILENAMEA &dialog, DWORD &error);
extern FileDialogRunner runOpenFileDialog;
extern FileDialogRunner runSaveFileDialog;

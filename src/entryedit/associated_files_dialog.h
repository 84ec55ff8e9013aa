// The files named by the entry shown in the entry editor: a list in which
// they are added, removed and opened with their programs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// As many paths as one entry can name.
constexpr int MaxWorkingFiles = 1024;

// The paths being edited, at most MaxWorkingFiles; row i of the list shows
// path i.
extern std::vector<std::string> workingFiles;
// The dialog's list; valid only while the dialog is open.
extern HWND FileListView;

// Takes the paths of the entry with this index, the first MaxWorkingFiles
// of them; returns how many its files text names.
size_t loadWorkingFiles(int entryIndex);
// Every file added or removed is in the entry already, each a step of its
// own; closing the list leaves the entry's text as it is, but for the files
// beyond MaxWorkingFiles, which go as a step that removes them.
void dropUnlistedFiles();
void fillFileList();

void runAssociatedFilesDialog(HWND owner);
INT_PTR CALLBACK associatedFilesDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam);
LRESULT CALLBACK fileListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

// The shell's folder browser, behind one replaceable function so that
// tests can answer it without the dialog.
#pragma once

#include <string>
#include <windows.h>

// Shows the browser rooted at the desktop; true with the chosen folder's
// path, false when the user cancels or the choice is no file-system folder.
using BrowseForFolderFunction = bool (*)(HWND owner, const char *prompt, std::string &folder);

extern BrowseForFolderFunction browseForFolder;

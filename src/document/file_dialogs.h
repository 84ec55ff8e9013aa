// The system's open and save dialogs, set up the same way everywhere.
// A confirmed choice leaves the chosen file's folder as the current folder.
#pragma once

#include <string>
#include <windows.h>

bool chooseSavePath(HWND owner, std::string &path);
bool chooseOpenPath(HWND owner, std::string &path);

// A personality folder: one folder for a person, named by the user, with
// fixed subfolders for the biography files and the material they collect.
#pragma once

#include <string>
#include <vector>
#include <windows.h>

// Asks for the parent folder, creates the folder `name` in it and the
// `subfolders` inside, in the order given, and opens the new folder in
// Explorer. A folder that already exists gets its missing subfolders and
// a failure message instead.
void createPersonalityFolder(HWND owner, const std::string &name,
                             const std::vector<std::string> &subfolders);

// Libraries loaded by name come from the system folder only: beside the
// program (a downloads folder, for the portable zip) or in the current
// folder someone else may have put a file of the same name.
#pragma once

#include <windows.h>

// For every later load by name, the shell's and the dialogs' own included.
// Windows without the call (before 8, and 7 without its update KB2533623)
// keeps its usual search.
void searchSystemFolderOnly();
// Loads `name` from the system folder, on every Windows.
HMODULE loadSystemLibrary(const char *name);

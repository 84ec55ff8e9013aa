// Opening a file handed to the program from outside, exactly as "Open
// biography file" opens a chosen one: named on the command line (as
// Explorer's "Open with" starts the program) or dropped on the main window.
#pragma once

#include <windows.h>
#include <shellapi.h>

// At start: offers what a crash left unsaved, then opens the file that the
// entry function's command line names, if any and unless a biography was
// recovered.
void openCommandLineFile(const char *commandLine);
// Opens the first of the dropped files after the usual offer to save, and
// releases the drop.
void openDroppedFile(HDROP drop);

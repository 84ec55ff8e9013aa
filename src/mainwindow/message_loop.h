// The program's message loop, where the main window's keyboard shortcuts
// become its menu commands.
#pragma once

#include <windows.h>

// The shortcut table of the main window's menu commands.
HACCEL loadShortcuts(HINSTANCE instance);

// Handles one message taken from the thread's queue: a shortcut pressed in
// the main window becomes its menu command, anything else goes where it
// was sent.
void processMessage(MSG &message, HACCEL shortcuts);

// Runs until the quit message and returns its code.
int runMessageLoop(HACCEL shortcuts);

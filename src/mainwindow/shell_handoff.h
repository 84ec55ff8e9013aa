// Everything the program hands to the shell goes through this one
// function, so that tests can see the calls without starting programs.
#pragma once

#include <windows.h>

#include <string>

using ShellExecuteFunction = HINSTANCE (*)(HWND owner, const char *verb, const char *file,
                                           const char *parameters, const char *folder,
                                           int showCommand);

extern ShellExecuteFunction shellExecute;

// Opens a file or folder an entry names with the program the shell has for
// it. The shell gets only the full path of something that exists: a path
// that is not full is taken from the biography's folder, and one that names
// nothing is reported instead. A path that may run a program opens only
// after the user says so.
void openAssociatedFile(HWND owner, const std::string &path);
// Opens the biography file itself with the program its type has. The user
// opened it from where it is, so only its type decides whether to ask:
// a dropped "Anna.xml.hta" would run.
void openBiographyWithItsProgram(HWND owner, const std::string &path);
// The full path of the system's notepad: the shell would look for a bare
// "notepad.exe" in the current folder first, the folder of the biography
// just opened, where anything may lie. Empty should the system not say
// where it is.
std::string systemNotepad();

// Everything the program hands to the shell goes through this one
// function, so that tests can see the calls without starting programs.
#pragma once

#include <windows.h>

using ShellExecuteFunction = HINSTANCE (*)(HWND owner, const char *verb, const char *file,
                                           const char *parameters, const char *folder,
                                           int showCommand);

extern ShellExecuteFunction shellExecute;

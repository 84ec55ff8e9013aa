#include "mainwindow/shell_handoff.h"

#include <shellapi.h>

namespace {

HINSTANCE systemShellExecute(HWND owner, const char *verb, const char *file,
                             const char *parameters, const char *folder, int showCommand)
{
    return ShellExecuteA(owner, verb, file, parameters, folder, showCommand);
}

} // namespace

ShellExecuteFunction shellExecute = systemShellExecute;

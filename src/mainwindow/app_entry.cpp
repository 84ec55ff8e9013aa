#include "document/core/command_line.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_loop.h"
#include "mainwindow/outside_open.h"
#include "mainwindow/system_libraries.h"

// The run-time library's copy of the command line, WinMain's third argument,
// takes every byte above 0x7F before the first argument for a blank, and so
// eats the start of a name like "Łódź.xml".
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    searchSystemFolderOnly();
    if (!registerMainWindowClass(instance)) {
        MessageBoxA(NULL, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }
    if (!createMainWindow(instance)) {
        MessageBoxA(NULL, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }
    ShowWindow(MainWindow, showCommand);
    UpdateWindow(MainWindow);
    openCommandLineFile(argumentsOf(GetCommandLineA()).c_str());
    return runMessageLoop(loadShortcuts(instance));
}

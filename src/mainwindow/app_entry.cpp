#include "mainwindow/main_window.h"
#include "mainwindow/message_loop.h"
#include "mainwindow/outside_open.h"
#include "mainwindow/system_libraries.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
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
    openCommandLineFile(commandLine);
    return runMessageLoop(loadShortcuts(instance));
}

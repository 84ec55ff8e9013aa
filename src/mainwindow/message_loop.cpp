#include "mainwindow/message_loop.h"

#include "../res/resource.h"
#include "mainwindow/main_window.h"

namespace {

bool inMainWindow(HWND window)
{
    return MainWindow && (window == MainWindow || IsChild(MainWindow, window));
}

} // namespace

HACCEL loadShortcuts(HINSTANCE instance)
{
    return LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
}

// Modal dialogs and message boxes run loops of their own, which translate
// no shortcuts; and the system sends no command for a greyed menu item.
void processMessage(MSG &message, HACCEL shortcuts)
{
    if (shortcuts && inMainWindow(message.hwnd) &&
        TranslateAcceleratorA(MainWindow, shortcuts, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int runMessageLoop(HACCEL shortcuts)
{
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) processMessage(message, shortcuts);
    return static_cast<int>(message.wParam);
}

#include "mainwindow/topic_line.h"

#include "../res/resource.h"
#include "mainwindow/main_window.h"
#include "mainwindow/set_topic_dialog.h"

namespace {

HMENU buildTopicLineMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_SET_TOPIC, "Set topic");
    return menu;
}

} // namespace

LRESULT CALLBACK topicLineProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_RBUTTONDOWN:
        // Not passed on: the press only opens the menu.
        showContextMenu(edit, buildTopicLineMenu(), lParam);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_SET_TOPIC) runSetTopicDialog(edit);
        return 0;
    }
    return callPreviousProc(edit, message, wParam, lParam);
}

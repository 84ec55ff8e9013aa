#include "mainwindow/topic_line.h"

#include "../res/resource.h"
#include "mainwindow/main_window.h"
#include "mainwindow/set_topic_dialog.h"

namespace {

void showTopicLineMenu(HWND edit, LPARAM lParam)
{
    POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(edit, &at);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_SET_TOPIC, "Set topic");
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, edit, NULL);
    DestroyMenu(menu);
}

} // namespace

LRESULT CALLBACK topicLineProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_RBUTTONDOWN:
        // Not passed on: the edit control's own menu (copy, select all) is
        // not this line's.
        showTopicLineMenu(edit, lParam);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_SET_TOPIC) runSetTopicDialog(edit);
        return 0;
    }
    return callPreviousProc(edit, message, wParam, lParam);
}

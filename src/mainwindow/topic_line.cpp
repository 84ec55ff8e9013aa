#include "mainwindow/topic_line.h"

#include "mainwindow/main_window.h"

// The topic line's own menu and dialog come later; until then it behaves
// as the plain read-only edit control it is.
LRESULT CALLBACK topicLineProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return callPreviousProc(edit, message, wParam, lParam);
}

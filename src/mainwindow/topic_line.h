// The read-only line across the top that shows the biography's topic.
#pragma once

#include <windows.h>

LRESULT CALLBACK topicLineProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

// "Set topic text": the dialog in which the biography's topic is edited.
#pragma once

#include <windows.h>

void runSetTopicDialog(HWND owner);

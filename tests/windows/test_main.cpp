#include <gtest/gtest.h>
#include <windows.h>

#include "mainwindow/main_window.h"

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!registerMainWindowClass(GetModuleHandleA(NULL))) {
        std::fprintf(stderr, "cannot register the main window class\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}

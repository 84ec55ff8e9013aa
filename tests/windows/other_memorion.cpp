#include "other_memorion.h"

#include <commctrl.h>

#include "gui_harness.h"

namespace {

struct FoundWindow {
    DWORD process;
    std::string className, caption;
    HWND window;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM lParam)
{
    FoundWindow &found = *reinterpret_cast<FoundWindow *>(lParam);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != found.process || !IsWindowVisible(window) || name != found.className ||
        (!found.caption.empty() && windowText(window) != found.caption))
        return TRUE;
    found.window = window;
    return FALSE;
}

std::string windowsPath(std::string path)
{
    for (char &c : path)
        if (c == '/') c = '\\';
    return path.size() > 1 && path[1] == ':' ? path : "Z:" + path;
}

} // namespace

OtherMemorion OtherMemorion::started(const std::string &arguments)
{
    const std::string exe = windowsPath(MEMORION_EXE);
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info);
    if (info.hThread) CloseHandle(info.hThread);
    return OtherMemorion(info.hProcess);
}

OtherMemorion::~OtherMemorion()
{
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

HWND OtherMemorion::waitForWindow(const char *className, const std::string &caption, int ms) const
{
    FoundWindow found = {GetProcessId(process_), className, caption, NULL};
    for (int waited = 0; waited < ms && !found.window; waited += 50) {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&found));
        if (!found.window) Sleep(50);
    }
    return found.window;
}

std::string OtherMemorion::waitForCaption(const std::string &caption, int ms) const
{
    HWND window = waitForWindow("myWindowClass", "", ms);
    std::string shown = windowText(window);
    for (int waited = 0; waited < ms && shown != caption; waited += 50) {
        Sleep(50);
        shown = windowText(window);
    }
    return shown;
}

int OtherMemorion::listedRows() const
{
    HWND list = FindWindowExA(waitForWindow("myWindowClass"), NULL, "SysListView32", NULL);
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

bool OtherMemorion::close() const
{
    PostMessageA(waitForWindow("myWindowClass"), WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_, 15000) == WAIT_OBJECT_0;
}

#include "main_window_fixture.h"

#include <cstdio>

#include <commctrl.h>

#include "document/core/document_history.h"
#include "document/recovery_files.h"
#include "mainwindow/find_entries.h"
#include "mainwindow/message_loop.h"
#include "mainwindow/shell_handoff.h"

std::vector<ShellCall> &recordedShellCalls()
{
    static std::vector<ShellCall> calls;
    return calls;
}

namespace {

HINSTANCE recordShellCall(HWND, const char *verb, const char *file, const char *parameters,
                          const char *folder, int showCommand)
{
    ShellCall call;
    call.verb = verb ? verb : "";
    call.file = file ? file : "";
    call.hasParameters = parameters != nullptr;
    call.parameters = parameters ? parameters : "";
    call.hasFolder = folder != nullptr;
    call.folder = folder ? folder : "";
    call.showCommand = showCommand;
    recordedShellCalls().push_back(call);
    // What ShellExecute answers on success.
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

bool findTestRecoveryFolder(std::wstring &folder)
{
    const std::string path = testRecoveryFolder();
    folder.assign(path.begin(), path.end());
    return true;
}

} // namespace

std::string testRecoveryFolder()
{
    static const std::string folder = makeTestFolder("recovery"); // emptied once a run
    return folder;
}

void runMainLoopFor(int ms)
{
    const HACCEL shortcuts = loadShortcuts(GetModuleHandleA(NULL));
    const DWORD end = GetTickCount() + ms;
    MSG message;
    do {
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            if (message.message != WM_QUIT) processMessage(message, shortcuts);
        Sleep(5);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

void MainWindowFixture::SetUp()
{
    resetDocument();
    startHistory();
    forgetLastSearch();
    recordedShellCalls().clear();
    shellExecute = recordShellCall;
    findRecoveryFolder = findTestRecoveryFolder;
    ASSERT_NE(createMainWindow(GetModuleHandleA(NULL)), (HWND)NULL) << "error " << GetLastError();
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    UpdateWindow(MainWindow);
    pumpMessages();
}

void MainWindowFixture::TearDown()
{
    if (IsWindow(MainWindow)) {
        BiographyDocument.modified = false;
        DestroyWindow(MainWindow);
    }
    pumpMessages();
    MainWindow = NULL;
    resetDocument();
}

void MainWindowFixture::command(int id)
{
    SendMessageA(MainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pumpMessages();
}

void MainWindowFixture::showDocument(const std::string &topic, const std::vector<Entry> &entries)
{
    Biography &d = BiographyDocument;
    d.topic = topic;
    d.entryCount = 0;
    for (const Entry &entry : entries) setEntryAt(d.entryCount++, entry);
    rebuildCategories();
    d.documentLoaded = true;
    startHistory();
    ::showDocument();
    pumpMessages();
}

void MainWindowFixture::chooseTab(int tab)
{
    SendMessageA(CategoryTabs, TCM_SETCURFOCUS, tab, 0);
    pumpMessages();
}

Entry makeEntry(const std::string &title, const std::string &category,
                const std::string &timePeriod, const std::string &files)
{
    Entry entry;
    entry.title = title;
    entry.category = category;
    entry.timePeriod = timePeriod;
    entry.files = files;
    return entry;
}

std::vector<std::string> listedTitles()
{
    std::vector<std::string> titles;
    for (int r = 0; r < listRowCount(EntryListView); ++r)
        titles.push_back(listCell(EntryListView, r, 0));
    return titles;
}

void expectBox(const SeenDialog &seen, const std::string &caption, const std::string &text,
               UINT icon, UINT buttons)
{
    EXPECT_EQ(seen.caption, caption);
    EXPECT_EQ(seen.text, text);
    EXPECT_EQ(seen.icon, icon) << "icon of \"" << caption << "\"";
    EXPECT_EQ(seen.buttons, buttons) << "buttons of \"" << caption << "\"";
}

std::string todayDayMonthYear()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", now.wDay, now.wMonth, now.wYear % 100);
    return text;
}

FileHeldOpen::FileHeldOpen(const std::string &path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL))
{
}

FileHeldOpen::~FileHeldOpen()
{
    if (held()) CloseHandle(handle_);
}

// A fresh main window for every test, made by the same calls as WinMain,
// and a recorder for what the program hands to the shell.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "document/core/biography_document.h"
#include "gui_harness.h"
#include "mainwindow/main_window.h"

struct ShellCall {
    std::string verb, file, parameters, folder;
    bool hasParameters = false, hasFolder = false;
    int showCommand = 0;
};

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sends a menu command the way a click on the menu does.
    void command(int id);
    // Puts entries into the document the way an opened file would, then
    // shows them as an opened file is shown: categories from the entries.
    void showDocument(const std::string &topic, const std::vector<Entry> &entries);
    // Chooses tab `tab` as the user does, and lets the window react.
    void chooseTab(int tab);

};

// The program's own message loop, shortcuts and all, for about `ms`
// milliseconds: where key presses reach the main window as typed keys do.
void runMainLoopFor(int ms);

// Where the program's windows keep their recovery journals in the tests.
std::string testRecoveryFolder();

// Every call handed to the shell since the test began.
std::vector<ShellCall> &recordedShellCalls();

// A document entry with only the given fields set.
Entry makeEntry(const std::string &title, const std::string &category,
                const std::string &timePeriod = "", const std::string &files = "");

// The titles the entry list shows, top to bottom.
std::vector<std::string> listedTitles();

// Today as day/month/two-digit year, worked out independently of the
// program's own date code.
std::string todayDayMonthYear();

// Holds a file open with no sharing, as another program may, so that it
// can be neither replaced nor written.
class FileHeldOpen {
public:
    explicit FileHeldOpen(const std::string &path);
    ~FileHeldOpen();
    FileHeldOpen(const FileHeldOpen &) = delete;
    FileHeldOpen &operator=(const FileHeldOpen &) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Expects one message box with exactly these contents.
void expectBox(const SeenDialog &seen, const std::string &caption, const std::string &text,
               UINT icon, UINT buttons);

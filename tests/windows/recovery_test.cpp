// Recovery after a crash: how long a journal lasts, the questions at start
// and at open, and a real kill of Memorion.exe.
#include "main_window_fixture.h"

#include <commctrl.h>

#include <cstring>
#include <functional>

#include "../res/resource.h"
#include "document/core/biography_writer.h"
#include "document/core/document_history.h"
#include "document/document_files.h"
#include "document/file_dialogs.h"
#include "document/recovery_files.h"
#include "document/recovery_journal_writer.h"
#include "mainwindow/outside_open.h"
#include "other_memorion.h"

namespace {

const char Question[] = "Recover unsaved changes";

size_t journalsAt(const std::string &folder)
{
    return journalsIn(std::wstring(folder.begin(), folder.end()), L"").size();
}

size_t journals()
{
    return journalsAt(testRecoveryFolder());
}

void deleteJournals()
{
    const std::string folder = testRecoveryFolder();
    for (const std::wstring &name : journalsIn(std::wstring(folder.begin(), folder.end()), L""))
        DeleteFileW(name.c_str());
}

std::string bytes()
{
    return biographyFileBytes(BiographyDocument);
}

std::string savedPath;
bool answerSaveDialog(OPENFILENAMEA &dialog, DWORD &)
{
    std::strcpy(dialog.lpstrFile, savedPath.c_str());
    return true;
}

class Recovery : public MainWindowFixture {
protected:
    // Opens a biography of two entries at `path`, adds `changes` entries
    // through the menu, then does what `more` does, and leaves it as a
    // crash does; the program then starts afresh. The writer's bytes of the
    // document it left.
    std::string crashWith(const std::string &path, int changes, const std::function<void()> &more = nullptr)
    {
        writeFileBytes(path, "<biography_data><topic>Anna</topic><fact1><title>Born</title></fact1>"
                             "<fact2><title>School</title></fact2></biography_data>");
        LoadReport report;
        EXPECT_TRUE(openDocumentFile(path, report));
        ::showDocument();
        for (int i = 0; i < changes; ++i) command(IDM_ADD_ENTRY);
        if (more) more();
        const std::string left = bytes();
        leaveRecoveryJournal();
        TearDown();
        SetUp();
        return left;
    }
    // Starts as the program does, with `arguments` on its command line,
    // answering the questions in turn; what they asked.
    std::vector<SeenDialog> start(const std::string &arguments, const std::vector<int> &answers)
    {
        GuiScript script;
        for (int answer : answers) script.press(Question, answer);
        openCommandLineFile(arguments.c_str());
        pumpMessages();
        EXPECT_TRUE(script.finished()) << script.problems();
        return script.seen();
    }
};

TEST_F(Recovery, TheQuestionRecoversKeepsOrDeletesTheChanges)
{
    struct Case {
        const char *name;
        bool onCommandLine, fileChanged;
        std::vector<int> answers;
        bool recovered, opened;
        size_t journalsLeft;
    };
    const Case cases[] = {
        {"Yes", false, false, {IDYES}, true, false, 1},
        {"Yes as the file opens", true, false, {IDYES}, true, false, 1},
        {"Yes to a file changed since", false, true, {IDYES}, true, false, 1},
        {"Cancel", false, false, {IDCANCEL}, false, false, 1},
        {"Cancel as the file opens", true, false, {IDCANCEL}, false, false, 1},
        {"No, then keep them", false, false, {IDNO, IDNO}, false, false, 1},
        {"No, then delete them", true, false, {IDNO, IDYES}, false, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        deleteJournals();
        const std::string folder = makeTestFolder("recovery-question"), path = folder + "\\Anna.xml";
        const std::string left = crashWith(path, 2);
        if (c.fileChanged) writeFileBytes(path, "<biography_data></biography_data>");
        const std::vector<SeenDialog> seen = start(c.onCommandLine ? "\"" + path + "\"" : "", c.answers);
        ASSERT_EQ(seen.size(), c.answers.size());
        const std::string asked = "Memorion closed without saving 2 changes to " + path + ", the last at ";
        const std::string end = c.fileChanged ? ", and Save asks for one. Recover them?" : ". Recover them?";
        const size_t at = seen[0].text.find(end);
        EXPECT_EQ(seen[0].text.substr(0, asked.size()) + seen[0].text.substr(at), asked + end);
        EXPECT_EQ(seen[0].icon | seen[0].buttons, static_cast<UINT>(MB_ICONQUESTION | MB_YESNOCANCEL));
        if (seen.size() > 1)
            expectBox(seen[1], Question, "The 2 changes will be lost for good. Delete them?", MB_ICONWARNING, MB_YESNO);
        EXPECT_EQ(journals(), c.journalsLeft);
        EXPECT_EQ(windowText(MainWindow), c.recovered ? (c.fileChanged ? "Memorion - *" : "Memorion - *Anna.xml")
                                          : c.opened    ? "Memorion - Anna.xml"
                                                        : "Memorion");
        if (!c.recovered) continue;
        EXPECT_EQ(bytes(), left);
        EXPECT_TRUE(BiographyDocument.modified);
        EXPECT_EQ(listRowCount(EntryListView), 4);
        EXPECT_EQ(BiographyDocument.filePath, c.fileChanged ? "" : path);
        // The changes are steps of the history, back to the file as opened.
        command(IDM_UNDO);
        command(IDM_UNDO);
        EXPECT_EQ(listRowCount(EntryListView), 2);
        EXPECT_EQ(BiographyDocument.modified, c.fileChanged);
        EXPECT_EQ(journals(), c.fileChanged ? 1u : 0u);
        command(IDM_REDO);
        // Recovery writes nothing: Save does, where the document has its file.
        savedPath = folder + "\\Anna again.xml";
        const FileDialogRunner system = runSaveFileDialog;
        runSaveFileDialog = answerSaveDialog;
        command(IDM_SAVE);
        runSaveFileDialog = system;
        EXPECT_EQ(readFileBytes(c.fileChanged ? savedPath : path), bytes());
        EXPECT_EQ(journals(), 0u);
    }
}

// An OK that changes nothing marks the document, which still holds the
// file's text: changes that start there start from the file as saved, and
// undo comes back to it unmarked, as it would have before the crash.
TEST_F(Recovery, ChangesAfterAnOkThatChangedNothingGoBackToTheFileAsSaved)
{
    const std::string path = makeTestFolder("recovery-marked") + "\\Anna.xml";
    deleteJournals();
    crashWith(path, 1, [this] {
        command(IDM_UNDO);
        markModifiedWithoutStep();
        command(IDM_REDO);
    });
    start("\"" + path + "\"", {IDYES});
    ASSERT_EQ(BiographyDocument.filePath, path);
    command(IDM_UNDO);
    EXPECT_FALSE(BiographyDocument.modified);
    EXPECT_EQ(windowText(MainWindow), "Memorion - Anna.xml");
    EXPECT_EQ(journals(), 0u);
}

// Several journals: one question each, newest first; a damaged one is told
// of once; one another Memorion holds is not offered.
TEST_F(Recovery, SeveralJournalsAreAskedNewestFirst)
{
    const std::string folder = makeTestFolder("recovery-several");
    crashWith(folder + "\\older.xml", 1);
    Sleep(20);
    crashWith(folder + "\\newer.xml", 3);
    crashWith(folder + "\\held.xml", 1);
    const std::wstring held = journalNamePrefix(folder + "\\held.xml");
    FileHeldOpen other(testRecoveryFolder() + "\\" + std::string(held.begin(), held.end()) + ".journal");
    ASSERT_TRUE(other.held());
    const std::string damaged = testRecoveryFolder() + "\\0000000000000000.journal";
    writeFileBytes(damaged, "Memorion's notes\r\n" + std::string(40, 'x'));

    std::vector<SeenDialog> seen;
    {
        GuiScript script;
        script.press(Question, IDOK).press(Question, IDCANCEL).press(Question, IDCANCEL);
        openCommandLineFile("");
        seen = script.seen();
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text.substr(0, 24 + damaged.size()), "The recovery journal \"" + damaged + "\" ");
    EXPECT_NE(seen[1].text.find("3 changes to " + folder + "\\newer.xml"), std::string::npos);
    EXPECT_NE(seen[2].text.find("1 change to " + folder + "\\older.xml"), std::string::npos);
    EXPECT_TRUE(fileExists(damaged + ".damaged"));
    EXPECT_EQ(start("", {IDCANCEL, IDCANCEL}).size(), 2u);
}

// When no journal can be written: one message, editing goes on, and the
// next change tries again, from the document as it is; its file is still
// the one saved. Closed after No to saving, the journal goes.
TEST_F(Recovery, AJournalThatCannotBeWrittenIsToldOfOnce)
{
    deleteJournals();
    const std::string path = makeTestFolder("recovery-lifetime") + "\\Anna.xml";
    showDocument("Anna", {makeEntry("Born", "Life")});
    ASSERT_TRUE(saveDocument(path));
    setDocumentPath(path);
    const RecoveryFolderFinder tests = findRecoveryFolder;
    findRecoveryFolder = [](std::wstring &) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    };
    GuiScript told;
    told.press("Memorion", IDOK);
    command(IDM_ADD_ENTRY);
    command(IDM_ADD_ENTRY);
    ASSERT_EQ(told.seen().size(), 1u);
    EXPECT_EQ(told.seen()[0].text.substr(0, 38), "Changes cannot be kept for recovery: A");
    EXPECT_EQ(BiographyDocument.entryCount, 3);
    findRecoveryFolder = tests;
    command(IDM_ADD_ENTRY);
    EXPECT_EQ(journals(), 1u);
    const std::string left = bytes();
    leaveRecoveryJournal();
    TearDown();
    SetUp();
    start("", {IDYES});
    EXPECT_EQ(bytes(), left);
    EXPECT_EQ(BiographyDocument.filePath, path);
    {
        GuiScript script;
        script.press("File not saved", IDNO);
        SendMessageA(MainWindow, WM_CLOSE, 0, 0);
        pumpMessages();
    }
    EXPECT_EQ(journals(), 0u);
}

// ---- a real kill

bool waitUntil(const std::function<bool()> &done)
{
    for (int waited = 0; waited < 20000; waited += 50, Sleep(50))
        if (done()) return true;
    return false;
}

// Memorion.exe as Explorer starts it, in a process of its own; its shown
// windows found by class and caption.
// Five changes through the program's windows: the topic by its dialog, an
// entry added, the first row clicked and deleted by its key, undone and
// redone.
void makeChanges(const OtherMemorion &program)
{
    HWND main = program.waitForWindow("myWindowClass");
    HWND list = FindWindowExA(main, NULL, "SysListView32", NULL);
    PostMessageA(main, WM_COMMAND, IDM_SET_TOPIC, 0);
    HWND dialog = program.waitForWindow("#32770", "Set topic text");
    SetDlgItemTextA(dialog, IDC_TOPIC_TEXT, "Anna, \xC3\xA0 jamais");
    PostMessageA(dialog, WM_COMMAND, IDC_TOPIC_OK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
    SendMessageA(main, WM_COMMAND, IDM_ADD_ENTRY, 0);
    RECT header;
    GetWindowRect(FindWindowExA(list, NULL, "SysHeader32", NULL), &header);
    const LPARAM firstRow = MAKELPARAM(20, header.bottom - header.top + 4);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, firstRow);
    PostMessageA(list, WM_LBUTTONUP, 0, firstRow);
    PostMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    PostMessageA(program.waitForWindow("#32770", "Delete entries?"), WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(waitUntil([&] { return listRowCount(list) == 2; }));
    SendMessageA(main, WM_COMMAND, IDM_UNDO, 0);
    SendMessageA(main, WM_COMMAND, IDM_REDO, 0);
}

// The program's local application data is where Wine's registry says.
const char UserFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
void setLocalAppData(const std::string &folder)
{
    HKEY key;
    RegOpenKeyExA(HKEY_CURRENT_USER, UserFolders, 0, KEY_SET_VALUE, &key);
    RegSetValueExA(key, "Local AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE *>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
}

TEST_F(Recovery, KilledBetweenTwoChangesTheProgramRecoversThemAll)
{
    const std::string folder = makeTestFolder("recovery-kill"), local = folder + "\\local";
    char kept[MAX_PATH] = "";
    DWORD size = sizeof kept;
    RegGetValueA(HKEY_CURRENT_USER, UserFolders, "Local AppData", RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, NULL,
                 kept, &size);
    CreateDirectoryA(local.c_str(), NULL);
    setLocalAppData(local); // the test's own, for the test's run
    const std::string killed = folder + "\\killed.xml", calm = folder + "\\calm.xml";
    const std::string file = "<biography_data><topic>Anna</topic><fact1><title>Born</title></fact1>"
                             "<fact2><title>School</title></fact2></biography_data>";
    writeFileBytes(killed, file);
    writeFileBytes(calm, file);
    {
        OtherMemorion program = OtherMemorion::started("\"" + calm + "\"");
        makeChanges(program);
        SendMessageA(program.waitForWindow("myWindowClass"), WM_COMMAND, IDM_SAVE, 0);
        EXPECT_TRUE(program.close());
    }
    {
        OtherMemorion program = OtherMemorion::started("\"" + killed + "\"");
        makeChanges(program);
    } // killed before a sixth change
    EXPECT_EQ(readFileBytes(killed), file);
    EXPECT_EQ(journalsAt(local + "\\Memorion\\Recovery"), 1u);
    OtherMemorion program = OtherMemorion::started("");
    HWND question = program.waitForWindow("#32770", Question);
    EXPECT_NE(messageBoxText(question).find("5 changes to " + killed), std::string::npos);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    SendMessageA(program.waitForWindow("myWindowClass", "Memorion - *killed.xml"), WM_COMMAND, IDM_SAVE, 0);
    EXPECT_EQ(readFileBytes(killed), readFileBytes(calm));
    EXPECT_TRUE(program.close());
    EXPECT_EQ(journalsAt(local + "\\Memorion\\Recovery"), 0u);
    setLocalAppData(kept);
}

} // namespace

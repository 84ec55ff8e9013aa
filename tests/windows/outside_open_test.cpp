// Opening a file from outside the program: the real Memorion.exe started
// with a path, as Explorer starts it; a file dropped on the main window; and,
// after scripts/test has installed the program, its registered open command.
#include "main_window_fixture.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "../res/resource.h"
#include "document/document_files.h"
#include "other_memorion.h"

namespace {

BOOL CALLBACK collectText(HWND child, LPARAM lParam)
{
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    const std::string text = windowText(child);
    std::string &all = *reinterpret_cast<std::string *>(lParam);
    if (std::strcmp(name, "Static") == 0 && text.size() > all.size()) all = text;
    return TRUE;
}

struct Box {
    std::string caption, text;
};

// Reads the message box the program shows and presses its OK.
Box answerBox(const OtherMemorion &program)
{
    HWND box = program.waitForWindow("#32770");
    Box read = {windowText(box), ""};
    EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&read.text));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return read;
}

class OutsideOpenFixture : public MainWindowFixture {
protected:
    // Two entries in one category, saved at `path`.
    void writeBiography(const std::string &path, const std::string &topic)
    {
        showDocument(topic, {makeEntry("Born", "Life"), makeEntry("School", "Life")});
        ASSERT_TRUE(saveDocument(path));
        resetDocument();
    }
};

using OpenFromOutside = OutsideOpenFixture;
using InstalledOpenCommand = OutsideOpenFixture;

void CALLBACK closeFromTimer(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

} // namespace

TEST_F(OpenFromOutside, TheProgramStartedWithAPathOpensItAsOpenDoes)
{
    const std::string folder = makeTestFolder("command-line");
    writeBiography(folder + "\\Anna life.xml", "Anna");
    writeBiography(folder + "\\plain.xml", "Plain");
    writeFileBytes(folder + "\\letter.xml", "<letter>Dear Anna</letter>");
    const std::string maria = ansi(L"Μαρία.xml");
    writeBiography(folder + "\\" + maria, "Maria");
    struct Case {
        std::string arguments, caption;
        int rows;
        Box box; // none when empty
    };
    const Case cases[] = {
        {"\"" + folder + "\\Anna life.xml\"", "Memorion - Anna life.xml", 2, {}},
        {"\"" + folder + "\\" + maria + "\"", "Memorion - " + maria, 2, {}},
        // Unquoted, as older registrations pass it; what follows is ignored.
        {folder + "\\plain.xml " + folder + "\\letter.xml", "Memorion - plain.xml", 2, {}},
        // Unquoted with a blank, when only the whole text names a file.
        {folder + "\\Anna life.xml", "Memorion - Anna life.xml", 2, {}},
        {"\"" + folder + "\\letter.xml\"", "Memorion", 0, {"MSG", "Not a valid biography file"}},
        {"\"" + folder + "\\gone.xml\"", "Memorion", 0,
         {"Error", "The file \"" + folder + "\\gone.xml\" could not be opened."}},
        {"", "Memorion", 0, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        OtherMemorion program = OtherMemorion::started(c.arguments);
        ASSERT_TRUE(program.running()) << GetLastError();
        if (!c.box.caption.empty()) {
            const Box box = answerBox(program);
            EXPECT_EQ(box.caption, c.box.caption);
            EXPECT_EQ(box.text.substr(0, c.box.text.size()), c.box.text);
        }
        EXPECT_EQ(program.waitForCaption(c.caption), c.caption);
        EXPECT_EQ(program.listedRows(), c.rows);
        EXPECT_TRUE(program.close());
    }
}

TEST_F(OpenFromOutside, ADroppedFileOpensAfterTheOfferToSave)
{
    const std::string folder = makeTestFolder("drop");
    const std::string anna = folder + ansi(L"\\Μαρία.xml"), plain = folder + "\\plain.xml";
    const std::string annaCaption = ansi(L"Memorion - Μαρία.xml");
    const std::string mine = folder + "\\mine.xml";
    writeBiography(anna, "Anna");
    writeBiography(plain, "Plain");
    struct Case {
        bool modified;
        int answer; // to "Save changes?"; 0 when not asked
        bool dialogUp;
        std::string caption;
        bool mineSaved;
    };
    const Case cases[] = {
        {false, 0, false, annaCaption, false},
        {true, IDNO, false, annaCaption, false},
        {true, IDYES, false, annaCaption, true},
        {true, IDCANCEL, false, "Memorion - *mine.xml", false},
        // Not while a dialog is up: the document is the dialog's then.
        {true, 0, true, "Memorion - *mine.xml", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.modified << c.answer << c.dialogUp);
        DeleteFileA(mine.c_str());
        showDocument("Mine", {makeEntry("kept", "C")});
        setDocumentPath(mine);
        BiographyDocument.modified = c.modified;
        showDocumentName();
        GuiScript script;
        if (c.answer) script.press("File not saved", c.answer);
        // Several files: the first is opened.
        const HDROP drop = makeDrop({anna, plain});
        if (c.dialogUp) {
            script.onDialog("About", [&](HWND about) {
                PostMessageA(MainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
                SetTimer(about, 1, 300, closeFromTimer);
            });
            command(IDM_ABOUT);
        } else {
            PostMessageA(MainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
            pumpMessages();
        }
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(script.seen().size(), c.answer || c.dialogUp ? 1u : 0u);
        EXPECT_EQ(windowText(MainWindow), c.caption);
        const bool kept = c.dialogUp || c.answer == IDCANCEL;
        EXPECT_EQ(windowText(TopicLine), kept ? "Mine" : "Anna");
        EXPECT_EQ(listRowCount(EntryListView), kept ? 1 : 2);
        EXPECT_EQ(fileExists(mine), c.mineSaved);
        EXPECT_EQ(BiographyDocument.modified, kept);
    }
}

// Run by scripts/test after installing the program: the command registered
// for Memorion's file type, with the file put in for %1 as Explorer's "Open
// with" does. (Wine's shell does not see per-user classes, so the command is
// read from the user's keys here rather than looked up by the shell.)
TEST_F(InstalledOpenCommand, OpensTheFileItIsGiven)
{
    const std::string path = makeTestFolder("installed") + "\\Sample life.xml";
    writeBiography(path, "Sample");
    char registered[1024] = "";
    DWORD size = sizeof registered;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER,
                           "Software\\Classes\\Memorion.Biography\\shell\\open\\command", NULL,
                           RRF_RT_REG_SZ, NULL, registered, &size),
              ERROR_SUCCESS);
    std::string commandLine = registered;
    const size_t placeholder = commandLine.find("%1");
    ASSERT_NE(placeholder, std::string::npos) << commandLine;
    commandLine.replace(placeholder, 2, path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                               &info))
        << commandLine;
    CloseHandle(info.hThread);
    OtherMemorion program(info.hProcess);
    EXPECT_EQ(program.waitForCaption("Memorion - Sample life.xml"), "Memorion - Sample life.xml");
    EXPECT_EQ(program.listedRows(), 2);
    EXPECT_TRUE(program.close());
}

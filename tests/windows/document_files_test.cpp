#include "main_window_fixture.h"

#include <commctrl.h>
#include <sddl.h>

#include <functional>
#include <memory>
#include <new>

#include "../res/resource.h"
#include "document/core/biography_writer.h"
#include "document/document_files.h"
#include "document/file_dialogs.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"

using DocumentFilesTest = MainWindowFixture;

namespace {

// The system dialogs' own captions.
const char OpenCaption[] = "Open";
const char SaveAsCaption[] = "Save As";

std::string sampleFileBytes()
{
    auto doc = std::make_unique<Biography>();
    doc->topic = "Life of Anna";
    doc->categoryCount = 2;
    doc->categories[0] = "Family";
    doc->categories[1] = "Work";
    doc->entryCount = 3;
    doc->title[0] = "Born";
    doc->category[0] = "Family";
    doc->title[1] = "First job";
    doc->category[1] = "Work";
    doc->detail[1] = "line one\r\nline two";
    doc->title[2] = "Married";
    doc->category[2] = "Family";
    return biographyFileBytes(*doc);
}

int filesIn(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// A folder whose path is exactly `length` characters long. Windows makes
// folders over 248 characters only through the long-path prefix.
std::string makeFolderOfLength(const std::string &base, size_t length)
{
    std::string folder = base;
    while (folder.size() < length) {
        const size_t room = length - folder.size() - 1;
        folder += "\\" + std::string(room < 100 ? room : 100, 'd');
        const std::wstring wide = L"\\\\?\\" + std::wstring(folder.begin(), folder.end());
        CreateDirectoryW(wide.c_str(), NULL);
    }
    return folder;
}

} // namespace

TEST_F(DocumentFilesTest, OpenThroughTheSystemDialogShowsTheFile)
{
    const std::string folder = makeTestFolder("open-dialog");
    const std::string path = folder + "\\anna.xml";
    writeFileBytes(path, sampleFileBytes());

    GuiScript script;
    script.onDialog(OpenCaption, [&](HWND dialog) { chooseInFileDialog(dialog, path); });
    command(IDM_OPEN_FILE);
    pumpMessages();

    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(windowText(MainWindow), "Memorion - anna.xml");
    EXPECT_EQ(statusText(StatusBar, 0), "anna.xml");
    EXPECT_EQ(BiographyDocument.filePath, path);
    EXPECT_EQ(BiographyDocument.workingFolder, folder);
    EXPECT_FALSE(BiographyDocument.modified);
    EXPECT_EQ(windowText(TopicLine), "Life of Anna");
    EXPECT_EQ(tabTexts(CategoryTabs), (std::vector<std::string>{"Work", "Family"}));
    EXPECT_EQ(selectedTab(CategoryTabs), 0);
    ASSERT_EQ(listRowCount(EntryListView), 1);
    EXPECT_EQ(listCell(EntryListView, 0, 0), "First job");
    EXPECT_EQ(BiographyDocument.detail[1], "line one\r\nline two");
    for (int id : {9, 10, 11, 13, 14, 15, 18, 23, 24, 31, 60, 80})
        EXPECT_FALSE(menuItemGreyed(MainWindow, id)) << "menu item " << id;
}

TEST_F(DocumentFilesTest, AFileThatIsNoBiographyIsRefusedAndChangesNothing)
{
    const std::string folder = makeTestFolder("not-biography");
    writeFileBytes(folder + "\\empty.xml", "");
    writeFileBytes(folder + "\\letter.xml", "<?xml version=\"1.0\"?>\r\n<letter>Dear Anna</letter>");
    showDocument("Mine", {makeEntry("kept", "C")});
    BiographyDocument.modified = false;
    const std::string caption = windowText(MainWindow);

    for (const char *name : {"empty.xml", "letter.xml", "missing.xml"}) {
        GuiScript script;
        const std::string path = folder + "\\" + name;
        const bool missing = std::string(name) == "missing.xml";
        script.onDialog(OpenCaption, [&](HWND dialog) { chooseInFileDialog(dialog, path); });
        script.press(missing ? "Error" : "MSG", IDOK);
        command(IDM_OPEN_FILE);
        EXPECT_TRUE(script.finished()) << name << ": " << script.problems();
        ASSERT_EQ(script.seen().size(), 2u) << name;
        if (missing) {
            // A file that cannot be read is named, with the system's reason.
            EXPECT_EQ(script.seen()[1].text.rfind("The file \"" + path + "\" could not be opened.", 0), 0u)
                << script.seen()[1].text;
            EXPECT_EQ(script.seen()[1].icon, static_cast<UINT>(MB_ICONERROR));
        } else {
            expectBox(script.seen()[1], "MSG", "Not a valid biography file", 0, MB_OK);
        }
        // Owned, so that the window takes no dropped file while it is up.
        EXPECT_EQ(script.seen()[1].owner, MainWindow);
    }
    EXPECT_EQ(BiographyDocument.entryCount, 1);
    EXPECT_EQ(BiographyDocument.title[0], "kept");
    EXPECT_EQ(windowText(MainWindow), caption);
    EXPECT_EQ(windowText(TopicLine), "Mine");
    EXPECT_FALSE(fileExists(folder + "\\missing.xml"));
}

TEST_F(DocumentFilesTest, AnsweringNoThenCancellingKeepsTheUnsavedChanges)
{
    showDocument("", {makeEntry("unsaved", "C")});
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("File not saved", IDNO);
    script.press(OpenCaption, IDCANCEL);
    command(IDM_OPEN_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    expectBox(script.seen()[0], "File not saved", "Save changes?", MB_ICONQUESTION, MB_YESNOCANCEL);
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(BiographyDocument.title[0], "unsaved");
}

TEST_F(DocumentFilesTest, AFailedSaveBeforeOpeningStopsTheOpen)
{
    const std::string folder = makeTestFolder("open-save-fails");
    showDocument("", {makeEntry("unsaved", "C")});
    BiographyDocument.filePath = folder + "\\no such folder\\a.xml";
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("File not saved", IDYES);
    script.press("Error", IDOK);
    command(IDM_OPEN_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 2u) << "no open dialog after the failed save";
    EXPECT_TRUE(BiographyDocument.modified);
}

TEST_F(DocumentFilesTest, OpeningMoreThanFitsSaysSo)
{
    const std::string folder = makeTestFolder("too-many");
    std::string bytes = "<biography_data><categories>\"A\"</categories>";
    for (int n = 1; n <= MaxEntries + 3; ++n)
        bytes += "<fact" + std::to_string(n) + "><title>" + std::to_string(n) + "</title></fact" +
                 std::to_string(n) + ">";
    bytes += "</biography_data>";
    writeFileBytes(folder + "\\big.xml", bytes);
    GuiScript script;
    script.onDialog(OpenCaption, [&](HWND d) { chooseInFileDialog(d, folder + "\\big.xml"); });
    script.press("Information", IDOK);
    command(IDM_OPEN_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 2u);
    EXPECT_EQ(script.seen()[1].icon, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_NE(script.seen()[1].text.find("1024"), std::string::npos);
    EXPECT_EQ(BiographyDocument.entryCount, MaxEntries);
    EXPECT_EQ(BiographyDocument.title[MaxEntries - 1], "1024");
}

TEST_F(DocumentFilesTest, SaveAsWritesTheFormatAndMovesTheDocument)
{
    const std::string folder = makeTestFolder("save-as");
    showDocument("Topic", {makeEntry("one", "C")});
    BiographyDocument.modified = true;
    GuiScript script;
    script.onDialog(SaveAsCaption, [&](HWND d) { chooseInFileDialog(d, folder + "\\new"); });
    command(IDM_SAVE_AS);
    EXPECT_TRUE(script.finished()) << script.problems();
    const std::string path = folder + "\\new.xml"; // the dialog adds the extension
    EXPECT_EQ(readFileBytes(path), biographyFileBytes(BiographyDocument));
    EXPECT_EQ(BiographyDocument.filePath, path);
    EXPECT_EQ(windowText(MainWindow), "Memorion - new.xml");
    EXPECT_EQ(statusText(StatusBar, 0), "new.xml");
    EXPECT_EQ(BiographyDocument.workingFolder, folder);
    EXPECT_FALSE(BiographyDocument.modified);
    EXPECT_EQ(filesIn(folder), 1) << "no temporary file is left behind";
}

TEST_F(DocumentFilesTest, CancellingSaveAsChangesNothing)
{
    const std::string folder = makeTestFolder("save-as-cancel");
    showDocument("", {makeEntry("one", "C")});
    setDocumentPath(folder + "\\old.xml");
    showDocumentName();
    BiographyDocument.modified = true;
    GuiScript script;
    script.press(SaveAsCaption, IDCANCEL);
    command(IDM_SAVE_AS);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(BiographyDocument.filePath, folder + "\\old.xml");
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(windowText(MainWindow), "Memorion - old.xml");
    EXPECT_EQ(filesIn(folder), 0);
}

TEST_F(DocumentFilesTest, SaveReplacesTheFileWithTheNewBytes)
{
    const std::string folder = makeTestFolder("save");
    const std::string path = folder + "\\bio.xml";
    writeFileBytes(path, "old contents, longer than nothing");
    showDocument("", {makeEntry("one", "C")});
    BiographyDocument.filePath = path;
    BiographyDocument.modified = true;
    command(IDM_SAVE);
    EXPECT_EQ(readFileBytes(path), biographyFileBytes(BiographyDocument));
    EXPECT_FALSE(BiographyDocument.modified);
    EXPECT_EQ(filesIn(folder), 1);
}

TEST_F(DocumentFilesTest, SavingInAVeryLongFolderWorksOrSaysWhyNot)
{
    const std::string base = makeTestFolder("save-long");
    const std::string fits = makeFolderOfLength(base, 250) + "\\a.xml";
    const std::string tooLong = makeFolderOfLength(base, 255) + "\\a.x";
    ASSERT_EQ(tooLong.size(), 259u);
    showDocument("", {makeEntry("one", "C")});
    for (const std::string &path : {fits, tooLong}) {
        writeFileBytes(path, "old");
        ASSERT_EQ(readFileBytes(path), "old") << path.size();
        BiographyDocument.filePath = path;
        BiographyDocument.modified = true;
        GuiScript script;
        if (path == tooLong) script.press("Error", IDOK);
        command(IDM_SAVE);
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(filesIn(containingFolder(path)), 1) << path.size();
        if (path == fits) {
            EXPECT_EQ(readFileBytes(path), biographyFileBytes(BiographyDocument));
            EXPECT_FALSE(BiographyDocument.modified);
        } else {
            ASSERT_EQ(script.seen().size(), 1u);
            EXPECT_NE(script.seen()[0].text.find("too long"), std::string::npos)
                << script.seen()[0].text;
            EXPECT_EQ(readFileBytes(path), "old");
            EXPECT_TRUE(BiographyDocument.modified);
        }
    }
}

TEST_F(DocumentFilesTest, ASaveIntoAFileHeldOpenFailsAndLosesNothing)
{
    const std::string folder = makeTestFolder("save-locked");
    const std::string path = folder + "\\bio.xml";
    const std::string old = sampleFileBytes();
    writeFileBytes(path, old);
    showDocument("", {makeEntry("changed", "C")});
    BiographyDocument.filePath = path;
    BiographyDocument.modified = true;
    {
        FileHeldOpen lock(path);
        ASSERT_TRUE(lock.held());
        GuiScript script;
        script.press("Error", IDOK);
        command(IDM_SAVE);
        EXPECT_TRUE(script.finished()) << script.problems();
        ASSERT_EQ(script.seen().size(), 1u);
        EXPECT_EQ(script.seen()[0].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_NE(script.seen()[0].text.find(path), std::string::npos) << script.seen()[0].text;
        EXPECT_NE(script.seen()[0].text.find("could not be saved"), std::string::npos);
    }
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(readFileBytes(path), old);
    EXPECT_EQ(filesIn(folder), 1) << "the temporary file is removed";
}

TEST_F(DocumentFilesTest, ASaveIntoAMissingFolderFailsAndIsReported)
{
    const std::string folder = makeTestFolder("save-missing");
    showDocument("", {makeEntry("one", "C")});
    BiographyDocument.filePath = folder + "\\gone\\bio.xml";
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("Error", IDOK);
    command(IDM_SAVE);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_FALSE(fileExists(folder + "\\gone"));
}

TEST_F(DocumentFilesTest, AFailedSaveAsKeepsTheOldPathCaptionAndStatus)
{
    const std::string folder = makeTestFolder("save-as-locked");
    const std::string target = folder + "\\taken.xml";
    writeFileBytes(target, "someone else's");
    showDocument("", {makeEntry("one", "C")});
    setDocumentPath(folder + "\\mine.xml");
    showDocumentName();
    BiographyDocument.modified = true;
    // Another program takes the file after the dialog has checked it.
    std::unique_ptr<FileHeldOpen> lock;
    GuiScript script;
    script.onDialog(SaveAsCaption, [&](HWND d) { chooseInFileDialog(d, target); });
    script.onMessage("File already exists", [&](HWND prompt) {
        lock = std::make_unique<FileHeldOpen>(target);
        clickButton(prompt, IDYES);
    });
    script.press("Error", IDOK);
    command(IDM_SAVE_AS);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(BiographyDocument.filePath, folder + "\\mine.xml");
    EXPECT_EQ(windowText(MainWindow), "Memorion - mine.xml");
    EXPECT_EQ(statusText(StatusBar, 0), "mine.xml");
    EXPECT_TRUE(BiographyDocument.modified);
    lock.reset();
    EXPECT_EQ(readFileBytes(target), "someone else's");
}

TEST_F(DocumentFilesTest, ClosingAfterAFailedSaveKeepsTheWindowOpen)
{
    const std::string folder = makeTestFolder("close-save-fails");
    showDocument("", {makeEntry("one", "C")});
    BiographyDocument.filePath = folder + "\\gone\\bio.xml";
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("File not saved", IDYES);
    script.press("Error", IDOK);
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_TRUE(IsWindow(MainWindow));
    EXPECT_TRUE(BiographyDocument.modified);
}

TEST_F(DocumentFilesTest, ClosingWithYesSavesThenCloses)
{
    const std::string folder = makeTestFolder("close-save");
    showDocument("", {makeEntry("one", "C")});
    BiographyDocument.filePath = folder + "\\bio.xml";
    BiographyDocument.modified = true;
    const std::string expected = biographyFileBytes(BiographyDocument);
    GuiScript script;
    script.press("File not saved", IDYES);
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_FALSE(IsWindow(MainWindow));
    EXPECT_EQ(readFileBytes(folder + "\\bio.xml"), expected);
}

// Cancel, Esc and the box's close box go back from every caller of the
// offer to save, with document, file, window and selection as they were.
// (Yes and No are tried caller by caller in the tests of each.)
TEST_F(DocumentFilesTest, CancellingTheOfferToSaveLeavesEverythingAsItWas)
{
    const auto click = [](int id) { return [id](HWND box) { clickButton(box, id); }; };
    const auto escape = [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); };
    const auto closeBox = [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); };
    LRESULT sessionMayEnd = FALSE;
    const struct {
        const char *name;
        std::function<void()> start;
        std::function<void(HWND)> answer;
    } rows[] = {
        {"close box, Esc", [] { SendMessageA(MainWindow, WM_CLOSE, 0, 0); }, escape},
        {"Exit, Cancel", [this] { command(IDM_EXIT); }, click(IDCANCEL)},
        {"end of session, close box",
         [&] { sessionMayEnd = SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0); }, closeBox},
        {"Open, Esc", [this] { command(IDM_OPEN_FILE); }, escape},
        {"New, close box", [this] { command(IDM_NEW_FILE); }, closeBox},
    };
    showDocument("Mine", {makeEntry("one", "C"), makeEntry("two", "C")});
    setDocumentPath(makeTestFolder("offer-cancelled") + "\\mine.xml");
    showDocumentName();
    selectListRow(EntryListView, 1, true);
    const std::string document = biographyFileBytes(BiographyDocument);
    const std::string caption = windowText(MainWindow);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        BiographyDocument.modified = true;
        bool yesIsDefault = false;
        GuiScript script;
        script.onDialog("File not saved", [&](HWND box) {
            const LONG yes = GetWindowLongA(GetDlgItem(box, IDYES), GWL_STYLE);
            yesIsDefault = (yes & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            row.answer(box);
        });
        row.start();
        pumpMessages();
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(script.seen().size(), 1u) << "nothing comes after the offer";
        EXPECT_TRUE(yesIsDefault);
        EXPECT_TRUE(IsWindow(MainWindow) && windowText(MainWindow) == caption);
        EXPECT_EQ(biographyFileBytes(BiographyDocument), document);
        EXPECT_TRUE(BiographyDocument.modified);
        EXPECT_FALSE(fileExists(BiographyDocument.filePath));
        EXPECT_TRUE(listRowSelected(EntryListView, 1) && !listRowSelected(EntryListView, 0));
    }
    EXPECT_FALSE(sessionMayEnd);
}

TEST_F(DocumentFilesTest, ViewCommandsHandTheExactCallsToTheShell)
{
    const std::string folder = makeTestFolder("My Stories"), path = folder + "\\anna b.xml";
    writeFileBytes(path, "<biography_data>");
    showDocument("", {makeEntry("one", "C")});
    BiographyDocument.filePath = path;
    BiographyDocument.workingFolder = folder;
    command(IDM_VIEW_CODE);
    command(IDM_VIEW_CODE_NOTEPAD);
    command(IDM_OPEN_FOLDER);
    const std::vector<ShellCall> &calls = recordedShellCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].verb, "open");
    EXPECT_EQ(calls[0].file, path);
    EXPECT_FALSE(calls[0].hasParameters);
    EXPECT_EQ(calls[1].verb, "open");
    char system[MAX_PATH]; // not a notepad.exe in the current folder
    EXPECT_EQ(calls[1].file, std::string(system, GetSystemDirectoryA(system, MAX_PATH)) + "\\notepad.exe");
    EXPECT_EQ(calls[1].parameters, path) << "the path, unquoted";
    EXPECT_EQ(calls[2].verb, "explore");
    EXPECT_EQ(calls[2].file, folder);
    EXPECT_FALSE(calls[2].hasParameters);
    for (const ShellCall &call : calls) {
        EXPECT_FALSE(call.hasFolder);
        EXPECT_EQ(call.showCommand, SW_SHOWNORMAL);
    }
    // A dropped "Anna.xml.hta" would run under mshta: asked about first. A
    // file gone is told of.
    const std::string hta = folder + "\\Anna.xml.hta";
    writeFileBytes(hta, "<biography_data>");
    GuiScript script;
    script.press("Open file", IDNO).press("Error", IDOK);
    for (const std::string &named : {hta, folder + "\\gone.xml"}) {
        BiographyDocument.filePath = named;
        command(IDM_VIEW_CODE);
    }
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(calls.size(), 3u);
    ASSERT_EQ(script.seen().size(), 2u);
    expectBox(script.seen()[0], "Open file", hta + " may be a program. Open it anyway?", MB_ICONWARNING, MB_YESNO);
    expectBox(script.seen()[1], "Error", "File does not exist", MB_ICONWARNING, MB_OK);
}

TEST_F(DocumentFilesTest, ViewCommandsDoNothingWithoutAFile)
{
    showDocument("", {makeEntry("one", "C")});
    command(IDM_VIEW_CODE);
    command(IDM_VIEW_CODE_NOTEPAD);
    EXPECT_TRUE(recordedShellCalls().empty());
    command(IDM_OPEN_FOLDER);
    ASSERT_EQ(recordedShellCalls().size(), 1u);
    EXPECT_EQ(recordedShellCalls()[0].file, "");
}

TEST_F(DocumentFilesTest, AFileThatCannotBeReadWholeIsRefusedWithItsReason)
{
    struct Case {
        FileBufferSizing sizing;
        const char *reason;
    };
    const Case cases[] = {
        {[](std::string &, size_t) { throw std::bad_alloc(); }, "is too large to open"},
        // As if the file had lost a byte since its size was taken.
        {[](std::string &buffer, size_t size) { buffer.resize(size + 1); },
         "the file changed while it was read"},
    };
    const std::string folder = makeTestFolder("too-large");
    const std::string path = folder + "\\anna.xml";
    writeFileBytes(path, sampleFileBytes());
    showDocument("Mine", {makeEntry("kept", "C")});
    const FileBufferSizing realSizing = sizeFileBuffer;
    for (const Case &c : cases) {
        sizeFileBuffer = c.sizing;
        GuiScript script;
        script.onDialog(OpenCaption, [&](HWND dialog) { chooseInFileDialog(dialog, path); });
        script.press("Error", IDOK);
        command(IDM_OPEN_FILE);
        sizeFileBuffer = realSizing;
        EXPECT_TRUE(script.finished()) << script.problems();
        ASSERT_EQ(script.seen().size(), 2u);
        EXPECT_EQ(script.seen()[1].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_NE(script.seen()[1].text.find(c.reason), std::string::npos) << script.seen()[1].text;
        EXPECT_EQ(BiographyDocument.title[0], "kept");
        EXPECT_EQ(windowText(TopicLine), "Mine");
        EXPECT_EQ(BiographyDocument.filePath, "");
    }
}

// Wine's own dialog crashes when given such a path, so the dialog's
// answer is given by a stand-in: one-byte characters, more than the system's
// file calls take, though a buffer sized for any script holds them.
TEST_F(DocumentFilesTest, APathTooLongForTheDialogIsReportedNotIgnored)
{
    showDocument("", {makeEntry("one", "C")});
    BiographyDocument.modified = true;
    const FileDialogRunner realDialog = runSaveFileDialog;
    runSaveFileDialog = [](OPENFILENAMEA &dialog, DWORD &) {
        EXPECT_EQ(dialog.nMaxFile, static_cast<DWORD>(MAX_PATH * 3));
        lstrcpyA(dialog.lpstrFile, ("C:\\" + std::string(300, 'y') + ".xml").c_str());
        return true;
    };
    GuiScript script;
    script.press("Error", IDOK);
    command(IDM_SAVE_AS);
    runSaveFileDialog = realDialog;
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_NE(script.seen()[0].text.find("too long"), std::string::npos) << script.seen()[0].text;
    EXPECT_EQ(script.seen()[0].owner, MainWindow);
    EXPECT_TRUE(BiographyDocument.modified);
}

// The dialog appends the default extension to a name typed without one:
// the bare type, not a pattern; Attach takes any type.
TEST_F(DocumentFilesTest, OpenAndAttachGiveTheDialogTheBareDefaultExtension)
{
    static std::vector<std::string> given;
    const FileDialogRunner realDialog = runOpenFileDialog;
    runOpenFileDialog = [](OPENFILENAMEA &dialog, DWORD &error) {
        given.push_back(dialog.lpstrDefExt ? dialog.lpstrDefExt : "(none)");
        error = 0;
        return false;
    };
    std::string path;
    chooseOpenPath(MainWindow, path);
    chooseFileToAttach(MainWindow, path);
    runOpenFileDialog = realDialog;
    EXPECT_EQ(given, (std::vector<std::string>{"xml", "(none)"}));
}

namespace {

std::string daclOf(const std::string &path)
{
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, NULL, 0, &size);
    std::string descriptor(size, '\0');
    if (size && !GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, &descriptor[0], size, &size))
        descriptor.clear();
    return descriptor;
}

} // namespace

TEST_F(DocumentFilesTest, SavingOverAFileKeepsItsAttributesPermissionsAndCreationTime)
{
    const std::string folder = makeTestFolder("save-keeps");
    const std::string path = folder + "\\bio.xml";
    writeFileBytes(path, "old");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    PSECURITY_DESCRIPTOR readWriteForAll = NULL;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:P(A;;FRFW;;;WD)", SDDL_REVISION_1, &readWriteForAll, NULL));
    ASSERT_TRUE(SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, readWriteForAll));
    LocalFree(readWriteForAll);
    const FILETIME created = {0x12345600, 0x01c00000}; // in 1999
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, &created, NULL, NULL);
    CloseHandle(file);
    WIN32_FILE_ATTRIBUTE_DATA before;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &before));
    const std::string dacl = daclOf(path);

    showDocument("", {makeEntry("one", "C")});
    BiographyDocument.filePath = path;
    command(IDM_SAVE);

    WIN32_FILE_ATTRIBUTE_DATA after;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ(readFileBytes(path), biographyFileBytes(BiographyDocument));
    EXPECT_EQ(after.dwFileAttributes, before.dwFileAttributes);
    EXPECT_EQ(daclOf(path), dacl);
    // Wine sets only a file's access and write times, so there the creation
    // time is the file system's own and no program can keep it.
    if (CompareFileTime(&before.ftCreationTime, &created) == 0) {
        EXPECT_EQ(CompareFileTime(&after.ftCreationTime, &created), 0);
    }
    EXPECT_EQ(filesIn(folder), 1);
}

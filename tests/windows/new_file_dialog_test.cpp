#include "main_window_fixture.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>

#include "../res/resource.h"
#include "document/core/biography_writer.h"

using NewFileDialogTest = MainWindowFixture;

namespace {

const char Caption[] = "Create new biography file";
const char SaveAsCaption[] = "Save As";

std::string field(HWND dialog, int id)
{
    return windowText(GetDlgItem(dialog, id));
}

void cancel(HWND dialog)
{
    clickButton(dialog, IDC_NEW_FILE_CANCEL);
}

// Browse, type `path` into the save dialog, and confirm a replacement if
// the file exists.
void browseTo(GuiScript &script, const std::string &path, bool exists)
{
    script.onDialog(Caption, [](HWND d) { clickButton(d, IDC_NEW_FILE_BROWSE); });
    script.onDialog(SaveAsCaption, [path](HWND d) { chooseInFileDialog(d, path); });
    if (exists) script.onMessage("File already exists", [](HWND d) { clickButton(d, IDYES); });
}

} // namespace

TEST_F(NewFileDialogTest, OpensWithTheBlankTemplateSelected)
{
    HWND list = NULL;
    std::vector<std::string> cells;
    std::vector<int> widths;
    bool selected = false, focused = false, fullRow = false, readOnly = false;
    std::string topic, fileName = "unset";
    GuiScript script;
    script.onDialog(Caption, [&](HWND dialog) {
        list = GetDlgItem(dialog, IDC_NEW_FILE_TEMPLATES);
        cells = {listCell(list, 0, 0), listCell(list, 0, 1), listColumnText(list, 0),
                 listColumnText(list, 1)};
        widths = {listColumnWidth(list, 0), listColumnWidth(list, 1), listRowCount(list)};
        selected = listRowSelected(list, 0);
        focused = SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_FOCUSED) & LVIS_FOCUSED;
        fullRow = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT;
        readOnly = GetWindowLongA(GetDlgItem(dialog, IDC_NEW_FILE_FILENAME), GWL_STYLE) & ES_READONLY;
        topic = field(dialog, IDC_NEW_FILE_TOPIC);
        fileName = field(dialog, IDC_NEW_FILE_FILENAME);
        cancel(dialog);
    });
    command(IDM_NEW_FILE);
    ASSERT_TRUE(script.finished()) << script.problems();
    ASSERT_NE(list, (HWND)NULL);
    EXPECT_EQ(cells, (std::vector<std::string>{"Blank", "An empty biography template", "Title", "Desc"}));
    EXPECT_EQ(widths, (std::vector<int>{165, 320, 1}));
    EXPECT_TRUE(selected);
    EXPECT_TRUE(focused);
    EXPECT_TRUE(fullRow);
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(topic, "Blank template");
    EXPECT_EQ(fileName, "");
    EXPECT_FALSE(BiographyDocument.documentLoaded) << "Cancel changes nothing";
    EXPECT_EQ(windowText(MainWindow), "Memorion");
}

TEST_F(NewFileDialogTest, OkIsRefusedWithoutATemplateOrAFileName)
{
    std::string topicAfterReselect;
    GuiScript script;
    script.onDialog(Caption, [](HWND d) {
        selectListRow(GetDlgItem(d, IDC_NEW_FILE_TEMPLATES), 0, false);
        clickButton(d, IDC_NEW_FILE_OK);
    });
    script.press("Error", IDOK);
    script.onDialog(Caption, [&](HWND d) {
        SetDlgItemTextA(d, IDC_NEW_FILE_TOPIC, "typed");
        selectListRow(GetDlgItem(d, IDC_NEW_FILE_TEMPLATES), 0, true);
        topicAfterReselect = field(d, IDC_NEW_FILE_TOPIC);
        clickButton(d, IDC_NEW_FILE_OK);
    });
    script.press("Error", IDOK);
    script.onDialog(Caption, cancel);
    command(IDM_NEW_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    // The dialog itself, then the two refusals.
    ASSERT_EQ(script.seen().size(), 3u);
    expectBox(script.seen()[1], "Error", "No template selected.", MB_ICONERROR, MB_OK);
    expectBox(script.seen()[2], "Error", "No file name specified.", MB_ICONERROR, MB_OK);
    EXPECT_EQ(topicAfterReselect, "Blank template");
    EXPECT_FALSE(BiographyDocument.documentLoaded);
}

TEST_F(NewFileDialogTest, CancellingBrowseEmptiesTheFileName)
{
    std::string fileName = "unset";
    GuiScript script;
    script.onDialog(Caption, [](HWND d) {
        SetDlgItemTextA(d, IDC_NEW_FILE_FILENAME, "C:\\earlier.xml");
        clickButton(d, IDC_NEW_FILE_BROWSE);
    });
    script.press(SaveAsCaption, IDCANCEL);
    script.onDialog(Caption, [&](HWND d) {
        fileName = field(d, IDC_NEW_FILE_FILENAME);
        cancel(d);
    });
    command(IDM_NEW_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(fileName, "");
}

TEST_F(NewFileDialogTest, OkWritesAndShowsTheNewDocument)
{
    const std::string folder = makeTestFolder("new-file");
    const std::string path = folder + "\\life.xml";
    GuiScript script;
    browseTo(script, path, false);
    script.onDialog(Caption, [](HWND d) {
        SetDlgItemTextA(d, IDC_NEW_FILE_TOPIC, "");
        clickButton(d, IDC_NEW_FILE_OK);
    });
    command(IDM_NEW_FILE);
    ASSERT_TRUE(script.finished()) << script.problems();

    const Biography &d = BiographyDocument;
    EXPECT_EQ(d.topic, "File topic text goes here");
    EXPECT_EQ(windowText(TopicLine), "File topic text goes here");
    EXPECT_EQ(tabTexts(CategoryTabs), std::vector<std::string>{"Category 1"});
    ASSERT_EQ(listRowCount(EntryListView), 1);
    EXPECT_EQ(listCell(EntryListView, 0, 0), "New entry");
    EXPECT_EQ(listCell(EntryListView, 0, 1), todayDayMonthYear());
    EXPECT_EQ(windowText(MainWindow), "Memorion - life.xml");
    EXPECT_EQ(statusText(StatusBar, 0), "life.xml");
    EXPECT_EQ(statusText(StatusBar, 1), "Entries: 1");
    EXPECT_FALSE(d.modified);
    EXPECT_TRUE(d.documentLoaded);
    EXPECT_EQ(d.filePath, path);
    EXPECT_EQ(d.workingFolder, folder);
    EXPECT_EQ(d.category[MaxEntries - 1], "Category 1") << "every row of the tables is reset";
    EXPECT_TRUE(IsWindowEnabled(EntryListView));

    const std::string written = readFileBytes(path);
    EXPECT_EQ(written, biographyFileBytes(d));

    // Opening it again gives the same document.
    GuiScript reopen;
    reopen.onDialog("Open", [&](HWND dialog) { chooseInFileDialog(dialog, path); });
    command(IDM_OPEN_FILE);
    ASSERT_TRUE(reopen.finished()) << reopen.problems();
    EXPECT_EQ(d.entryCount, 1);
    EXPECT_EQ(d.title[0], "New entry");
    EXPECT_EQ(d.entryDate[0], todayDayMonthYear());
    EXPECT_EQ(d.topic, "File topic text goes here");
    EXPECT_EQ(biographyFileBytes(d), written);
}

TEST_F(NewFileDialogTest, UnsavedChangesAreOfferedFirst)
{
    showDocument("", {makeEntry("precious", "C")});
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("File not saved", IDNO);
    script.onDialog(Caption, cancel);
    command(IDM_NEW_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    expectBox(script.seen()[0], "File not saved", "Save changes?", MB_ICONQUESTION, MB_YESNOCANCEL);
    EXPECT_EQ(BiographyDocument.title[0], "precious");
    EXPECT_TRUE(BiographyDocument.modified);
}

TEST_F(NewFileDialogTest, AFailedSaveOfTheOldDocumentStopsTheCommand)
{
    const std::string folder = makeTestFolder("new-offer-fails");
    showDocument("", {makeEntry("precious", "C")});
    BiographyDocument.filePath = folder + "\\gone\\old.xml";
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("File not saved", IDYES);
    script.press("Error", IDOK);
    command(IDM_NEW_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(script.seen().size(), 2u) << "the new-file dialog does not open";
    EXPECT_EQ(BiographyDocument.title[0], "precious");
}

TEST_F(NewFileDialogTest, BrowseLeavesAnExistingFileAndTheOpenDocumentAlone)
{
    const std::string folder = makeTestFolder("new-browse");
    const std::string path = folder + "\\existing.xml";
    writeFileBytes(path, "a life story");
    showDocument("", {makeEntry("open one", "C")});
    setDocumentPath(folder + "\\open.xml");
    GuiScript script;
    browseTo(script, path, true);
    std::string fileName;
    script.onDialog(Caption, [&](HWND d) {
        fileName = field(d, IDC_NEW_FILE_FILENAME);
        cancel(d);
    });
    command(IDM_NEW_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(fileName, path);
    EXPECT_EQ(readFileBytes(path), "a life story");
    EXPECT_EQ(BiographyDocument.filePath, folder + "\\open.xml");
    EXPECT_EQ(BiographyDocument.title[0], "open one");
}

TEST_F(NewFileDialogTest, AFailedSaveAtOkLeavesTheNewDocumentUnsaved)
{
    const std::string folder = makeTestFolder("new-save-fails");
    const std::string path = folder + "\\busy.xml";
    writeFileBytes(path, "in use");
    std::unique_ptr<FileHeldOpen> lock;
    GuiScript script;
    browseTo(script, path, true);
    HWND newDialog = NULL;
    script.onDialog(Caption, [&](HWND d) {
        newDialog = d;
        lock = std::make_unique<FileHeldOpen>(path);
        clickButton(d, IDC_NEW_FILE_OK);
    });
    script.press("Error", IDOK);
    command(IDM_NEW_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    const SeenDialog &failure = script.seen().back();
    EXPECT_EQ(failure.caption, "Error");
    EXPECT_EQ(failure.owner, newDialog) << "the New dialog owns the message";
    EXPECT_FALSE(failure.ownerEnabled) << "so Ok cannot be pressed again under it";
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(BiographyDocument.title[0], "New entry");
    EXPECT_EQ(windowText(MainWindow), "Memorion - *busy.xml");
    lock.reset();
    EXPECT_EQ(readFileBytes(path), "in use");
}

TEST_F(NewFileDialogTest, EnterInTheTopicFieldPressesOk)
{
    std::string topic;
    GuiScript script;
    script.onDialog(Caption, [](HWND d) {
        HWND field = GetDlgItem(d, IDC_NEW_FILE_TOPIC);
        SetWindowTextA(field, "typed");
        SetFocus(field);
        PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
    });
    script.press("Error", IDOK); // no file chosen yet: Ok refuses
    script.onDialog(Caption, [&](HWND d) {
        topic = field(d, IDC_NEW_FILE_TOPIC);
        cancel(d);
    });
    command(IDM_NEW_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 2u);
    EXPECT_EQ(script.seen()[1].text, "No file name specified.");
    EXPECT_EQ(topic, "typed");
}

// Markup in the topic would cut the file short at the next open.
TEST_F(NewFileDialogTest, ATopicWithMarkupIsRefusedAndTheDialogStaysOpen)
{
    const std::string path = makeTestFolder("new-topic") + "\\life.xml";
    HWND newDialog = NULL;
    std::string topicAfter;
    GuiScript script;
    script.onDialog(Caption, [&](HWND d) {
        newDialog = d;
        SetDlgItemTextA(d, IDC_NEW_FILE_FILENAME, path.c_str());
        SetDlgItemTextA(d, IDC_NEW_FILE_TOPIC, "Anna</topic>");
        clickButton(d, IDC_NEW_FILE_OK);
    });
    script.press("Error", IDOK);
    script.onDialog(Caption, [&](HWND d) {
        topicAfter = field(d, IDC_NEW_FILE_TOPIC);
        cancel(d);
    });
    command(IDM_NEW_FILE);
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 2u);
    expectBox(script.seen()[1], "Error", InvalidTextMessage, MB_ICONEXCLAMATION, MB_OK);
    EXPECT_EQ(script.seen()[1].owner, newDialog);
    EXPECT_FALSE(script.seen()[1].ownerEnabled);
    EXPECT_EQ(topicAfter, "Anna</topic>");
    EXPECT_FALSE(fileExists(path));
    EXPECT_FALSE(BiographyDocument.documentLoaded);
}

#include "editor_steps.h"

#include <commctrl.h>

#include "../res/resource.h"
#include "entryedit/associated_files_dialog.h"
#include "entryedit/entry_editor.h"

using AssociatedFilesTest = MainWindowFixture;

namespace {

// Adds the steps that open the files dialog from the editor of the row the
// test double-clicks and run `body` in it. `editorAfterwards` receives the
// editor's text once the dialog has closed.
void inFilesDialog(GuiScript &script, std::function<void(HWND)> body,
                   std::string *editorAfterwards = nullptr)
{
    inEditor(script, [editorAfterwards](HWND editor) {
        clickLink(editor, rangeOf("Associated files:"));
        if (editorAfterwards) *editorAfterwards = editorText();
    });
    inDialog(script, "Associated files", std::move(body));
}

std::vector<std::string> fileRows()
{
    std::vector<std::string> rows;
    for (int r = 0; r < listRowCount(FileListView); ++r)
        rows.push_back(listCell(FileListView, r, 0));
    return rows;
}

void rightClick(POINT at)
{
    SendMessageA(FileListView, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
}

std::string quoted(const std::vector<std::string> &paths)
{
    std::string text;
    for (const std::string &path : paths) text += "\"" + path + "\"";
    return text;
}

} // namespace

TEST_F(AssociatedFilesTest, AddsThroughTheSystemDialogAndOffersRemovalOnlyForASelection)
{
    const std::string file = makeTestFolder("attach") + "\\photo.jpg";
    writeFileBytes(file, "x");
    showDocument("", {makeEntry("a", "C")});
    std::vector<std::string> filters, rowsAfterAdding;
    std::string editorAfterwards;
    std::vector<std::vector<std::string>> menus;
    GuiScript script;
    inFilesDialog(script, [&](HWND) {
        rightClick(POINT{20, 40});
        for (int i = 0; i < 2; ++i) SendMessageA(FileListView, WM_COMMAND, IDM_ADD_FILE, 0);
        rowsAfterAdding = fileRows();
        selectListRow(FileListView, 0, true);
        rightClick(rowPoint(FileListView, 0));
    }, &editorAfterwards);
    const auto readMenu = [&](HMENU menu) { menus.push_back(menuItemTexts(menu)); };
    script.onMenu(readMenu);
    for (int i = 0; i < 2; ++i)
        script.onDialog("Open", [&](HWND d) {
            filters.push_back(windowText(GetDlgItem(d, 0x470))); // the file type box
            chooseInFileDialog(d, file);
        });
    script.onMenu(readMenu);
    doubleClickRow(0);

    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0], std::vector<std::string>{"Add file to list"});
    EXPECT_EQ(menus[1], (std::vector<std::string>{"Remove file from list", "Add file to list"}));
    EXPECT_EQ(filters, (std::vector<std::string>{"All files", "All files"}));
    EXPECT_EQ(rowsAfterAdding, (std::vector<std::string>{file, file}));
    const std::string listed = "Associated files:\r" + file + "\r" + file + "\r";
    EXPECT_NE(editorAfterwards.find(listed), std::string::npos) << editorAfterwards;
    EXPECT_EQ(listCell(EntryListView, 0, 4), "2");
    EXPECT_EQ(BiographyDocument.files[0], quoted({file, file}));
    EXPECT_TRUE(BiographyDocument.modified);
}

TEST_F(AssociatedFilesTest, RemovingAsksFirstAndOtherKeysDoNothing)
{
    struct Case {
        const char *name;
        int selectedRow; // -1: none
        UINT key;        // 0: the menu's remove command
        const char *caption; // of the question, nullptr when none is asked
        int answer;
        std::vector<std::string> left;
    };
    const std::vector<std::string> abc = {"C:\\a", "C:\\b", "C:\\c"};
    const Case cases[] = {
        {"Delete without selection", -1, VK_DELETE, nullptr, 0, abc},
        {"Delete, No", 1, VK_DELETE, "Delete Selected?", IDNO, abc},
        {"Delete, Yes", 1, VK_DELETE, "Delete Selected?", IDYES, {"C:\\a", "C:\\c"}},
        {"menu, No", 2, 0, "Delete selected?", IDNO, abc},
        {"menu, Yes", 2, 0, "Delete selected?", IDYES, {"C:\\a", "C:\\b"}},
        {"arrow down", 0, VK_DOWN, nullptr, 0, abc},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        showDocument("", {makeEntry("a", "C", "", quoted(abc))});
        BiographyDocument.modified = false;
        std::vector<std::string> rowsBeforeClose;
        int selectedBeforeClose = -2;
        GuiScript script;
        inFilesDialog(script, [&](HWND) {
            LVITEMA item = {};
            item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
            if (c.selectedRow >= 0)
                SendMessageA(FileListView, LVM_SETITEMSTATE, c.selectedRow,
                             reinterpret_cast<LPARAM>(&item));
            if (c.key) SendMessageA(FileListView, WM_KEYDOWN, c.key, 0);
            else SendMessageA(FileListView, WM_COMMAND, IDM_REMOVE_FILE, 0);
            rowsBeforeClose = fileRows();
            selectedBeforeClose = static_cast<int>(
                SendMessageA(FileListView, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
        });
        if (c.caption) script.press(c.caption, c.answer);
        doubleClickRow(0);

        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(rowsBeforeClose, c.left);
        EXPECT_EQ(BiographyDocument.files[0], quoted(c.left));
        EXPECT_EQ(BiographyDocument.modified, c.answer == IDYES);
        if (c.key == VK_DOWN) {
            EXPECT_EQ(selectedBeforeClose, 0);
        }
        ASSERT_EQ(script.seen().size(), c.caption ? 3u : 2u);
        if (!c.caption) continue;
        expectBox(script.seen()[2], c.caption, "Delete selected?", MB_ICONQUESTION, MB_YESNO);
        EXPECT_TRUE(script.seen()[2].hasOwner);
    }
}

// What a hand edit left outside the quotes is listed, one file a line, and
// kept: looking changes nothing; a removal writes the text from the list.
TEST_F(AssociatedFilesTest, TextOutsideTheQuotesIsListedAndKept)
{
    const std::string handEdited = "C:\\a.jpg \"C:\\b c\"\r\n \r\n junk\r\n\"C:\\unclosed";
    showDocument("", {makeEntry("a", "C", "", handEdited)});
    std::vector<std::string> rows;
    std::string editorAfterwards;
    GuiScript script;
    inFilesDialog(script, [&](HWND) { rows = fileRows(); }, &editorAfterwards);
    doubleClickRow(0);

    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(rows, (std::vector<std::string>{"C:\\a.jpg", "C:\\b c", "junk", "C:\\unclosed"}));
    EXPECT_NE(editorAfterwards.find(":\rC:\\a.jpg\rC:\\b c\rjunk\rC:\\unclosed\r"), std::string::npos);
    EXPECT_EQ(BiographyDocument.files[0], handEdited);
    EXPECT_FALSE(BiographyDocument.modified);
    EXPECT_EQ(menuItemText(MainWindow, IDM_UNDO), "&Undo\tCtrl+Z");

    GuiScript removal;
    inFilesDialog(removal, [](HWND) {
        selectListRow(FileListView, 1, true);
        SendMessageA(FileListView, WM_KEYDOWN, VK_DELETE, 0);
    });
    removal.press("Delete Selected?", IDYES);
    doubleClickRow(0);
    EXPECT_TRUE(removal.finished()) << removal.problems();
    EXPECT_EQ(BiographyDocument.files[0], "\"C:\\a.jpg\"\"junk\"\"C:\\unclosed\"");
    command(IDM_UNDO);
    EXPECT_EQ(BiographyDocument.files[0], handEdited);
}

TEST_F(AssociatedFilesTest, DoubleClickOpensTheWholePathAndReportsOnlyMissingOnes)
{
    const std::string folder = makeTestFolder("double-click");
    const std::string file = folder + "\\notes.txt";
    writeFileBytes(file, "x");
    // A path longer than a list cell hands back.
    const std::string deep = folder + "\\" + std::string(230 - folder.size(), 'd');
    CreateDirectoryA(deep.c_str(), NULL);
    const std::string longPath = deep + "\\" + std::string(258 - deep.size() - 5, 'f') + ".txt";
    writeFileBytes(longPath, "x");
    ASSERT_TRUE(fileExists(longPath));
    // Only what exists reaches the shell; a relative path is taken from the
    // biography's folder, where "www..." is no web address.
    const std::vector<std::string> paths = {folder + "\\gone.txt", file, folder, longPath,
                                            "notes.txt", "www.attacker.example/holiday.jpg"};
    const std::vector<std::string> opened = {file, folder, longPath, file};
    showDocument("", {makeEntry("a", "C", "", quoted(paths))});
    BiographyDocument.filePath = folder + "\\Anna.xml";

    HWND filesDialog = NULL;
    GuiScript script;
    inFilesDialog(script, [&](HWND dialog) {
        filesDialog = dialog;
        for (size_t row = 0; row < paths.size(); ++row) {
            selectListRow(FileListView, static_cast<int>(row), true);
            const POINT at = rowPoint(FileListView, static_cast<int>(row));
            SendMessageA(FileListView, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }
    });
    script.press("Error", IDOK).press("Error", IDOK);
    doubleClickRow(0);

    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(recordedShellCalls().size(), opened.size());
    for (size_t i = 0; i < opened.size(); ++i) {
        const ShellCall &call = recordedShellCalls()[i];
        EXPECT_EQ(call.verb, "open");
        EXPECT_EQ(call.file, opened[i]);
        EXPECT_FALSE(call.hasParameters || call.hasFolder);
        EXPECT_EQ(call.showCommand, SW_SHOWNORMAL);
    }
    ASSERT_EQ(script.seen().size(), 4u);
    expectBox(script.seen()[3], "Error", "File does not exist", MB_ICONEXCLAMATION, MB_OK);
    EXPECT_EQ(script.seen()[3].owner, filesDialog);
}

// A file from someone else may name a program; a double-click alone must
// not start it. The shell is given a path only up to a NUL, and the check
// and the question see the same.
TEST_F(AssociatedFilesTest, APathThatMayRunAProgramOpensOnlyAfterYes)
{
    const std::string folder = makeTestFolder("programs");
    const std::string setup = folder + "\\Setup.EXE", notes = folder + "\\notes.txt";
    for (const std::string &file : {setup, notes, folder + "\\invoice.exe", folder + "\\invoice", folder + "\\run.js"})
        writeFileBytes(file, "x");
    struct Case {
        std::string path, named; // named: what the question and the shell see
        int answer; // 0: not asked
    };
    const Case cases[] = {
        {setup, setup, IDYES},
        {"\\\\server\\share\\notes.txt", "\\\\server\\share\\notes.txt", IDNO},
        {"\\??\\" + notes, "\\??\\" + notes, IDNO},
        {folder + "\\run.js", folder + "\\run.js", IDNO},
        {folder + "\\invoice", folder + "\\invoice", IDNO}, // the shell finds invoice.exe
        {setup + std::string(1, '\0') + ".jpg", setup, IDYES},
        {notes, notes, 0},
    };
    std::vector<std::string> paths;
    for (const Case &c : cases) paths.push_back(c.path);
    showDocument("", {makeEntry("a", "C", "", quoted(paths))});

    HWND filesDialog = NULL;
    std::vector<int> defaultButtons;
    GuiScript script;
    inFilesDialog(script, [&](HWND dialog) {
        filesDialog = dialog;
        for (size_t row = 0; row < paths.size(); ++row) {
            selectListRow(FileListView, static_cast<int>(row), true);
            const POINT at = rowPoint(FileListView, static_cast<int>(row));
            SendMessageA(FileListView, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }
    });
    std::vector<std::string> asked;
    for (const Case &c : cases)
        if (c.answer) {
            asked.push_back(c.named + " may be a program. Open it anyway?");
            script.onMessage(asked.back(), [&defaultButtons, c](HWND box) {
                // The button Enter presses: the one with the focus.
                HWND focus = GetFocus();
                defaultButtons.push_back(IsChild(box, focus) ? GetDlgCtrlID(focus) : 0);
                clickButton(box, c.answer);
            });
        }
    doubleClickRow(0);

    EXPECT_TRUE(script.finished()) << script.problems();
    std::vector<std::string> opened;
    for (const ShellCall &call : recordedShellCalls()) opened.push_back(call.file);
    EXPECT_EQ(opened, (std::vector<std::string>{setup, setup, notes}));
    ASSERT_EQ(script.seen().size(), 2 + asked.size()); // the editor, the files, the questions
    for (size_t i = 0; i < asked.size(); ++i) {
        const SeenDialog &seen = script.seen()[2 + i];
        expectBox(seen, "Open file", asked[i], MB_ICONEXCLAMATION, MB_YESNO);
        EXPECT_EQ(seen.owner, filesDialog);
        EXPECT_FALSE(seen.ownerEnabled);
    }
    EXPECT_EQ(defaultButtons, std::vector<int>(asked.size(), IDNO));
}

TEST_F(AssociatedFilesTest, TheListNeverHoldsMoreThan1024Paths)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 1030; ++i) paths.push_back("C:\\f" + std::to_string(i));
    const std::vector<std::string> first1024(paths.begin(), paths.begin() + 1024);
    showDocument("", {makeEntry("full", "C", "", quoted(first1024)),
                      makeEntry("over", "C", "", quoted(paths))});

    int rowsAfterAdd = 0;
    GuiScript full;
    inFilesDialog(full, [&](HWND) {
        SendMessageA(FileListView, WM_COMMAND, IDM_ADD_FILE, 0);
        rowsAfterAdd = listRowCount(FileListView);
    });
    full.press("Error", IDOK);
    doubleClickRow(0);
    // No open-file dialog came up: the script would have had to close it.
    EXPECT_TRUE(full.finished()) << full.problems();
    EXPECT_EQ(rowsAfterAdd, 1024);
    EXPECT_FALSE(BiographyDocument.modified);

    int rowsShown = 0;
    GuiScript over;
    inEditor(over, [](HWND editor) { clickLink(editor, rangeOf("Associated files:")); });
    over.press("Information", IDOK);
    inDialog(over, "Associated files", [&](HWND) { rowsShown = listRowCount(FileListView); });
    doubleClickRow(1);
    EXPECT_TRUE(over.finished()) << over.problems();
    EXPECT_EQ(rowsShown, 1024);
    ASSERT_EQ(over.seen().size(), 3u);
    EXPECT_EQ(over.seen()[1].caption, "Information");
    EXPECT_NE(over.seen()[1].text.find("1030"), std::string::npos) << over.seen()[1].text;
    EXPECT_EQ(BiographyDocument.files[1], quoted(first1024));
    // The files left out are a change like any other: unsaved, and undone
    // they are back.
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(menuItemText(MainWindow, IDM_UNDO), "&Undo Remove files\tCtrl+Z");
    command(IDM_UNDO);
    EXPECT_TRUE(BiographyDocument.files[1] == quoted(paths));
}

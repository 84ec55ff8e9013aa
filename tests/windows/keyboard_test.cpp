// The keyboard as a user presses it: real key presses (SendInput) reach
// the foreground window through the same loops as typed keys, the main
// window's loop with its shortcuts and each dialog's own loop.
#include "editor_steps.h"

#include "../res/resource.h"
#include "document/document_files.h"
#include "document/file_dialogs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/message_loop.h"
#include "personality/folder_browser.h"

namespace {

// Presses each key of `keys` in turn once the dialog is up; its own loop
// then handles them.
// Every box the user types into draws in a TrueType font, which the
// system links to fonts of other scripts (a box left without one draws in
// the bitmap System font).
BOOL CALLBACK expectFontOfEveryScript(HWND child, LPARAM)
{
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Edit") != 0) return TRUE;
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    HDC dc = GetDC(child);
    const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    EXPECT_TRUE(font && (metrics.tmPitchAndFamily & TMPF_TRUETYPE)) << "box " << GetDlgCtrlID(child);
    return TRUE;
}

void keysIn(GuiScript &script, const std::string &caption, std::vector<WORD> keys)
{
    script.onDialog(caption, [keys](HWND dialog) {
        EnumChildWindows(dialog, expectFontOfEveryScript, 0);
        for (WORD key : keys) pressKeys({key});
    });
}

void CALLBACK closeFromTimer(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

int openDialogs, saveDialogs;

bool countOpenDialog(OPENFILENAMEA &, DWORD &error)
{
    ++openDialogs;
    error = 0;
    return false;
}

bool countSaveDialog(OPENFILENAMEA &, DWORD &error)
{
    ++saveDialogs;
    error = 0;
    return false;
}

class KeyboardFixture : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        systemOpen_ = runOpenFileDialog;
        systemSave_ = runSaveFileDialog;
        runOpenFileDialog = countOpenDialog;
        runSaveFileDialog = countSaveDialog;
        openDialogs = saveDialogs = 0;
        SetForegroundWindow(MainWindow);
        SetFocus(MainWindow);
        pumpMessages();
    }
    void TearDown() override
    {
        runOpenFileDialog = systemOpen_;
        runSaveFileDialog = systemSave_;
        MainWindowFixture::TearDown();
    }
    // A shown document belonging to a file that does not exist yet, so
    // that a save shows on disk.
    std::string showSavableDocument()
    {
        const std::string path = makeTestFolder("keyboard") + "\\life.xml";
        showDocument("Life", {makeEntry("Born", "Youth"), makeEntry("School", "Youth")});
        setDocumentPath(path);
        return path;
    }

private:
    FileDialogRunner systemOpen_ = nullptr, systemSave_ = nullptr;
};

using KeyboardShortcuts = KeyboardFixture;
using DialogKeys = KeyboardFixture;
// The keyboard where the program leaves it: no focus set by the test.
using KeyboardFocus = MainWindowFixture;

const char NewFileCaption[] = "Create new biography file";

} // namespace

TEST_F(KeyboardShortcuts, EachShortcutReachesItsCommand)
{
    struct Case {
        std::vector<WORD> keys;
        bool newDialog;
        int openDialogs, saveDialogs;
        bool saved;
    };
    const Case cases[] = {
        {{VK_CONTROL, 'N'}, true, 0, 0, false},
        {{VK_CONTROL, 'O'}, false, 1, 0, false},
        {{VK_CONTROL, 'S'}, false, 0, 0, true},
        {{VK_F12}, false, 0, 1, false},
        {{VK_CONTROL, VK_SHIFT, 'S'}, false, 0, 1, false},
    };
    const std::string path = showSavableDocument();
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys));
        DeleteFileA(path.c_str());
        BiographyDocument.modified = true;
        openDialogs = saveDialogs = 0;
        // New and Open first offer to save the document they replace.
        const bool replaces = c.newDialog || c.openDialogs;
        GuiScript script;
        if (replaces) script.press("File not saved", IDNO);
        if (c.newDialog) script.press(NewFileCaption, IDC_NEW_FILE_CANCEL);
        pressKeys(c.keys);
        runMainLoopFor(500);
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(script.seen().size(), static_cast<size_t>(replaces + c.newDialog));
        EXPECT_EQ(openDialogs, c.openDialogs);
        EXPECT_EQ(saveDialogs, c.saveDialogs);
        EXPECT_EQ(fileExists(path), c.saved);
        EXPECT_EQ(BiographyDocument.modified, !c.saved);
    }
}

// Before a file is open Save and Save as are greyed; while a dialog or the
// entry editor is up the main window takes no keys at all.
TEST_F(KeyboardShortcuts, NoShortcutActsWhenItsCommandIsGreyedOrADialogIsUp)
{
    const std::vector<std::vector<WORD>> keys = {{VK_CONTROL, 'S'},
                                                 {VK_F12},
                                                 {VK_CONTROL, VK_SHIFT, 'S'},
                                                 {VK_CONTROL, 'N'},
                                                 {VK_CONTROL, 'O'}};
    GuiScript greyed;
    for (int i = 0; i < 3; ++i) pressKeys(keys[i]);
    runMainLoopFor(500);
    EXPECT_EQ(greyed.seen().size(), 0u) << "no save, so no message about one";
    EXPECT_EQ(saveDialogs, 0);

    const std::string path = showSavableDocument();
    BiographyDocument.modified = true;
    for (const char *host : {"About", "Entry editor"}) {
        SCOPED_TRACE(host);
        GuiScript script;
        script.onDialog(host, [&](HWND dialog) {
            for (const std::vector<WORD> &k : keys) pressKeys(k);
            // Time for the dialog's own loop to take the keys.
            SetTimer(dialog, 1, 500, closeFromTimer);
        });
        if (std::string(host) == "About") {
            PostMessageA(MainWindow, WM_COMMAND, IDM_ABOUT, 0);
        } else {
            selectListRow(EntryListView, 0, true);
            SetFocus(EntryListView);
            pressKeys({VK_RETURN});
        }
        runMainLoopFor(1500);
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(script.seen().size(), 1u) << "only the " << host;
        EXPECT_EQ(openDialogs + saveDialogs, 0);
        EXPECT_FALSE(fileExists(path));
        EXPECT_TRUE(BiographyDocument.modified);
    }
}

// And again once the editor is closed: the entry it showed is selected
// again.
TEST_F(KeyboardShortcuts, EnterInTheListOpensTheFirstSelectedEntry)
{
    showDocument("", {makeEntry("Born", "Youth"), makeEntry("School", "Youth")});
    selectListRow(EntryListView, 1, true);
    SetFocus(EntryListView);
    for (int time = 1; time <= 2; ++time) {
        std::string shown;
        GuiScript script;
        inEditor(script, [&](HWND) { shown = editorText(); });
        pressKeys({VK_RETURN});
        runMainLoopFor(800);
        EXPECT_TRUE(script.finished()) << time << script.problems();
        EXPECT_EQ(shown.rfind("Title:\rSchool\r", 0), 0u) << time << shown;
        EXPECT_TRUE(listRowSelected(EntryListView, 1) && !listRowSelected(EntryListView, 0)) << time;
    }
}

namespace {

std::vector<std::string> browsed;

bool recordBrowser(HWND, const char *prompt, std::string &)
{
    browsed.push_back(prompt);
    return false;
}

const WORD Enter = VK_RETURN, Esc = VK_ESCAPE, Tab = VK_TAB;

} // namespace

// Enter presses each dialog's action button and Esc cancels. In the text
// dialogs the box has the focus with its text selected: typing replaces
// it, Enter there breaks the line, and Tab then Enter presses OK.
TEST_F(DialogKeys, EnterActsAndEscCancelsInEveryDialog)
{
    const BrowseForFolderFunction systemBrowser = browseForFolder;
    browseForFolder = recordBrowser;
    struct Row {
        std::string name;
        std::function<void(GuiScript &)> steps;
        std::function<void()> open;
        std::function<void(const GuiScript &)> check;
    };
    const auto menu = [this](int id) { return [this, id] { command(id); }; };
    const auto editorLink = [](const char *heading) {
        return [heading](GuiScript &script) {
            inEditor(script, [heading](HWND editor) { clickLink(editor, rangeOf(heading)); });
        };
    };
    const auto editRow0 = [] { doubleClickRow(0); };
    const auto entry0 = [] { return entryAt(entryIndexOfRow(0)); };
    const Entry before = Entry{"Job", "01/02/03", "years", "Leeds", "busy", "work", "", "Work"};

    // Which of OK and Cancel show the default button's border when the
    // dialog opens: the button that Enter presses where no button has the focus.
    std::string defaults;
    const auto textDialogKeys = [&defaults](GuiScript &s, const char *caption,
                                            std::vector<WORD> keys) {
        s.onDialog(caption, [&defaults, keys](HWND d) {
            EnumChildWindows(d, expectFontOfEveryScript, 0);
            defaults.clear();
            for (int id : {IDC_FIELD_OK, IDC_FIELD_CANCEL})
                if ((GetWindowLongA(GetDlgItem(d, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                    defaults += windowText(GetDlgItem(d, id));
            for (WORD key : keys) pressKeys({key});
        });
    };

    std::vector<Row> rows;
    struct Field {
        const char *heading, *caption;
        std::string Entry::*value;
    };
    const Field fields[] = {
        {"Title:", "Set title text", &Entry::title},
        {"Entry date:", "Set entry date text", &Entry::entryDate},
        {"Time period:", "Set time period text", &Entry::timePeriod},
        {"Location:", "Set location text", &Entry::location},
        {"Detail:", "Set detail text", &Entry::detail},
        {"Keywords:", "Set keywords text", &Entry::keywords},
    };
    for (const Field &f : fields) {
        rows.push_back({std::string(f.caption) + ": type, Enter, type, Tab, Enter",
                        [=, &textDialogKeys](GuiScript &s) {
                            editorLink(f.heading)(s);
                            textDialogKeys(s, f.caption, {'X', Enter, 'Y', Tab, Enter});
                        },
                        editRow0,
                        [=, &defaults](const GuiScript &) {
                            EXPECT_EQ(defaults, "OK");
                            EXPECT_EQ(entry0().*f.value, "x\r\ny");
                            EXPECT_TRUE(BiographyDocument.modified);
                        }});
    }
    rows.push_back({"Set location text: Esc",
                    [=](GuiScript &s) {
                        editorLink("Location:")(s);
                        keysIn(s, "Set location text", {'X', Esc});
                    },
                    editRow0,
                    [=](const GuiScript &) {
                        EXPECT_EQ(entry0().location, before.location);
                        EXPECT_FALSE(BiographyDocument.modified);
                    }});
    rows.push_back({"Set topic text: type, Enter, type, Tab, Enter",
                    [&](GuiScript &s) {
                        textDialogKeys(s, "Set topic text", {'X', Enter, 'Y', Tab, Enter});
                    },
                    menu(IDM_SET_TOPIC), [&](const GuiScript &) {
                        EXPECT_EQ(defaults, "OK");
                        EXPECT_EQ(BiographyDocument.topic, "x\r\ny");
                        EXPECT_TRUE(BiographyDocument.modified);
                    }});
    rows.push_back({"Set topic text: Esc",
                    [](GuiScript &s) { keysIn(s, "Set topic text", {'X', Esc}); },
                    menu(IDM_SET_TOPIC), [](const GuiScript &) {
                        EXPECT_EQ(BiographyDocument.topic, "Life");
                        EXPECT_FALSE(BiographyDocument.modified);
                    }});
    // Add keeps the dialog open; Esc then closes it.
    rows.push_back({"Create new category: Enter, Esc",
                    [](GuiScript &s) { keysIn(s, "Create new category", {Enter, Esc}); },
                    menu(IDM_NEW_CATEGORY), [](const GuiScript &) {
                        EXPECT_EQ(BiographyDocument.categoryCount, 3);
                        EXPECT_EQ(BiographyDocument.categories[2], "New category");
                    }});
    // An added name leaves the box, which keeps the keys for the next.
    rows.push_back({"Create new category: type, Enter, type, Enter, Esc",
                    [](GuiScript &s) {
                        keysIn(s, "Create new category", {'A', 'B', Enter, 'C', 'D', Enter, Esc});
                    },
                    menu(IDM_NEW_CATEGORY), [](const GuiScript &) {
                        ASSERT_EQ(BiographyDocument.categoryCount, 4);
                        EXPECT_EQ(BiographyDocument.categories[2], "ab");
                        EXPECT_EQ(BiographyDocument.categories[3], "cd");
                    }});
    // The name box scrolls: a name far wider than it is typed in full.
    rows.push_back({"Create new category: a long name, Enter, Esc",
                    [](GuiScript &s) {
                        std::vector<WORD> keys(60, 'W');
                        keys.insert(keys.end(), {Enter, Esc});
                        keysIn(s, "Create new category", keys);
                    },
                    menu(IDM_NEW_CATEGORY), [](const GuiScript &) {
                        EXPECT_EQ(BiographyDocument.categories[2], std::string(60, 'w'));
                    }});
    rows.push_back({"Rename category: type, Enter",
                    [](GuiScript &s) { keysIn(s, "Rename category", {'J', 'O', 'B', 'S', Enter}); },
                    menu(IDM_RENAME_CATEGORY), [=](const GuiScript &) {
                        EXPECT_EQ(entry0().category, "jobs");
                    }});
    rows.push_back({"Rename category: Esc",
                    [](GuiScript &s) { keysIn(s, "Rename category", {'J', Esc}); },
                    menu(IDM_RENAME_CATEGORY),
                    [=](const GuiScript &) { EXPECT_EQ(entry0().category, "Work"); }});
    const auto moveRow0 = [this] {
        selectListRow(EntryListView, 0, true);
        command(IDM_MOVE_TO_CATEGORY);
    };
    rows.push_back({"Move to category: Enter",
                    [](GuiScript &s) { keysIn(s, "Move to category", {Enter}); }, moveRow0,
                    [](const GuiScript &) {
                        EXPECT_EQ(BiographyDocument.category[1], BiographyDocument.categories[0]);
                    }});
    rows.push_back({"Move to category: Esc",
                    [](GuiScript &s) { keysIn(s, "Move to category", {Esc}); }, moveRow0,
                    [](const GuiScript &) { EXPECT_EQ(BiographyDocument.category[1], "Work"); }});
    for (WORD key : {Enter, Esc}) {
        rows.push_back({std::string("Associated files: ") + (key == Enter ? "Enter" : "Esc"),
                        [=](GuiScript &s) {
                            editorLink("Associated files:")(s);
                            keysIn(s, "Associated files", {key});
                        },
                        editRow0, [](const GuiScript &) {}});
        rows.push_back({std::string("About: ") + (key == Enter ? "Enter" : "Esc"),
                        [=](GuiScript &s) { keysIn(s, "About", {key}); }, menu(IDM_ABOUT),
                        [](const GuiScript &) {}});
        rows.push_back({std::string("Create personality folder: ") +
                            (key == Enter ? "Enter is Next" : "Esc"),
                        [=](GuiScript &s) { keysIn(s, "Create personality folder", {key}); },
                        menu(IDM_PERSONALITY_FOLDER), [=](const GuiScript &) {
                            EXPECT_EQ(browsed.size(), key == Enter ? 1u : 0u);
                        }});
    }
    // Ok refuses without a file name, which shows that Enter pressed it.
    rows.push_back({"Create new biography file: Enter, then Esc",
                    [](GuiScript &s) {
                        keysIn(s, NewFileCaption, {Enter});
                        s.press("Error", IDOK);
                        keysIn(s, NewFileCaption, {Esc});
                    },
                    menu(IDM_NEW_FILE), [](const GuiScript &s) {
                        ASSERT_EQ(s.seen().size(), 2u);
                        EXPECT_EQ(s.seen()[1].text, "No file name specified.");
                    }});
    rows.push_back({"Entry editor: Esc", [](GuiScript &s) { keysIn(s, "Entry editor", {Esc}); },
                    editRow0, [](const GuiScript &) {}});

    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        showDocument("Life", {makeEntry("Born", "Youth"), before});
        BiographyDocument.modified = false;
        browsed.clear();
        GuiScript script;
        row.steps(script);
        row.open();
        pumpMessages();
        // Every dialog closed by its keys: none was left for the harness.
        EXPECT_TRUE(script.finished()) << script.problems();
        row.check(script);
    }
    browseForFolder = systemBrowser;
}

namespace {

// As another program taking the keyboard for a while.
void switchAwayAndBack()
{
    HWND elsewhere = CreateWindowExA(0, "STATIC", "Elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     NULL, NULL, NULL, NULL);
    SetForegroundWindow(elsewhere);
    pumpMessages();
    SetForegroundWindow(MainWindow);
    DestroyWindow(elsewhere);
}

} // namespace

// Whatever closed last, Enter reaches the entry list: after each dialog and
// message box, after another window had the keyboard, and once a file is
// open, from the start or by Open or New.
TEST_F(KeyboardFocus, EnterOpensTheSelectedEntryAfterAnyDialogOrSwitch)
{
    const std::string folder = makeTestFolder("keyboard-focus");
    const std::string other = folder + "\\other.xml";
    showDocument("Other", {makeEntry("Elsewhere", "C"), makeEntry("Abroad", "C")});
    ASSERT_TRUE(saveDocument(other));
    const auto press = [](int button) { return [button](HWND d) { clickButton(d, button); }; };
    const auto createNew = [&](HWND d) {
        SetDlgItemTextA(d, IDC_NEW_FILE_FILENAME, (folder + "\\new.xml").c_str());
        clickButton(d, IDC_NEW_FILE_OK);
    };
    const struct {
        int command; // 0 for the start, -1 for a switch to another window and back
        const char *opens;
        std::function<void(HWND)> close;
    } rows[] = {
        {0, "", nullptr},
        {IDM_SET_TOPIC, "Set topic text", press(IDC_TOPIC_CANCEL)},
        {IDM_FIND_ENTRIES, "Find entries", press(IDCANCEL)},
        {IDM_ABOUT, "About", press(IDC_ABOUT_OK)},
        {IDM_DELETE_ENTRIES, "Delete entries?", press(IDNO)},
        {IDM_NEW_CATEGORY, "Create new category", press(IDC_CATEGORY_CANCEL)},
        {IDM_OPEN_FILE, "Open", [&](HWND d) { chooseInFileDialog(d, other); }},
        {IDM_NEW_FILE, NewFileCaption, createNew},
        {-1, "", nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.command << " " << row.opens);
        MainWindowFixture::TearDown();
        MainWindowFixture::SetUp();
        // Open and New from the start, when the list takes no keys yet.
        if (row.command != IDM_OPEN_FILE && row.command != IDM_NEW_FILE)
            showDocument("Life", {makeEntry("Born", "Youth"), makeEntry("School", "Youth")});
        BiographyDocument.modified = false;
        GuiScript script;
        if (row.close) script.onDialog(row.opens, row.close);
        if (row.command > 0) command(row.command);
        if (row.command < 0) switchAwayAndBack();
        const int last = listRowCount(EntryListView) - 1;
        selectListRow(EntryListView, last, true);
        std::string shown;
        inEditor(script, [&](HWND) { shown = editorText(); });
        pressKeys({VK_RETURN});
        runMainLoopFor(500);
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(shown.rfind("Title:\r" + listCell(EntryListView, last, 0) + "\r", 0), 0u) << shown;
    }
}

// Undo and redo as a user meets them: the Edit menu naming the steps, the
// keys, the tab and rows each step shows, and what is left to save.
#include "main_window_fixture.h"

#include <commctrl.h>

#include "../res/resource.h"
#include "document/core/biography_writer.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"

namespace {

class UndoRedo : public MainWindowFixture {
protected:
    // Tabs Work, Home; Work lists rows 0 to 2.
    void showFamily()
    {
        showDocument("Anna", {makeEntry("Job", "Home"), makeEntry("Born", "Work"), makeEntry("School", "Work"),
                              makeEntry("Moved", "Work")});
        SetForegroundWindow(MainWindow);
    }
    static std::string bytes() { return biographyFileBytes(BiographyDocument); }
    // The Undo and Redo items as the menu shows them: text, or "greyed".
    static void expectItems(const std::string &undo, const std::string &redo)
    {
        EXPECT_EQ(menuItemGreyed(MainWindow, IDM_UNDO) ? "greyed" : menuItemText(MainWindow, IDM_UNDO), undo);
        EXPECT_EQ(menuItemGreyed(MainWindow, IDM_REDO) ? "greyed" : menuItemText(MainWindow, IDM_REDO), redo);
    }
    static std::vector<int> selectedRows()
    {
        std::vector<int> rows;
        for (int row = 0; row < listRowCount(EntryListView); ++row)
            if (listRowSelected(EntryListView, row)) rows.push_back(row);
        return rows;
    }
};

TEST_F(UndoRedo, TheEditMenuNamesEachStepAndTheKeysUndoAndRedoIt)
{
    HMENU bar = GetMenu(MainWindow);
    char title[32] = "";
    GetMenuStringA(bar, 1, title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ(title, "&Edit");
    EXPECT_EQ(menuItemText(MainWindow, IDM_UNDO), "&Undo\tCtrl+Z");
    EXPECT_EQ(menuItemText(MainWindow, IDM_REDO), "&Redo\tCtrl+Y");
    expectItems("greyed", "greyed");

    showFamily();
    const std::string before = bytes();
    selectListRow(EntryListView, 0, true);
    selectListRow(EntryListView, 2, true);
    {
        GuiScript script;
        script.press("Delete entries?", IDYES);
        command(IDM_DELETE_ENTRIES);
    }
    const std::string after = bytes();
    expectItems("&Undo Delete entries\tCtrl+Z", "greyed");

    // Undo shows the tab the entries are in, with them alone selected.
    chooseTab(1);
    pressKeys({VK_CONTROL, 'Z'});
    runMainLoopFor(300);
    EXPECT_EQ(bytes(), before);
    EXPECT_FALSE(BiographyDocument.modified);
    EXPECT_EQ(selectedTab(CategoryTabs), 0);
    EXPECT_EQ(selectedRows(), (std::vector<int>{0, 2}));
    expectItems("greyed", "&Redo Delete entries\tCtrl+Y");

    for (const std::vector<WORD> &redo : {std::vector<WORD>{VK_CONTROL, 'Y'}, {VK_CONTROL, VK_SHIFT, 'Z'}}) {
        pressKeys(redo);
        runMainLoopFor(300);
        EXPECT_EQ(bytes(), after);
        EXPECT_TRUE(BiographyDocument.modified);
        EXPECT_EQ(listedTitles(), (std::vector<std::string>{"School"}));
        expectItems("&Undo Delete entries\tCtrl+Z", "greyed");
        pressKeys({VK_CONTROL, 'Z'});
        runMainLoopFor(300);
    }

    // A new change drops what could have been redone; a category step
    // rebuilds the tabs and shows its own.
    {
        GuiScript script;
        script.onDialog("Create new category", [](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_CATEGORY_NAME, "Travel");
            clickButton(dialog, IDC_CATEGORY_APPLY);
            clickButton(dialog, IDC_CATEGORY_CANCEL);
        });
        command(IDM_NEW_CATEGORY);
    }
    expectItems("&Undo New category\tCtrl+Z", "greyed");
    command(IDM_UNDO);
    EXPECT_EQ(tabTexts(CategoryTabs), (std::vector<std::string>{"Work", "Home"}));
    command(IDM_REDO);
    EXPECT_EQ(tabTexts(CategoryTabs), (std::vector<std::string>{"Travel", "Work", "Home"}));
    EXPECT_EQ(selectedTab(CategoryTabs), 0);
}

// Save, change, undo: nothing is left to save, the caption says so, and
// closing asks nothing.
TEST_F(UndoRedo, UndoingBackToTheSavedStateLeavesNothingToSave)
{
    showFamily();
    const std::string folder = makeTestFolder("undo");
    setDocumentPath(folder + "\\family.xml");
    const auto expectCaption = [](bool star, const char *name = "family.xml") {
        EXPECT_EQ(windowText(MainWindow), std::string("Memorion - ") + (star ? "*" : "") + name);
    };
    command(IDM_ADD_ENTRY);
    expectCaption(true);
    command(IDM_SAVE);
    expectCaption(false);
    const std::string saved = readFileBytes(BiographyDocument.filePath);
    command(IDM_ADD_ENTRY);
    EXPECT_TRUE(BiographyDocument.modified);
    expectCaption(true);
    command(IDM_UNDO);
    EXPECT_FALSE(BiographyDocument.modified);
    expectCaption(false);
    EXPECT_EQ(bytes(), saved);
    command(IDM_UNDO);
    EXPECT_TRUE(BiographyDocument.modified); // before the save now
    expectCaption(true);
    command(IDM_REDO);
    expectCaption(false);
    {
        // An OK that changes nothing still leaves work to save.
        GuiScript script;
        script.onDialog("Set topic text", [](HWND d) { clickButton(d, IDC_TOPIC_OK); });
        command(IDM_SET_TOPIC);
    }
    expectCaption(true);
    {
        GuiScript script;
        script.onDialog("Save As", [&](HWND d) { chooseInFileDialog(d, folder + "\\other.xml"); });
        command(IDM_SAVE_AS);
    }
    expectCaption(false, "other.xml");

    GuiScript script;
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_TRUE(script.seen().empty()) << script.seen()[0].text;
    EXPECT_FALSE(IsWindow(MainWindow));
}

} // namespace

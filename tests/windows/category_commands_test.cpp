#include "main_window_fixture.h"

#include <commctrl.h>

#include <memory>

#include "../res/resource.h"
#include "document/core/biography_writer.h"

namespace {

using Names = std::vector<std::string>;

const char Present[] = "Category already present.";
const char Empty[] = "Category name cannot be empty.";

Names categoriesNow()
{
    const Biography &d = BiographyDocument;
    return Names(d.categories, d.categories + d.categoryCount);
}

// A name applied in a naming dialog, and the message refusing it ("" if none).
struct NameTry {
    std::string name, refusal;
};

} // namespace

class CategoryCommandsTest : public MainWindowFixture {
protected:
    void showCategories(const Names &names, const std::vector<Entry> &entries)
    {
        showDocument("Topic", entries);
        Biography &d = BiographyDocument;
        d.categoryCount = 0;
        for (const std::string &name : names) d.categories[d.categoryCount++] = name;
        ::showDocument();
        pumpMessages();
    }

    // Applies every name in turn in one opening of the naming dialog of
    // command `id`, answering each refusal. Only a name taken is a change.
    // Returns the name the dialog opened with.
    std::string tryNames(int id, const char *caption, const std::vector<NameTry> &tries)
    {
        std::string preset;
        HWND shown = NULL;
        GuiScript script;
        script.onDialog(caption, [&](HWND dialog) {
            shown = dialog;
            preset = windowText(GetDlgItem(dialog, IDC_CATEGORY_NAME));
            for (const NameTry &t : tries) {
                const Names before = categoriesNow();
                BiographyDocument.modified = false;
                SetDlgItemTextA(dialog, IDC_CATEGORY_NAME, t.name.c_str());
                MessageCounter refills(EntryListView, LVM_DELETEALLITEMS);
                SendMessageA(dialog, WM_COMMAND, IDC_CATEGORY_APPLY, 0);
                const bool refused = !t.refusal.empty();
                EXPECT_EQ(refills.count(), refused ? 0 : 1) << t.name;
                EXPECT_EQ(BiographyDocument.modified, !refused) << t.name;
                EXPECT_EQ(IsWindowVisible(dialog) != 0, refused || id == IDM_NEW_CATEGORY) << t.name;
                if (refused) {
                    EXPECT_EQ(categoriesNow(), before) << t.name;
                }
            }
            if (IsWindowVisible(dialog)) clickButton(dialog, IDC_CATEGORY_CANCEL);
        });
        for (const NameTry &t : tries)
            if (!t.refusal.empty()) script.onMessage(t.refusal, [](HWND b) { clickButton(b, IDOK); });
        command(id);
        EXPECT_TRUE(script.finished()) << script.problems();
        size_t box = 1; // after the dialog itself
        for (const NameTry &t : tries) {
            if (t.refusal.empty() || box >= script.seen().size()) continue;
            const SeenDialog &seen = script.seen()[box++];
            const bool present = t.refusal == Present;
            expectBox(seen, present ? "Cannot add category" : "Error", t.refusal, MB_ICONEXCLAMATION,
                      MB_OK);
            // The dialog cannot be used while a refusal is up.
            EXPECT_EQ(seen.owner, shown) << t.name;
            EXPECT_FALSE(seen.ownerEnabled) << t.name;
        }
        return preset;
    }
};

TEST_F(CategoryCommandsTest, MovingATabLeftOrRightStopsAtTheEnds)
{
    struct Case {
        int tab, command;
        Names categories;
        int selected;
    };
    const Case cases[] = {
        {1, IDM_TAB_MOVE_LEFT, {"P", "R", "Q"}, 0}, {1, IDM_TAB_MOVE_RIGHT, {"Q", "P", "R"}, 2},
        {0, IDM_TAB_MOVE_RIGHT, {"P", "R", "Q"}, 1}, {0, IDM_TAB_MOVE_LEFT, {"P", "Q", "R"}, 0},
        {2, IDM_TAB_MOVE_RIGHT, {"P", "Q", "R"}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("tab " + std::to_string(c.tab) + " command " + std::to_string(c.command));
        showDocument("", {makeEntry("p1", "P"), makeEntry("q1", "Q"), makeEntry("r1", "R")});
        chooseTab(c.tab);
        BiographyDocument.modified = false;
        const Names shown = listedTitles();
        MessageCounter refills(EntryListView, LVM_DELETEALLITEMS);
        SendMessageA(CategoryTabs, WM_COMMAND, c.command, 0);
        pumpMessages();
        const bool moved = c.categories != Names{"P", "Q", "R"};
        EXPECT_EQ(categoriesNow(), c.categories);
        EXPECT_EQ(tabTexts(CategoryTabs), Names(c.categories.rbegin(), c.categories.rend()));
        EXPECT_EQ(selectedTab(CategoryTabs), c.selected);
        EXPECT_EQ(listedTitles(), shown) << "the moved tab stays selected";
        EXPECT_EQ(refills.count(), moved ? 1 : 0);
        EXPECT_EQ(BiographyDocument.modified, moved);
    }
}

TEST_F(CategoryCommandsTest, AddRefusesBadNamesAndStaysOpenUpToAFullList)
{
    Names names{"Work"};
    for (int i = 0; names.size() < MaxCategories - 2; ++i) names.push_back("C" + std::to_string(i));
    showCategories(names, {makeEntry("job", "Work")});
    const std::string full = "This biography already holds 500 categories, as many as Memorion "
                             "can keep.\nNo category was added.";
    EXPECT_EQ(tryNames(IDM_NEW_CATEGORY, "Create new category",
                       {{"Work", Present}, {"Wo\"rk", InvalidTextMessage}, {"", Empty},
                        {"work", ""}, {"Last", ""}, {"More", full}}),
              "New category");
    names.push_back("work");
    names.push_back("Last");
    EXPECT_EQ(categoriesNow(), names);
    EXPECT_EQ(tabTexts(CategoryTabs).front(), "Last");
    EXPECT_EQ(selectedTab(CategoryTabs), 0);
    EXPECT_TRUE(listedTitles().empty());
}

TEST_F(CategoryCommandsTest, RenameMovesEveryEntryAndKeepsTheTab)
{
    showCategories({"Home", "Work", "Z"},
                   {makeEntry("w1", "Work"), makeEntry("h1", "Home"), makeEntry("w2", "Work")});
    chooseTab(1);
    EXPECT_EQ(tryNames(IDM_RENAME_CATEGORY, "Rename category",
                       {{"Work", Present}, {"", Empty}, {"Jo<bs", InvalidTextMessage}, {"Jobs", ""}}),
              "Work");
    EXPECT_EQ(categoriesNow(), (Names{"Home", "Jobs", "Z"}));
    EXPECT_EQ(selectedTab(CategoryTabs), 1);
    EXPECT_EQ(listedTitles(), (Names{"w1", "w2"}));
    EXPECT_EQ(countEntriesInCategory("Jobs"), 2);
}

TEST_F(CategoryCommandsTest, DeleteKeepsOneCategoryAndGivesTheEntriesToDefault)
{
    struct Case {
        Names categories;
        std::vector<Entry> entries;
        int tab;
        std::string refusal;
        Names categoriesAfter, listAfter;
    };
    const Case cases[] = {
        {{"Solo"}, {makeEntry("s", "Solo")}, 0, "There must be at least one category.", {"Solo"},
         {"s"}},
        {{"Default", "Work"}, {makeEntry("d", "Default")}, 1,
         "Cannot delete 'Default' category if it contains entries.", {"Default", "Work"}, {"d"}},
        {{"Default", "Work"}, {makeEntry("w", "Work")}, 1, "", {"Work"}, {"w"}},
        {{"Home", "Work"}, {makeEntry("w1", "Work"), makeEntry("h", "Home"), makeEntry("w2", "Work")},
         0, "", {"Home", "Default"}, {"w1", "w2"}},
    };
    bool fromTabMenu = false; // the two ways in take turns
    for (const Case &c : cases) {
        SCOPED_TRACE(c.categories.size() + c.entries.size());
        showCategories(c.categories, c.entries);
        chooseTab(c.tab);
        BiographyDocument.modified = false;
        GuiScript script;
        if (!c.refusal.empty()) script.press("Error", IDOK);
        MessageCounter refills(EntryListView, LVM_DELETEALLITEMS);
        SendMessageA(fromTabMenu ? CategoryTabs : MainWindow, WM_COMMAND,
                     fromTabMenu ? IDM_TAB_DELETE : IDM_DELETE_CATEGORY, 0);
        pumpMessages();
        fromTabMenu = !fromTabMenu;
        EXPECT_TRUE(script.finished()) << script.problems();
        if (!c.refusal.empty()) {
            expectBox(script.seen().at(0), "Error", c.refusal, 0, MB_OK);
            EXPECT_EQ(script.seen()[0].owner, MainWindow);
        }
        EXPECT_EQ(categoriesNow(), c.categoriesAfter);
        EXPECT_EQ(listedTitles(), c.listAfter);
        EXPECT_EQ(selectedTab(CategoryTabs), c.refusal.empty() ? 0 : c.tab);
        EXPECT_EQ(refills.count(), c.refusal.empty() ? 1 : 0);
        EXPECT_EQ(BiographyDocument.modified, c.refusal.empty());
    }
}

TEST_F(CategoryCommandsTest, MoveToCategoryMovesTheSelectedRowsOnly)
{
    struct Case {
        bool fromListMenu;
        std::vector<int> rows;
        int target; // 0: A, their own category; 1: B
        int button;
        Names listAfter;
    };
    const Case cases[] = {
        {false, {0, 2}, 1, IDC_MOVE_PROCEED, {"a2"}},
        {true, {1}, 1, IDC_MOVE_PROCEED, {"a1", "a3"}},
        {false, {}, 1, IDC_MOVE_PROCEED, {"a1", "a2", "a3"}},
        {true, {}, 1, IDC_MOVE_PROCEED, {"a1", "a2", "a3"}},
        {true, {0}, 1, IDC_MOVE_CANCEL, {"a1", "a2", "a3"}},
        {false, {0, 1}, 0, IDC_MOVE_PROCEED, {"a1", "a2", "a3"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.fromListMenu) + std::to_string(c.rows.size()) +
                     std::to_string(c.target));
        showDocument("", {makeEntry("a1", "A"), makeEntry("a2", "A"), makeEntry("a3", "A"),
                          makeEntry("b1", "B")});
        chooseTab(1); // A; the dialog lists A, B
        BiographyDocument.modified = false;
        for (int row : c.rows) selectListRow(EntryListView, row, true);
        GuiScript script;
        script.onDialog("Move to category", [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_MOVE_LIST);
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
            RECT client;
            GetClientRect(dialog, &client);
            EXPECT_EQ(childRect(list).bottom, client.bottom - 40);
            SendMessageA(list, LB_SETCURSEL, c.target, 0);
            clickButton(dialog, c.button);
        });
        MessageCounter refills(EntryListView, LVM_DELETEALLITEMS);
        SendMessageA(c.fromListMenu ? EntryListView : MainWindow, WM_COMMAND,
                     IDM_MOVE_TO_CATEGORY, 0);
        pumpMessages();
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(listedTitles(), c.listAfter);
        EXPECT_EQ(countEntriesInCategory("B"), 4 - static_cast<int>(c.listAfter.size()));
        EXPECT_EQ(selectedTab(CategoryTabs), 1);
        EXPECT_EQ(refills.count(), c.listAfter.size() < 3 ? 1 : 0);
        EXPECT_EQ(BiographyDocument.modified, c.listAfter.size() < 3);
    }
}

TEST_F(CategoryCommandsTest, RightClickOnATabOffersTheCategoryCommandsAndSelectsNothing)
{
    showDocument("", {makeEntry("p1", "P"), makeEntry("q1", "Q"), makeEntry("r1", "R")});
    RECT tab;
    SendMessageA(CategoryTabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    Names texts;
    std::vector<UINT> ids;
    GuiScript script;
    script.onMenu([&](HMENU menu) {
        texts = menuItemTexts(menu);
        ids = menuItemIds(menu);
    });
    PostMessageA(CategoryTabs, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(CategoryTabs, WM_RBUTTONUP, 0, at);
    pumpFor(300);
    ASSERT_TRUE(script.finished()) << "no menu came up";
    EXPECT_EQ(texts, (Names{"", "Move left", "Move right", "", "Delete category",
                            "Rename category", "Add category", ""}));
    EXPECT_EQ(ids, (std::vector<UINT>{0, 49, 50, 0, 30, 60, 32, 0}));
    EXPECT_EQ(selectedTab(CategoryTabs), 0);
    EXPECT_EQ(listedTitles(), Names{"r1"});
}

// Every kind of command in turn, each followed by a save that must write
// exactly the new state. Each is an unsaved change until then.
TEST_F(CategoryCommandsTest, SaveAfterEachCommandWritesTheNewCategoriesAndFields)
{
    struct Step {
        int tab;
        HWND *window;
        int command;
        const char *dialog;
        int box, button;
        const char *text;
        Names categories, entryCategories;
    };
    const char topic[] = "Anna \"Nan\"\r\nBerg";
    const Step steps[] = {
        {0, &MainWindow, IDM_NEW_CATEGORY, "Create new category", IDC_CATEGORY_NAME,
         IDC_CATEGORY_APPLY, "Travel", {"Home", "Work", "Travel"}, {"Work", "Home", "Work"}},
        {1, &CategoryTabs, IDM_TAB_MOVE_RIGHT, nullptr, 0, 0, "", {"Work", "Home", "Travel"},
         {"Work", "Home", "Work"}},
        {2, &MainWindow, IDM_RENAME_CATEGORY, "Rename category", IDC_CATEGORY_NAME,
         IDC_CATEGORY_APPLY, "Jobs", {"Jobs", "Home", "Travel"}, {"Jobs", "Home", "Jobs"}},
        {1, &EntryListView, IDM_MOVE_TO_CATEGORY, "Move to category", 0, IDC_MOVE_PROCEED, "",
         {"Jobs", "Home", "Travel"}, {"Jobs", "Jobs", "Jobs"}},
        {2, &MainWindow, IDM_DELETE_CATEGORY, nullptr, 0, 0, "", {"Home", "Travel", "Default"},
         {"Default", "Default", "Default"}},
        {0, &TopicLine, IDM_SET_TOPIC, "Set topic text", IDC_TOPIC_TEXT, IDC_TOPIC_OK, topic,
         {"Home", "Travel", "Default"}, {"Default", "Default", "Default"}},
    };
    const std::vector<Entry> entries = {makeEntry("w1", "Work", "youth", "\"C:\\a.jpg\""),
                                        makeEntry("h1", "Home"), makeEntry("w2", "Work")};
    showCategories({"Home", "Work"}, entries);
    const std::string path = makeTestFolder("category-commands-save") + "\\saved.xml";
    BiographyDocument.filePath = path;
    for (const Step &s : steps) {
        SCOPED_TRACE(s.command);
        chooseTab(s.tab);
        selectListRow(EntryListView, 0, true);
        GuiScript script;
        if (s.dialog)
            script.onDialog(s.dialog, [&](HWND dialog) {
                if (s.box) SetDlgItemTextA(dialog, s.box, s.text);
                SendMessageA(dialog, WM_COMMAND, s.button, 0);
                if (IsWindowVisible(dialog)) clickButton(dialog, IDC_CATEGORY_CANCEL);
            });
        SendMessageA(*s.window, WM_COMMAND, s.command, 0);
        pumpMessages();
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_TRUE(BiographyDocument.modified);
        command(IDM_SAVE);

        auto expected = std::make_unique<Biography>();
        expected->topic = s.command == IDM_SET_TOPIC ? topic : "Topic";
        for (const std::string &name : s.categories)
            expected->categories[expected->categoryCount++] = name;
        for (Entry entry : entries) {
            entry.category = s.entryCategories[expected->entryCount];
            for (const EntryField &field : EntryFields)
                (expected.get()->*field.column)[expected->entryCount] = entry.*field.value;
            ++expected->entryCount;
        }
        EXPECT_EQ(readFileBytes(path), biographyFileBytes(*expected));
    }
}

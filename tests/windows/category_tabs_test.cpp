#include "main_window_fixture.h"

#include <commctrl.h>

#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"

using CategoryTabsTest = MainWindowFixture;

TEST_F(CategoryTabsTest, ShowCategoriesInReverseWithTheLastOneSelectedLeftmost)
{
    showDocument("Topic", {makeEntry("p1", "P"), makeEntry("q1", "Q"), makeEntry("r1", "R"),
                           makeEntry("r2", "R")});
    EXPECT_EQ(tabTexts(CategoryTabs), (std::vector<std::string>{"R", "Q", "P"}));
    EXPECT_EQ(selectedTab(CategoryTabs), 0);
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"r1", "r2"}));
    EXPECT_TRUE(IsWindowEnabled(CategoryTabs));
    EXPECT_EQ(windowText(TopicLine), "Topic");
}

TEST_F(CategoryTabsTest, ChangingTheTabRefillsTheList)
{
    showDocument("", {makeEntry("p1", "P"), makeEntry("q1", "Q"), makeEntry("r1", "R")});
    chooseTab(2);
    EXPECT_EQ(selectedTab(CategoryTabs), 2);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"p1"});
    chooseTab(1);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"q1"});
}

TEST_F(CategoryTabsTest, SelectByNameFindsTheTabAndComparesExactly)
{
    showDocument("", {makeEntry("p1", "P"), makeEntry("q1", "Q"), makeEntry("r1", "R")});
    selectCategoryTab("Q");
    pumpMessages();
    EXPECT_EQ(selectedTab(CategoryTabs), 1);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"q1"});

    selectCategoryTab("p");
    pumpMessages();
    EXPECT_EQ(selectedTab(CategoryTabs), 1) << "a name differing in case matches no tab";
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"q1"});
}

TEST_F(CategoryTabsTest, SelectByNameFindsNamesLongerThan255Bytes)
{
    const std::string longName(300, 'x');
    const std::string sameStart = std::string(255, 'x') + "y";
    showDocument("", {makeEntry("long", longName), makeEntry("other", sameStart),
                      makeEntry("last", "Z")});
    selectCategoryTab(longName);
    pumpMessages();
    EXPECT_EQ(selectedTab(CategoryTabs), 2);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"long"});
}

TEST_F(CategoryTabsTest, EntriesOfAnotherCaseOrOfNoListedCategoryShowNowhere)
{
    Biography &d = BiographyDocument;
    showDocument("", {makeEntry("upper", "Work"), makeEntry("lower", "work")});
    // As a file may list it: only "Work" is a category.
    d.categoryCount = 1;
    d.categories[0] = "Work";
    ::showDocument();
    pumpMessages();
    EXPECT_EQ(tabTexts(CategoryTabs), std::vector<std::string>{"Work"});
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"upper"});
}

TEST_F(CategoryTabsTest, ACategoryWithoutEntriesListsNothing)
{
    showDocument("", {makeEntry("a", "A")});
    BiographyDocument.categories[BiographyDocument.categoryCount++] = "Empty";
    ::showDocument();
    pumpMessages();
    EXPECT_EQ(tabTexts(CategoryTabs), (std::vector<std::string>{"Empty", "A"}));
    EXPECT_EQ(listRowCount(EntryListView), 0);
    EXPECT_EQ(rowCount, 0);
}

TEST_F(CategoryTabsTest, AClickOnATabListsItsCategory)
{
    showDocument("", {makeEntry("p1", "P"), makeEntry("q1", "Q"), makeEntry("r1", "R")});
    RECT tab;
    SendMessageA(CategoryTabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
    POINT at = {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    ClientToScreen(CategoryTabs, &at);
    SetForegroundWindow(MainWindow);
    SetCursorPos(at.x, at.y);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    MessageCounter refills(EntryListView, LVM_DELETEALLITEMS);
    ASSERT_EQ(SendInput(2, click, sizeof(INPUT)), 2u);
    pumpFor(200);
    EXPECT_EQ(selectedTab(CategoryTabs), 2);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"p1"});
    EXPECT_EQ(refills.count(), 1);
}

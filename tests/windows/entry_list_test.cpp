#include "main_window_fixture.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>

#include "../res/resource.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"

using EntryListTest = MainWindowFixture;

namespace {

Entry fullEntry(int n)
{
    const std::string s = std::to_string(n);
    return Entry{"title " + s, s + "/01/99", "period " + s, "place " + s,
                 "detail " + s + "\r\nline two", "keys " + s, "\"C:\\f" + s + ".jpg\"", "C"};
}

LRESULT sendCustomDraw(DWORD stage, int subItem, NMLVCUSTOMDRAW &draw, UINT code = NM_CUSTOMDRAW,
                       int row = 0, UINT rowState = 0)
{
    draw = NMLVCUSTOMDRAW();
    draw.nmcd.hdr.hwndFrom = EntryListView;
    draw.nmcd.hdr.idFrom = 2;
    draw.nmcd.hdr.code = code;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.dwItemSpec = row;
    draw.nmcd.uItemState = rowState;
    draw.iSubItem = subItem;
    draw.clrText = 0x123456;
    draw.clrTextBk = 0x654321;
    return SendMessageA(MainWindow, WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&draw));
}

POINT rowPoint(int row)
{
    RECT rect = {LVIR_LABEL, 0, 0, 0};
    SendMessageA(EntryListView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return POINT{rect.left + 5, (rect.top + rect.bottom) / 2};
}

struct ShownMenu {
    std::vector<std::string> texts;
    std::vector<UINT> ids;
    bool finished = false;
};

// Right-clicks list row `row` and reads the menu that comes up.
ShownMenu rightClickRow(int row)
{
    ShownMenu shown;
    GuiScript script;
    script.onMenu([&](HMENU menu) {
        shown.texts = menuItemTexts(menu);
        shown.ids = menuItemIds(menu);
    });
    const POINT at = rowPoint(row);
    PostMessageA(EntryListView, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    pumpFor(300);
    shown.finished = script.finished();
    return shown;
}

} // namespace

TEST_F(EntryListTest, RowsAreInAscendingEntryOrderAndTheMapDescending)
{
    std::vector<Entry> entries;
    for (int i = 0; i < 9; ++i) entries.push_back(makeEntry("e" + std::to_string(i), "Other"));
    for (int i : {2, 5, 7}) entries[i].category = "Mine";
    entries[5].entryDate = "01/02/03";
    entries[5].timePeriod = "childhood";
    entries[5].location = "Leeds";
    entries[7].title = "e7" + std::string(300, 'x');
    showDocument("", entries);
    selectCategoryTab("Mine");
    pumpMessages();

    ASSERT_EQ(listRowCount(EntryListView), 3);
    EXPECT_EQ(listCell(EntryListView, 0, 0), "e2");
    EXPECT_EQ(listCell(EntryListView, 1, 0), "e5");
    // Longer than a cell's buffer: read back cut (Wine fills the buffer
    // without a terminator), never past it.
    const std::string cut = listCell(EntryListView, 2, 0);
    EXPECT_TRUE(cut.size() >= 255 && cut.size() <= 256) << cut.size();
    EXPECT_EQ(cut, entries[7].title.substr(0, cut.size()));
    EXPECT_EQ(listCell(EntryListView, 1, 1), "01/02/03");
    EXPECT_EQ(listCell(EntryListView, 1, 2), "childhood");
    EXPECT_EQ(listCell(EntryListView, 1, 3), "Leeds");
    EXPECT_EQ(listCell(EntryListView, 1, 4), "0");
    ASSERT_EQ(rowCount, 3);
    EXPECT_EQ(rowEntryIndex[0], 2);
    EXPECT_EQ(rowEntryIndex[1], 5);
    EXPECT_EQ(rowEntryIndex[2], 7);
    EXPECT_EQ(entryIndexOfRow(0), 2);
    EXPECT_EQ(entryIndexOfRow(2), 7);
    EXPECT_EQ(entryIndexOfRow(3), -1);
    for (int r = 0; r < 3; ++r) EXPECT_FALSE(listRowSelected(EntryListView, r));
}

TEST_F(EntryListTest, FileCountCountsQuotedPaths)
{
    showDocument("", {makeEntry("three", "C", "", "\"C:\\a.jpg\"\"D:\\b c.txt\"\"E:\\d\""),
                      makeEntry("none", "C", "", ""), makeEntry("odd", "C", "", "\"\"\"")});
    EXPECT_EQ(listCell(EntryListView, 0, 4), "3");
    EXPECT_EQ(listCell(EntryListView, 1, 4), "0");
    EXPECT_EQ(listCell(EntryListView, 2, 4), "1");
}

TEST_F(EntryListTest, CustomDrawAnswersEveryStageAndSubItem)
{
    NMLVCUSTOMDRAW draw;
    EXPECT_EQ(sendCustomDraw(CDDS_PREPAINT, 0, draw), CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(sendCustomDraw(CDDS_ITEMPREPAINT, 0, draw), CDRF_NOTIFYSUBITEMDRAW);
    for (int sub : {0, 2, 4}) {
        EXPECT_EQ(sendCustomDraw(CDDS_ITEMPREPAINT | CDDS_SUBITEM, sub, draw), CDRF_NEWFONT);
        EXPECT_EQ(draw.clrText, 0x000000u) << "sub-item " << sub;
        EXPECT_EQ(draw.clrTextBk, 0xEDB996u) << "sub-item " << sub;
    }
    for (int sub : {1, 3, 5}) {
        EXPECT_EQ(sendCustomDraw(CDDS_ITEMPREPAINT | CDDS_SUBITEM, sub, draw), CDRF_NEWFONT);
        EXPECT_EQ(draw.clrText, 0xFFFFFFu) << "sub-item " << sub;
        EXPECT_EQ(draw.clrTextBk, 0xDF864Au) << "sub-item " << sub;
    }
    EXPECT_EQ(sendCustomDraw(CDDS_ITEMPREPAINT | CDDS_SUBITEM, 6, draw), 0);
    EXPECT_EQ(draw.clrTextBk, 0x654321u) << "other sub-items keep their colours";
    EXPECT_EQ(sendCustomDraw(CDDS_POSTPAINT, 0, draw), 0);
    EXPECT_EQ(sendCustomDraw(CDDS_ITEMPOSTPAINT, 0, draw), 0);
    EXPECT_EQ(sendCustomDraw(CDDS_PREPAINT, 0, draw, NM_CLICK), 0);
}

// The new row comes last in a long list, selected alone and in view.
TEST_F(EntryListTest, AddEntryAppendsNewEntryWithTodaysDateToTheSelectedCategory)
{
    std::vector<Entry> entries(40, makeEntry("a", "A"));
    entries.push_back(makeEntry("b", "B"));
    showDocument("", entries);
    chooseTab(1); // category A
    selectListRow(EntryListView, 0, true);
    command(IDM_ADD_ENTRY);

    ASSERT_EQ(BiographyDocument.entryCount, 42);
    EXPECT_EQ(BiographyDocument.category[41], "A");
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(selectedTab(CategoryTabs), 1);
    const int row = 40;
    ASSERT_EQ(listRowCount(EntryListView), row + 1);
    EXPECT_EQ(listCell(EntryListView, row, 0), "New entry");
    EXPECT_EQ(listCell(EntryListView, row, 1), todayDayMonthYear());
    EXPECT_EQ(listCell(EntryListView, row, 2), "");
    EXPECT_EQ(listCell(EntryListView, row, 3), "");
    EXPECT_EQ(listCell(EntryListView, row, 4), "0");
    for (int r = 0; r <= row; ++r) EXPECT_EQ(listRowSelected(EntryListView, r), r == row) << r;
    RECT cell = {LVIR_BOUNDS, 0, 0, 0}, client;
    SendMessageA(EntryListView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    GetClientRect(EntryListView, &client);
    EXPECT_TRUE(cell.top >= 0 && cell.bottom <= client.bottom) << cell.top << " " << client.bottom;
}

TEST_F(EntryListTest, AddEntryOnAFullDocumentIsRefused)
{
    std::vector<Entry> entries(MaxEntries, makeEntry("x", "C"));
    showDocument("", entries);
    GuiScript script;
    script.press("Error", IDOK);
    command(IDM_ADD_ENTRY);
    ASSERT_EQ(script.seen().size(), 1u) << script.problems();
    EXPECT_EQ(script.seen()[0].caption, "Error");
    EXPECT_NE(script.seen()[0].text.find("1024"), std::string::npos) << script.seen()[0].text;
    EXPECT_EQ(BiographyDocument.entryCount, MaxEntries);
    EXPECT_EQ(listRowCount(EntryListView), MaxEntries);
    EXPECT_FALSE(BiographyDocument.modified);
}

TEST_F(EntryListTest, DeletingTheFirstAndThirdOfFiveKeepsTheOthersWhole)
{
    std::vector<Entry> entries;
    for (int i = 1; i <= 5; ++i) entries.push_back(fullEntry(i));
    showDocument("", entries);
    selectListRow(EntryListView, 0, true);
    selectListRow(EntryListView, 2, true);

    GuiScript script;
    script.press("Delete entries?", IDYES);
    SendMessageA(EntryListView, WM_KEYDOWN, VK_DELETE, 0);
    pumpMessages();

    ASSERT_EQ(script.seen().size(), 1u) << script.problems();
    expectBox(script.seen()[0], "Delete entries?", "Delete selected?", MB_ICONQUESTION, MB_YESNO);
    EXPECT_TRUE(script.seen()[0].hasOwner);
    ASSERT_EQ(BiographyDocument.entryCount, 3);
    const int kept[] = {2, 4, 5};
    for (int i = 0; i < 3; ++i) {
        const Entry want = fullEntry(kept[i]), got = entryAt(i);
        EXPECT_EQ(got.title, want.title);
        EXPECT_EQ(got.entryDate, want.entryDate);
        EXPECT_EQ(got.timePeriod, want.timePeriod);
        EXPECT_EQ(got.location, want.location);
        EXPECT_EQ(got.detail, want.detail);
        EXPECT_EQ(got.keywords, want.keywords);
        EXPECT_EQ(got.files, want.files);
        EXPECT_EQ(got.category, want.category);
        EXPECT_EQ(listCell(EntryListView, i, 0), want.title);
    }
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(tabTexts(CategoryTabs), std::vector<std::string>{"C"});
}

TEST_F(EntryListTest, AnsweringNoDeletesNothing)
{
    showDocument("", {fullEntry(1), fullEntry(2)});
    selectListRow(EntryListView, 1, true);
    GuiScript script;
    script.press("Delete entries?", IDNO);
    command(IDM_DELETE_ENTRIES);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(BiographyDocument.entryCount, 2);
    EXPECT_EQ(listRowCount(EntryListView), 2);
    EXPECT_FALSE(BiographyDocument.modified);
}

TEST_F(EntryListTest, DeletingFromAnInnerTabKeepsThatTabAndItsEmptyCategory)
{
    showDocument("", {makeEntry("a", "A"), makeEntry("b", "B"), makeEntry("c", "C")});
    chooseTab(1); // B
    selectListRow(EntryListView, 0, true);
    GuiScript script;
    script.press("Delete entries?", IDYES);
    command(IDM_DELETE_ENTRIES);
    EXPECT_EQ(BiographyDocument.entryCount, 2);
    EXPECT_EQ(tabTexts(CategoryTabs), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(selectedTab(CategoryTabs), 1);
    EXPECT_EQ(listRowCount(EntryListView), 0);
}

TEST_F(EntryListTest, DeletingManyRowsLeavesExactlyTheUnselected)
{
    std::vector<Entry> entries;
    for (int i = 0; i < MaxEntries; ++i) entries.push_back(makeEntry(std::to_string(i), "C"));
    showDocument("", entries);
    for (int r = 0; r < 1000; ++r) selectListRow(EntryListView, r, true);
    GuiScript script;
    script.press("Delete entries?", IDYES);
    command(IDM_DELETE_ENTRIES);
    ASSERT_EQ(BiographyDocument.entryCount, 24);
    ASSERT_EQ(listRowCount(EntryListView), 24);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(BiographyDocument.title[i], std::to_string(1000 + i));
        EXPECT_EQ(listCell(EntryListView, i, 0), std::to_string(1000 + i));
    }
}

TEST_F(EntryListTest, KeysOtherThanDeleteDoNotReachTheList)
{
    showDocument("", {fullEntry(1), fullEntry(2), fullEntry(3)});
    // Focused as well as selected, so the list's own key handling, were it
    // reached, would move both.
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(EntryListView, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    SetFocus(EntryListView);
    for (WPARAM key : {VK_DOWN, VK_END, VK_NEXT}) {
        SendMessageA(EntryListView, WM_KEYDOWN, key, 0);
        SendMessageA(EntryListView, WM_KEYUP, key, 0);
    }
    pumpMessages();
    EXPECT_TRUE(listRowSelected(EntryListView, 0));
    EXPECT_FALSE(listRowSelected(EntryListView, 1));
    EXPECT_FALSE(listRowSelected(EntryListView, 2));
}

TEST_F(EntryListTest, RightClickWithoutSelectionOffersOnlyAddEntry)
{
    showDocument("", {fullEntry(1), fullEntry(2)});
    const ShownMenu menu = rightClickRow(1);
    ASSERT_TRUE(menu.finished) << "no menu came up";
    EXPECT_EQ(menu.texts, std::vector<std::string>{"Add entry"});
    EXPECT_EQ(menu.ids, std::vector<UINT>{IDM_ADD_ENTRY});
    EXPECT_FALSE(listRowSelected(EntryListView, 1)) << "a right click selects nothing";
}

TEST_F(EntryListTest, RightClickWithSelectionOffersTheEntryCommands)
{
    showDocument("", {fullEntry(1), fullEntry(2)});
    selectListRow(EntryListView, 0, true);
    const ShownMenu menu = rightClickRow(1);
    ASSERT_TRUE(menu.finished) << "no menu came up";
    EXPECT_EQ(menu.texts, (std::vector<std::string>{"Delete selected entries(s)", "Change category",
                                                    "Add entry", ""}));
    EXPECT_EQ(menu.ids,
              (std::vector<UINT>{IDM_DELETE_ENTRIES, IDM_MOVE_TO_CATEGORY, IDM_ADD_ENTRY, 0}));
    EXPECT_TRUE(listRowSelected(EntryListView, 0));
    EXPECT_FALSE(listRowSelected(EntryListView, 1));
}

TEST_F(EntryListTest, ContextMenuCommandsReachTheList)
{
    showDocument("", {fullEntry(1)});
    SendMessageA(EntryListView, WM_COMMAND, IDM_ADD_ENTRY, 0);
    pumpMessages();
    EXPECT_EQ(BiographyDocument.entryCount, 2);
    EXPECT_TRUE(listRowSelected(EntryListView, 1)); // the new entry
    selectListRow(EntryListView, 1, false);
    selectListRow(EntryListView, 0, true);
    GuiScript script;
    script.press("Delete entries?", IDYES);
    SendMessageA(EntryListView, WM_COMMAND, IDM_DELETE_ENTRIES, 0);
    pumpMessages();
    EXPECT_EQ(BiographyDocument.entryCount, 1);
    EXPECT_EQ(BiographyDocument.title[0], "New entry");
}

TEST_F(EntryListTest, AddEntryInADocumentWithoutCategoriesGoesIntoAShownDefault)
{
    showDocument("", {});
    ASSERT_TRUE(tabTexts(CategoryTabs).empty());
    command(IDM_ADD_ENTRY);
    ASSERT_EQ(BiographyDocument.entryCount, 1);
    EXPECT_EQ(BiographyDocument.category[0], "Default");
    EXPECT_EQ(tabTexts(CategoryTabs), std::vector<std::string>{"Default"});
    EXPECT_EQ(selectedTab(CategoryTabs), 0);
    ASSERT_EQ(listRowCount(EntryListView), 1);
    EXPECT_EQ(listCell(EntryListView, 0, 0), "New entry");
}

// Every change refills the list exactly once, however many steps it takes.
TEST_F(EntryListTest, EachChangeRefillsTheListOnce)
{
    showDocument("", {makeEntry("a", "A"), makeEntry("b", "B"), makeEntry("b2", "B")});
    struct Case {
        const char *change;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"choosing a tab", [this] { chooseTab(1); }},
        {"adding an entry", [this] { command(IDM_ADD_ENTRY); }},
        {"deleting entries",
         [this] {
             for (int row = 0; row < listRowCount(EntryListView); ++row)
                 selectListRow(EntryListView, row, row == 0);
             GuiScript script;
             script.press("Delete entries?", IDYES);
             command(IDM_DELETE_ENTRIES);
         }},
    };
    for (const Case &c : cases) {
        MessageCounter refills(EntryListView, LVM_DELETEALLITEMS);
        c.make();
        EXPECT_EQ(refills.count(), 1) << c.change;
    }
    EXPECT_EQ(listCell(EntryListView, 0, 0), "New entry") << "the list shows the result";
}


// A selected row shows in the system's highlight colours across every
// cell, whether the list has the focus or a dialog has it (Find's hit): the
// list's own colours would be nearly white without the focus and leave most
// of the title's cell white with it.
TEST_F(EntryListTest, SelectedRowsAreDrawnInTheHighlightColoursWithOrWithoutTheFocus)
{
    showDocument("", {makeEntry("alpha", "C", "one"), makeEntry("beta", "C", "two")});
    selectListRow(EntryListView, 1, true);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const auto background = [highlight](int row, bool light) {
        return row ? highlight : light ? 0xEDB996u : 0xDF864Au;
    };
    for (int sub = 0; sub < 5; ++sub) {
        NMLVCUSTOMDRAW draw;
        sendCustomDraw(CDDS_ITEMPREPAINT | CDDS_SUBITEM, sub, draw, NM_CUSTOMDRAW, 1, CDIS_SELECTED);
        EXPECT_EQ(draw.clrTextBk, highlight);
        EXPECT_EQ(draw.clrText, GetSysColor(COLOR_HIGHLIGHTTEXT));
        EXPECT_FALSE(draw.nmcd.uItemState & CDIS_SELECTED) << "left marked, the list recolours it";
    }
    // Each row's top line, clear of the text, in every column and past the title.
    for (HWND focus : {EntryListView, TopicLine}) {
        SetFocus(focus);
        RedrawWindow(EntryListView, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(EntryListView);
        for (int row = 0; row < 2; ++row) {
            RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
            SendMessageA(EntryListView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
            for (int x : {3, 150, 250, 400, 520, 650})
                EXPECT_EQ(GetPixel(dc, x, bounds.top + 1),
                          background(row, x < 200 || (x > 310 && x < 450) || x > 590))
                    << "row " << row << " at " << x << (focus == TopicLine ? "" : ", focused");
        }
        ReleaseDC(EntryListView, dc);
    }
}

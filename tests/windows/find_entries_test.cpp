#include "main_window_fixture.h"

#include <commctrl.h>

#include "../res/resource.h"
#include "document/core/letter_case.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/find_entries.h"

namespace {

const char Caption[] = "Find entries";

class FindEntriesTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        forgetLastSearch();
    }
};

// Presses a key in the main window as its message loop takes it: through
// the program's accelerator table. False when the table has no such key.
bool pressKey(UINT key, bool control = false)
{
    HACCEL keys = LoadAcceleratorsA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
    MSG message = {};
    message.hwnd = EntryListView;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    message.lParam = 1;
    const bool translated = TranslateAcceleratorA(MainWindow, keys, &message) != 0;
    SetKeyboardState(saved);
    pumpMessages();
    return translated;
}

// Enter and then Esc, as typed into the dialog's text box.
void typeEnterThenEsc(HWND dialog)
{
    HWND box = GetDlgItem(dialog, IDC_FIND_TEXT);
    PostMessageA(box, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1);
}

// Searches for `text` from the dialog, then closes it.
void searchInDialog(GuiScript &script, const std::string &text)
{
    script.onDialog(Caption, [text](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, text.c_str());
        typeEnterThenEsc(dialog);
    });
}

std::vector<int> selectedRows()
{
    std::vector<int> rows;
    for (int r = 0; r < listRowCount(EntryListView); ++r)
        if (listRowSelected(EntryListView, r)) rows.push_back(r);
    return rows;
}

int focusedRow()
{
    return static_cast<int>(SendMessageA(EntryListView, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
}

bool rowInView(int row)
{
    const int top = static_cast<int>(SendMessageA(EntryListView, LVM_GETTOPINDEX, 0, 0));
    const int perPage = static_cast<int>(SendMessageA(EntryListView, LVM_GETCOUNTPERPAGE, 0, 0));
    return row >= top && row < top + perPage;
}

Entry withDetail(const std::string &title, const std::string &category, const std::string &detail)
{
    Entry entry = makeEntry(title, category);
    entry.detail = detail;
    return entry;
}

} // namespace

TEST_F(FindEntriesTest, DialogShowsItsTextsRemembersTheSearchAndAnswersEnterAndEsc)
{
    showDocument("", {makeEntry("Lisbon harbour", "A"), makeEntry("lisbon again", "A")});
    struct Shown {
        std::string label, check, findNext, close, text;
        bool checked = false, defaultFindNext = false, textFocused = false;
        DWORD selection = 0;
    };
    auto read = [](HWND dialog, Shown &shown) {
        shown.label = windowText(GetDlgItem(dialog, IDC_FIND_LABEL));
        shown.check = windowText(GetDlgItem(dialog, IDC_FIND_MATCH_CASE));
        shown.findNext = windowText(GetDlgItem(dialog, IDOK));
        shown.close = windowText(GetDlgItem(dialog, IDCANCEL));
        shown.text = windowText(GetDlgItem(dialog, IDC_FIND_TEXT));
        shown.checked = IsDlgButtonChecked(dialog, IDC_FIND_MATCH_CASE) == BST_CHECKED;
        shown.defaultFindNext = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDOK;
        shown.textFocused = GetFocus() == GetDlgItem(dialog, IDC_FIND_TEXT);
        shown.selection = static_cast<DWORD>(SendDlgItemMessageA(dialog, IDC_FIND_TEXT, EM_GETSEL, 0, 0));
    };

    Shown first, second, third;
    GuiScript script;
    script.onDialog(Caption, [&](HWND dialog) {
        read(dialog, first);
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, "lisbon");
        typeEnterThenEsc(dialog);
    });
    command(IDM_FIND_ENTRIES);
    EXPECT_EQ(selectedRows(), std::vector<int>{0}) << "found without regard to case";

    script.onDialog(Caption, [&](HWND dialog) {
        read(dialog, second);
        CheckDlgButton(dialog, IDC_FIND_MATCH_CASE, BST_CHECKED);
        typeEnterThenEsc(dialog);
    });
    command(IDM_FIND_ENTRIES);
    EXPECT_EQ(selectedRows(), std::vector<int>{1}) << "with Match case only the second";

    script.onDialog(Caption, [&](HWND dialog) {
        read(dialog, third);
        clickButton(dialog, IDCANCEL);
    });
    command(IDM_FIND_ENTRIES);
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 3u);
    EXPECT_EQ(script.seen()[0].caption, "Find entries");
    EXPECT_EQ(script.seen()[0].owner, MainWindow);

    EXPECT_EQ(first.label, "Find what");
    EXPECT_EQ(first.check, "Match case");
    EXPECT_EQ(first.findNext, "Find next");
    EXPECT_EQ(first.close, "Close");
    EXPECT_TRUE(first.defaultFindNext);
    EXPECT_TRUE(first.textFocused);
    EXPECT_EQ(first.text, "");
    EXPECT_FALSE(first.checked);
    EXPECT_EQ(second.text, "lisbon");
    EXPECT_EQ(second.selection, static_cast<DWORD>(MAKELONG(0, 6))) << "the whole text selected";
    EXPECT_FALSE(second.checked);
    EXPECT_EQ(third.text, "lisbon");
    EXPECT_TRUE(third.checked);
    EXPECT_FALSE(BiographyDocument.modified);
}

// Categories P, Q, R make the tabs R, Q, P.
TEST_F(FindEntriesTest, FindNextGoesDownTheRowsAndAcrossTheTabsSelectingTheRowAlone)
{
    std::vector<Entry> entries = {makeEntry("p hit one", "P"), makeEntry("q none", "Q"),
                                  withDetail("r two", "R", "first line\r\nsaid HIT here"),
                                  makeEntry("r nothing", "R")};
    for (int i = 0; i < 60; ++i) entries.push_back(makeEntry("p filler", "P"));
    entries.push_back(makeEntry("p", "P", "", "\"C:\\hits\\last.jpg\""));
    showDocument("", entries);
    selectListRow(EntryListView, 0, true);
    selectListRow(EntryListView, 1, true);

    struct Place {
        int tab, row;
        std::string title;
        int refills;
    };
    const Place expected[] = {
        {2, 0, "p hit one", 1},   // after the first selected row: over Q to P
        {2, 61, "p", 0},          // in a file path, far down the same tab
        {0, 0, "r two", 1},       // past the end to the start, in a detail
        {2, 0, "p hit one", 1},
    };
    GuiScript script;
    searchInDialog(script, "hit");
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
        const Place &place = expected[i];
        SCOPED_TRACE("search " + std::to_string(i + 1));
        MessageCounter refills(EntryListView, LVM_DELETEALLITEMS);
        if (i == 0) command(IDM_FIND_ENTRIES);
        else EXPECT_TRUE(pressKey(VK_F3));
        EXPECT_EQ(selectedTab(CategoryTabs), place.tab);
        EXPECT_EQ(selectedRows(), std::vector<int>{place.row});
        EXPECT_EQ(focusedRow(), place.row);
        EXPECT_TRUE(rowInView(place.row));
        EXPECT_EQ(listCell(EntryListView, place.row, 0), place.title);
        EXPECT_EQ(refills.count(), place.refills);
    }
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(script.seen().size(), 1u) << "F3 repeats the search without the dialog";
    EXPECT_FALSE(BiographyDocument.modified);
}

// Case is folded in memory's code page (UTF-8 under the manifest, 1252 on
// a Western system without it), letters beyond ASCII too.
TEST_F(FindEntriesTest, TheOnlyMatchIsFoundAgainFromItself)
{
    showDocument("", {makeEntry(ansi(L"Caf\u00e9 Z\u00fcrich"), "A"), makeEntry("Cafe Zurich", "A")});
    GuiScript script;
    searchInDialog(script, ansi(L"CAF\u00c9 Z\u00dc"));
    command(IDM_FIND_ENTRIES);
    ASSERT_EQ(selectedRows(), std::vector<int>{0});
    EXPECT_TRUE(pressKey(VK_F3));
    EXPECT_EQ(selectedRows(), std::vector<int>{0});
    EXPECT_EQ(script.seen().size(), 1u) << "no \"Cannot find\"";
}

// Typed as a user types them, with "Match case" off: each finds its row in
// the other case.
TEST_F(FindEntriesTest, TextOfEveryScriptTypedIntoTheDialogIsFound)
{
    if (GetACP() != CP_UTF8) GTEST_SKIP() << "memory text in code page " << GetACP() << ", not UTF-8";
    const struct {
        const wchar_t *title, *typed;
    } rows[] = {
        {L"Zofia \u0141ukasiewicz", L"\u0142UKASIEWICZ"},
        {L"\u0413\u0435\u043e\u0440\u0433\u0438\u0439 \u0416\u0443\u043a\u043e\u0432", L"\u0436\u0443\u043a\u043e\u0432"},
        {L"\u03a3\u03bf\u03c6\u03af\u03b1", L"\u03a3\u039f\u03a6\u038a\u0391"},
        {L"Nguy\u1ec5n V\u0103n An", L"NGUY\u1ec4N"},
        {L"\u5199\u771f 1946", L"\u5199\u771f"},
    };
    std::vector<Entry> entries;
    for (const auto &row : rows) entries.push_back(makeEntry(ansi(row.title), "A"));
    showDocument("", entries);
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(ansi(rows[row].typed));
        GuiScript script;
        script.onDialog(Caption, [&](HWND) {
            typeCharacters(rows[row].typed);
            pressKeys({VK_RETURN});
            pressKeys({VK_ESCAPE});
        });
        command(IDM_FIND_ENTRIES);
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(selectedRows(), std::vector<int>{row});
    }
}

// The letter case the search was built with (scripts/make-letter-case-table)
// is this system's: a Windows that pairs letters otherwise shows here.
TEST_F(FindEntriesTest, LetterCaseIsTheSystemsOwn)
{
    const LetterCase &table = letterCase();
    std::vector<unsigned> differing;
    for (unsigned c = 0; c < 0x10000; ++c) {
        WCHAR small = static_cast<WCHAR>(c), capital = static_cast<WCHAR>(c);
        CharLowerBuffW(&small, 1);
        CharUpperBuffW(&capital, 1);
        if (small != table.small[c] || capital != table.capital[c]) differing.push_back(c);
    }
    EXPECT_TRUE(differing.empty()) << differing.size() << " differ, the first U+" << std::hex << differing[0];
}

class FindEntriesCodePage932 : public FindEntriesTest {};

// Japanese, as the ctest entry runs it (memory text UTF-8 under the
// manifest, else the code page 932): katakana typed into the dialog find
// their entry, and a letter typed finds nothing there, though in code page
// 932 the second byte of katakana a ("\x83\x41") is "A".
TEST_F(FindEntriesCodePage932, JapaneseTypedIsFoundAndNoSecondByteIsALetter)
{
    if (GetACP() != 932 && GetACP() != CP_UTF8) GTEST_SKIP() << "code page " << GetACP() << " (LC_ALL=ja_JP.UTF-8)";
    showDocument("", {makeEntry(ansi(L"\u30a2\u30f3\u30ca \u65e5\u672c"), "A")}); // アンナ 日本
    GuiScript script;
    script.onDialog(Caption, [](HWND) {
        typeCharacters(L"a");
        pressKeys({VK_RETURN});
    });
    script.onMessage("Cannot find", [](HWND box) { clickButton(box, IDOK); });
    script.onDialog(Caption, [](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_FIND_TEXT, EM_SETSEL, 0, -1);
        typeCharacters(L"\u30f3\u30ca"); // ンナ
        pressKeys({VK_RETURN});
        pressKeys({VK_ESCAPE});
    });
    command(IDM_FIND_ENTRIES);
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 2u);
    expectBox(script.seen()[1], Caption, "Cannot find \"a\".", MB_ICONINFORMATION, MB_OK);
    EXPECT_EQ(selectedRows(), std::vector<int>{0});
}

// Nothing found, from the dialog and again by F3: the box belongs to the
// window the search ran from; the tab and the selection stay.
TEST_F(FindEntriesTest, CannotFindSaysSoAndChangesNothing)
{
    showDocument("", {makeEntry("q1", "Q"), makeEntry("q2", "Q"), makeEntry("p1", "P")});
    chooseTab(1); // Q
    selectListRow(EntryListView, 1, true);
    ASSERT_EQ(selectedRows(), std::vector<int>{1});
    MessageCounter refills(EntryListView, LVM_DELETEALLITEMS);

    HWND dialogShown = NULL;
    GuiScript script;
    script.onDialog(Caption, [&](HWND dialog) {
        dialogShown = dialog;
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, "Lisbon");
        clickButton(dialog, IDOK);
    });
    script.onMessage("Cannot find", [](HWND box) { clickButton(box, IDOK); });
    script.press(Caption, IDCANCEL);
    command(IDM_FIND_ENTRIES);
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 2u);
    expectBox(script.seen()[1], "Find entries", "Cannot find \"Lisbon\".", MB_ICONINFORMATION, MB_OK);
    EXPECT_EQ(script.seen()[1].owner, dialogShown);

    GuiScript byKey;
    byKey.onMessage("Cannot find", [](HWND box) { clickButton(box, IDOK); });
    EXPECT_TRUE(pressKey(VK_F3));
    EXPECT_TRUE(byKey.finished()) << byKey.problems();
    ASSERT_EQ(byKey.seen().size(), 1u);
    expectBox(byKey.seen()[0], "Find entries", "Cannot find \"Lisbon\".", MB_ICONINFORMATION, MB_OK);
    EXPECT_EQ(byKey.seen()[0].owner, MainWindow);

    GuiScript empty;
    searchInDialog(empty, "");
    command(IDM_FIND_ENTRIES);
    EXPECT_TRUE(empty.finished()) << empty.problems();
    EXPECT_EQ(empty.seen().size(), 1u) << "an empty text finds nothing and says nothing";

    EXPECT_EQ(selectedTab(CategoryTabs), 1);
    EXPECT_EQ(selectedRows(), std::vector<int>{1});
    EXPECT_EQ(refills.count(), 0);
    EXPECT_FALSE(BiographyDocument.modified);
}

TEST_F(FindEntriesTest, AreGreyedUntilAFileIsOpenThenCtrlFAndAFirstF3OpenTheDialog)
{
    const std::vector<std::string> options = menuItemTexts(GetSubMenu(GetMenu(MainWindow), 2));
    ASSERT_GE(options.size(), 7u);
    EXPECT_EQ(options[4], "&Move to another category");
    EXPECT_EQ(options[5], "&Find entries...\tCtrl+F");
    EXPECT_EQ(options[6], "Find ne&xt\tF3");

    GuiScript script;
    EXPECT_TRUE(menuItemGreyed(MainWindow, IDM_FIND_ENTRIES));
    EXPECT_TRUE(menuItemGreyed(MainWindow, IDM_FIND_NEXT));
    pressKey('F', true);
    pressKey(VK_F3);
    EXPECT_TRUE(script.seen().empty()) << "no dialog before a file is open";

    showDocument("", {makeEntry("e", "C")});
    EXPECT_FALSE(menuItemGreyed(MainWindow, IDM_FIND_ENTRIES));
    EXPECT_FALSE(menuItemGreyed(MainWindow, IDM_FIND_NEXT));
    script.press(Caption, IDCANCEL).press(Caption, IDCANCEL);
    EXPECT_TRUE(pressKey('F', true));
    EXPECT_TRUE(pressKey(VK_F3)) << "no search yet: F3 asks for one";
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(script.seen().size(), 2u);
    EXPECT_FALSE(pressKey('F')) << "F alone is no key of the window";
}

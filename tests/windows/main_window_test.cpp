#include "editor_steps.h"

#include <commctrl.h>

#include <cctype>
#include <map>

#include "../res/resource.h"
#include "entryedit/editor_headings.h"
#include "version.h"

using MainWindowStart = MainWindowFixture;
using MainWindowClose = MainWindowFixture;
using DialogLayout = MainWindowFixture;

TEST_F(MainWindowStart, IsA735By400WindowCentredOnTheDesktop)
{
    char className[64] = "";
    GetClassNameA(MainWindow, className, sizeof className);
    EXPECT_STREQ(className, "myWindowClass");
    EXPECT_EQ(windowText(MainWindow), "Memorion");

    RECT window, desktop;
    GetWindowRect(MainWindow, &window);
    GetClientRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(window.right - window.left, 735);
    EXPECT_EQ(window.bottom - window.top, 400);
    EXPECT_EQ(window.left, desktop.right / 2 - 367);
    EXPECT_EQ(window.top, desktop.bottom / 2 - 200);
    EXPECT_EQ(GetWindowLongA(MainWindow, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

TEST_F(MainWindowStart, ChildrenHaveTheirIdsAndAreDisabledUntilADocumentIsShown)
{
    EXPECT_EQ(GetDlgItem(MainWindow, IDC_MAIN_LIST), EntryListView);
    EXPECT_EQ(GetDlgItem(MainWindow, IDC_MAIN_STATUS), StatusBar);
    EXPECT_EQ(GetDlgItem(MainWindow, IDC_MAIN_TABS), CategoryTabs);
    EXPECT_EQ(GetDlgItem(MainWindow, IDC_MAIN_TOPIC), TopicLine);
    EXPECT_FALSE(IsWindowEnabled(EntryListView));
    EXPECT_FALSE(IsWindowEnabled(CategoryTabs));
    EXPECT_FALSE(IsWindowEnabled(TopicLine));
    EXPECT_TRUE(IsWindowEnabled(StatusBar));
    // The topic line must stay read-only: the topic changes only by command.
    EXPECT_TRUE(GetWindowLongA(TopicLine, GWL_STYLE) & ES_READONLY);
}

TEST_F(MainWindowStart, ShowsThePlaceholderTabAnEmptyListAndTheVersion)
{
    EXPECT_EQ(tabTexts(CategoryTabs), std::vector<std::string>{"Category 1"});
    EXPECT_EQ(listRowCount(EntryListView), 0);
    const char *titles[] = {"Title", "Entry date", "Time period", "Location", "File count"};
    const int widths[] = {200, 110, 140, 140, 90};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(listColumnText(EntryListView, c), titles[c]);
        EXPECT_EQ(listColumnWidth(EntryListView, c), widths[c]);
    }
    EXPECT_EQ(listColumnText(EntryListView, 5), "") << "there is no sixth column";
    EXPECT_EQ(statusText(StatusBar, 0), "v" MEMORION_VERSION_TEXT);
    EXPECT_EQ(SendMessageA(StatusBar, SB_GETPARTS, 0, 0), 3);
}

TEST_F(MainWindowStart, GreysEveryDocumentCommandAndOnlyThose)
{
    for (int id : {9, 10, 11, 13, 14, 15, 18, 23, 24, 31, 60, 80, 101, 102, 103})
        EXPECT_TRUE(menuItemGreyed(MainWindow, id)) << "menu item " << id;
    for (int id : {7, 8, 12, 16, 17}) {
        EXPECT_NE(menuState(MainWindow, id), static_cast<UINT>(-1)) << "menu item " << id;
        EXPECT_FALSE(menuItemGreyed(MainWindow, id)) << "menu item " << id;
    }
}

TEST_F(MainWindowStart, MenuHoldsTheItemsInOrder)
{
    HMENU bar = GetMenu(MainWindow);
    EXPECT_EQ(menuItemTexts(bar), (std::vector<std::string>{"&File", "&Edit", "&Options", "&Help"}));
    EXPECT_EQ(menuItemIds(GetSubMenu(bar, 0)),
              (std::vector<UINT>{7, 8, 0, 9, 10, 103, 106, 107, 0, 11, 31, 0, 80, 0, 12}));
    EXPECT_EQ(menuItemIds(GetSubMenu(bar, 1)), (std::vector<UINT>{104, 105}));
    EXPECT_EQ(menuItemIds(GetSubMenu(bar, 2)),
              (std::vector<UINT>{15, 0, 13, 14, 18, 101, 102, 0, 24, 23, 60, 0, 16}));
    EXPECT_EQ(menuItemIds(GetSubMenu(bar, 3)), std::vector<UINT>{17});
    // A shortcut follows its item's text after a tab.
    EXPECT_EQ(menuItemTexts(GetSubMenu(bar, 0)),
              (std::vector<std::string>{"New biography file\tCtrl+N", "Open biography file\tCtrl+O",
                                        "", "Save\tCtrl+S", "Save as\tCtrl+Shift+S",
                                        "&Export as web page...", "&Import from family tree (GEDCOM)...",
                                        "Export as family &tree (GEDCOM)...", "", "View code",
                                        "View code in notepad", "", "Open containing folder", "",
                                        "E&xit"}));
}

// A key pressed in an open menu chooses the first item it underlines, so an
// item sharing it can never be reached. The two Delete items were written so
// and stay so.
TEST_F(MainWindowStart, NoTwoItemsOfAMenuShareAnAccessKey)
{
    HMENU bar = GetMenu(MainWindow);
    for (int popup = 0; popup < GetMenuItemCount(bar); ++popup) {
        std::map<char, std::string> owners;
        for (const std::string &text : menuItemTexts(GetSubMenu(bar, popup))) {
            const size_t amp = text.find('&');
            if (amp == std::string::npos || amp + 1 >= text.size()) continue;
            const char key = static_cast<char>(toupper(static_cast<unsigned char>(text[amp + 1])));
            const std::string pair = owners[key] + "|" + text;
            EXPECT_TRUE(owners[key].empty() ||
                        pair == "&Delete selected entries|&Delete category")
                << "both underline " << key << ": " << pair;
            owners[key] = text;
        }
    }
}

TEST_F(MainWindowStart, LaysOutTheChildrenForAn800By600ClientArea)
{
    RECT wanted = {0, 0, 800, 600};
    AdjustWindowRectEx(&wanted, GetWindowLongA(MainWindow, GWL_STYLE), TRUE,
                       GetWindowLongA(MainWindow, GWL_EXSTYLE));
    SetWindowPos(MainWindow, NULL, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    RECT client;
    GetClientRect(MainWindow, &client);
    // A menu bar that wraps would change the client height; the layout is
    // checked against whatever client area the window really got.
    ASSERT_EQ(client.right, 800);
    ASSERT_EQ(client.bottom, 600);

    RECT tabs = childRect(CategoryTabs), list = childRect(EntryListView), topic = childRect(TopicLine);
    EXPECT_EQ(tabs.left, 0);
    EXPECT_EQ(tabs.top, 35);
    EXPECT_EQ(tabs.right - tabs.left, 803);
    EXPECT_EQ(tabs.bottom - tabs.top, 545);
    EXPECT_EQ(list.left, 7);
    EXPECT_EQ(list.top, 70);
    EXPECT_EQ(list.right - list.left, 786);
    EXPECT_EQ(list.bottom - list.top, 500);
    EXPECT_EQ(topic.left, 0);
    EXPECT_EQ(topic.top, 0);
    EXPECT_EQ(topic.right - topic.left, 800);
    EXPECT_EQ(topic.bottom - topic.top, 30);
    RECT status = childRect(StatusBar);
    EXPECT_EQ(status.bottom, 600) << "the status bar sits along the bottom";
}

TEST_F(MainWindowClose, WithUnsavedChangesAsksAndNoClosesWithoutSaving)
{
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("File not saved", IDNO);
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    pumpMessages();
    ASSERT_EQ(script.seen().size(), 1u) << script.problems();
    expectBox(script.seen()[0], "File not saved", "Save changes?", MB_ICONQUESTION, MB_YESNOCANCEL);
    EXPECT_TRUE(script.seen()[0].hasOwner);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_FALSE(IsWindow(MainWindow));
}

TEST_F(MainWindowClose, WithoutChangesAsksNothing)
{
    GuiScript script;
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_TRUE(script.seen().empty());
    EXPECT_FALSE(IsWindow(MainWindow));
}

TEST_F(MainWindowClose, ExitOffersToSaveLikeTheCloseBox)
{
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("File not saved", IDNO);
    command(IDM_EXIT);
    ASSERT_EQ(script.seen().size(), 1u) << script.problems();
    expectBox(script.seen()[0], "File not saved", "Save changes?", MB_ICONQUESTION, MB_YESNOCANCEL);
    EXPECT_FALSE(IsWindow(MainWindow));
}

TEST_F(MainWindowClose, EndOfSessionOffersToSaveAndAFailedSaveRefusesIt)
{
    BiographyDocument.modified = true;
    GuiScript script;
    script.press("File not saved", IDNO);
    EXPECT_TRUE(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0));
    ASSERT_EQ(script.seen().size(), 1u) << script.problems();
    expectBox(script.seen()[0], "File not saved", "Save changes?", MB_ICONQUESTION, MB_YESNOCANCEL);

    // Nowhere to save to: the session must not end and take the changes.
    setDocumentPath(makeTestFolder("end-of-session") + "\\missing\\Anna.xml");
    GuiScript failing;
    failing.press("File not saved", IDYES);
    failing.press("Error", IDOK);
    EXPECT_FALSE(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(failing.finished()) << failing.problems();
    EXPECT_TRUE(BiographyDocument.modified);
}

TEST_F(MainWindowClose, DestroyingTheWindowEndsTheMessageLoop)
{
    DestroyWindow(MainWindow);
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        if (message.message == WM_QUIT) quit = message.wParam == 0;
    EXPECT_TRUE(quit);
}

namespace {

// What the status bar shows on screen, pixel by pixel.
std::vector<COLORREF> statusBarPixels()
{
    RECT client;
    GetClientRect(StatusBar, &client);
    HDC screen = GetDC(StatusBar);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(StatusBar, screen);
    return pixels;
}

} // namespace

TEST_F(MainWindowStart, TheStatusBarShowsWhatAFreshPaintShowsAfterTheWindowGrows)
{
    showDocument("", {makeEntry("one", "C")});
    setDocumentPath("C:\\a folder\\Anna.xml");
    showDocumentName();
    RECT frame;
    GetWindowRect(MainWindow, &frame);
    // Widened in steps, as a drag of the window's edge does.
    for (int width = frame.right - frame.left; width <= 900; width += 15) {
        SetWindowPos(MainWindow, NULL, 0, 0, width, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOMOVE);
        pumpMessages();
    }
    pumpFor(100);
    const std::vector<COLORREF> shown = statusBarPixels();
    RedrawWindow(StatusBar, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(shown == statusBarPixels()) << "stale pixels left in the status bar";
}

namespace {

// Every control of the dialog, wholly inside its client area: a button
// reaching below it is cut off, and under some fonts cannot be clicked.
void expectControlsInside(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
        const RECT r = childRect(child);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << windowText(dialog) << ": control " << GetDlgCtrlID(child) << " \""
            << windowText(child) << "\" at " << r.left << "," << r.top << "-" << r.right << ","
            << r.bottom << " in " << client.right << "x" << client.bottom;
    }
}

} // namespace

TEST_F(DialogLayout, EveryControlOfEveryDialogLiesInsideItsClientArea)
{
    showDocument("Life", {makeEntry("Born", "Youth")});
    selectListRow(EntryListView, 0, true);
    // The text dialogs lay themselves out again at any size: also at the
    // 150 pixels their template of 100 units is high in a font of 12-pixel
    // lines.
    const auto check = [](HWND dialog) {
        expectControlsInside(dialog);
        if (windowText(dialog).rfind("Set ", 0) != 0) return;
        RECT frame, client;
        GetWindowRect(dialog, &frame);
        GetClientRect(dialog, &client);
        SetWindowPos(dialog, NULL, 0, 0, frame.right - frame.left,
                     frame.bottom - frame.top - client.bottom + 150, SWP_NOMOVE | SWP_NOZORDER);
        expectControlsInside(dialog);
    };
    struct Row {
        std::string caption;
        int command;      // the menu command that opens it, or
        std::string link; // the entry editor's heading that does
    };
    std::vector<Row> rows = {
        {"Set topic text", IDM_SET_TOPIC, ""}, {"Create new category", IDM_NEW_CATEGORY, ""},
        {"Rename category", IDM_RENAME_CATEGORY, ""}, {"Move to category", IDM_MOVE_TO_CATEGORY, ""},
        {"Find entries", IDM_FIND_ENTRIES, ""}, {"Create new biography file", IDM_NEW_FILE, ""},
        {"Create personality folder", IDM_PERSONALITY_FOLDER, ""}, {"About", IDM_ABOUT, ""},
    };
    for (const EditorHeading &heading : EditorHeadings)
        rows.push_back({&heading == &FilesHeading ? "Associated files" : fieldDialogCaption(heading), 0,
                        headingText(heading)});
    for (const Row &row : rows) {
        SCOPED_TRACE(row.caption);
        GuiScript script;
        if (!row.link.empty()) {
            const std::string link = row.link;
            inEditor(script, [link](HWND editor) {
                expectControlsInside(editor);
                clickLink(editor, rangeOf(link));
            });
        }
        inDialog(script, row.caption, check);
        if (!row.link.empty()) doubleClickRow(0);
        else command(row.command);
        EXPECT_TRUE(script.finished()) << script.problems();
    }
}

#include "mainwindow/main_window.h"

#include <commctrl.h>
#include <string>

#include "../res/resource.h"
#include "version.h"
#include "document/core/biography_document.h"
#include "document/core/document_history.h"
#include "document/document_files.h"
#include "document/recovery_journal_writer.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/outside_open.h"
#include "mainwindow/dialog_controls.h"
#include "mainwindow/topic_line.h"
#include "mainwindow/undo_commands.h"

HWND MainWindow;
HWND StatusBar;
HWND EntryListView;
HWND CategoryTabs;
HWND TopicLine;

namespace {

const char MainWindowClass[] = "myWindowClass";
constexpr int WindowWidth = 735;
constexpr int WindowHeight = 400;

// Menu items greyed while no biography is open, in the order they are greyed.
const int DocumentCommands[] = {
    IDM_SAVE, IDM_SAVE_AS, IDM_ADD_ENTRY, IDM_DELETE_ENTRIES, IDM_SET_TOPIC,
    IDM_VIEW_CODE, IDM_VIEW_CODE_NOTEPAD, IDM_RENAME_CATEGORY, IDM_NEW_CATEGORY,
    IDM_DELETE_CATEGORY, IDM_MOVE_TO_CATEGORY, IDM_OPEN_FOLDER, IDM_FIND_ENTRIES, IDM_FIND_NEXT,
    IDM_EXPORT_WEB_PAGE, IDM_IMPORT_FAMILY_TREE, IDM_EXPORT_FAMILY_TREE,
};

// The child that had the keyboard focus when the window was last left is
// kept in a property of the window, and given the focus whenever the window
// gets it back, as after a dialog, a message box or another program: the
// frame, which takes no keys, would keep it otherwise. The entry list takes
// it before any child had it.
const char FocusedChildProperty[] = "Memorion_Focused_Child";

void rememberFocusedChild(HWND window)
{
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) SetPropA(window, FocusedChildProperty, focus);
}

void restoreFocusedChild(HWND window)
{
    HWND child = static_cast<HWND>(GetPropA(window, FocusedChildProperty));
    if (!child || !IsChild(window, child) || !IsWindowEnabled(child)) child = EntryListView;
    if (child && IsWindowEnabled(child)) SetFocus(child);
}

// The window's own handling activates it and gives it the focus, which its
// WM_SETFOCUS passes on.
LRESULT onActivate(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) rememberFocusedChild(window);
    return DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
}

enum class CommandState { Disabled, Enabled };

void setDocumentCommands(CommandState state)
{
    const BOOL enable = state == CommandState::Enabled;
    for (HWND control : {EntryListView, TopicLine, CategoryTabs})
        if (control) EnableWindow(control, enable);
    if (!MainWindow) return;
    // At start and after Open or New the list could not take the focus
    // back until now.
    if (enable && GetFocus() == MainWindow) restoreFocusedChild(MainWindow);
    HMENU menu = GetMenu(MainWindow);
    for (int id : DocumentCommands)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(MainWindow);
}

// The children's styles, each checked against the number of the design.
constexpr DWORD StatusBarStyle = WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP;
constexpr DWORD EntryListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                 LVS_SHOWSELALWAYS;
constexpr DWORD CategoryTabsStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD TopicLineStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                                 ES_CENTER | ES_AUTOVSCROLL | ES_READONLY | EditBit4000;
static_assert(StatusBarStyle == 0x50000100, "status bar style");
static_assert(EntryListStyle == 0x50810009, "entry list style");
static_assert(CategoryTabsStyle == 0x54000000, "category tabs style");
static_assert(TopicLineStyle == 0x50214845, "topic line style");

HFONT createArial(int height)
{
    return CreateFontA(height, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
}

void setUpStatusBar()
{
    int rightEdges[] = {1024, -1, -1};
    SendMessageA(StatusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(rightEdges));
    SendMessageA(StatusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("v" MEMORION_VERSION_TEXT));
}

void insertPlaceholderTab()
{
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char *>("Category 1");
    SendMessageA(CategoryTabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
}

void createChildren(HWND window)
{
    StatusBar = createDialogControl(window, 0, STATUSCLASSNAMEA, "", StatusBarStyle,
                                    IDC_MAIN_STATUS, 0, 0, 0, 0);
    EntryListView = createDialogControl(window, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                        EntryListStyle, IDC_MAIN_LIST, 0, 10, 200, 500);
    CategoryTabs = createDialogControl(window, WS_EX_CLIENTEDGE, WC_TABCONTROLA, "",
                                       CategoryTabsStyle, IDC_MAIN_TABS, 0, 35, 100, 100);
    TopicLine = createDialogControl(window, WS_EX_CLIENTEDGE, "EDIT", "", TopicLineStyle,
                                    IDC_MAIN_TOPIC, 0, 0, 100, 100);
}

// The fonts live as long as the process, like the window.
void setChildFonts()
{
    SendMessageA(TopicLine, WM_SETFONT, reinterpret_cast<WPARAM>(createArial(21)), TRUE);
    SendMessageA(EntryListView, WM_SETFONT, reinterpret_cast<WPARAM>(createArial(18)), TRUE);
    SendMessageA(CategoryTabs, WM_SETFONT, reinterpret_cast<WPARAM>(createArial(21)), TRUE);
}

LRESULT onCreate(HWND window)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    HANDLE smallIcon = LoadImageA(instance, MAKEINTRESOURCEA(IDI_MEMORION), IMAGE_ICON, 16, 16,
                                  LR_DEFAULTSIZE);
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    BiographyDocument.modified = false;

    createChildren(window);
    setChildFonts();
    addEntryListColumns();
    setUpStatusBar();
    subclassControl(TopicLine, topicLineProc);
    subclassControl(EntryListView, entryListProc);
    subclassControl(CategoryTabs, categoryTabsProc);
    insertPlaceholderTab();
    disableDocumentCommands();
    DragAcceptFiles(window, TRUE);
    return 0;
}

LRESULT onSize(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    int w = client.right, h = client.bottom;
    MoveWindow(CategoryTabs, 0, 35, w + 3, h - 55, TRUE);
    MoveWindow(EntryListView, 7, 70, w - 14, h - 100, TRUE);
    SendMessageA(StatusBar, WM_SIZE, 0, 0);
    // The bar repaints only the strip a wider window adds to it, so what it
    // drew before (the size grip, the file name) would stay or be lost.
    InvalidateRect(StatusBar, NULL, TRUE);
    MoveWindow(TopicLine, 0, 0, w, 30, TRUE);
    return 0;
}

LRESULT onNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
    // A double-click from any child opens the entry of the selected row.
    if (header->code == static_cast<UINT>(NM_DBLCLK)) editSelectedEntry();
    switch (LOWORD(wParam)) {
    case IDC_MAIN_LIST:
        // A refill empties the list: one notification for all its rows
        // rather than one per row.
        if (header->code == static_cast<UINT>(LVN_DELETEALLITEMS)) return TRUE;
        return entryListCustomDraw(lParam);
    case IDC_MAIN_TABS:
        // Only a changed selection changes what the list shows; a click
        // alone brings several other notifications.
        if (header->code == static_cast<UINT>(TCN_SELCHANGE)) refillEntryList(currentCategory());
        return 0;
    }
    return 0;
}

// Once a change has been made: the journal goes when nothing is unsaved,
// and the Edit menu and the caption say what there is.
void onHistoryChanged()
{
    keepJournalWhileUnsaved();
    showDocumentState();
}

} // namespace

void disableDocumentCommands() { setDocumentCommands(CommandState::Disabled); }
void enableDocumentCommands() { setDocumentCommands(CommandState::Enabled); }

void subclassControl(HWND control, WNDPROC procedure)
{
    LONG_PTR previous = SetWindowLongPtrA(control, GWLP_WNDPROC,
                                          reinterpret_cast<LONG_PTR>(procedure));
    SetWindowLongPtrA(control, GWLP_USERDATA, previous);
}

LRESULT callPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_USERDATA));
    return CallWindowProcA(previous, control, message, wParam, lParam);
}

void showContextMenu(HWND control, HMENU menu, LPARAM clientPoint)
{
    POINT at = {static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    ClientToScreen(control, &at);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, control, NULL);
    DestroyMenu(menu);
}

bool registerMainWindowClass(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconA(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = MainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

HWND createMainWindow(HINSTANCE instance)
{
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    int x = desktop.right / 2 - WindowWidth / 2;
    int y = desktop.bottom / 2 - WindowHeight / 2;
    MainWindow = CreateWindowExA(WS_EX_CLIENTEDGE, MainWindowClass, "Memorion",
                                 WS_OVERLAPPEDWINDOW, x, y, WindowWidth, WindowHeight, NULL, NULL,
                                 instance, NULL);
    // While the window was being created MainWindow was still unset, so the
    // menu could not be greyed then.
    disableDocumentCommands();
    setHistoryListener(onHistoryChanged);
    setHistoryRecorder(recordHistoryChange);
    showDocumentState();
    return MainWindow;
}

bool closeMainWindow()
{
    if (!offerToSaveChanges()) return false;
    DestroyWindow(MainWindow);
    return true;
}

void showDocumentName()
{
    const std::string &fileName = BiographyDocument.fileName;
    SendMessageA(StatusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
    showDocumentTitle();
}

void showDocumentTitle()
{
    const Biography &d = BiographyDocument;
    if (!MainWindow || !d.documentLoaded) return;
    const std::string title = "Memorion - " + std::string(d.modified ? "*" : "") + d.fileName;
    SetWindowTextA(MainWindow, title.c_str());
}

void showDocumentState()
{
    showUndoState();
    showDocumentTitle();
}

void showDocument()
{
    rebuildCategoryTabs();
    showDocumentName();
    showCategoryTab(0);
}

void showOpenedDocument(const LoadReport &report)
{
    showDocument();
    reportDroppedContent(report);
}

HWND messageOwner()
{
    HWND active = GetActiveWindow();
    return active ? active : MainWindow;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_SIZE:
        return onSize(window);
    case WM_NOTIFY:
        return onNotify(wParam, lParam);
    case WM_COMMAND:
        dispatchMainCommand(window, LOWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        return onActivate(window, wParam, lParam);
    case WM_SETFOCUS:
        restoreFocusedChild(window);
        return 0;
    case WM_DROPFILES:
        openDroppedFile(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        closeMainWindow();
        return 0;
    case WM_QUERYENDSESSION:
        return offerToSaveChanges() ? TRUE : FALSE;
    case WM_DESTROY:
        // Closed after the offer to save: what is unsaved was let go.
        dropRecoveryJournal();
        RemovePropA(window, FocusedChildProperty);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

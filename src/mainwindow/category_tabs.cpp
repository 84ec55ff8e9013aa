#include "mainwindow/category_tabs.h"

#include <commctrl.h>

#include "../res/resource.h"
#include "document/core/biography_document.h"
#include "mainwindow/category_commands.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

int selectedTabIndex()
{
    return static_cast<int>(SendMessageA(CategoryTabs, TCM_GETCURSEL, 0, 0));
}

int categoryOfTab(int tab)
{
    return categoryShownOnTab(BiographyDocument, tab);
}

int tabOfCategory(int category)
{
    // The rule is its own inverse.
    return categoryOfTab(category);
}

int currentCategory()
{
    return categoryOfTab(selectedTabIndex());
}

void rebuildCategoryTabs()
{
    SendMessageA(CategoryTabs, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < BiographyDocument.categoryCount; ++i) {
        TCITEMA tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char *>(BiographyDocument.categories[i].c_str());
        SendMessageA(CategoryTabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
    }
    // The first tab inserted into an empty control is selected already;
    // this only makes sure, and an unchanged selection notifies no one.
    SendMessageA(CategoryTabs, TCM_SETCURSEL, 0, 0);
}

void showCategoryTab(int tab)
{
    // Selected without a notification, then refilled here: the main window
    // refills on the notification too, and one change is one refill. A tab
    // that is not there leaves the selection as it is.
    SendMessageA(CategoryTabs, TCM_SETCURSEL, tab, 0);
    refillEntryList(currentCategory());
}

void selectCategoryTab(const std::string &name)
{
    // Found in the category list itself rather than in the tab texts, so
    // names of any length are found. The first category of that name is
    // the last tab that shows it.
    const int category = findCategory(name);
    if (category >= 0)
        showCategoryTab(tabOfCategory(category));
    else
        showCategoryTab(selectedTabIndex() >= 0 ? selectedTabIndex() : 0);
}

namespace {

// Name of the selected tab's category; "" when there is none, which names
// no category.
std::string currentCategoryName()
{
    const int category = currentCategory();
    return category >= 0 ? BiographyDocument.categories[category] : std::string();
}

void onTabCommand(int id)
{
    switch (id) {
    case IDM_TAB_DELETE:      deleteCategory(selectedTabIndex()); break;
    case IDM_TAB_ADD:         runNewCategoryDialog(MainWindow); break;
    case IDM_TAB_MOVE_LEFT:   moveCategoryLeft(currentCategoryName()); break;
    case IDM_TAB_MOVE_RIGHT:  moveCategoryRight(currentCategoryName()); break;
    case IDM_RENAME_CATEGORY: runRenameCategoryDialog(MainWindow); break;
    }
}

} // namespace

HMENU buildCategoryTabMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(menu, MF_STRING, IDM_TAB_MOVE_LEFT, "Move left");
    AppendMenuA(menu, MF_STRING, IDM_TAB_MOVE_RIGHT, "Move right");
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(menu, MF_STRING, IDM_TAB_DELETE, "Delete category");
    AppendMenuA(menu, MF_STRING, IDM_RENAME_CATEGORY, "Rename category");
    AppendMenuA(menu, MF_STRING, IDM_TAB_ADD, "Add category");
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    return menu;
}

LRESULT CALLBACK categoryTabsProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_RBUTTONUP:
        // The press went on to the control, which selects nothing on it;
        // the menu's commands act on the tab already selected.
        showContextMenu(tabs, buildCategoryTabMenu(), lParam);
        return 0;
    case WM_COMMAND:
        onTabCommand(LOWORD(wParam));
        return 0;
    }
    return callPreviousProc(tabs, message, wParam, lParam);
}

#include "mainwindow/category_tabs.h"

#include <commctrl.h>

#include "document/biography_document.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

void focusCategoryTab(int tab)
{
    // The focus message, unlike TCM_SETCURSEL, notifies the main window,
    // which refills the list whenever the selection changes.
    SendMessageA(CategoryTabs, TCM_SETCURFOCUS, tab, 0);
}

int selectedCategoryTab()
{
    return static_cast<int>(SendMessageA(CategoryTabs, TCM_GETCURSEL, 0, 0));
}

int currentCategoryIndex()
{
    return BiographyDocument.categoryCount - selectedCategoryTab() - 1;
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
    // The first tab inserted into an empty control becomes the selected
    // one, so the focus message below may change nothing and notify no
    // one; the list must still show the leftmost tab's category.
    if (selectedCategoryTab() == 0)
        refillEntryListForSelectedTab();
    else
        focusCategoryTab(0);
}

void selectCategoryTab(const std::string &name)
{
    // Compared against the category list itself rather than the tab texts,
    // so that names of any length are found. Tab t shows category
    // (count - 1 - t); the first matching category is the last matching tab.
    int category = findCategory(name);
    if (category >= 0)
        focusCategoryTab(BiographyDocument.categoryCount - 1 - category);
    else if (selectedCategoryTab() < 0)
        focusCategoryTab(0);
    refillEntryListForSelectedTab();
}

// The tabs' own context menu comes with the category commands; until then
// the control keeps its standard behaviour.
LRESULT CALLBACK categoryTabsProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam)
{
    return callPreviousProc(tabs, message, wParam, lParam);
}

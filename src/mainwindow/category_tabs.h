// The category tabs: one per category, in reverse list order, so tab t
// shows category (categoryCount - 1 - t).
#pragma once

#include <string>
#include <windows.h>

// One tab per category, the leftmost selected. The list is left as it is:
// callers go on to show a tab, which refills it once.
void rebuildCategoryTabs();

// The category a tab shows, and the tab that shows a category; -1 for one
// that is not there.
int categoryOfTab(int tab);
int tabOfCategory(int category);

// Index of the selected tab, -1 when there is none.
int selectedTabIndex();
// Index in the category list of the selected tab's category, -1 when no
// tab is selected.
int currentCategory();

// Makes `tab` the selected tab and lists its category: exactly one refill
// of the list, whether or not the selection changes.
void showCategoryTab(int tab);
// Shows the tab of the category with exactly this name; when no category
// has it, the selected tab (or the leftmost) is shown instead.
void selectCategoryTab(const std::string &name);

// The tabs' context menu: reorder, delete, rename and add categories.
HMENU buildCategoryTabMenu();
LRESULT CALLBACK categoryTabsProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam);

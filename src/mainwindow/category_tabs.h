// The category tabs: one per category, in reverse list order, so tab t
// shows category (categoryCount - 1 - t).
#pragma once

#include <string>
#include <windows.h>

void rebuildCategoryTabs();
void selectCategoryTab(const std::string &name);
// Selects tab t as the user would, so the main window refills the list.
void focusCategoryTab(int tab);
int selectedCategoryTab();
// Category index shown by the selected tab.
int currentCategoryIndex();

LRESULT CALLBACK categoryTabsProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam);

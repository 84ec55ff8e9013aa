#include "mainwindow/category_commands.h"

#include "document/core/document_edits.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

namespace {

// Moves the category one place in the list and shows its tab.
void moveCategory(const std::string &name, int toward)
{
    const int index = findCategory(name);
    if (!edit::moveCategory(index, toward)) return;
    rebuildCategoryTabs();
    showCategoryTab(tabOfCategory(index + toward));
}

} // namespace

bool addCategory(const std::string &name)
{
    if (!edit::addCategory(name)) return false;
    rebuildCategoryTabs();
    selectCategoryTab(name);
    return true;
}

void renameCategory(int index, const std::string &name)
{
    const int tab = selectedTabIndex();
    edit::renameCategory(index, name);
    rebuildCategoryTabs();
    showCategoryTab(tab);
}

void deleteCategory(int tab)
{
    Biography &d = BiographyDocument;
    const int index = categoryOfTab(tab);
    const std::string name = index >= 0 ? d.categories[index] : "";
    if (name == DefaultCategory && countEntriesInCategory(DefaultCategory) > 0) {
        MessageBoxA(MainWindow, "Cannot delete 'Default' category if it contains entries.", "Error",
                    MB_OK);
        return;
    }
    if (d.categoryCount <= 1) {
        MessageBoxA(MainWindow, "There must be at least one category.", "Error", MB_OK);
        return;
    }
    if (!edit::deleteCategory(index)) return;
    rebuildCategoryTabs();
    selectCategoryTab(DefaultCategory);
}

void moveCategoryLeft(const std::string &name)
{
    moveCategory(name, +1);
}

void moveCategoryRight(const std::string &name)
{
    moveCategory(name, -1);
}

void moveEntriesToCategory(const std::vector<int> &entries, int target)
{
    // One refill for them all: the list ends the same as after one per entry.
    if (edit::moveEntries(entries, target)) refillEntryList(currentCategory());
}

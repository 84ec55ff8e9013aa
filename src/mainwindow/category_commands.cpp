#include "mainwindow/category_commands.h"

#include <utility>

#include "document/core/biography_document.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

namespace {

void renameEntriesOf(const std::string &from, const std::string &to)
{
    Biography &d = BiographyDocument;
    for (int i = 0; i < d.entryCount; ++i)
        if (d.category[i] == from) d.category[i] = to;
}

void removeCategoryAt(int index)
{
    Biography &d = BiographyDocument;
    for (int i = index; i + 1 < d.categoryCount; ++i)
        d.categories[i] = std::move(d.categories[i + 1]);
    d.categories[--d.categoryCount].clear();
}

// Swaps categories `a` and `b` and shows the tab of the one that was at `a`.
void swapCategories(int a, int b)
{
    Biography &d = BiographyDocument;
    std::swap(d.categories[a], d.categories[b]);
    d.modified = true;
    rebuildCategoryTabs();
    showCategoryTab(tabOfCategory(b));
}

} // namespace

bool addCategory(const std::string &name)
{
    if (!appendCategory(name)) return false;
    BiographyDocument.modified = true;
    rebuildCategoryTabs();
    selectCategoryTab(name);
    return true;
}

void renameCategory(int index, const std::string &name)
{
    Biography &d = BiographyDocument;
    const int tab = selectedTabIndex();
    renameEntriesOf(d.categories[index], name);
    d.categories[index] = name;
    d.modified = true;
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
    if (index < 0) return;
    renameEntriesOf(name, DefaultCategory);
    removeCategoryAt(index);
    // A place was just freed, so "Default" always fits.
    if (countEntriesInCategory(DefaultCategory) > 0 && findCategory(DefaultCategory) < 0)
        appendCategory(DefaultCategory);
    d.modified = true;
    rebuildCategoryTabs();
    selectCategoryTab(DefaultCategory);
}

void moveCategoryLeft(const std::string &name)
{
    const int index = findCategory(name);
    if (index < 0 || index == BiographyDocument.categoryCount - 1) return;
    swapCategories(index, index + 1);
}

void moveCategoryRight(const std::string &name)
{
    const int index = findCategory(name);
    if (index <= 0) return;
    swapCategories(index, index - 1);
}

void moveEntriesToCategory(const std::vector<int> &entries, int target)
{
    Biography &d = BiographyDocument;
    if (target < 0 || target >= d.categoryCount) return;
    bool moved = false;
    for (int entry : entries) {
        if (entry < 0 || entry >= d.entryCount || d.category[entry] == d.categories[target])
            continue;
        d.category[entry] = d.categories[target];
        moved = true;
    }
    if (!moved) return;
    d.modified = true;
    // One refill for them all: the list ends the same as after one per entry.
    refillEntryList(currentCategory());
}

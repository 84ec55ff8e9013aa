// The commands that change the category list and move entries between
// categories. Each marks the document as modified when it changes
// something, so that the work is offered for saving like any other.
#pragma once

#include <string>
#include <vector>
#include <windows.h>

// Appends a category and shows its (empty) tab; false when the list is
// full.
bool addCategory(const std::string &name);
// Gives category `index` and all its entries a new name; the selected tab
// stays selected.
void renameCategory(int index, const std::string &name);
// Deletes the category of tab `tab`; its entries go to "Default".
void deleteCategory(int tab);
// Moves the category one tab to the left (later in the list) or right.
void moveCategoryLeft(const std::string &name);
void moveCategoryRight(const std::string &name);
// Puts the given entries into the category with index `target`; -1 moves
// nothing, and entries already there stay as they are.
void moveEntriesToCategory(const std::vector<int> &entries, int target);

void runNewCategoryDialog(HWND owner);
void runRenameCategoryDialog(HWND owner);
void runMoveToCategoryDialog(HWND owner);

// The report list of the entries of one category.
#pragma once

#include <vector>
#include <windows.h>

#include "document/core/biography_document.h"

// Row r of the list shows entry rowEntryIndex[r], in ascending entry order.
extern int rowEntryIndex[MaxEntries];
extern int rowCount;

// The five columns, made once with the list.
void addEntryListColumns();

// Entry index shown in list row `row`, or -1 for a row that is not there.
int entryIndexOfRow(int row);
// Entry indices of the selected rows, in row order.
std::vector<int> selectedEntryIndices();
// The first selected row, or -1.
int firstSelectedRow();
// Entry index of the first selected row, or -1.
int firstSelectedEntryIndex();

// Selects the rows of exactly these entries (ascending; those not listed
// are passed over), the first focused and scrolled into view.
void selectEntriesAlone(const std::vector<int> &entries);

// Lists the entries of the category with this index (none for an index
// that names no category), shows the topic and the entry count, and
// enables the document commands.
void refillEntryList(int categoryIndex);
// Opens the entry editor for the first selected row, if there is one.
void editSelectedEntry();
void addEntry();
void deleteSelectedEntries();

LRESULT entryListCustomDraw(LPARAM lParam);
LRESULT CALLBACK entryListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
// The list's context menu for its current selection.
HMENU buildEntryListMenu();

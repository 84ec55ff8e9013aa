#include "mainwindow/entry_list.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../res/resource.h"
#include "document/core/document_edits.h"
#include "document/core/entry_date.h"
#include "entryedit/entry_editor.h"
#include "mainwindow/category_commands.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/dialog_controls.h"
#include "mainwindow/main_window.h"

int rowEntryIndex[MaxEntries];
int rowCount;

namespace {

// The list's columns: four fields under their labels, then how many files
// an entry names.
struct FieldColumn {
    std::string (Biography::*field)[MaxEntries];
    int width;
};
const FieldColumn FieldColumns[] = {
    {&Biography::title, 200}, {&Biography::entryDate, 110},
    {&Biography::timePeriod, 140}, {&Biography::location, 140},
};
constexpr int FileCountColumn = 4;
constexpr int FileCountWidth = 90;

constexpr COLORREF LightBlue = RGB(150, 185, 237);
constexpr COLORREF DarkBlue = RGB(74, 134, 223);

void setCell(int row, int column, const std::string &text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char *>(text.c_str());
    SendMessageA(EntryListView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void insertRow(int row, int entry)
{
    const Biography &d = BiographyDocument;
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char *>((d.*FieldColumns[0].field)[entry].c_str());
    SendMessageA(EntryListView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column < FileCountColumn; ++column)
        setCell(row, column, (d.*FieldColumns[column].field)[entry]);
    setCell(row, FileCountColumn, std::to_string(countFiles(d.files[entry])));
}

bool hasSelectedRow()
{
    return firstSelectedRow() != -1;
}

void showEntryCount()
{
    const std::string text = "Entries: " + std::to_string(BiographyDocument.entryCount);
    SendMessageA(StatusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(text.c_str()));
}

// The category of the selected tab. A document without categories gets
// "Default", which is where saving and opening it would put the entry
// anyway; adding the entry adds the category, without which it would show
// under no tab.
std::string categoryForNewEntry()
{
    const int category = currentCategory();
    return category >= 0 ? BiographyDocument.categories[category] : DefaultCategory;
}

void onListCommand(int id)
{
    switch (id) {
    case IDM_ADD_ENTRY:      addEntry(); break;
    case IDM_DELETE_ENTRIES: deleteSelectedEntries(); break;
    case IDM_MOVE_TO_CATEGORY: runMoveToCategoryDialog(EntryListView); break;
    }
}

// A selected row is drawn in the highlight colours across all its cells,
// with or without the focus, so that a selection or Find's hit shows among
// the coloured rows. The list would put its own colours over a row marked
// selected (without the focus a face colour close to white), so the mark is
// taken off; and as it paints only the text of a selected title, the rest
// of that cell is filled here.
LRESULT colourSelectedCell(NMLVCUSTOMDRAW &draw)
{
    draw.nmcd.uItemState &= ~CDIS_SELECTED;
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    if (draw.iSubItem == 0) {
        RECT cell = {LVIR_LABEL, 0, 0, 0};
        SendMessageA(draw.nmcd.hdr.hwndFrom, LVM_GETITEMRECT, draw.nmcd.dwItemSpec,
                     reinterpret_cast<LPARAM>(&cell));
        FillRect(draw.nmcd.hdc, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    return CDRF_NEWFONT;
}

LRESULT colourCell(NMLVCUSTOMDRAW &draw)
{
    if (draw.iSubItem < 0 || draw.iSubItem > 5) return 0;
    if (SendMessageA(draw.nmcd.hdr.hwndFrom, LVM_GETITEMSTATE, draw.nmcd.dwItemSpec, LVIS_SELECTED))
        return colourSelectedCell(draw);
    const bool light = draw.iSubItem % 2 == 0;
    draw.clrText = light ? RGB(0, 0, 0) : RGB(255, 255, 255);
    draw.clrTextBk = light ? LightBlue : DarkBlue;
    return CDRF_NEWFONT;
}

} // namespace

void selectEntriesAlone(const std::vector<int> &entries)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(EntryListView, WM_SETREDRAW, FALSE, 0);
    SendMessageA(EntryListView, LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&item));
    int first = -1;
    for (int row = 0; row < rowCount; ++row) {
        if (!std::binary_search(entries.begin(), entries.end(), entryIndexOfRow(row))) continue;
        item.state = first < 0 ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
        SendMessageA(EntryListView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        if (first < 0) first = row;
    }
    SendMessageA(EntryListView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(EntryListView, NULL, TRUE);
    if (first >= 0) SendMessageA(EntryListView, LVM_ENSUREVISIBLE, first, FALSE);
}

void addEntryListColumns()
{
    for (int column = 0; column < FileCountColumn; ++column) {
        const EntryField &field = EntryFields[fieldNumber(FieldColumns[column].field)];
        addListColumn(EntryListView, column, std::string(field.label).c_str(), FieldColumns[column].width);
    }
    addListColumn(EntryListView, FileCountColumn, "File count", FileCountWidth);
}

int entryIndexOfRow(int row)
{
    if (row < 0 || row >= rowCount) return -1;
    return rowEntryIndex[row];
}

std::vector<int> selectedEntryIndices()
{
    std::vector<int> indices;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(EntryListView, LVM_GETNEXTITEM, row,
                                                LVNI_SELECTED))) != -1) {
        int entry = entryIndexOfRow(row);
        if (entry >= 0) indices.push_back(entry);
    }
    return indices;
}

int firstSelectedRow()
{
    return static_cast<int>(SendMessageA(EntryListView, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

int firstSelectedEntryIndex()
{
    return entryIndexOfRow(firstSelectedRow());
}

void refillEntryList(int categoryIndex)
{
    const Biography &d = BiographyDocument;
    SetWindowTextA(TopicLine, d.topic.c_str());
    showEntryCount();
    enableDocumentCommands();

    // Drawing is held back while the rows go in; a thousand inserts would
    // otherwise repaint a thousand times.
    SendMessageA(EntryListView, WM_SETREDRAW, FALSE, 0);
    SendMessageA(EntryListView, LVM_DELETEALLITEMS, 0, 0);
    const std::vector<int> listed = entriesOnTab(d, tabOfCategory(categoryIndex));
    rowCount = static_cast<int>(listed.size());
    for (int row = 0; row < rowCount; ++row) {
        rowEntryIndex[row] = listed[row];
        insertRow(row, listed[row]);
    }
    SendMessageA(EntryListView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(EntryListView, NULL, TRUE);
}

void editSelectedEntry()
{
    if (hasSelectedRow()) runEntryEditor(MainWindow);
}

void addEntry()
{
    Biography &d = BiographyDocument;
    if (!d.documentLoaded) return;
    if (d.entryCount >= MaxEntries) {
        const std::string text = "This biography already holds " + std::to_string(MaxEntries) +
                                 " entries, as many as Memorion can keep.\nNo entry was added.";
        MessageBoxA(MainWindow, text.c_str(), "Error", MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    Entry entry;
    entry.title = "New entry";
    entry.entryDate = todayAsDayMonthYear();
    entry.category = categoryForNewEntry();
    const int categories = d.categoryCount;
    if (!edit::addEntry(entry)) return;
    if (d.categoryCount != categories) rebuildCategoryTabs();
    selectCategoryTab(entry.category);
    // Selected alone and scrolled into view: the user goes on with it, at
    // the end of what may be a long list.
    selectEntriesAlone({d.entryCount - 1});
}

void deleteSelectedEntries()
{
    if (MessageBoxA(MainWindow, "Delete selected?", "Delete entries?",
                    MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;
    std::vector<int> doomed = selectedEntryIndices();
    if (doomed.empty()) return;
    // Rows are in ascending entry order, so the indices already are.
    // Categories stay, even emptied ones, so the tabs do too.
    edit::deleteEntries(doomed);
    showCategoryTab(selectedTabIndex());
}

LRESULT entryListCustomDraw(LPARAM lParam)
{
    const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
    if (header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return 0;
    NMLVCUSTOMDRAW *draw = reinterpret_cast<NMLVCUSTOMDRAW *>(lParam);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        return colourCell(*draw);
    }
    return 0;
}

HMENU buildEntryListMenu()
{
    const bool rowsSelected = hasSelectedRow();
    HMENU menu = CreatePopupMenu();
    if (rowsSelected) {
        AppendMenuA(menu, MF_STRING, IDM_DELETE_ENTRIES, "Delete selected entries(s)");
        AppendMenuA(menu, MF_STRING, IDM_MOVE_TO_CATEGORY, "Change category");
    }
    AppendMenuA(menu, MF_STRING, IDM_ADD_ENTRY, "Add entry");
    if (rowsSelected) AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    return menu;
}

LRESULT CALLBACK entryListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        // The list's own keys (arrows, Home, End, pages) are not wanted.
        if (wParam == VK_DELETE) deleteSelectedEntries();
        if (wParam == VK_RETURN) editSelectedEntry();
        return 0;
    case WM_COMMAND:
        onListCommand(LOWORD(wParam));
        return 0;
    case WM_RBUTTONDOWN:
        // Not passed on, so a right click does not change the selection.
        showContextMenu(list, buildEntryListMenu(), lParam);
        return 0;
    }
    return callPreviousProc(list, message, wParam, lParam);
}

// Times the entry list on a full document under the real window:
// refilling 1024 rows, deleting 1000 of 1024 selected rows, moving them
// to another category, and an F3 that searches a 10 MB document and lists
// another tab, each against refilling an empty list. Run by hand; prints
// milliseconds.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <functional>

#include "document/core/biography_document.h"
#include "gui_harness.h"
#include "mainwindow/category_commands.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/find_entries.h"
#include "mainwindow/main_window.h"
#include "../res/resource.h"

namespace {

double milliseconds(const std::function<void()> &work)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

void fillDocument(int entries)
{
    resetDocument();
    Biography &d = BiographyDocument;
    for (int i = 0; i < entries; ++i)
        appendEntry("Entry " + std::to_string(i), "01/02/03", "youth", "Leeds", "detail", "",
                    "\"C:\\a.jpg\"", "Life");
    if (entries == 0) {
        d.categoryCount = 1;
        d.categories[0] = "Life";
    } else {
        rebuildCategories();
    }
    d.documentLoaded = true;
    showDocument();
    pumpMessages();
}

double median(double a, double b, double c)
{
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

double timeRefill(int entries)
{
    fillDocument(entries);
    double runs[3];
    for (double &run : runs) run = milliseconds([] { refillEntryList(0); pumpMessages(); });
    return median(runs[0], runs[1], runs[2]);
}

double timeDelete()
{
    double runs[3];
    for (double &run : runs) {
        fillDocument(MaxEntries);
        for (int r = 0; r < 1000; ++r) selectListRow(EntryListView, r, true);
        GuiScript script;
        script.press("Delete entries?", IDYES);
        run = milliseconds([] {
            deleteSelectedEntries();
            pumpMessages();
        });
        if (BiographyDocument.entryCount != MaxEntries - 1000) std::printf("delete went wrong\n");
    }
    return median(runs[0], runs[1], runs[2]);
}

double timeMove()
{
    double runs[3];
    for (double &run : runs) {
        fillDocument(MaxEntries);
        appendCategory("Elsewhere");
        rebuildCategoryTabs();
        showCategoryTab(1); // "Life"
        for (int r = 0; r < 1000; ++r) selectListRow(EntryListView, r, true);
        run = milliseconds([] {
            moveEntriesToCategory(selectedEntryIndices(), findCategory("Elsewhere"));
            pumpMessages();
        });
        if (countEntriesInCategory("Elsewhere") != 1000) std::printf("move went wrong\n");
    }
    return median(runs[0], runs[1], runs[2]);
}

// The slowest F3 there is: from the one entry of the leftmost tab through
// 1023 entries of about 10 kB each to the last of them, on the next tab,
// which is then listed whole.
double timeFindNextOnAnotherTab()
{
    resetDocument();
    std::string detail;
    for (int line = 0; detail.size() < 9600; ++line)
        detail += "the family moved to Leeds in spring, letters from Anna " + std::to_string(line) + "\r\n";
    for (int i = 0; i < MaxEntries - 1; ++i)
        appendEntry("Entry " + std::to_string(i), "01/02/03", "youth", "Leeds", detail, "bees",
                    "\"C:\\a.jpg\"", "Life");
    BiographyDocument.title[MaxEntries - 2] = "Arrival in Lisbon";
    appendEntry("Alone", "", "", "", "", "", "", "Elsewhere");
    rebuildCategories(); // tabs: Elsewhere, Life
    BiographyDocument.documentLoaded = true;
    showDocument();
    pumpMessages();

    GuiScript script;
    script.onDialog("Find entries", [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, "lisbon");
        clickButton(dialog, IDOK);
        clickButton(dialog, IDCANCEL);
    });
    SendMessageA(MainWindow, WM_COMMAND, IDM_FIND_ENTRIES, 0);
    pumpMessages();
    if (script.seen().empty()) std::printf("no Find dialog\n");
    double runs[3];
    for (double &run : runs) {
        showCategoryTab(0);
        selectListRow(EntryListView, 0, true);
        run = milliseconds([] {
            SendMessageA(MainWindow, WM_COMMAND, IDM_FIND_NEXT, 0);
            pumpMessages();
        });
        if (selectedTab(CategoryTabs) != 1 || !listRowSelected(EntryListView, MaxEntries - 2))
            std::printf("find went wrong: tab %d, row %d selected\n", selectedTab(CategoryTabs),
                        static_cast<int>(SendMessageA(EntryListView, LVM_GETNEXTITEM, -1, LVNI_SELECTED)));
    }
    return median(runs[0], runs[1], runs[2]);
}

} // namespace

int main()
{
    registerMainWindowClass(GetModuleHandleA(NULL));
    createMainWindow(GetModuleHandleA(NULL));
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    pumpMessages();

    const double empty = timeRefill(0);
    const double full = timeRefill(MaxEntries);
    const double deletion = timeDelete();
    const double move = timeMove();
    const double find = timeFindNextOnAnotherTab();
    std::printf("refill, empty list:          %8.2f ms\n", empty);
    std::printf("refill, 1024 entries:        %8.2f ms  (%.0fx empty)\n", full, full / empty);
    std::printf("delete 1000 of 1024 entries: %8.2f ms  (%.0fx empty, %.1fx full refill)\n",
                deletion, deletion / empty, deletion / full);
    std::printf("move 1000 of 1024 entries:   %8.2f ms  (%.0fx empty, %.1fx full refill)\n", move,
                move / empty, move / full);
    std::printf("F3 over 10 MB to another tab: %8.2f ms  (%.0fx empty, %.1fx full refill)\n", find,
                find / empty, find / full);
    BiographyDocument.modified = false;
    DestroyWindow(MainWindow);
    return 0;
}

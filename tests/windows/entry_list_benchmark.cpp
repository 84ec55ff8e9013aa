// Times the entry list on a full document under the real window:
// refilling 1024 rows, deleting 1000 of 1024 selected rows and moving them
// to another category, each against refilling an empty list. Run by hand;
// prints milliseconds.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <functional>

#include "document/biography_document.h"
#include "gui_harness.h"
#include "mainwindow/category_commands.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

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
    std::printf("refill, empty list:          %8.2f ms\n", empty);
    std::printf("refill, 1024 entries:        %8.2f ms  (%.0fx empty)\n", full, full / empty);
    std::printf("delete 1000 of 1024 entries: %8.2f ms  (%.0fx empty, %.1fx full refill)\n",
                deletion, deletion / empty, deletion / full);
    std::printf("move 1000 of 1024 entries:   %8.2f ms  (%.0fx empty, %.1fx full refill)\n", move,
                move / empty, move / full);
    BiographyDocument.modified = false;
    DestroyWindow(MainWindow);
    return 0;
}

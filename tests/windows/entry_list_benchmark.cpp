// Times the entry list on a full document under the real window:
// refilling 1024 rows, deleting 1000 of 1024 selected rows and undoing and
// redoing that, moving them
// to another category, and an F3 that searches a 10 MB document and lists
// another tab, each against refilling an empty list; and what the recovery
// journal adds: the delete's step as the first change, which starts the
// journal, its record against the text it deletes, and a field edit
// recorded. Run by hand; prints milliseconds.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <functional>

#include "document/core/biography_document.h"
#include "document/core/biography_writer.h"
#include "document/core/document_edits.h"
#include "document/core/document_history.h"
#include "document/core/recovery_journal.h"
#include "document/recovery_files.h"
#include "gui_harness.h"
#include "mainwindow/category_commands.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/find_entries.h"
#include "mainwindow/main_window.h"
#include "mainwindow/undo_commands.h"
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
    startHistory();
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

struct DeleteTimes {
    double remove, undo, redo;
};

// Deleting 1000 of 1024 selected rows, undoing it (the rows come back
// selected) and redoing it.
DeleteTimes timeDeleteUndoRedo()
{
    double removal[3], undo[3], redo[3];
    for (int run = 0; run < 3; ++run) {
        fillDocument(MaxEntries);
        for (int r = 0; r < 1000; ++r) selectListRow(EntryListView, r, true);
        // From the answer on: the question waits for the script's timer.
        LARGE_INTEGER answered = {}, done, frequency;
        GuiScript script;
        script.onMessage("Delete selected?", [&answered](HWND box) {
            QueryPerformanceCounter(&answered);
            clickButton(box, IDYES);
        });
        deleteSelectedEntries();
        pumpMessages();
        QueryPerformanceCounter(&done);
        QueryPerformanceFrequency(&frequency);
        removal[run] = 1000.0 * (done.QuadPart - answered.QuadPart) / frequency.QuadPart;
        if (BiographyDocument.entryCount != MaxEntries - 1000) std::printf("delete went wrong\n");
        undo[run] = milliseconds([] {
            undoLastStep();
            pumpMessages();
        });
        if (BiographyDocument.entryCount != MaxEntries || !listRowSelected(EntryListView, 999) ||
            listRowSelected(EntryListView, 1000))
            std::printf("undo went wrong\n");
        redo[run] = milliseconds([] {
            redoNextStep();
            pumpMessages();
        });
        if (BiographyDocument.entryCount != MaxEntries - 1000) std::printf("redo went wrong\n");
    }
    return {median(removal[0], removal[1], removal[2]), median(undo[0], undo[1], undo[2]),
            median(redo[0], redo[1], redo[2])};
}

// The journals go to a folder of the benchmark's own, emptied first.
std::wstring journalFolder;
bool benchmarkJournals(std::wstring &folder)
{
    folder = journalFolder;
    return CreateDirectoryW(folder.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

struct JournalFigures {
    double deleteStep, editMiddle, editSlowest, flushMiddle;
    size_t record, deletedText;
};

double middleOf51(const std::function<void(int)> &work, double *slowest = nullptr)
{
    std::vector<double> runs;
    for (int i = 0; i < 51; ++i) runs.push_back(milliseconds([&] { work(i); }));
    std::sort(runs.begin(), runs.end());
    if (slowest) *slowest = runs.back();
    return runs[25];
}

JournalFigures timeJournal()
{
    JournalFigures f = {};
    for (const std::wstring &name : journalsIn(journalFolder, L"")) DeleteFileW(name.c_str());
    fillDocument(MaxEntries);
    for (int r = 0; r < 1000; ++r) selectListRow(EntryListView, r, true);
    const size_t start = journalStart("", nullptr, biographyFileBytes(BiographyDocument)).size();
    for (int e = 0; e < 1000; ++e)
        for (const EntryField &field : EntryFields) f.deletedText += (BiographyDocument.*field.column)[e].size();
    f.deleteStep = milliseconds([] {
        edit::deleteEntries(selectedEntryIndices());
        showCategoryTab(selectedTabIndex());
        pumpMessages();
    });
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(journalsIn(journalFolder, L"").at(0).c_str(), GetFileExInfoStandard, &data);
    f.record = data.nFileSizeLow - start;
    const int detail = fieldNumber(&Biography::detail);
    f.editMiddle = middleOf51([detail](int i) { edit::setField(i, detail, "A detail " + std::to_string(i)); },
                              &f.editSlowest);
    std::wstring name;
    HANDLE file = createJournal(journalFolder, "flush", name);
    f.flushMiddle = middleOf51([file](int) { appendToJournal(file, std::string(40, 'x')); });
    deleteJournal(file, name);
    return f;
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
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    journalFolder = std::wstring(temp) + L"memorion-benchmark-journals";
    findRecoveryFolder = benchmarkJournals;
    registerMainWindowClass(GetModuleHandleA(NULL));
    createMainWindow(GetModuleHandleA(NULL));
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    pumpMessages();

    const double empty = timeRefill(0);
    const double full = timeRefill(MaxEntries);
    const DeleteTimes deletion = timeDeleteUndoRedo();
    const double move = timeMove();
    const double find = timeFindNextOnAnotherTab();
    const JournalFigures journal = timeJournal();
    std::printf("refill, empty list:          %8.2f ms\n", empty);
    std::printf("refill, 1024 entries:        %8.2f ms  (%.0fx empty)\n", full, full / empty);
    std::printf("delete 1000 of 1024 entries: %8.2f ms  (%.0fx empty, %.1fx full refill)\n",
                deletion.remove, deletion.remove / empty, deletion.remove / full);
    std::printf("  its step as the first change: %5.2f ms  (%.1fx full refill, journal started and written)\n",
                journal.deleteStep, journal.deleteStep / full);
    std::printf("  its journal record:        %8zu bytes (the text deleted: %zu bytes)\n", journal.record,
                journal.deletedText);
    std::printf("undo that delete:            %8.2f ms  (%.0fx empty, %.1fx full refill)\n",
                deletion.undo, deletion.undo / empty, deletion.undo / full);
    std::printf("redo that delete:            %8.2f ms  (%.0fx empty, %.1fx full refill)\n",
                deletion.redo, deletion.redo / empty, deletion.redo / full);
    std::printf("move 1000 of 1024 entries:   %8.2f ms  (%.0fx empty, %.1fx full refill)\n", move,
                move / empty, move / full);
    std::printf("F3 over 10 MB to another tab: %8.2f ms  (%.0fx empty, %.1fx full refill)\n", find,
                find / empty, find / full);
    std::printf("field edit, journal written: %8.2f ms  (slowest of 51: %.2f ms; 40 bytes written and\n"
                "                                        flushed alone: %.2f ms)\n",
                journal.editMiddle, journal.editSlowest, journal.flushMiddle);
    BiographyDocument.modified = false;
    DestroyWindow(MainWindow);
    return 0;
}

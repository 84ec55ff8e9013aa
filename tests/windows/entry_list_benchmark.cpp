// Times the entry list on a full document under the real window:
// refilling 1024 rows, deleting 1000 of 1024 selected rows and undoing and
// redoing that, moving them
// to another category, and an F3 that searches a 10 MB document and lists
// another tab, each against refilling an empty list; and what the recovery
// journal adds: the delete's record against the text it deletes, and the
// time to record a field edit. Run by hand; prints milliseconds.
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

// The journals go to a folder of the benchmark's own.
std::wstring journalFolder;
bool benchmarkJournals(std::wstring &folder)
{
    folder = journalFolder;
    return CreateDirectoryW(folder.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

size_t journalBytes()
{
    size_t total = 0;
    for (const std::wstring &name : journalsIn(journalFolder, L"")) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) total += data.nFileSizeLow;
    }
    return total;
}

size_t entryTextBytes(int entries)
{
    size_t bytes = 0;
    for (int e = 0; e < entries; ++e)
        for (const EntryField &field : EntryFields) bytes += (BiographyDocument.*field.column)[e].size();
    return bytes;
}

struct DeleteTimes {
    double remove, undo, redo;
    size_t record, deletedText;
};

// Deleting 1000 of 1024 selected rows, undoing it (the rows come back
// selected) and redoing it.
DeleteTimes timeDeleteUndoRedo()
{
    double removal[3], undo[3], redo[3];
    size_t record = 0, text = 0;
    for (int run = 0; run < 3; ++run) {
        fillDocument(MaxEntries);
        for (int r = 0; r < 1000; ++r) selectListRow(EntryListView, r, true);
        // The delete is the first change: it starts the journal.
        const size_t startBytes = journalStart("", nullptr, biographyFileBytes(BiographyDocument)).size();
        const size_t deletedText = entryTextBytes(1000);
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
        record = journalBytes() - startBytes;
        text = deletedText;
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
            median(redo[0], redo[1], redo[2]), record, text};
}

// The delete as the answer Yes starts it: its step, which starts the
// journal with the document's bytes and writes its record, and the refill.
double timeDeleteStep()
{
    double runs[3];
    for (double &run : runs) {
        fillDocument(MaxEntries);
        for (int r = 0; r < 1000; ++r) selectListRow(EntryListView, r, true);
        run = milliseconds([] {
            edit::deleteEntries(selectedEntryIndices());
            showCategoryTab(selectedTabIndex());
            pumpMessages();
        });
    }
    return median(runs[0], runs[1], runs[2]);
}

struct Middle {
    double middle, slowest;
};

Middle middleOf51(const std::function<void(int)> &work)
{
    std::vector<double> runs;
    for (int i = 0; i < 51; ++i) runs.push_back(milliseconds([&] { work(i); }));
    std::sort(runs.begin(), runs.end());
    return {runs[25], runs.back()};
}

// A field edit once the journal is there, with it and without; and a
// small record written and flushed alone, which is the disk's part.
void timeFieldEdits(Middle &journalled, Middle &plain, Middle &flush)
{
    fillDocument(MaxEntries);
    edit::setTopic("journal started");
    const int detail = fieldNumber(&Biography::detail);
    const auto editDetail = [detail](int i) { edit::setField(i, detail, "A new detail, " + std::to_string(i)); };
    journalled = middleOf51(editDetail);
    const HistoryRecorder recorder = setHistoryRecorder(nullptr);
    plain = middleOf51([&](int i) { editDetail(i + 100); });
    setHistoryRecorder(recorder);
    std::wstring name;
    HANDLE file = createJournal(journalFolder, "flush", name);
    flush = middleOf51([file](int) { appendToJournal(file, std::string(40, 'x')); });
    deleteJournal(file, name);
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
    for (const std::wstring &name : journalsIn(journalFolder, L"")) DeleteFileW(name.c_str());
    registerMainWindowClass(GetModuleHandleA(NULL));
    createMainWindow(GetModuleHandleA(NULL));
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    pumpMessages();

    const double empty = timeRefill(0);
    const double full = timeRefill(MaxEntries);
    const DeleteTimes deletion = timeDeleteUndoRedo();
    const double move = timeMove();
    const double find = timeFindNextOnAnotherTab();
    const double deleteStep = timeDeleteStep();
    Middle journalled, plain, flush;
    timeFieldEdits(journalled, plain, flush);
    std::printf("refill, empty list:          %8.2f ms\n", empty);
    std::printf("refill, 1024 entries:        %8.2f ms  (%.0fx empty)\n", full, full / empty);
    std::printf("delete 1000 of 1024 entries: %8.2f ms  (%.0fx empty, %.1fx full refill)\n",
                deletion.remove, deletion.remove / empty, deletion.remove / full);
    std::printf("  its step and refill alone: %8.2f ms  (%.1fx full refill; the journal started with it)\n",
                deleteStep, deleteStep / full);
    std::printf("  its journal record:        %8zu bytes (the text deleted: %zu bytes)\n", deletion.record,
                deletion.deletedText);
    std::printf("undo that delete:            %8.2f ms  (%.0fx empty, %.1fx full refill)\n",
                deletion.undo, deletion.undo / empty, deletion.undo / full);
    std::printf("redo that delete:            %8.2f ms  (%.0fx empty, %.1fx full refill)\n",
                deletion.redo, deletion.redo / empty, deletion.redo / full);
    std::printf("move 1000 of 1024 entries:   %8.2f ms  (%.0fx empty, %.1fx full refill)\n", move,
                move / empty, move / full);
    std::printf("F3 over 10 MB to another tab: %8.2f ms  (%.0fx empty, %.1fx full refill)\n", find,
                find / empty, find / full);
    std::printf("field edit, journal written: %8.2f ms  (slowest of 51: %.2f ms)\n", journalled.middle,
                journalled.slowest);
    std::printf("  without a journal:         %8.2f ms  (slowest of 51: %.2f ms)\n", plain.middle, plain.slowest);
    std::printf("  40 bytes written, flushed: %8.2f ms  (slowest of 51: %.2f ms)\n", flush.middle, flush.slowest);
    BiographyDocument.modified = false;
    DestroyWindow(MainWindow);
    return 0;
}

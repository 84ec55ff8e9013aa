#include "soak_checks.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <vector>

#include "../res/resource.h"
#include "document/core/biography_reader.h"
#include "document/core/utf8_text.h"
#include "document/system_code_pages.h"
#include "editor_steps.h"
#include "entryedit/associated_files_dialog.h"
#include "entryedit/editor_headings.h"
#include "mainwindow/entry_list.h"
#include "gui_harness.h"
#include "mainwindow/main_window.h"

namespace {

// Values go into failure reports cut short.
std::string quote(const std::string &value)
{
    const size_t shown = 60;
    std::string text = value.substr(0, shown);
    for (char &c : text)
        if (c == '\r' || c == '\n') c = '|';
    return "\"" + text + (value.size() > shown ? "...\"" : "\"") + " (" +
           std::to_string(value.size()) + " bytes)";
}

std::string fieldName(const EntryField &field)
{
    return std::string(field.openTag.substr(1, field.openTag.size() - 2));
}

bool isFilesField(const EntryField &field)
{
    return field.value == &Entry::files;
}

std::string valueDifference(const EntryField &field, const std::string &a, const std::string &b,
                            Compare how)
{
    if (how == Compare::AsShown && isFilesField(field)) {
        if (listedFiles(a) == listedFiles(b)) return "";
    } else if (a == b) {
        return "";
    }
    return fieldName(field) + " " + quote(a) + " against " + quote(b);
}

std::string entriesDifference(const Biography &a, const Biography &b, Compare how)
{
    if (a.entryCount != b.entryCount)
        return "entry count " + std::to_string(a.entryCount) + " against " +
               std::to_string(b.entryCount);
    for (int e = 0; e < a.entryCount; ++e)
        for (const EntryField &field : EntryFields) {
            const std::string difference =
                valueDifference(field, (a.*field.column)[e], (b.*field.column)[e], how);
            if (!difference.empty()) return "entry " + std::to_string(e) + ": " + difference;
        }
    return "";
}

std::string firstRowDifference()
{
    const Biography &d = BiographyDocument;
    const int tab = selectedTab(CategoryTabs);
    std::vector<int> entries;
    if (tab >= 0 && tab < d.categoryCount) {
        const std::string &name = d.categories[d.categoryCount - 1 - tab];
        for (int e = 0; e < d.entryCount; ++e)
            if (d.category[e] == name) entries.push_back(e);
    } else if (d.categoryCount > 0) {
        return "no tab selected among " + std::to_string(d.categoryCount);
    }
    if (listRowCount(EntryListView) != static_cast<int>(entries.size()))
        return "the list shows " + std::to_string(listRowCount(EntryListView)) + " rows, not " +
               std::to_string(entries.size());
    // A cell is read through a buffer of 256 bytes, whose last one Windows
    // keeps for the terminator and Wine fills; a character that does not fit
    // whole is left out.
    auto cutShort = [](const std::string &shown, const std::string &value) {
        if (shown.size() > 256 || value.compare(0, shown.size(), shown) != 0) return false;
        if (shown.size() == value.size()) return true;
        char32_t next;
        return shown.size() + std::max<size_t>(decodeUtf8(std::string_view(value).substr(shown.size()), next), 1) > 255;
    };
    for (size_t r = 0; r < entries.size(); ++r) {
        const int e = entries[r];
        const std::string expected[] = {d.title[e], d.entryDate[e], d.timePeriod[e], d.location[e],
                                        std::to_string(countFiles(d.files[e]))};
        for (int column = 0; column < 5; ++column) {
            const std::string shown = listCell(EntryListView, static_cast<int>(r), column);
            if (!cutShort(shown, expected[column]))
                return "row " + std::to_string(r) + " column " + std::to_string(column) +
                       " shows " + quote(shown) + " for entry " + std::to_string(e) + "'s " +
                       quote(expected[column]);
        }
    }
    return "";
}

} // namespace

std::string documentDifference(const Biography &a, const Biography &b, Compare how)
{
    if (a.topic != b.topic) return "topic " + quote(a.topic) + " against " + quote(b.topic);
    if (a.categoryCount != b.categoryCount)
        return "category count " + std::to_string(a.categoryCount) + " against " +
               std::to_string(b.categoryCount);
    for (int i = 0; i < a.categoryCount; ++i)
        if (a.categories[i] != b.categories[i])
            return "category " + std::to_string(i) + " " + quote(a.categories[i]) + " against " +
                   quote(b.categories[i]);
    return entriesDifference(a, b, how);
}

std::unique_ptr<Biography> copyOfDocument()
{
    std::unique_ptr<Biography> copy(new Biography);
    const Biography &d = BiographyDocument;
    copy->topic = d.topic;
    copy->categoryCount = d.categoryCount;
    for (int i = 0; i < d.categoryCount; ++i) copy->categories[i] = d.categories[i];
    copy->entryCount = d.entryCount;
    for (const EntryField &field : EntryFields)
        for (int e = 0; e < d.entryCount; ++e) ((*copy).*field.column)[e] = (d.*field.column)[e];
    return copy;
}

std::unique_ptr<Biography> readBiography(const std::string &fileBytes)
{
    // The reader fills the one document; the open document waits aside
    // meanwhile and comes back untouched.
    std::unique_ptr<Biography> read(new Biography);
    const bool loaded = BiographyDocument.documentLoaded;
    swapContents(BiographyDocument, *read);
    const DecodedFile file = decodeBiographyFile(fileBytes, systemTextCodePages());
    file.load();
    swapContents(BiographyDocument, *read);
    read->fileIsUtf8 = file.readAsUtf8;
    BiographyDocument.documentLoaded = loaded;
    return read;
}

std::string brokenLimit()
{
    const Biography &d = BiographyDocument;
    if (d.entryCount < 0 || d.entryCount > MaxEntries)
        return "the document holds " + std::to_string(d.entryCount) + " entries";
    if (d.categoryCount < 0 || d.categoryCount > MaxCategories)
        return "the document holds " + std::to_string(d.categoryCount) + " categories";
    std::set<std::string> names;
    for (int i = 0; i < d.categoryCount; ++i)
        if (!names.insert(d.categories[i]).second)
            return "the category " + quote(d.categories[i]) + " is listed twice";
    return "";
}

std::string mainWindowDifference()
{
    const Biography &d = BiographyDocument;
    if (!IsWindow(MainWindow)) return "the main window is gone";
    if (menuItemGreyed(MainWindow, IDM_SAVE) == d.documentLoaded)
        return std::string("\"Save\" is ") + (d.documentLoaded ? "greyed" : "enabled");
    if (!d.documentLoaded) return "";
    std::vector<std::string> tabs;
    for (int i = d.categoryCount - 1; i >= 0; --i) tabs.push_back(d.categories[i]);
    if (tabTexts(CategoryTabs) != tabs)
        return "the tabs show " + std::to_string(tabTexts(CategoryTabs).size()) +
               " names that are not the " + std::to_string(tabs.size()) + " categories";
    const std::string rows = firstRowDifference();
    if (!rows.empty()) return rows;
    if (windowText(TopicLine) != d.topic)
        return "the topic line shows " + quote(windowText(TopicLine)) + ", not " + quote(d.topic);
    if (windowText(MainWindow) != "Memorion - " + std::string(d.modified ? "*" : "") + d.fileName)
        return "the caption reads " + quote(windowText(MainWindow));
    if (statusText(StatusBar, 0) != d.fileName)
        return "the status bar shows " + quote(statusText(StatusBar, 0));
    return "";
}

std::string editMenuDifference(const std::string &undoStep, const std::string &redoStep)
{
    struct Item { int id; const char *verb, *keys; const std::string &step; };
    for (const Item &item : {Item{IDM_UNDO, "&Undo", "Ctrl+Z", undoStep}, Item{IDM_REDO, "&Redo", "Ctrl+Y", redoStep}}) {
        const std::string expected = item.verb + (item.step.empty() ? "" : " " + item.step) + "\t" + item.keys;
        const std::string shown = menuItemText(MainWindow, item.id);
        if (shown != expected || menuItemGreyed(MainWindow, item.id) != item.step.empty())
            return "the menu shows " + quote(shown) + (menuItemGreyed(MainWindow, item.id) ? " greyed" : "") +
                   " where the history " + (item.step.empty() ? "has nothing for it" : "holds " + quote(item.step));
    }
    return "";
}

std::string expectedEditorText(int entry, std::vector<long> *linkStarts)
{
    // The control keeps one "\r" for every line break it is given.
    auto shown = [](const std::string &value) {
        std::string text;
        for (size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
            text += value[i] == '\n' ? '\r' : value[i];
        }
        return text;
    };
    const Biography &d = BiographyDocument;
    std::string text;
    long units = 0; // the control's count of characters
    auto add = [&](const std::string &piece) {
        text += piece;
        units += static_cast<long>(wide(piece).size());
    };
    auto linkStartsHere = [&] {
        if (linkStarts) linkStarts->push_back(units);
    };
    for (const EditorHeading &heading : EditorHeadings) {
        linkStartsHere();
        add(headingText(heading) + "\r");
        if (&heading != &FilesHeading) add(shown((d.*heading.column)[entry]) + "\r\r");
    }
    for (const std::string &path : listedFiles((d.*FilesHeading.column)[entry])) {
        linkStartsHere();
        add(shown(path) + "\r");
    }
    return text;
}

std::string editorDifference()
{
    const int entry = firstSelectedEntryIndex();
    if (entry < 0) return "the entry editor is open with no row selected";
    const std::string shown = editorText(), expected = expectedEditorText(entry);
    if (shown == expected) return "";
    size_t at = 0;
    while (at < shown.size() && at < expected.size() && shown[at] == expected[at]) ++at;
    return "the entry editor shows " + quote(shown.substr(at)) + " at character " +
           std::to_string(at) + " where entry " + std::to_string(entry) + " has " +
           quote(expected.substr(at));
}

std::string fileListDifference()
{
    const int rows = listRowCount(FileListView);
    if (rows != static_cast<int>(workingFiles.size()))
        return "the files dialog lists " + std::to_string(rows) + " files, not " +
               std::to_string(workingFiles.size());
    for (int r = 0; r < rows; ++r)
        if (listCell(FileListView, r, 0) != workingFiles[r])
            return "the files dialog lists " + quote(listCell(FileListView, r, 0)) + " in row " +
                   std::to_string(r) + " for " + quote(workingFiles[r]);
    return "";
}

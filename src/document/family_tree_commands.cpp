#include "document/family_tree_commands.h"

#include <memory>
#include <new>
#include <string>

#include "document/core/document_edits.h"
#include "document/core/gedcom_export.h"
#include "document/core/gedcom_import.h"
#include "document/file_dialogs.h"
#include "document/file_replacement.h"
#include "document/memory_text.h"
#include "document/person_dialog.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

namespace {

const char ImportCaption[] = "Import from family tree";
const char ExportCaption[] = "Export as family tree";

// Family trees of a whole clan run to tens of megabytes; beyond this a
// file is no family tree anyone keeps.
constexpr DWORD LargestFamilyTree = 1u << 30;

std::string fileNameOf(const std::string &path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void say(HWND owner, const std::string &text, const char *caption, UINT icon)
{
    MessageBoxA(owner, text.c_str(), caption, icon | MB_OK);
}

// The whole file; false with the system's reason when it cannot be read.
bool readFamilyTree(const std::string &path, std::string &bytes, std::string &reason)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        reason = systemErrorText(GetLastError());
        return false;
    }
    const DWORD size = GetFileSize(file, NULL);
    DWORD read = 0;
    bool ok = size != INVALID_FILE_SIZE && size < LargestFamilyTree;
    if (ok) {
        bytes.resize(size);
        ok = size == 0 || (ReadFile(file, &bytes[0], size, &read, NULL) && read == size);
    }
    reason = ok ? "" : size >= LargestFamilyTree ? "The file is too large." : systemErrorText(GetLastError());
    CloseHandle(file);
    return ok;
}

// The imported entries, on the tab of the first, selected.
void showImported(int first, int count, const std::string &category)
{
    rebuildCategoryTabs();
    showCategoryTab(tabOfCategory(findCategory(category)));
    std::vector<int> added;
    for (int e = first; e < first + count; ++e) added.push_back(e);
    selectEntriesAlone(added);
}

void addFacts(HWND owner, const GedcomTree &tree, const PersonSummary &person, const std::string &folder)
{
    const PersonFacts facts = importPerson(tree, person.record, utf8FromMemoryText(folder));
    const std::string refusal = capacityRefusal(facts, BiographyDocument);
    if (!refusal.empty()) {
        say(owner, memoryTextFromUtf8(refusal), ImportCaption, MB_ICONWARNING);
        return;
    }
    std::vector<Entry> entries;
    for (const Entry &entry : facts.entries) entries.push_back(memoryEntryFromUtf8(entry));
    const int first = BiographyDocument.entryCount;
    if (edit::importEntries(entries)) showImported(first, static_cast<int>(entries.size()), entries[0].category);
    say(owner, memoryTextFromUtf8(importReport(facts, tree.damagedLines)), ImportCaption, MB_ICONINFORMATION);
}

void importFrom(HWND owner, const std::string &path)
{
    std::string bytes, reason;
    if (!readFamilyTree(path, bytes, reason)) {
        say(owner, "The file \"" + path + "\" could not be read.\n\n" + reason, "Error", MB_ICONERROR);
        return;
    }
    GedcomTree tree;
    if (!readGedcom(bytes, tree)) {
        say(owner, fileNameOf(path) + " is not a family tree file (GEDCOM).", ImportCaption, MB_ICONWARNING);
        return;
    }
    bytes = std::string(); // the tree holds it all now
    const std::vector<PersonSummary> people = listPeople(tree);
    if (people.empty()) {
        say(owner, fileNameOf(path) + " holds no people.", ImportCaption, MB_ICONINFORMATION);
        return;
    }
    const int chosen = choosePerson(owner, people);
    if (chosen >= 0) addFacts(owner, tree, people[chosen], containingFolder(path));
}

// "Anna.xml" gives "Anna.ged".
std::string familyTreeName(const std::string &fileName)
{
    const size_t dot = fileName.find_last_of('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".ged";
}

bool chooseExportPath(HWND owner, std::string &path)
{
    const Biography &d = BiographyDocument;
    while (chooseFamilyTreeExportPath(owner, containingFolder(d.filePath), familyTreeName(d.fileName), path)) {
        if (!isSameFile(path, d.filePath)) return true;
        say(owner, "A family tree file cannot replace the biography it is made from. Choose another name.",
            ExportCaption, MB_ICONWARNING);
    }
    return false;
}

// The document's text as UTF-8: itself where memory text is UTF-8.
std::string exportedBytes()
{
    const Biography &d = BiographyDocument;
    if (GetACP() == CP_UTF8) return familyTreeFileBytes(d);
    auto utf8 = std::make_unique<Biography>();
    utf8->topic = utf8FromMemoryText(d.topic);
    utf8->entryCount = d.entryCount;
    for (const EntryField &field : EntryFields)
        for (int e = 0; e < d.entryCount; ++e) ((*utf8).*field.column)[e] = utf8FromMemoryText((d.*field.column)[e]);
    return familyTreeFileBytes(*utf8);
}

} // namespace

void importFamilyTree(HWND owner)
{
    if (!BiographyDocument.documentLoaded) return;
    std::string path;
    if (!chooseFamilyTreeToImport(owner, path)) return;
    try {
        importFrom(owner, path);
    } catch (const std::bad_alloc &) {
        say(owner, "There is not enough memory to read \"" + path + "\".", "Error", MB_ICONERROR);
    }
}

void exportFamilyTree(HWND owner)
{
    if (!BiographyDocument.documentLoaded) return;
    std::string path;
    if (!chooseExportPath(owner, path)) return;
    std::string error;
    bool written = false;
    try {
        written = replaceFileContents(path, exportedBytes(), error);
    } catch (const std::bad_alloc &) {
        error = "There is not enough memory to export it.";
    }
    if (!written)
        say(messageOwner(), "The family tree file \"" + path + "\" could not be saved.\n\n" + error +
                                "\n\nThe file on disk was left as it was.",
            "Error", MB_ICONERROR);
}

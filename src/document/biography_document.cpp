#include "biography_document.h"

#include <utility>

DocumentStore BiographyDocument;

const char InvalidTextMessage[] = "Entry text contains invalid characters.";

namespace {

constexpr int FieldCount = 8;

// The eight columns in Entry field order, so that row copies and moves
// always carry all fields of an entry together.
std::string *column(int field)
{
    DocumentStore &d = BiographyDocument;
    std::string *const columns[FieldCount] = {
        d.title, d.entryDate, d.timePeriod, d.location,
        d.detail, d.keywords, d.files, d.category,
    };
    return columns[field];
}

std::string Entry::*const EntryFields[FieldCount] = {
    &Entry::title, &Entry::entryDate, &Entry::timePeriod, &Entry::location,
    &Entry::detail, &Entry::keywords, &Entry::files, &Entry::category,
};

void moveRow(int from, int to)
{
    for (int f = 0; f < FieldCount; ++f)
        column(f)[to] = std::move(column(f)[from]);
}

bool containsAnyOf(const std::string &text, const char *bytes)
{
    return text.find_first_of(bytes) != std::string::npos;
}

} // namespace

void resetDocument()
{
    DocumentStore &d = BiographyDocument;
    d.topic.clear();
    for (auto &name : d.categories) name.clear();
    d.categoryCount = 0;
    for (int f = 0; f < FieldCount; ++f)
        for (int i = 0; i < MaxEntries; ++i) column(f)[i].clear();
    d.entryCount = 0;
    d.filePath.clear();
    d.fileName.clear();
    d.workingFolder.clear();
    d.modified = false;
    d.documentLoaded = false;
}

Entry entryAt(int index)
{
    Entry e;
    for (int f = 0; f < FieldCount; ++f) e.*EntryFields[f] = column(f)[index];
    return e;
}

void setEntryAt(int index, const Entry &entry)
{
    for (int f = 0; f < FieldCount; ++f) column(f)[index] = entry.*EntryFields[f];
}

void appendEntry(const std::string &title, const std::string &entryDate,
                 const std::string &timePeriod, const std::string &location,
                 const std::string &detail, const std::string &keywords,
                 const std::string &files, const std::string &category)
{
    DocumentStore &d = BiographyDocument;
    if (d.entryCount >= MaxEntries) return; // the tables end here
    setEntryAt(d.entryCount++, Entry{title, entryDate, timePeriod, location,
                                     detail, keywords, files, category});
}

void removeEntry(int index)
{
    removeEntries({index});
}

void removeEntries(const std::vector<int> &ascendingIndices)
{
    DocumentStore &d = BiographyDocument;
    size_t next = 0;
    int kept = 0;
    for (int i = 0; i < d.entryCount; ++i) {
        while (next < ascendingIndices.size() && ascendingIndices[next] < i) ++next;
        if (next < ascendingIndices.size() && ascendingIndices[next] == i) continue;
        if (kept != i) moveRow(i, kept);
        ++kept;
    }
    d.entryCount = kept;
}

bool rebuildCategories()
{
    DocumentStore &d = BiographyDocument;
    std::vector<std::string> names;
    bool allFit = true;
    for (int i = 0; i < d.entryCount; ++i) {
        std::string &category = d.category[i];
        if (category.empty()) category = "Default";
        bool known = false;
        for (const std::string &name : names)
            if (name == category) { known = true; break; }
        if (known) continue;
        if (names.size() < static_cast<size_t>(MaxCategories))
            names.push_back(category);
        else
            allFit = false;
    }
    for (size_t i = 0; i < names.size(); ++i) d.categories[i] = std::move(names[i]);
    d.categoryCount = static_cast<int>(names.size());
    return allFit;
}

int countEntriesInCategory(const std::string &name)
{
    int count = 0;
    for (int i = 0; i < BiographyDocument.entryCount; ++i)
        if (BiographyDocument.category[i] == name) ++count;
    return count;
}

int findCategory(const std::string &name)
{
    for (int i = 0; i < BiographyDocument.categoryCount; ++i)
        if (BiographyDocument.categories[i] == name) return i;
    return -1;
}

void setDocumentPath(const std::string &path)
{
    BiographyDocument.filePath = path;
    size_t slash = path.rfind('\\');
    BiographyDocument.fileName = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isValidEntryText(const std::string &text)
{
    return !containsAnyOf(text, "<>&");
}

bool isValidCategoryName(const std::string &text)
{
    return !containsAnyOf(text, "\"<>&");
}

std::vector<std::string> parseFileList(const std::string &filesText)
{
    std::vector<std::string> paths;
    std::string current;
    bool inQuotes = false;
    for (char c : filesText) {
        if (c == '"') {
            if (inQuotes) paths.push_back(std::move(current));
            current.clear();
            inQuotes = !inQuotes;
        } else if (inQuotes) {
            current += c;
        }
    }
    return paths;
}

std::string joinFileList(const std::vector<std::string> &paths)
{
    std::string text;
    for (const std::string &path : paths) text += '"' + path + '"';
    return text;
}

int countFiles(const std::string &filesText)
{
    int quotes = 0;
    for (char c : filesText)
        if (c == '"') ++quotes;
    return quotes / 2;
}

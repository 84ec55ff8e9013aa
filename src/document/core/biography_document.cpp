#include "document/core/biography_document.h"

#include <algorithm>
#include <utility>

Biography BiographyDocument;

const char InvalidTextMessage[] = "Entry text contains invalid characters.";
const char DefaultCategory[] = "Default";

namespace {

bool containsAnyOf(const std::string &text, const char *bytes)
{
    return text.find_first_of(bytes) != std::string::npos;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A path holds no line break, so each line of stray text is a file.
void appendStrayLines(std::vector<std::string> &files, std::string_view stray)
{
    while (!stray.empty()) {
        const size_t end = std::min(stray.find_first_of("\r\n"), stray.size());
        std::string_view line = stray.substr(0, end);
        stray.remove_prefix(std::min(end + 1, stray.size()));
        while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
        while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
        if (!line.empty()) files.emplace_back(line);
    }
}

} // namespace

void moveEntryRow(int from, int to)
{
    for (const EntryField &field : EntryFields)
        (BiographyDocument.*field.column)[to] = std::move((BiographyDocument.*field.column)[from]);
}

void resetDocument()
{
    Biography &d = BiographyDocument;
    d.topic.clear();
    for (auto &name : d.categories) name.clear();
    d.categoryCount = 0;
    for (const EntryField &field : EntryFields)
        for (std::string &value : d.*field.column) value.clear();
    d.entryCount = 0;
    d.filePath.clear();
    d.fileName.clear();
    d.workingFolder.clear();
    d.modified = false;
    d.documentLoaded = false;
    d.fileIsUtf8 = false;
}

int categoryShownOnTab(const Biography &document, int tab)
{
    const int count = document.categoryCount;
    return tab >= 0 && tab < count ? count - 1 - tab : -1;
}

std::vector<int> entriesOnTab(const Biography &document, int tab)
{
    std::vector<int> entries;
    const int category = categoryShownOnTab(document, tab);
    if (category < 0) return entries;
    const std::string &name = document.categories[category];
    for (int e = 0; e < document.entryCount; ++e)
        if (document.category[e] == name) entries.push_back(e);
    return entries;
}

std::string labelInSentence(const EntryField &field)
{
    std::string text(field.label);
    for (char &c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

Entry entryAt(int index)
{
    Entry e;
    for (const EntryField &field : EntryFields) e.*field.value = (BiographyDocument.*field.column)[index];
    return e;
}

void setEntryAt(int index, const Entry &entry)
{
    for (const EntryField &field : EntryFields) (BiographyDocument.*field.column)[index] = entry.*field.value;
}

void appendEntry(const std::string &title, const std::string &entryDate,
                 const std::string &timePeriod, const std::string &location,
                 const std::string &detail, const std::string &keywords,
                 const std::string &files, const std::string &category)
{
    Biography &d = BiographyDocument;
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
    Biography &d = BiographyDocument;
    size_t next = 0;
    int kept = 0;
    for (int i = 0; i < d.entryCount; ++i) {
        while (next < ascendingIndices.size() && ascendingIndices[next] < i) ++next;
        if (next < ascendingIndices.size() && ascendingIndices[next] == i) continue;
        if (kept != i) moveEntryRow(i, kept);
        ++kept;
    }
    d.entryCount = kept;
}

bool rebuildCategories()
{
    Biography &d = BiographyDocument;
    std::vector<std::string> names;
    bool allFit = true;
    for (int i = 0; i < d.entryCount; ++i) {
        std::string &category = d.category[i];
        if (category.empty()) category = DefaultCategory;
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

bool appendCategory(const std::string &name)
{
    Biography &d = BiographyDocument;
    if (d.categoryCount >= MaxCategories) return false;
    d.categories[d.categoryCount++] = name;
    return true;
}

void swapContents(Biography &a, Biography &b) noexcept
{
    a.topic.swap(b.topic);
    for (int i = 0; i < MaxCategories; ++i) a.categories[i].swap(b.categories[i]);
    std::swap(a.categoryCount, b.categoryCount);
    for (const EntryField &field : EntryFields)
        for (int i = 0; i < MaxEntries; ++i) (a.*field.column)[i].swap((b.*field.column)[i]);
    std::swap(a.entryCount, b.entryCount);
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

bool QuotedList::next(std::string_view &text)
{
    const size_t open = rest_.find('"');
    const size_t close = open == std::string_view::npos ? open : rest_.find('"', open + 1);
    if (close == std::string_view::npos) return false;
    text = rest_.substr(open + 1, close - open - 1);
    rest_.remove_prefix(close + 1);
    return true;
}

std::vector<std::string> parseFileList(const std::string &filesText)
{
    std::vector<std::string> paths;
    QuotedList list(filesText);
    for (std::string_view path; list.next(path);) paths.emplace_back(path);
    return paths;
}

std::string joinFileList(const std::vector<std::string> &paths)
{
    std::string text;
    for (const std::string &path : paths) text += '"' + path + '"';
    return text;
}

std::vector<std::string> listedFiles(const std::string &filesText)
{
    std::vector<std::string> files;
    std::string_view rest = filesText;
    for (;;) {
        const size_t open = rest.find('"');
        appendStrayLines(files, rest.substr(0, open));
        if (open == std::string_view::npos) return files;
        const size_t close = rest.find('"', open + 1);
        if (close == std::string_view::npos) {
            appendStrayLines(files, rest.substr(open + 1));
            return files;
        }
        files.emplace_back(rest.substr(open + 1, close - open - 1));
        rest.remove_prefix(close + 1);
    }
}

int countFiles(const std::string &filesText)
{
    int quotes = 0;
    for (char c : filesText)
        if (c == '"') ++quotes;
    return quotes / 2;
}

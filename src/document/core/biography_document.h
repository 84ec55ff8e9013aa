// The one biography held in memory for the whole run, and the text rules
// that keep typed text storable in our file format.
//
// Portable: no Windows headers here, so the model is unit-tested natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

constexpr int MaxEntries = 1024;
constexpr int MaxCategories = 500;

// The eight text fields of an entry, each with the element that stores it
// in a fact block, its place among the elements there, and the name the
// user sees it by. The Entry value, the document's columns, the reader's and
// writer's tables and every label on screen and on the web page are all made
// from this one list, so no field can be forgotten in one of them.
#define MEMORION_ENTRY_FIELDS(FIELD)                            \
    FIELD(title, "title", 0, "Title")                           \
    FIELD(entryDate, "entry_date", 1, "Entry date")             \
    FIELD(timePeriod, "period", 2, "Time period")               \
    FIELD(location, "location", 6, "Location")                  \
    FIELD(detail, "detail", 7, "Detail")                        \
    FIELD(keywords, "keywords", 3, "Keywords")                  \
    FIELD(files, "files", 4, "Associated files")                \
    FIELD(category, "category", 5, "Category")

// One fact of the biography, as a value. The document itself keeps its
// entries column by column; an Entry is just one row of those columns.
struct Entry {
#define MEMORION_ENTRY_MEMBER(name, element, place, label) std::string name;
    MEMORION_ENTRY_FIELDS(MEMORION_ENTRY_MEMBER)
#undef MEMORION_ENTRY_MEMBER
};

// A whole biography: topic, category list and entries in fixed tables, and
// where it is stored.
struct Biography {
    std::string topic;

    std::string categories[MaxCategories];
    int categoryCount = 0;

    // One fixed column per entry field, all indexed by entry index.
#define MEMORION_ENTRY_COLUMN(name, element, place, label) std::string name[MaxEntries];
    MEMORION_ENTRY_FIELDS(MEMORION_ENTRY_COLUMN)
#undef MEMORION_ENTRY_COLUMN
    int entryCount = 0;

    std::string filePath;
    std::string fileName;
    std::string workingFolder;
    bool modified = false;
    bool documentLoaded = false;
    // The file was read as UTF-8 or last saved so: it is saved in UTF-8
    // again, whatever its text.
    bool fileIsUtf8 = false;
};

// One entry field: where an Entry and the document hold it, and how a fact
// block stores it.
struct EntryField {
    std::string Entry::*value;
    std::string (Biography::*column)[MaxEntries];
    std::string_view openTag;
    std::string_view closeTag;
    int placeInFact;
    std::string_view label;
};

inline constexpr EntryField EntryFields[] = {
#define MEMORION_ENTRY_FIELD(name, element, place, label) \
    {&Entry::name, &Biography::name, "<" element ">", "</" element ">", place, label},
    MEMORION_ENTRY_FIELDS(MEMORION_ENTRY_FIELD)
#undef MEMORION_ENTRY_FIELD
};
constexpr int EntryFieldCount = sizeof EntryFields / sizeof EntryFields[0];
static_assert(EntryFieldCount == 8, "an entry has eight fields");

// Where a field stands in EntryFields.
constexpr int fieldNumber(std::string (Biography::*column)[MaxEntries])
{
    for (int f = 0; f < EntryFieldCount; ++f)
        if (EntryFields[f].column == column) return f;
    return -1;
}

// The biography being edited. Every window and dialog works on it directly.
extern Biography BiographyDocument;

// Puts the document back to its start-up state (all counts 0, strings empty).
void resetDocument();

// The tabs show the categories in reverse list order: tab t shows category
// (categoryCount - 1 - t). -1 for a tab that is not there. The rule is its
// own inverse: given a category it gives its tab.
int categoryShownOnTab(const Biography &document, int tab);
// The entries tab `tab` lists, in list order: those whose category is
// exactly the tab's, by ascending index. None for a tab that is not there.
std::vector<int> entriesOnTab(const Biography &document, int tab);

// The field's label as it reads inside a sentence: "entry date".
std::string labelInSentence(const EntryField &field);

Entry entryAt(int index);
void setEntryAt(int index, const Entry &entry);

// The caller must make sure entryCount < MaxEntries.
void appendEntry(const std::string &title, const std::string &entryDate,
                 const std::string &timePeriod, const std::string &location,
                 const std::string &detail, const std::string &keywords,
                 const std::string &files, const std::string &category);
void removeEntry(int index);
// Moves all fields of entry row `from` into row `to`; row `from` is then
// only fit to be written over.
void moveEntryRow(int from, int to);
// Removes the given entries (indices as numbered before any removal, in
// ascending order) in one pass.
void removeEntries(const std::vector<int> &ascendingIndices);

// Returns false when the entries name more than MaxCategories categories;
// the list then holds the first MaxCategories of them.
bool rebuildCategories();
int countEntriesInCategory(const std::string &name);
// Index of the first category with exactly this name, or -1.
int findCategory(const std::string &name);
// Appends a name to the category list; false when the list is full.
bool appendCategory(const std::string &name);
void setDocumentPath(const std::string &path);

// Exchanges what two biographies hold (topic, categories, entries) without
// copying or allocating; paths and flags stay where they are.
void swapContents(Biography &a, Biography &b) noexcept;

bool isValidEntryText(const std::string &text);
bool isValidCategoryName(const std::string &text);
extern const char InvalidTextMessage[];

// Where an entry without a category goes, in the file and on screen.
extern const char DefaultCategory[];

// The texts between pairs of double quotes, in order: the paths of a file
// list ("a""b") and the names of the category list ("a","b"). What stands
// outside the quotes is ignored, and an unclosed last text is dropped.
class QuotedList {
public:
    explicit QuotedList(std::string_view text) : rest_(text) {}
    // The next text, or false when there is none.
    bool next(std::string_view &text);

private:
    std::string_view rest_;
};

std::vector<std::string> parseFileList(const std::string &filesText);
std::string joinFileList(const std::vector<std::string> &paths);
int countFiles(const std::string &filesText);
// The files as the entry's file list and its editor show them: the quoted
// paths and, in their places among them, the text a hand edit left outside
// the quotes, an unclosed last path among it. Such text gives one file per
// line, its blanks at either end trimmed; a line of blanks alone is layout
// and gives none. Written back with joinFileList, every such file becomes a
// quoted path of its own and reads back the same.
std::vector<std::string> listedFiles(const std::string &filesText);

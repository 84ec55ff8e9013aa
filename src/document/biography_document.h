// The one biography held in memory for the whole run, and the text rules
// that keep typed text storable in our file format.
//
// Portable: no Windows headers here, so the model is unit-tested natively.
#pragma once

#include <string>
#include <vector>

constexpr int MaxEntries = 1024;
constexpr int MaxCategories = 500;

// One fact of the biography, as a value. The document itself keeps its
// entries column by column; an Entry is just one row of those columns.
struct Entry {
    std::string title;
    std::string entryDate;
    std::string timePeriod;
    std::string location;
    std::string detail;
    std::string keywords;
    std::string files;
    std::string category;
};

struct DocumentStore {
    std::string topic;

    std::string categories[MaxCategories];
    int categoryCount = 0;

    // One fixed column per entry field, all indexed by entry index.
    std::string title[MaxEntries];
    std::string entryDate[MaxEntries];
    std::string timePeriod[MaxEntries];
    std::string location[MaxEntries];
    std::string detail[MaxEntries];
    std::string keywords[MaxEntries];
    std::string files[MaxEntries];
    std::string category[MaxEntries];
    int entryCount = 0;

    std::string filePath;
    std::string fileName;
    std::string workingFolder;
    bool modified = false;
    bool documentLoaded = false;
};

// The program-wide document. Every window and dialog works on it directly.
extern DocumentStore BiographyDocument;

// Puts the document back to its start-up state (all counts 0, strings empty).
void resetDocument();

Entry entryAt(int index);
void setEntryAt(int index, const Entry &entry);

// The caller must make sure entryCount < MaxEntries.
void appendEntry(const std::string &title, const std::string &entryDate,
                 const std::string &timePeriod, const std::string &location,
                 const std::string &detail, const std::string &keywords,
                 const std::string &files, const std::string &category);
void removeEntry(int index);
// Removes the given entries (indices as numbered before any removal, in
// ascending order) in one pass.
void removeEntries(const std::vector<int> &ascendingIndices);

// Returns false when the entries name more than MaxCategories categories;
// the list then holds the first MaxCategories of them.
bool rebuildCategories();
int countEntriesInCategory(const std::string &name);
// Index of the first category with exactly this name, or -1.
int findCategory(const std::string &name);
void setDocumentPath(const std::string &path);

bool isValidEntryText(const std::string &text);
bool isValidCategoryName(const std::string &text);
extern const char InvalidTextMessage[];

std::vector<std::string> parseFileList(const std::string &filesText);
std::string joinFileList(const std::vector<std::string> &paths);
int countFiles(const std::string &filesText);

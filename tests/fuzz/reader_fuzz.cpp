// Any bytes, opened the way "Open biography file" opens them: the reader
// must not crash, must keep the document within its tables, and what it
// loads must survive a save and a second open unchanged.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/core/biography_document.h"
#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"
#include "document/core/fact_elements.h"

#include "fuzz_check.h"

namespace {

struct Snapshot {
    std::string topic;
    std::vector<std::string> categories;
    std::vector<std::string> fields; // entry by entry, in FactElements order
};

Snapshot snapshot()
{
    const Biography &d = BiographyDocument;
    Snapshot s;
    s.topic = d.topic;
    s.categories.assign(d.categories, d.categories + d.categoryCount);
    for (int i = 0; i < d.entryCount; ++i)
        for (const FactElement &element : FactElements) s.fields.push_back((d.*element.column)[i]);
    return s;
}

void checkTables()
{
    const Biography &d = BiographyDocument;
    check(d.entryCount >= 0 && d.entryCount <= MaxEntries, "entry count outside the table");
    check(d.categoryCount >= 0 && d.categoryCount <= MaxCategories, "category count outside the table");
    check(d.documentLoaded, "document not marked loaded");
    for (int i = 0; i < d.entryCount; ++i) check(!d.category[i].empty(), "an entry without a category");
}

// The file stores values as they are, between literal tags and, for
// category names, between double quotes, and the reader takes the first
// occurrence of each tag. Every tag starts with '<', so a value without '<'
// can never be taken for a tag, and a category name without '"' never ends
// early: such a document must come back exactly. A value holding '<' may
// legitimately read back otherwise (another value's tag found inside it),
// and so may a category name holding '"'.
bool formatCanKeep(const Snapshot &s)
{
    if (s.topic.find('<') != std::string::npos) return false;
    for (const std::string &name : s.categories)
        if (name.find_first_of("<\"") != std::string::npos) return false;
    for (const std::string &value : s.fields)
        if (value.find('<') != std::string::npos) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    if (!isBiographyText(bytes)) return 0; // refused before anything is loaded

    loadBiographyBytes(bytes);
    checkTables();
    const Snapshot loaded = snapshot();

    const std::string saved = biographyFileBytes(BiographyDocument);
    check(isBiographyText(saved), "a saved file is not taken for a biography");
    const LoadReport again = loadBiographyBytes(saved);
    checkTables();
    // More than MaxCategories names among the entries are reported again,
    // rightly: the saved list holds only those that fit.
    check(!again.entriesDropped, "a saved file holds more entries than the table");
    if (!formatCanKeep(loaded)) return 0;

    const Snapshot reloaded = snapshot();
    check(reloaded.topic == loaded.topic, "topic changed by save and open");
    check(reloaded.categories == loaded.categories, "categories changed by save and open");
    check(reloaded.fields == loaded.fields, "entries changed by save and open");
    check(biographyFileBytes(BiographyDocument) == saved, "saving the reopened file gives other bytes");
    return 0;
}

// Any bytes, opened the way "Open biography file" opens them, in whatever
// encoding they declare or else the legacy one, with memory text in UTF-8
// or in the legacy code page: the reader must not crash, must keep the
// document within its tables, and what it loads must survive a save and a
// second open unchanged. And the bytes as text of the legacy code page
// must come back from UTF-8 as they were.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/core/biography_document.h"
#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"
#include "document/core/fact_elements.h"
#include "document/core/file_encoding.h"
#include "document/core/utf8_text.h"
#include "iconv_code_pages.h"

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

// The legacy code page and memory text, chosen by the input's length so
// that the seeds stay files as they are.
const TextCodePages &codePagesFor(size_t size)
{
    static const LegacyCodePage pages[] = {{1252, iconvCodePages()}, {1250, iconvCodePages()},
                                           {1253, iconvCodePages()}, {932, iconvCodePages()}};
    static const TextCodePages setups[] = {{pages[0], true},  {pages[1], true},  {pages[2], true},
                                           {pages[3], true},  {pages[0], false}, {pages[1], false},
                                           {pages[2], false}, {pages[3], false}};
    return setups[size % 8];
}

// Legacy text to UTF-8 and back: the same bytes, where the code page maps
// them all. Code page 932 has characters with two byte sequences, of which
// the system writes one: there the characters come back.
void checkLegacyRoundTrip(const LegacyCodePage &legacy, const std::string &bytes)
{
    std::string utf8, back, again;
    if (legacy.toUtf8(bytes, utf8) != Conversion::Exact) return;
    check(isValidUtf8(utf8), "legacy text made invalid UTF-8");
    check(legacy.fromUtf8(utf8, back) == Conversion::Exact, "legacy text did not go back from UTF-8");
    check(legacy.table() ? back == bytes : legacy.toUtf8(back, again) == Conversion::Exact && again == utf8,
          "legacy text changed on its way through UTF-8");
}

LoadReport read(std::string_view bytes, const TextCodePages &pages)
{
    const DecodedFile file = decodeBiographyFile(bytes, pages);
    check(file.outcome == DecodedFile::Outcome::Read, "a saved file names an encoding it cannot be read in");
    const LoadReport report = file.load();
    BiographyDocument.fileIsUtf8 = file.readAsUtf8;
    return report;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const TextCodePages &pages = codePagesFor(size);
    checkLegacyRoundTrip(pages.legacy, bytes);
    if (!isBiographyText(bytes)) return 0; // refused before anything is loaded
    if (decodeBiographyFile(bytes, pages).outcome != DecodedFile::Outcome::Read) return 0; // refused too

    read(bytes, pages);
    checkTables();
    const Snapshot loaded = snapshot();
    for (const std::string &value : loaded.fields)
        check(!pages.memoryIsUtf8 || isValidUtf8(value), "memory text that is not UTF-8");

    const std::string saved(encodeBiographyFile(BiographyDocument, pages).bytes.view());
    check(isBiographyText(saved), "a saved file is not taken for a biography");
    const LoadReport again = read(saved, pages);
    checkTables();
    // More than MaxCategories names among the entries are reported again,
    // rightly: the saved list holds only those that fit.
    check(!again.entriesDropped, "a saved file holds more entries than the table");
    if (!formatCanKeep(loaded)) return 0;

    const Snapshot reloaded = snapshot();
    check(reloaded.topic == loaded.topic, "topic changed by save and open");
    check(reloaded.categories == loaded.categories, "categories changed by save and open");
    check(reloaded.fields == loaded.fields, "entries changed by save and open");
    check(encodeBiographyFile(BiographyDocument, pages).bytes.view() == saved,
          "saving the reopened file gives other bytes");
    return 0;
}

// Any bytes, opened the way "Open biography file" opens them: the reader
// must not crash, must keep the document within its tables, and what it
// loads must survive a save and a second open unchanged. Whatever it loads
// is also exported as a web page, where no markup character of a value may
// show unescaped.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/biography_document.h"
#include "document/biography_reader.h"
#include "document/biography_writer.h"
#include "document/fact_elements.h"
#include "document/web_page_writer.h"

#include "code_page_1252.h"

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

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "reader fuzz: %s\n", what);
    std::abort();
}

void check(bool holds, const char *what)
{
    if (!holds) fail(what);
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

// The page's escaping is checked against a twin document in which each of
// the five markup characters of every value is replaced by a stand-in, a
// byte the page shows as it is in text and in links alike and that no
// value of the document holds. Renaming one-to-one keeps equal names equal,
// so the twin's page has the same layout. Written in place of each other,
// the character references and percent-encodings of the markup characters
// on the one page and the stand-ins on the other must then give the same
// bytes; a markup character that reached the page as it is would not.
constexpr char MarkupCharacters[] = "&<>\"'";
constexpr int MarkupCount = 5;
const std::string_view References[MarkupCount] = {"&amp;", "&lt;", "&gt;", "&quot;", "&#39;"};
const std::string_view PercentEncodings[MarkupCount] = {"%26", "%3C", "%3E", "%22", "%27"};
// Not letters: a letter before a colon would make a path look like a drive.
constexpr char StandInCandidates[] = "0123456789-._~!$()*+,;=@";

// Calls visit(value, holdsFileList) for every value of the document; the
// double quotes of a file list are its own and are not to be renamed.
template <typename Visit>
void forEachValue(Biography &d, Visit visit)
{
    visit(d.topic, false);
    visit(d.fileName, false);
    for (int i = 0; i < d.categoryCount; ++i) visit(d.categories[i], false);
    for (int i = 0; i < d.entryCount; ++i)
        for (const FactElement &element : FactElements)
            visit((d.*element.column)[i], element.column == &Biography::files);
}

// Five bytes no value holds, or false when the document uses too many.
bool pickStandIns(Biography &d, char standIns[MarkupCount])
{
    bool used[256] = {};
    forEachValue(d, [&](const std::string &value, bool) {
        for (char c : value) used[static_cast<unsigned char>(c)] = true;
    });
    int picked = 0;
    for (const char *c = StandInCandidates; *c != '\0' && picked < MarkupCount; ++c)
        if (!used[static_cast<unsigned char>(*c)]) standIns[picked++] = *c;
    return picked == MarkupCount;
}

std::string webPage(const Biography &d)
{
    const std::string page(writeWebPage(d, CodePage1252, "en").view());
    check(page == std::string(writeWebPage(d, CodePage1252AsMultiByte, "en").view()),
          "the web page differs when converted value by value instead of byte by byte");
    return page;
}

// The page with every reference and percent-encoding of a markup character
// written as that character's stand-in.
std::string markupAsStandIns(const std::string &page, const char standIns[MarkupCount])
{
    std::string result;
    result.reserve(page.size());
    for (size_t i = 0; i < page.size();) {
        int found = -1;
        size_t length = 0;
        for (int m = 0; m < MarkupCount && found < 0; ++m) {
            for (std::string_view form : {References[m], PercentEncodings[m]})
                if (page.compare(i, form.size(), form) == 0) {
                    found = m;
                    length = form.size();
                    break;
                }
        }
        if (found < 0) {
            result += page[i++];
        } else {
            result += standIns[found];
            i += length;
        }
    }
    return result;
}

void checkWebPage()
{
    static const std::unique_ptr<Biography> twin(new Biography);
    Biography &d = BiographyDocument;
    const std::string page = webPage(d);
    char standIns[MarkupCount];
    if (!pickStandIns(d, standIns)) return;

    twin->topic = d.topic;
    twin->fileName = d.fileName;
    twin->categoryCount = d.categoryCount;
    for (int i = 0; i < d.categoryCount; ++i) twin->categories[i] = d.categories[i];
    twin->entryCount = d.entryCount;
    for (int i = 0; i < d.entryCount; ++i)
        for (const FactElement &element : FactElements) (*twin.*element.column)[i] = (d.*element.column)[i];
    forEachValue(*twin, [&](std::string &value, bool holdsFileList) {
        for (char &c : value)
            for (int m = 0; m < MarkupCount; ++m)
                if (c == MarkupCharacters[m] && !(holdsFileList && c == '"')) c = standIns[m];
    });
    check(markupAsStandIns(page, standIns) == markupAsStandIns(webPage(*twin), standIns),
          "a markup character of a value reached the web page unescaped");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    if (!isBiographyText(bytes)) return 0; // refused before anything is loaded

    loadBiographyBytes(bytes);
    checkTables();
    const Snapshot loaded = snapshot();
    checkWebPage();

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

// Any bytes, opened the way "Open biography file" opens them and exported
// as a web page, both ways a code page can be converted: no markup
// character of a value may show on the page unescaped, in its text, its
// links and pictures, its chronology or its timeline.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "document/core/biography_document.h"
#include "document/core/biography_reader.h"
#include "document/core/fact_elements.h"
#include "document/core/web_page_writer.h"

#include "code_page_1252.h"
#include "fuzz_check.h"

namespace {

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
// Bytes that mean nothing to the page's rules, as the markup characters
// mean nothing to them: no letter (a letter before a colon makes a drive,
// letters make "to" and "1950s" of the year rule and a picture's type), no
// digit (years, and a percent-encoding after a value's '%': "p%<<" would
// read "p%22"), no '-' (a range of years) and no '.' (a type, a folder "..").
constexpr char StandInCandidates[] = "_~!$()*+,;=@";

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

// Relative links and file: addresses alike.
const PageFolders Folders = {"C:\\Anna\\BIOGRAPHY XML", "C:\\Anna\\BIOGRAPHY XML"};

std::string webPage(const Biography &d)
{
    const std::string page(writeWebPage(d, CodePage1252, "en", Folders).view());
    check(page == std::string(writeWebPage(d, CodePage1252AsMultiByte, "en", Folders).view()),
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
        if (page[i] != '&' && page[i] != '%') {
            result += page[i++];
            continue;
        }
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
    if (!isBiographyText(bytes)) return 0;
    loadBiographyBytes(bytes);
    checkWebPage();
    return 0;
}

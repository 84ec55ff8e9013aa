#include "document/core/web_page_writer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "code_page_1252.h"

namespace {

std::unique_ptr<Biography> emptyDocument()
{
    auto d = std::make_unique<Biography>();
    d->fileName = "Anna.xml";
    return d;
}

int addEntry(Biography &d, const std::string &title, const std::string &category)
{
    const int i = d.entryCount++;
    d.title[i] = title;
    d.category[i] = category;
    return i;
}

void setCategories(Biography &d, std::initializer_list<std::string> names)
{
    d.categoryCount = 0;
    for (const std::string &name : names) d.categories[d.categoryCount++] = name;
}

// Every page is written both ways a code page can be converted, which must
// agree.
std::string page(const Biography &d)
{
    const std::string bytes(writeWebPage(d, CodePage1252, "en").view());
    EXPECT_EQ(bytes, std::string(writeWebPage(d, CodePage1252AsMultiByte, "en").view()))
        << "converted byte by byte and value by value";
    return bytes;
}

// The page with its style sheet cut out, which is design rather than content.
std::string pageWithoutStyles(const Biography &d)
{
    std::string bytes = page(d);
    const size_t start = bytes.find("<style>\n");
    const size_t end = bytes.find("</style>");
    if (start == std::string::npos || end == std::string::npos) return "no style block: " + bytes;
    return bytes.replace(start + 8, end - start - 8, "...");
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST(WebPageWriter, SmallDocumentIsWrittenByteForByte)
{
    auto d = emptyDocument();
    d->topic = "Anna Berg";
    setCategories(*d, {"Letters", "Family", "Work"});
    const int born = addEntry(*d, "Born", "Family");
    d->entryDate[born] = "03/05/47";
    d->timePeriod[born] = "Childhood";
    d->location[born] = "Leeds";
    d->detail[born] = "First line\r\nsecond line\r\n\r\nNew paragraph";
    d->keywords[born] = "birth";
    d->files[born] = "\"C:\\Family\\photo 1.jpg\"";
    addEntry(*d, "", "Work");
    d->location[addEntry(*d, "School", "Family")] = "York";
    addEntry(*d, "Paris", "Travel"); // no tab shows it

    EXPECT_EQ(pageWithoutStyles(*d),
              "<!DOCTYPE html>\n"
              "<html lang=\"en\">\n"
              "<head>\n"
              "<meta charset=\"utf-8\">\n"
              "<title>Anna Berg</title>\n"
              "<style>\n...</style>\n"
              "</head>\n"
              "<body>\n"
              "<h1>Anna Berg</h1>\n"
              "<nav>\n<h2>Contents</h2>\n<ul>\n"
              "<li><a href=\"#category-1\">Work</a> (1 entry)</li>\n"
              "<li><a href=\"#category-2\">Family</a> (2 entries)</li>\n"
              "<li><a href=\"#category-3\">Letters</a> (0 entries)</li>\n"
              "</ul>\n</nav>\n"
              "<section id=\"category-1\">\n<h2>Work</h2>\n"
              "<article>\n<h3>Untitled entry</h3>\n</article>\n"
              "</section>\n"
              "<section id=\"category-2\">\n<h2>Family</h2>\n"
              "<article>\n<h3>Born</h3>\n"
              "<dl>\n"
              "<dt>Entry date</dt><dd>03/05/47</dd>\n"
              "<dt>Time period</dt><dd>Childhood</dd>\n"
              "<dt>Location</dt><dd>Leeds</dd>\n"
              "<dt>Keywords</dt><dd>birth</dd>\n"
              "</dl>\n"
              "<p>First line<br>\nsecond line</p>\n<p>New paragraph</p>\n"
              "<ul class=\"files\">\n"
              "<li><a href=\"file:///C:/Family/photo%201.jpg\">C:\\Family\\photo 1.jpg</a></li>\n"
              "</ul>\n"
              "</article>\n"
              "<article>\n<h3>School</h3>\n<dl>\n<dt>Location</dt><dd>York</dd>\n</dl>\n</article>\n"
              "</section>\n"
              "<section id=\"category-3\">\n<h2>Letters</h2>\n<p>No entries.</p>\n</section>\n"
              "</body>\n"
              "</html>\n");
}

// Every place a value is shown, each with a value full of markup
// characters after plain runs of several lengths.
TEST(WebPageWriter, EscapesEveryMarkupCharacterInEveryPlace)
{
    struct Place {
        const char *name;
        std::function<void(Biography &, const std::string &)> set;
        std::string before, after;
    };
    const Place places[] = {
        {"topic as title", [](Biography &d, const std::string &v) { d.topic = v; }, "<title>", "</title>"},
        {"topic as heading", [](Biography &d, const std::string &v) { d.topic = v; }, "<h1>", "</h1>"},
        {"category in contents", [](Biography &d, const std::string &v) { d.categories[0] = d.category[0] = v; },
         "\">", "</a> (1 entry)"},
        {"category heading", [](Biography &d, const std::string &v) { d.categories[0] = d.category[0] = v; },
         "<h2>", "</h2>\n<article>"},
        {"title", [](Biography &d, const std::string &v) { d.title[0] = v; }, "<h3>", "</h3>"},
        {"entry date", [](Biography &d, const std::string &v) { d.entryDate[0] = v; }, "Entry date</dt><dd>", "</dd>"},
        {"time period", [](Biography &d, const std::string &v) { d.timePeriod[0] = v; }, "Time period</dt><dd>", "</dd>"},
        {"location", [](Biography &d, const std::string &v) { d.location[0] = v; }, "Location</dt><dd>", "</dd>"},
        {"keywords", [](Biography &d, const std::string &v) { d.keywords[0] = v; }, "Keywords</dt><dd>", "</dd>"},
        {"detail", [](Biography &d, const std::string &v) { d.detail[0] = v; }, "<p>", "</p>"},
        {"file path", [](Biography &d, const std::string &v) { d.files[0] = "\"C:\\" + v + "\""; }, "\">C:\\", "</a></li>"},
    };
    // With the plain bytes that lie among the markup characters.
    const std::string markup = "a&b<c>d'e#$%=f";
    const std::string escaped = "a&amp;b&lt;c&gt;d&#39;e#$%=f";
    for (const Place &place : places) {
        for (size_t run = 0; run <= 17; ++run) {
            auto d = emptyDocument();
            setCategories(*d, {"Family"});
            addEntry(*d, "Born", "Family");
            // The double quote cannot be in a file path.
            const std::string quote = place.name == std::string("file path") ? "" : "\"q";
            const std::string expectedQuote = quote.empty() ? "" : "&quot;q";
            place.set(*d, std::string(run, 'x') + markup + quote + markup);
            const std::string bytes = page(*d);
            EXPECT_TRUE(contains(bytes, place.before + std::string(run, 'x') + escaped + expectedQuote +
                                            escaped + place.after))
                << place.name << " after " << run << " plain bytes:\n" << bytes;
        }
    }
}

TEST(WebPageWriter, BytesAboveAsciiAreConvertedAndForbiddenCharactersLeftOut)
{
    auto d = emptyDocument();
    setCategories(*d, {"Caf\xe9"});
    // 0x81 is undefined in code page 1252 and maps to a C1 control; 0x01,
    // 0x0B and 0x7F are controls HTML forbids; a tab stays.
    d->topic = "\x80 \x93Z\xfcrich\x94\x01\x0b\x81\x7f\tend";
    addEntry(*d, "\xc6sop", "Caf\xe9");
    const std::string bytes = page(*d);
    EXPECT_TRUE(contains(bytes, "<h1>\xe2\x82\xac \xe2\x80\x9cZ\xc3\xbcrich\xe2\x80\x9d\tend</h1>")) << bytes;
    EXPECT_TRUE(contains(bytes, "<h2>Caf\xc3\xa9</h2>"));
    EXPECT_TRUE(contains(bytes, "<h3>\xc3\x86sop</h3>"));
}

TEST(WebPageWriter, EmptyFieldsAreLeftOut)
{
    struct Case {
        const char *name;
        std::function<void(Biography &)> set;
        std::string article;
    };
    const Case cases[] = {
        {"nothing but a title", [](Biography &) {}, "<h3>Born</h3>\n</article>"},
        {"only a time period", [](Biography &d) { d.timePeriod[0] = "1950s"; },
         "<h3>Born</h3>\n<dl>\n<dt>Time period</dt><dd>1950s</dd>\n</dl>\n</article>"},
        {"a detail of line ends only", [](Biography &d) { d.detail[0] = "\r\n\r\n"; }, "<h3>Born</h3>\n</article>"},
        {"an empty path only", [](Biography &d) { d.files[0] = "\"\""; }, "<h3>Born</h3>\n</article>"},
        {"a title of control characters",
         [](Biography &d) { d.title[0] = "\x01\r\n\x02"; }, "<h3>Untitled entry</h3>\n</article>"},
    };
    for (const Case &c : cases) {
        auto d = emptyDocument();
        setCategories(*d, {"Family"});
        addEntry(*d, "Born", "Family");
        c.set(*d);
        const std::string bytes = page(*d);
        EXPECT_TRUE(contains(bytes, "<article>\n" + c.article)) << c.name << ":\n" << bytes;
    }
}

TEST(WebPageWriter, TopicLineBreaksAndFallbackToFileName)
{
    auto d = emptyDocument();
    d->topic = "Anna\r\nBerg";
    std::string bytes = page(*d);
    EXPECT_TRUE(contains(bytes, "<title>Anna Berg</title>")) << bytes;
    EXPECT_TRUE(contains(bytes, "<h1>Anna<br>\nBerg</h1>")) << bytes;
    EXPECT_FALSE(contains(bytes, "<nav>")) << "no categories, no contents";

    d->topic.clear();
    bytes = page(*d);
    EXPECT_TRUE(contains(bytes, "<title>Anna.xml</title>")) << bytes;
    EXPECT_TRUE(contains(bytes, "<h1>Anna.xml</h1>")) << bytes;
}

TEST(WebPageWriter, DetailParagraphsAndLineBreaks)
{
    auto d = emptyDocument();
    setCategories(*d, {"Family"});
    addEntry(*d, "Born", "Family");
    d->detail[0] = "\r\none\r\ntwo\n\n\nthree\r\rfour\nfive\r\n";
    EXPECT_TRUE(contains(page(*d), "<p>one<br>\ntwo</p>\n<p>three</p>\n<p>four<br>\nfive</p>\n</article>"))
        << page(*d);
}

TEST(WebPageWriter, FileLinksEncodeWhatUrlsCannotHold)
{
    const std::pair<std::string, std::string> links[] = {
        {"C:\\Family\\photo 1.jpg", "file:///C:/Family/photo%201.jpg"},
        {"C:\\Files #2\\100% sure.txt", "file:///C:/Files%20%232/100%25%20sure.txt"},
        {"d:\\a&b'c\"<d>?e:f.png", "file:///d:/a%26b%27c%22%3Cd%3E%3Fe%3Af.png"},
        {"\\\\server\\share\\a.jpg", "file://server/share/a.jpg"},
        {"notes\\a b.txt", "notes/a%20b.txt"},
        {"Z\xc3\xbcrich.jpg", "Z%C3%BCrich.jpg"},
    };
    for (const auto &link : links) EXPECT_EQ(fileLink(link.first), link.second) << link.first;

    // The page converts the path first: one byte above 0x7F is two in the link.
    auto d = emptyDocument();
    setCategories(*d, {"Family"});
    d->files[addEntry(*d, "Born", "Family")] = "\"C:\\Caf\xe9\\\x80.jpg\"";
    EXPECT_TRUE(contains(page(*d), "<a href=\"file:///C:/Caf%C3%A9/%E2%82%AC.jpg\">C:\\Caf\xc3\xa9\\\xe2\x82\xac.jpg</a>"))
        << page(*d);
}

} // namespace

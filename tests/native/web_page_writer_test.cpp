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

// The page and the biography in a personality folder's "BIOGRAPHY XML".
const PageFolders Folders = {"C:\\Anna\\BIOGRAPHY XML", "C:\\Anna\\BIOGRAPHY XML"};

// Every page is written both ways a code page can be converted, which must
// agree.
std::string page(const Biography &d)
{
    const std::string bytes(writeWebPage(d, CodePage1252, "en", Folders).view());
    EXPECT_EQ(bytes, std::string(writeWebPage(d, CodePage1252AsMultiByte, "en", Folders).view()))
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
    d->files[born] = "\"C:\\Anna\\IMAGE\\Anna 1931.jpg\"\"D:\\Letters\\first letter.txt\"";
    d->timePeriod[addEntry(*d, "", "Work")] = "1939-1945";
    const int school = addEntry(*d, "School", "Family");
    d->location[school] = "York";
    d->entryDate[school] = "12/03/1921";
    d->timePeriod[addEntry(*d, "Paris", "Travel")] = "1930"; // no tab shows it

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
              "<nav id=\"contents\">\n<h2>Contents</h2>\n<ul>\n"
              "<li><a href=\"#category-1\">Work</a> (1 entry)</li>\n"
              "<li><a href=\"#category-2\">Family</a> (2 entries)</li>\n"
              "<li><a href=\"#category-3\">Letters</a> (0 entries)</li>\n"
              "</ul>\n</nav>\n"
              "<section id=\"chronology\">\n<h2>Chronology</h2>\n"
              "<svg class=\"timeline\" role=\"img\" aria-label=\"Timeline of the 2 dated entries, one row per "
              "category\" width=\"100%\" height=\"84\">\n"
              "<g class=\"row1\">\n<text x=\"0\" y=\"11\">Work</text>\n"
              "<a href=\"#entry-2\"><title>1939-1945: Untitled entry</title>"
              "<line class=\"years\" x1=\"72.50%\" x2=\"95.00%\" y1=\"20\" y2=\"20\"/></a>\n"
              "</g>\n"
              "<g class=\"row2\">\n<text x=\"0\" y=\"39\">Family</text>\n"
              "<a href=\"#entry-3\"><title>1921: School</title><circle cx=\"5.00%\" cy=\"48\" r=\"5\"/></a>\n"
              "</g>\n"
              "<g class=\"ticks\">\n<line x1=\"5.00%\" x2=\"95.00%\" y1=\"60\" y2=\"60\"/>\n"
              "<line x1=\"38.75%\" x2=\"38.75%\" y1=\"60\" y2=\"65\"/>"
              "<text class=\"odd\" x=\"38.75%\" y=\"77\">1930</text>\n"
              "<line x1=\"76.25%\" x2=\"76.25%\" y1=\"60\" y2=\"65\"/><text x=\"76.25%\" y=\"77\">1940</text>\n"
              "</g>\n"
              "</svg>\n"
              "<ol class=\"chronology\">\n"
              "<li><a href=\"#entry-3\">1921: School</a></li>\n"
              "<li><a href=\"#entry-2\">1939-1945: Untitled entry</a></li>\n"
              "</ol>\n</section>\n"
              "<section class=\"category\" id=\"category-1\">\n<h2>Work</h2>\n"
              "<article id=\"entry-2\">\n<h3>Untitled entry</h3>\n"
              "<dl>\n<dt>Time period</dt><dd>1939-1945</dd>\n</dl>\n</article>\n"
              "<p class=\"back\"><a href=\"#contents\">Back to contents</a></p>\n"
              "</section>\n"
              "<section class=\"category\" id=\"category-2\">\n<h2>Family</h2>\n"
              "<article id=\"entry-1\">\n<h3>Born</h3>\n"
              "<dl>\n"
              "<dt>Entry date</dt><dd>03/05/47</dd>\n"
              "<dt>Time period</dt><dd>Childhood</dd>\n"
              "<dt>Location</dt><dd>Leeds</dd>\n"
              "<dt>Keywords</dt><dd>birth</dd>\n"
              "</dl>\n"
              "<p>First line<br>\nsecond line</p>\n<p>New paragraph</p>\n"
              "<figure><img src=\"../IMAGE/Anna%201931.jpg\" alt=\"Anna 1931.jpg\" loading=\"lazy\">"
              "<figcaption>Anna 1931.jpg</figcaption></figure>\n"
              "<ul class=\"files\">\n"
              "<li><a href=\"file:///D:/Letters/first%20letter.txt\">D:\\Letters\\first letter.txt</a></li>\n"
              "</ul>\n"
              "</article>\n"
              "<article id=\"entry-3\">\n<h3>School</h3>\n"
              "<dl>\n<dt>Entry date</dt><dd>12/03/1921</dd>\n<dt>Location</dt><dd>York</dd>\n</dl>\n</article>\n"
              "<p class=\"back\"><a href=\"#contents\">Back to contents</a></p>\n"
              "</section>\n"
              "<section class=\"category\" id=\"category-3\">\n<h2>Letters</h2>\n<p>No entries.</p>\n"
              "<p class=\"back\"><a href=\"#contents\">Back to contents</a></p>\n"
              "</section>\n"
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
        bool inFileList = false;
    };
    const Place places[] = {
        {"topic as title", [](Biography &d, const std::string &v) { d.topic = v; }, "<title>", "</title>"},
        {"topic as heading", [](Biography &d, const std::string &v) { d.topic = v; }, "<h1>", "</h1>"},
        {"category in contents", [](Biography &d, const std::string &v) { d.categories[0] = d.category[0] = v; },
         "\">", "</a> (1 entry)"},
        {"category heading", [](Biography &d, const std::string &v) { d.categories[0] = d.category[0] = v; },
         "<h2>", "</h2>\n<article id=\"entry-1\">"},
        {"title", [](Biography &d, const std::string &v) { d.title[0] = v; }, "<h3>", "</h3>"},
        {"entry date", [](Biography &d, const std::string &v) { d.entryDate[0] = v; }, "Entry date</dt><dd>", "</dd>"},
        {"time period", [](Biography &d, const std::string &v) { d.timePeriod[0] = v; }, "Time period</dt><dd>", "</dd>"},
        {"location", [](Biography &d, const std::string &v) { d.location[0] = v; }, "Location</dt><dd>", "</dd>"},
        {"keywords", [](Biography &d, const std::string &v) { d.keywords[0] = v; }, "Keywords</dt><dd>", "</dd>"},
        {"detail", [](Biography &d, const std::string &v) { d.detail[0] = v; }, "<p>", "</p>"},
        {"file path", [](Biography &d, const std::string &v) { d.files[0] = "\"C:\\" + v + "\""; }, "\">C:\\", "</a></li>", true},
        {"title in chronology", [](Biography &d, const std::string &v) { d.title[0] = v; },
         "<li><a href=\"#entry-1\">1931: ", "</a></li>"},
        {"title in timeline", [](Biography &d, const std::string &v) { d.title[0] = v; }, "<title>1931: ", "</title>"},
        {"category in timeline", [](Biography &d, const std::string &v) { d.categories[0] = d.category[0] = v; },
         "<text x=\"0\" y=\"11\">", "</text>"},
        {"picture caption", [](Biography &d, const std::string &v) { d.files[0] = "\"C:\\" + v + ".png\""; },
         "<figcaption>", ".png</figcaption>", true},
        {"picture alt", [](Biography &d, const std::string &v) { d.files[0] = "\"C:\\" + v + ".png\""; },
         "alt=\"", ".png\" loading", true},
    };
    // With the plain bytes that lie among the markup characters.
    const std::string markup = "a&b<c>d'e#$%=f";
    const std::string escaped = "a&amp;b&lt;c&gt;d&#39;e#$%=f";
    for (const Place &place : places) {
        for (size_t run = 0; run <= 17; ++run) {
            auto d = emptyDocument();
            setCategories(*d, {"Family"});
            addEntry(*d, "Born", "Family");
            d->entryDate[0] = "1931";
            // The double quote cannot be in a file path.
            const std::string quote = place.inFileList ? "" : "\"q";
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
        {"a location of control characters", [](Biography &d) { d.location[0] = "\x01\x02"; },
         "<h3>Born</h3>\n</article>"},
    };
    for (const Case &c : cases) {
        auto d = emptyDocument();
        setCategories(*d, {"Family"});
        addEntry(*d, "Born", "Family");
        c.set(*d);
        const std::string bytes = page(*d);
        EXPECT_TRUE(contains(bytes, "<article id=\"entry-1\">\n" + c.article)) << c.name << ":\n" << bytes;
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

// Links relative to the page wherever the file shares its drive or share,
// file: addresses elsewhere, with every byte a URL cannot hold encoded.
TEST(WebPageWriter, FileLinksEncodeWhatUrlsCannotHold)
{
    const char Anna[] = "C:\\Anna\\BIOGRAPHY XML";
    struct Link {
        const char *path, *page, *biography, *link;
    };
    const Link links[] = {
        {"C:\\Anna\\BIOGRAPHY XML\\portrait.gif", Anna, Anna, "portrait.gif"},
        {"C:\\Anna\\BIOGRAPHY XML\\old\\a.txt", Anna, Anna, "old/a.txt"},
        {"C:\\Anna\\IMAGE\\Anna 1931.jpg", Anna, Anna, "../IMAGE/Anna%201931.jpg"},
        {"C:\\Anna\\notes.txt", Anna, Anna, "../notes.txt"},
        {"C:\\Anna\\BIOGRAPHY XML\\", Anna, Anna, "./"},
        {"c:\\anna\\image\\x.png", Anna, Anna, "../image/x.png"}, // Windows ignores the case
        {"C:/Anna/IMAGE/a.png", Anna, Anna, "../IMAGE/a.png"},
        // Only ASCII letters are compared without case; a longer way is still a way.
        {"C:\\CAF\xc3\x89\\a.txt", "C:\\Caf\xc3\xa9", "C:\\", "../CAF%C3%89/a.txt"},
        {"C:\\Anna\\IMAGE\\..\\TEXT\\.\\a.txt", Anna, Anna, "../TEXT/a.txt"},
        {"C:\\a.txt", "C:\\", "C:\\", "a.txt"},
        {"C:\\Family\\photo 1.jpg", "E:\\Pages", "E:\\Pages", "file:///C:/Family/photo%201.jpg"},
        {"C:\\Files #2\\100% sure.txt", "E:\\Pages", "E:\\Pages", "file:///C:/Files%20%232/100%25%20sure.txt"},
        {"d:\\a&b'c\"<d>?e:f.png", "E:\\Pages", "E:\\Pages", "file:///d:/a%26b%27c%22%3Cd%3E%3Fe%3Af.png"},
        {"\\\\server\\share\\a.jpg", Anna, Anna, "file://server/share/a.jpg"},
        {"\\\\server\\my share\\a.jpg", Anna, Anna, "file://server/my%20share/a.jpg"},
        {"\\\\server\\share\\Anna\\IMAGE\\a.jpg", "\\\\Server\\Share\\Anna", Anna, "IMAGE/a.jpg"},
        {"\\\\server\\other\\a.jpg", "\\\\server\\share\\Anna", Anna, "file://server/other/a.jpg"},
        // Without a drive: from the biography's folder.
        {"notes\\a b.txt", "E:\\Pages", "E:\\Pages", "notes/a%20b.txt"},
        {"Z\xc3\xbcrich.jpg", "E:\\Pages", "E:\\Pages", "Z%C3%BCrich.jpg"},
        {"IMAGE\\a b.jpg", "C:\\Anna\\WEB", "C:\\Anna", "../IMAGE/a%20b.jpg"},
        {"\\Photos\\a.jpg", "C:\\Web", "D:\\Anna", "file:///D:/Photos/a.jpg"},
        {"IMAGE\\a.jpg", "C:\\Web", "\\\\server\\share\\Anna", "file://server/share/Anna/IMAGE/a.jpg"},
        // Windows' other spellings of the same places, and file: addresses.
        {"\\\\?\\C:\\Anna\\IMAGE\\a.jpg", Anna, Anna, "../IMAGE/a.jpg"},
        {"\\\\?\\UNC\\server\\share\\a.jpg", Anna, Anna, "file://server/share/a.jpg"},
        {"\\\\.\\unc\\server\\share\\Anna\\a.jpg", "\\\\server\\share\\Anna", Anna, "a.jpg"},
        {"\\??\\UNC\\server\\share\\a.jpg", Anna, Anna, "file://server/share/a.jpg"},
        {"//server/share/a.jpg", Anna, Anna, "file://server/share/a.jpg"},
        {"file://server/share/a%20b.jpg", Anna, Anna, "file://server/share/a%20b.jpg"},
        {"FILE:////server/share/a.jpg", Anna, Anna, "file://server/share/a.jpg"},
        {"file:///C:/Anna/IMAGE/Z%C3%BCrich.jpg", Anna, Anna, "../IMAGE/Z%C3%BCrich.jpg"},
        {"file://localhost/D:/a.jpg", Anna, Anna, "file:///D:/a.jpg"},
        // A biography never saved, a page anywhere.
        {"notes\\a b.txt", "", "", "notes/a%20b.txt"},
        {"C:\\x.jpg", "", "", "file:///C:/x.jpg"},
    };
    for (const Link &link : links)
        EXPECT_EQ(fileLink(link.path, {link.page, link.biography}), link.link)
            << link.path << " from " << link.page << " for a biography in " << link.biography;

    // The page converts the path and its own folder first: one byte above
    // 0x7F is two in the link, the folders compare as converted.
    auto d = emptyDocument();
    setCategories(*d, {"Family"});
    d->files[addEntry(*d, "Born", "Family")] = "\"C:\\Caf\xe9\\\x80.txt\"\"D:\\Caf\xe9\\Z\xfcrich\\a.txt\"";
    const std::string bytes(writeWebPage(*d, CodePage1252, "en", {"D:\\Caf\xe9", ""}).view());
    EXPECT_TRUE(contains(bytes, "<a href=\"file:///C:/Caf%C3%A9/%E2%82%AC.txt\">C:\\Caf\xc3\xa9\\\xe2\x82\xac.txt</a>"))
        << bytes;
    EXPECT_TRUE(contains(bytes, "<a href=\"Z%C3%BCrich/a.txt\">")) << bytes;
}

// Whoever opened the page would connect to the computer a picture is on
// and send it their login: such a picture is a link that says so. (The
// other spellings of a share are in the table of links above.)
TEST(WebPageWriter, PicturesOnAnotherComputerAreLinksNeverLoaded)
{
    const char Anna[] = "C:\\Anna\\BIOGRAPHY XML", OnShare[] = "\\\\server\\share\\Anna\\BIOGRAPHY XML";
    struct Picture {
        const char *path, *page, *biography, *shown;
    };
    const Picture pictures[] = {
        {"\\\\server\\share\\a b.jpg", Anna, Anna, "file://server/share/a%20b.jpg"},
        {"\\\\?\\UNC\\server\\share\\a b.jpg", Anna, Anna, "file://server/share/a%20b.jpg"},
        {"a b.jpg", "C:\\Web", "\\\\server\\share", "file://server/share/a%20b.jpg"},
        {"\\\\server\\other\\a b.jpg", OnShare, OnShare, "file://server/other/a%20b.jpg"},
    };
    for (const Picture &picture : pictures) {
        auto d = emptyDocument();
        setCategories(*d, {"Family"});
        d->files[addEntry(*d, "Born", "Family")] = std::string("\"") + picture.path + "\"";
        const std::string bytes(writeWebPage(*d, CodePage1252, "en", {picture.page, picture.biography}).view());
        EXPECT_FALSE(contains(bytes, "<img")) << picture.path << ":\n" << bytes;
        EXPECT_TRUE(contains(bytes, std::string("<figure><figcaption><a href=\"") + picture.shown +
                                        "\">a b.jpg</a> (picture on another computer)</figcaption></figure>\n"))
            << picture.path << ":\n" << bytes;
    }
    // A page on the share finds it in its own folder tree, from wherever it
    // is opened: the reader reaches no computer the page did not come from.
    auto d = emptyDocument();
    setCategories(*d, {"Family"});
    d->files[addEntry(*d, "Born", "Family")] = "\"\\\\server\\share\\Anna\\IMAGE\\a.jpg\"";
    EXPECT_TRUE(contains(std::string(writeWebPage(*d, CodePage1252, "en", {OnShare, OnShare}).view()),
                         "<img src=\"../IMAGE/a.jpg\""));
}

size_t occurrences(const std::string &text, const std::string &part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string between(const std::string &text, const std::string &start, const std::string &end)
{
    const size_t from = text.find(start);
    const size_t to = text.find(end, from);
    return from == std::string::npos || to == std::string::npos ? "" : text.substr(from, to - from);
}

TEST(WebPageWriter, ChronologyOfTheEntriesOnThePage)
{
    auto d = emptyDocument();
    // Two tabs of one name show its entries twice; ids go where they show first.
    setCategories(*d, {"Letters", "Family", "Family"});
    d->timePeriod[addEntry(*d, "War", "Family")] = "1939 \x96 1945"; // an en dash in code page 1252
    d->entryDate[addEntry(*d, "Born", "Letters")] = "12/03/1921";
    d->timePeriod[addEntry(*d, "Moved\r\nnorth", "Family")] = "1921";
    d->timePeriod[addEntry(*d, "Paris", "Travel")] = "1925"; // no tab shows it
    addEntry(*d, "Undated", "Family");
    const std::string bytes = page(*d);

    EXPECT_EQ(between(bytes, "<ol class=\"chronology\">", "</ol>"),
              "<ol class=\"chronology\">\n"
              "<li><a href=\"#entry-3\">1921: Moved north</a></li>\n"
              "<li><a href=\"#entry-2\">1921: Born</a></li>\n"
              "<li><a href=\"#entry-1\">1939-1945: War</a></li>\n")
        << bytes;
    const std::string timeline = between(bytes, "<svg", "</svg>");
    EXPECT_EQ(occurrences(timeline, "<a href=\"#entry-"), 3u) << timeline;
    EXPECT_EQ(occurrences(timeline, "<g class=\"row"), 2u) << timeline;
    EXPECT_TRUE(contains(timeline, "<title>1921: Moved north</title>")) << timeline;
    EXPECT_EQ(occurrences(bytes, "<h3>War</h3>"), 2u);
    EXPECT_EQ(occurrences(bytes, "id=\"entry-1\""), 1u);
    EXPECT_TRUE(contains(bytes, "<article id=\"entry-1\">\n<h3>War</h3>")) << "on the first of the two tabs";

    // With more than twelve categories, the rest share the last row.
    for (char c = 'a'; c <= 'm'; ++c) d->timePeriod[addEntry(*d, "Then", std::string(1, c))] = "1950";
    setCategories(*d, {"m", "l", "k", "j", "i", "h", "g", "f", "e", "d", "c", "b", "a"});
    const std::string many = between(page(*d), "<svg", "</svg>");
    EXPECT_EQ(occurrences(many, "<g class=\"row"), 12u) << many;
    EXPECT_EQ(occurrences(many, "<a href=\"#entry-"), 13u) << many;
    EXPECT_TRUE(contains(many, "<g class=\"row12\">\n<text x=\"0\" y=\"319\">Other categories</text>\n")) << many;
    // Its two marks of 1950 lie on two lanes; the row grows by one.
    EXPECT_TRUE(contains(many, "cy=\"328\"") && contains(many, "cy=\"340\"")) << many;
    EXPECT_TRUE(contains(many, "height=\"376\"")) << many;

    for (int i = 0; i < d->entryCount; ++i) d->timePeriod[i] = d->entryDate[i] = "";
    EXPECT_FALSE(contains(page(*d), "Chronology")) << "no years, no chronology";
}

} // namespace

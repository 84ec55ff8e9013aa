#include "main_window_fixture.h"

#include "document/document_files.h"
#include "document/system_code_pages.h"

using FileEncodingTest = MainWindowFixture;

namespace {

std::string file(const std::string &firstLine, const std::string &topic)
{
    return firstLine + "\r\n\r\n<biography_data>\r\n\r\n<topic>" + topic +
           "</topic>\r\n\r\n<categories>\"Family\"</categories>\r\n\r\n<fact1>\r\n<title>" + topic +
           "</title>\r\n<category>Family</category>\r\n</fact1>\r\n\r\n</biography_data>";
}

std::string declared(const std::string &encoding)
{
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>";
}

struct Case {
    std::string name;
    std::string bytes;
    std::string topic;                 // as memory holds it; none when the file is refused
    std::vector<std::string> messages; // the boxes that come up, each by its beginning
    std::string saved;
};

} // namespace

// Files opened as "Open biography file" opens them and saved again, with the
// legacy code page of this run (LC_ALL) and memory in UTF-8 where the
// manifest gives it. The files are left where scripts/test has xmllint read
// them.
TEST_F(FileEncodingTest, FilesOpenAndSaveBack)
{
    const bool utf8 = GetACP() == CP_UTF8;
    const bool japanese = systemTextCodePages().legacy.number() == 932;
    const std::string legacy = japanese ? "\x8e\x52\x93\x63 \x95\x5c" : "Caf\xe9 \x80"; // 山田 表, Café €
    const std::string legacyInUtf8 = japanese ? "\xe5\xb1\xb1\xe7\x94\xb0 \xe8\xa1\xa8" : "Caf\xc3\xa9 \xe2\x82\xac";
    const std::string zofia = utf8 ? "Zofia \xc5\x81ukasiewicz" : "Zofia ?ukasiewicz";
    const std::string replaced = utf8 ? "\xef\xbf\xbd" : "?", krakow = "Krak" + replaced + "w";
    // What older Windows cannot hold is "?" in memory and in the file.
    const std::vector<Case> cases = {
        {"legacy.xml", file("<?xml version=\"1.0\"?>", legacy), utf8 ? legacyInUtf8 : legacy, {},
         file(declared(japanese ? "Shift_JIS" : "windows-1252"), legacy)},
        {"utf8.xml", file(declared("UTF-8"), "Zofia \xc5\x81ukasiewicz"), zofia,
         utf8 ? std::vector<std::string>{} : std::vector<std::string>{"utf8.xml holds characters that"},
         file(declared("UTF-8"), zofia)},
        {"broken.xml", file(declared("UTF-8"), "Krak\xf3w"), krakow,
         {"Some characters of broken.xml could not be read and are shown as " + replaced + "."},
         file(declared("UTF-8"), krakow)},
        {"koi.xml", file(declared("KOI8-R"), "Anna"), "",
         {"koi.xml uses the character encoding KOI8-R, which Memorion cannot read."}, ""},
    };
    const std::string folder = makeTestFolder(japanese ? "file-encoding-932" : "file-encoding-1252");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + "\\" + c.name;
        writeFileBytes(path, c.bytes);
        showDocument("Before", {makeEntry("kept", "C")});
        BiographyDocument.modified = false;
        // As Open goes on once its dialog (captioned in the system's
        // language) has given the path.
        GuiScript script;
        for (const std::string &message : c.messages)
            script.onMessage(message, [](HWND box) { clickButton(box, IDOK); });
        LoadReport report;
        if (openDocumentFile(path, report)) showOpenedDocument(report);
        pumpMessages();
        EXPECT_TRUE(script.finished()) << script.problems();
        ASSERT_EQ(script.seen().size(), c.messages.size());
        for (size_t m = 0; m < c.messages.size(); ++m) {
            EXPECT_EQ(script.seen()[m].text.rfind(c.messages[m], 0), 0u) << script.seen()[m].text;
            EXPECT_EQ(script.seen()[m].caption, c.topic.empty() ? "Error" : "Warning");
        }
        EXPECT_FALSE(BiographyDocument.modified);
        if (c.topic.empty()) {
            EXPECT_EQ(windowText(TopicLine), "Before");
            continue;
        }
        EXPECT_EQ(windowText(TopicLine), c.topic);
        ASSERT_TRUE(saveDocument(path));
        EXPECT_EQ(readFileBytes(path), c.saved);
    }
}

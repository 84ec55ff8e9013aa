#include "document/core/file_encoding.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "document/core/biography_reader.h"
#include "iconv_code_pages.h"

namespace {

std::string declared(const std::string &name)
{
    return "<?xml version=\"1.0\" encoding=\"" + name + "\"?>";
}
const std::string Plain = "<?xml version=\"1.0\"?>";

// A biography of one entry whose texts are `text`, in the bytes of the
// file's encoding: long enough, with line breaks, for the sixteen-byte steps.
std::string file(const std::string &firstLine, const std::string &text)
{
    std::string detail;
    for (int line = 0; line < 5; ++line) detail += text + " and then a line of plain ASCII\r\n";
    return firstLine + "\r\n\r\n<biography_data>\r\n\r\n<topic>" + text + "</topic>\r\n\r\n<categories>\"" + text +
           "\"</categories>\r\n\r\n<fact1>\r\n<title>" + text + "</title>\r\n<category>" + text +
           "</category>\r\n<detail>" + detail + "</detail>\r\n</fact1>\r\n\r\n</biography_data>";
}

// libxml2's complaints about `bytes`; none when they are well-formed XML.
std::string xmllintErrors(std::string_view bytes)
{
    char path[] = "/tmp/memorion-xml-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return "no file";
    close(fd);
    FILE *pipe = popen(("xmllint --noout " + std::string(path) + " 2>&1").c_str(), "r");
    std::string errors;
    for (char line[512]; fgets(line, sizeof line, pipe);) errors += line;
    if (pclose(pipe) != 0) errors += "(xmllint failed: libxml2-utils, scripts/install-toolchain)";
    unlink(path);
    return errors;
}

struct Case {
    const char *what;
    unsigned legacy;
    bool memoryIsUtf8;
    std::string file, topic; // the topic as memory holds it after reading
    bool readAsUtf8, replaced;
    std::string firstLost, saved;
};

} // namespace

// Reading each file, saving it and reading what was saved: the text, how
// it was read, the bytes written, and that libxml2 takes them. A name not
// read is refused.
TEST(FileEncoding, FilesReadAndWrittenBack)
{
    const std::string greek = "\xce\x9c\xce\xb1\xcf\x81\xce\xaf\xce\xb1"; // Μαρία
    const std::vector<Case> cases = {
        {"1252", 1252, true, file(Plain, "Caf\xe9 \x80 Z\xfcrich"), "Caf\xc3\xa9 \xe2\x82\xac Z\xc3\xbcrich", false,
         false, "", file(declared("windows-1252"), "Caf\xe9 \x80 Z\xfcrich")},
        {"1250", 1250, true, file(Plain, "\xa3\xf3" "d\x9f"), "\xc5\x81\xc3\xb3" "d\xc5\xba", false, false, "",
         file(declared("windows-1250"), "\xa3\xf3" "d\x9f")},
        {"1253", 1253, true, file(Plain, "\xcc\xe1\xf1\xdf\xe1"), greek, false, false, "",
         file(declared("windows-1253"), "\xcc\xe1\xf1\xdf\xe1")},
        {"932, a trail byte that is a backslash", 932, true, file(Plain, "\x8e\x52\x93\x63 \x95\x5c"),
         "\xe5\xb1\xb1\xe7\x94\xb0 \xe8\xa1\xa8", false, false, "",
         file(declared("Shift_JIS"), "\x8e\x52\x93\x63 \x95\x5c")},
        {"ASCII", 1252, true, file(Plain, "Anna"), "Anna", false, false, "", file(Plain, "Anna")},
        {"Notepad's UTF-8", 1252, true, file(Plain, "Krak\xc3\xb3w"), "Krak\xc3\xb3w", true, false, "",
         file(declared("UTF-8"), "Krak\xc3\xb3w")},
        {"byte order mark", 1252, true, "\xef\xbb\xbf" + file(Plain, "Krak\xc3\xb3w"), "Krak\xc3\xb3w", true, false,
         "", file(declared("UTF-8"), "Krak\xc3\xb3w")},
        {"declared UTF-8 that fits 1252", 1252, true, file(declared("utf-8"), "caf\xc3\xa9"), "caf\xc3\xa9", true,
         false, "", file(declared("UTF-8"), "caf\xc3\xa9")},
        {"Greek on a Western computer", 1252, true,
         file("<?xml version='1.0' encoding='ISO-8859-7' ?>", "\xcc\xe1\xf1\xdf\xe1"), greek, false, false, "",
         file(declared("UTF-8"), greek)},
        {"windows-1253 that fits 1252", 1252, true, file(declared("windows-1253"), "\xa3 5"), "\xc2\xa3 5", false,
         false, "", file(declared("windows-1252"), "\xa3 5")},
        {"invalid UTF-8", 1252, true, file(declared("UTF-8"), "Krak\xf3w \xe2\x82"), "Krak\xef\xbf\xbdw \xef\xbf\xbd",
         true, true, "", file(declared("UTF-8"), "Krak\xef\xbf\xbdw \xef\xbf\xbd")},
        {"1252 in memory", 1252, false, file(Plain, "Caf\xe9"), "Caf\xe9", false, false, "",
         file(declared("windows-1252"), "Caf\xe9")},
        {"UTF-8 with what 1252 lacks, 1252 in memory", 1252, false, file(Plain, "\xc5\x81\xc3\xb3" "d\xc5\xba"),
         "?\xf3" "d?", true, false, "\xc5\x81", file(declared("UTF-8"), "?\xc3\xb3" "d?")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const LegacyCodePage legacy(c.legacy, iconvCodePages());
        const TextCodePages pages = {legacy, c.memoryIsUtf8};
        const DecodedFile read = decodeBiographyFile(c.file, pages);
        ASSERT_EQ(read.outcome, DecodedFile::Outcome::Read);
        EXPECT_EQ(read.readAsUtf8, c.readAsUtf8);
        EXPECT_EQ(read.charactersReplaced, c.replaced);
        EXPECT_EQ(read.firstLost, c.firstLost);
        read.load();
        BiographyDocument.fileIsUtf8 = read.readAsUtf8;
        EXPECT_EQ(BiographyDocument.topic, c.topic);
        EXPECT_EQ(BiographyDocument.categories[0], c.topic);
        const std::string held = biographyFileBytes(BiographyDocument);

        const EncodedFile saved = encodeBiographyFile(BiographyDocument, pages);
        EXPECT_EQ(saved.bytes.view(), c.saved);
        EXPECT_EQ(xmllintErrors(saved.bytes.view()), "");
        const DecodedFile again = decodeBiographyFile(saved.bytes.view(), pages);
        EXPECT_EQ(again.readAsUtf8, saved.utf8);
        again.load();
        EXPECT_EQ(biographyFileBytes(BiographyDocument), held);
    }
    const LegacyCodePage legacy(1252, iconvCodePages());
    const DecodedFile refused = decodeBiographyFile(file(declared("KOI8-R"), "\xf0"), {legacy, true});
    EXPECT_EQ(refused.outcome, DecodedFile::Outcome::UnknownEncoding);
    EXPECT_EQ(refused.encodingName, "KOI8-R");
}

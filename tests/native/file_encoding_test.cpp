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

// A file's values through the code page 1252 tables, sixteen bytes at a
// time: each kind of byte at every place of a block, next to another or a
// block further on, a letter cut by a block's end, text ending anywhere.
TEST(FileEncoding, LegacyValuesAtEveryPlaceOfABlock)
{
    const LegacyCodePage legacy(1252, iconvCodePages());
    const SingleByteTable &table = *legacy.table();
    struct Piece {
        std::string file, memory;
    };
    const std::vector<Piece> pieces = {
        {"\xe9", "\xc3\xa9"}, {"\x80", "\xe2\x82\xac"}, {"\r\n", "\n"}, {"\r", "\r"}, {"\x81", "\xef\xbf\xbd"}};
    for (const Piece &a : pieces)
        for (const Piece &b : pieces)
            for (size_t at = 0; at < 40; ++at)
                for (size_t gap : {0, 1, 14, 15, 16, 31}) {
                    const std::string before(at, 'a'), between(gap, 'b'), after(at % 19, 'c');
                    const std::string file = before + a.file + between + b.file + after;
                    const std::string memory = before + a.memory + between + b.memory + after;
                    SCOPED_TRACE(testing::PrintToString(file));
                    std::string read(3 * file.size() + 16, '\0'), written(2 * memory.size() + 8, '\0');
                    bool replaced = false;
                    read.resize(table.toUtf8FromFile(file, &read[0], replaced) - read.data());
                    ASSERT_EQ(read, memory);
                    EXPECT_EQ(replaced, file.find('\x81') != std::string::npos);
                    // Neither U+FFFD nor the Polish letter is in the code page.
                    const char *lacking = "\xc5\x81";
                    EXPECT_EQ(table.fromUtf8ToFile(before + lacking + between + b.memory + after, &written[0]), nullptr);
                    const char *end = table.fromUtf8ToFile(memory, &written[0]);
                    ASSERT_EQ(end != nullptr, !replaced);
                    if (end) {
                        EXPECT_EQ(std::string_view(written.data(), end - written.data()), file);
                    }
                }
}

#include "document/core/biography_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Biography holds fixed tables of several hundred KB; keep it off the stack.
std::unique_ptr<Biography> emptyDocument()
{
    return std::make_unique<Biography>();
}

const std::string EmptyFile =
    "<?xml version=\"1.0\"?>\r\n\r\n"
    "<biography_data>\r\n\r\n"
    "<topic></topic>\r\n\r\n"
    "<categories></categories>\r\n\r\n"
    "</biography_data>";

// The bytes between the category list and the closing root tag.
std::string factBlocks(const std::string &file)
{
    const std::string head = "</categories>\r\n\r\n";
    const size_t start = file.find(head);
    const size_t end = file.rfind("</biography_data>");
    if (start == std::string::npos || end == std::string::npos) return "<malformed>";
    return file.substr(start + head.size(), end - start - head.size());
}

TEST(BiographyWriterLayout, EmptyDocumentIsExactly110Bytes)
{
    auto doc = emptyDocument();
    const std::string bytes = biographyFileBytes(*doc);
    EXPECT_EQ(bytes, EmptyFile);
    EXPECT_EQ(bytes.size(), 110u);
}

TEST(BiographyWriterLayout, FileEndsWithRootCloseAndNoLineEnd)
{
    auto doc = emptyDocument();
    doc->entryCount = 1;
    doc->title[0] = "x";
    const std::string bytes = biographyFileBytes(*doc);
    const std::string tail = "</fact1>\r\n\r\n</biography_data>";
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST(BiographyWriterLayout, TopicIsWrittenBetweenItsTags)
{
    auto doc = emptyDocument();
    doc->topic = "Ada Lovelace";
    const std::string bytes = biographyFileBytes(*doc);
    EXPECT_NE(bytes.find("\r\n\r\n<topic>Ada Lovelace</topic>\r\n\r\n<categories>"), std::string::npos);
    EXPECT_EQ(bytes.size(), 110u + 12u);
}

TEST(BiographyWriterFacts, EntryWithAllFieldsEmptyAdds21Bytes)
{
    auto doc = emptyDocument();
    doc->entryCount = 1;
    const std::string bytes = biographyFileBytes(*doc);
    EXPECT_EQ(bytes.size(), 110u + 21u);
    EXPECT_EQ(factBlocks(bytes), "<fact1>\r\n</fact1>\r\n\r\n");
}

TEST(BiographyWriterFacts, EmptyFieldsAreLeftOutEntirely)
{
    auto doc = emptyDocument();
    doc->entryCount = 1;
    doc->title[0] = "Born";
    doc->timePeriod[0] = "Childhood";
    EXPECT_EQ(factBlocks(biographyFileBytes(*doc)),
              "<fact1>\r\n"
              "<title>Born</title>\r\n"
              "<period>Childhood</period>\r\n"
              "</fact1>\r\n\r\n");
}

TEST(BiographyWriterFacts, FieldsFollowTheFileOrderNotTheModelOrder)
{
    auto doc = emptyDocument();
    doc->entryCount = 1;
    doc->title[0] = "T";
    doc->entryDate[0] = "D";
    doc->timePeriod[0] = "P";
    doc->location[0] = "L";
    doc->detail[0] = "X";
    doc->keywords[0] = "K";
    doc->files[0] = "\"c:\\a.jpg\"";
    doc->category[0] = "C";
    EXPECT_EQ(factBlocks(biographyFileBytes(*doc)),
              "<fact1>\r\n"
              "<title>T</title>\r\n"
              "<entry_date>D</entry_date>\r\n"
              "<period>P</period>\r\n"
              "<keywords>K</keywords>\r\n"
              "<files>\"c:\\a.jpg\"</files>\r\n"
              "<category>C</category>\r\n"
              "<location>L</location>\r\n"
              "<detail>X</detail>\r\n"
              "</fact1>\r\n\r\n");
}

TEST(BiographyWriterFacts, FactsAreNumberedFromOneInIndexOrder)
{
    auto doc = emptyDocument();
    doc->entryCount = 12;
    for (int i = 0; i < doc->entryCount; ++i) doc->title[i] = "entry " + std::to_string(i);
    const std::string blocks = factBlocks(biographyFileBytes(*doc));

    std::string expected;
    for (int i = 0; i < 12; ++i) {
        const std::string n = std::to_string(i + 1);
        expected += "<fact" + n + ">\r\n<title>entry " + std::to_string(i) + "</title>\r\n</fact" + n +
                    ">\r\n\r\n";
    }
    EXPECT_EQ(blocks, expected);
}

TEST(BiographyWriterFacts, OnlyEntriesUpToTheCountAreWritten)
{
    auto doc = emptyDocument();
    doc->entryCount = 1;
    doc->title[0] = "kept";
    doc->title[1] = "stale row";
    const std::string bytes = biographyFileBytes(*doc);
    EXPECT_EQ(bytes.find("stale"), std::string::npos);
    EXPECT_EQ(bytes.find("<fact2>"), std::string::npos);
}

TEST(BiographyWriterCategories, OneNameHasNoComma)
{
    auto doc = emptyDocument();
    doc->categoryCount = 1;
    doc->categories[0] = "Family";
    EXPECT_NE(biographyFileBytes(*doc).find("<categories>\"Family\"</categories>\r\n\r\n"), std::string::npos);
}

TEST(BiographyWriterCategories, CommasOnlyBetweenNamesAndNoBlanks)
{
    auto doc = emptyDocument();
    doc->categoryCount = 3;
    doc->categories[0] = "Family";
    doc->categories[1] = "Work life";
    doc->categories[2] = "Travel";
    const std::string bytes = biographyFileBytes(*doc);
    EXPECT_NE(bytes.find("<categories>\"Family\",\"Work life\",\"Travel\"</categories>\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(bytes.size(), 110u + 8u + 11u + 8u + 2u);
}

TEST(BiographyWriterCategories, OnlyNamesUpToTheCountAreWritten)
{
    auto doc = emptyDocument();
    doc->categoryCount = 1;
    doc->categories[0] = "A";
    doc->categories[1] = "B";
    EXPECT_NE(biographyFileBytes(*doc).find("<categories>\"A\"</categories>"), std::string::npos);
}

TEST(BiographyWriterValues, LineFeedInValueBecomesCrLf)
{
    auto doc = emptyDocument();
    doc->entryCount = 1;
    doc->detail[0] = "first\nsecond\n";
    EXPECT_EQ(factBlocks(biographyFileBytes(*doc)),
              "<fact1>\r\n<detail>first\r\nsecond\r\n</detail>\r\n</fact1>\r\n\r\n");
}

TEST(BiographyWriterValues, CrLfInValueIsStoredAsCrCrLf)
{
    auto doc = emptyDocument();
    doc->entryCount = 1;
    doc->detail[0] = "line one\r\nline two";
    doc->topic = "a\r\nb";
    const std::string bytes = biographyFileBytes(*doc);
    EXPECT_NE(bytes.find("<detail>line one\r\r\nline two</detail>\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("<topic>a\r\r\nb</topic>"), std::string::npos);
}

// Line ends are widened many bytes at a time: a line feed at any place of a
// block, several in one block, and values longer than the writer's own
// buffer must all come out as if each byte were copied on its own.
TEST(BiographyWriterValues, LineFeedsAnywhereInLongValues)
{
    std::vector<std::string> values;
    for (size_t length : {1, 15, 16, 17, 31, 32, 33, 63, 64, 65, 97, 130}) {
        for (size_t at = 0; at < length; ++at) {
            std::string value(length, 'x');
            value[at] = '\n';
            values.push_back(value);
        }
    }
    for (size_t first = 0; first < 64; ++first) {
        for (size_t second = first + 1; second < 64; ++second) {
            std::string value(96, 'y');
            value[first] = value[second] = '\n';
            values.push_back(value);
        }
    }
    std::mt19937 rng(7);
    std::string mixed;
    for (int i = 0; i < 70000; ++i) mixed += "ab\r\n "[rng() % 5];
    values.push_back(mixed);
    values.push_back(std::string(50000, '\n'));

    for (const std::string &value : values) {
        auto doc = emptyDocument();
        doc->entryCount = 1;
        doc->detail[0] = value;
        std::string stored;
        for (char c : value) stored += c == '\n' ? std::string("\r\n") : std::string(1, c);
        ASSERT_EQ(factBlocks(biographyFileBytes(*doc)), "<fact1>\r\n<detail>" + stored + "</detail>\r\n</fact1>\r\n\r\n")
            << "value of " << value.size() << " bytes";
    }
}

TEST(BiographyWriterValues, OtherBytesAreWrittenAsHeld)
{
    auto doc = emptyDocument();
    doc->entryCount = 1;
    // Lone CR, Ctrl-Z, NUL, Latin-1 and UTF-8 bytes, markup and blanks at the ends.
    const std::string value = std::string(" a\rb\x1a") + '\0' + "c\xe9\xc3\xa9 <b>&amp; ";
    doc->location[0] = value;
    EXPECT_EQ(factBlocks(biographyFileBytes(*doc)),
              "<fact1>\r\n<location>" + value + "</location>\r\n</fact1>\r\n\r\n");
}

} // namespace

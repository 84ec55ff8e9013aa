#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "generated_documents.h"

namespace {

// Reader input after the byte translation: plain LF line ends.
std::string biographyText(const std::string &body)
{
    return "<?xml version=\"1.0\"?>\n\n<biography_data>\n\n" + body + "\n</biography_data>";
}

std::string fact(const std::string &number, const std::string &inner)
{
    return "<fact" + number + ">\n" + inner + "</fact" + number + ">\n\n";
}

std::string fact(int number, const std::string &inner)
{
    return fact(std::to_string(number), inner);
}

std::string element(const std::string &tag, const std::string &value)
{
    return "<" + tag + ">" + value + "</" + tag + ">\n";
}

std::vector<std::string> loadedCategories()
{
    const Biography &d = BiographyDocument;
    return std::vector<std::string>(d.categories, d.categories + d.categoryCount);
}

std::vector<std::string> loadedTitles()
{
    const Biography &d = BiographyDocument;
    return std::vector<std::string>(d.title, d.title + d.entryCount);
}

std::vector<std::string> loadedEntryCategories()
{
    const Biography &d = BiographyDocument;
    return std::vector<std::string>(d.category, d.category + d.entryCount);
}

void expectSameEntry(const Entry &actual, const Entry &expected, int index)
{
    SCOPED_TRACE("entry " + std::to_string(index));
    EXPECT_EQ(actual.title, expected.title);
    EXPECT_EQ(actual.entryDate, expected.entryDate);
    EXPECT_EQ(actual.timePeriod, expected.timePeriod);
    EXPECT_EQ(actual.location, expected.location);
    EXPECT_EQ(actual.detail, expected.detail);
    EXPECT_EQ(actual.keywords, expected.keywords);
    EXPECT_EQ(actual.files, expected.files);
    EXPECT_EQ(actual.category, expected.category);
}

// Every test starts from the start-up document, as the reader writes into
// the one global document.
class BiographyReader : public ::testing::Test {
protected:
    void SetUp() override { resetDocument(); }

    static LoadReport loadBytes(const std::string &bytes)
    {
        return loadBiographyBytes(bytes);
    }
};

using BiographyReaderRoundTrip = BiographyReader;
using BiographyReaderLayout = BiographyReader;
using BiographyReaderFactNumbers = BiographyReader;
using BiographyReaderCategories = BiographyReader;
using BiographyReaderCapacity = BiographyReader;

// --- What the writer stores comes back unchanged -------------------------

TEST_F(BiographyReaderRoundTrip, EveryFieldTopicAndCategoryComesBackByteForByte)
{
    auto doc = std::make_unique<Biography>();
    doc->topic = "Grandmother\r\nAnna";
    doc->categoryCount = 2;
    doc->categories[0] = "Family";
    doc->categories[1] = "War years";

    // Each field holds a value no other field has, so a value read into the
    // wrong column shows; the bytes are the ones that need care on disk.
    const std::vector<Entry> entries = {
        {"Born", "3.5.1921", "childhood", "Leeds", "first line\r\nsecond line\r\n", "birth; house",
         "\"C:\\Pictures\\house.jpg\"", "Family"},
        {std::string("quote \" comma , ctrl-z \x1a nul ") + '\0' + " end", "1939", "war\nyears",
         "Z\xc3\xbcrich", "lone\rCR and LF\nonly", "k\r\r\n", "\"a.jpg\"\"b.jpg\"", "War years"},
        {"No category", "", "", "", "", "", "", ""},
    };
    doc->entryCount = static_cast<int>(entries.size());
    for (int i = 0; i < doc->entryCount; ++i) {
        doc->title[i] = entries[i].title;
        doc->entryDate[i] = entries[i].entryDate;
        doc->timePeriod[i] = entries[i].timePeriod;
        doc->location[i] = entries[i].location;
        doc->detail[i] = entries[i].detail;
        doc->keywords[i] = entries[i].keywords;
        doc->files[i] = entries[i].files;
        doc->category[i] = entries[i].category;
    }

    const std::string bytes = biographyFileBytes(*doc);
    ASSERT_NE(bytes.find("first line\r\r\nsecond line\r\r\n</detail>"), std::string::npos);

    const LoadReport report = loadBytes(bytes);
    EXPECT_FALSE(report.entriesDropped);
    EXPECT_FALSE(report.categoriesDropped);
    EXPECT_TRUE(BiographyDocument.documentLoaded);
    EXPECT_EQ(BiographyDocument.topic, "Grandmother\r\nAnna");
    ASSERT_EQ(BiographyDocument.entryCount, 3);
    expectSameEntry(entryAt(0), entries[0], 0);
    expectSameEntry(entryAt(1), entries[1], 1);
    Entry uncategorised = entries[2];
    uncategorised.category = "Default";
    expectSameEntry(entryAt(2), uncategorised, 2);
    // The stored list names something, so it stays as written.
    EXPECT_EQ(loadedCategories(), (std::vector<std::string>{"Family", "War years"}));
}

TEST_F(BiographyReaderRoundTrip, WithoutAStoredListTheCategoriesComeFromTheEntries)
{
    auto doc = std::make_unique<Biography>();
    doc->entryCount = 3;
    doc->title[0] = "a";
    doc->category[0] = "";
    doc->title[1] = "b";
    doc->category[1] = "Work";
    doc->title[2] = "c";
    doc->category[2] = "";
    loadBytes(biographyFileBytes(*doc));
    EXPECT_EQ(loadedEntryCategories(), (std::vector<std::string>{"Default", "Work", "Default"}));
    EXPECT_EQ(loadedCategories(), (std::vector<std::string>{"Default", "Work"}));
}

TEST_F(BiographyReaderRoundTrip, GeneratedDocumentsComeBackWhole)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto doc = generated::randomDocument(rng, 200, 300);
        loadBytes(biographyFileBytes(*doc));
        EXPECT_EQ(BiographyDocument.topic, doc->topic);
        ASSERT_EQ(BiographyDocument.entryCount, doc->entryCount);
        for (int i = 0; i < doc->entryCount; ++i) {
            const Entry expected{doc->title[i],  doc->entryDate[i], doc->timePeriod[i], doc->location[i],
                                 doc->detail[i], doc->keywords[i],  doc->files[i],      doc->category[i]};
            expectSameEntry(entryAt(i), expected, i);
            if (HasFailure()) return;
        }
        EXPECT_EQ(loadedCategories(),
                  std::vector<std::string>(doc->categories, doc->categories + doc->categoryCount));
    }
}

TEST_F(BiographyReaderRoundTrip, EmptyDocumentLoadsAsEmpty)
{
    auto doc = std::make_unique<Biography>();
    const LoadReport report = loadBytes(biographyFileBytes(*doc));
    EXPECT_FALSE(report.entriesDropped);
    EXPECT_FALSE(report.categoriesDropped);
    EXPECT_EQ(BiographyDocument.topic, "");
    EXPECT_EQ(BiographyDocument.entryCount, 0);
    EXPECT_EQ(BiographyDocument.categoryCount, 0);
    EXPECT_TRUE(BiographyDocument.documentLoaded);
}

// --- Byte translation ------------------------------------------------------

TEST(BiographyTextFromBytes, OnlyCrLfPairsBecomeLf)
{
    EXPECT_EQ(biographyTextFromBytes(""), "");
    EXPECT_EQ(biographyTextFromBytes("a\r\nb"), "a\nb");
    EXPECT_EQ(biographyTextFromBytes("\r\n\r\n"), "\n\n");
    EXPECT_EQ(biographyTextFromBytes("a\rb"), "a\rb");
    EXPECT_EQ(biographyTextFromBytes("a\nb"), "a\nb");
    EXPECT_EQ(biographyTextFromBytes("\n\r"), "\n\r");
    EXPECT_EQ(biographyTextFromBytes("\r\r\n"), "\r\n");
    EXPECT_EQ(biographyTextFromBytes("\r\r\r\n\n"), "\r\r\n\n");
    EXPECT_EQ(biographyTextFromBytes("end\r"), "end\r");
    EXPECT_EQ(biographyTextFromBytes(std::string("a\x1a\0b\r\n", 6)), std::string("a\x1a\0b\n", 5));
}

TEST_F(BiographyReaderLayout, CtrlZInsideAValueDoesNotEndTheFile)
{
    const std::string bytes = "<?xml version=\"1.0\"?>\r\n\r\n<biography_data>\r\n\r\n"
                              "<topic>t</topic>\r\n\r\n<categories>\"A\"</categories>\r\n\r\n"
                              "<fact1>\r\n<title>before\x1a"
                              "after</title>\r\n</fact1>\r\n\r\n"
                              "\x1a<fact2>\r\n<title>second</title>\r\n<category>A</category>\r\n</fact2>\r\n\r\n"
                              "</biography_data>\x1a";
    loadBytes(bytes);
    EXPECT_EQ(loadedTitles(), (std::vector<std::string>{"before\x1a" "after", "second"}));
    EXPECT_EQ(BiographyDocument.category[1], "A");
}

// --- Tolerance for hand-edited files -----------------------------------

TEST_F(BiographyReaderLayout, FieldsInAnyOrderWithOtherTextBetween)
{
    loadBiographyText(biographyText(
        "<categories>\"C\"</categories>\n"
        "some note\n\n"
        "<fact1>\n\n  <detail>d</detail> junk <category>C</category>\n\n\n<title>t</title>"
        "<location>l</location><files>\"f\"</files>\r\n<keywords>k</keywords>\t<period>p</period>"
        "<entry_date>e</entry_date>\n</fact1>\n"
        "<topic>late topic</topic>"));
    ASSERT_EQ(BiographyDocument.entryCount, 1);
    expectSameEntry(entryAt(0), Entry{"t", "e", "p", "l", "d", "k", "\"f\"", "C"}, 0);
    EXPECT_EQ(BiographyDocument.topic, "late topic");
}

TEST_F(BiographyReaderLayout, RepeatedElementsCountOnlyTheFirstTime)
{
    loadBiographyText(biographyText("<topic>first</topic><topic>second</topic>" +
                                    fact(1, "<title>one</title><title>two</title>"
                                            "<detail>a</detail>\n<detail>b</detail>")));
    EXPECT_EQ(BiographyDocument.topic, "first");
    ASSERT_EQ(BiographyDocument.entryCount, 1);
    EXPECT_EQ(BiographyDocument.title[0], "one");
    EXPECT_EQ(BiographyDocument.detail[0], "a");
}

TEST_F(BiographyReaderLayout, TagsWithAttributesBlanksOrSelfClosingAreNotFound)
{
    loadBiographyText(biographyText(fact(1, "<title a=\"1\">attribute</title>\n"
                                            "<detail >blank</detail>\n"
                                            "<location/>\n"
                                            "< keywords>k</keywords>\n"
                                            "<period>kept</period>\n")));
    ASSERT_EQ(BiographyDocument.entryCount, 1);
    expectSameEntry(entryAt(0), Entry{"", "", "kept", "", "", "", "", "Default"}, 0);
}

TEST_F(BiographyReaderLayout, FieldsAreSoughtOnlyInsideTheirOwnFact)
{
    loadBiographyText(biographyText("<title>before all facts</title>\n" +
                                    fact(1, "<detail>one</detail>") +
                                    // The closing tag lies past the end of the fact.
                                    fact(2, "<title>unclosed") + "</title>\n" +
                                    fact(3, "<title>three</title>") + "<location>after</location>"));
    ASSERT_EQ(BiographyDocument.entryCount, 3);
    EXPECT_EQ(loadedTitles(), (std::vector<std::string>{"", "", "three"}));
    EXPECT_EQ(BiographyDocument.detail[0], "one");
    EXPECT_EQ(BiographyDocument.location[2], "");
}

TEST_F(BiographyReaderLayout, AClosingTagBeforeTheOpeningOneEmptiesTheValue)
{
    // Only the first closing tag counts, even when a later one would close
    // the value properly.
    loadBiographyText(biographyText("</topic><topic>t</topic>" +
                                    fact(1, "</title><title>x</title><detail>d</detail>")));
    EXPECT_EQ(BiographyDocument.topic, "");
    ASSERT_EQ(BiographyDocument.entryCount, 1);
    EXPECT_EQ(BiographyDocument.title[0], "");
    EXPECT_EQ(BiographyDocument.detail[0], "d");
}

TEST_F(BiographyReaderLayout, AFactWithoutUsableTextIsStillAnEntry)
{
    loadBiographyText(biographyText("</fact1>\n<fact1><title>closed before</title></fact1>\n"
                                    "<fact2><title>never closed</title>\n"
                                    "<fact3></fact3>\n"));
    ASSERT_EQ(BiographyDocument.entryCount, 3);
    for (int i = 0; i < 3; ++i)
        expectSameEntry(entryAt(i), Entry{"", "", "", "", "", "", "", "Default"}, i);
}

TEST_F(BiographyReaderLayout, OverlappingFactsEachReadToTheirOwnClosingTag)
{
    loadBiographyText(biographyText("<fact1><title>a</title><fact2><title>b</title></fact1>"
                                    "<detail>d2</detail></fact2>"));
    ASSERT_EQ(BiographyDocument.entryCount, 2);
    EXPECT_EQ(loadedTitles(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(BiographyDocument.detail[0], "");
    EXPECT_EQ(BiographyDocument.detail[1], "d2");
}

TEST_F(BiographyReaderLayout, MissingTopicIsEmpty)
{
    BiographyDocument.topic = "the previous document's";
    loadBiographyText(biographyText("<topic>never closed"));
    EXPECT_EQ(BiographyDocument.topic, "");
}

TEST_F(BiographyReaderLayout, LoadingReplacesEverythingOfTheDocumentBefore)
{
    std::string big = "<topic>big</topic><categories>\"A\",\"B\",\"C\"</categories>";
    for (int n = 1; n <= 10; ++n)
        big += fact(n, element("title", "t" + std::to_string(n)) + element("entry_date", "e") +
                           element("period", "p") + element("location", "l") + element("detail", "d") +
                           element("keywords", "k") + element("files", "f") + element("category", "A"));
    loadBiographyText(biographyText(big));
    ASSERT_EQ(BiographyDocument.entryCount, 10);

    BiographyDocument.filePath = "C:\\bios\\big.bio";
    BiographyDocument.modified = true;
    loadBiographyText(biographyText(fact(1, "<title>small</title>") + fact(2, "")));

    const Biography &d = BiographyDocument;
    EXPECT_EQ(d.topic, "");
    ASSERT_EQ(d.entryCount, 2);
    EXPECT_EQ(loadedTitles(), (std::vector<std::string>{"small", ""}));
    EXPECT_EQ(d.entryDate[0], "");
    EXPECT_EQ(d.category[0], "Default");
    EXPECT_EQ(loadedCategories(), (std::vector<std::string>{"Default"}));
    // Rows past the count must not keep the old entries: appending reuses them.
    for (int i = 2; i < 10; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        expectSameEntry(entryAt(i), Entry{}, i);
    }
    // Where the document lives and whether it was changed are not the
    // reader's business.
    EXPECT_EQ(d.filePath, "C:\\bios\\big.bio");
    EXPECT_TRUE(d.modified);
}

// --- Fact numbers --------------------------------------------------------

TEST_F(BiographyReaderFactNumbers, GapsAreClosedAndNumbersKeepTheirOrder)
{
    loadBiographyText(biographyText(fact(1, "<title>one</title>") + fact(2, "<title>two</title>") +
                                    fact(5, "<title>five</title>")));
    EXPECT_EQ(loadedTitles(), (std::vector<std::string>{"one", "two", "five"}));
}

TEST_F(BiographyReaderFactNumbers, OrderIsNumericNotTheOrderInTheFile)
{
    loadBiographyText(biographyText(fact(10, "<title>10</title>") + fact(2, "<title>2</title>") +
                                    fact("18446744073709551617", "<title>huge</title>") +
                                    fact(9, "<title>9</title>") + fact(100, "<title>100</title>") +
                                    fact(1, "<title>1</title>")));
    EXPECT_EQ(loadedTitles(), (std::vector<std::string>{"1", "2", "9", "10", "100", "huge"}));
}

TEST_F(BiographyReaderFactNumbers, LeadingZerosZeroAndBrokenTagsAreNoFacts)
{
    loadBiographyText(biographyText(fact("01", "<title>zero one</title>") + fact("0", "<title>zero</title>") +
                                    "<fact3 >\n<title>blank</title></fact3>\n"
                                    "<fact4 a=\"1\"><title>attribute</title></fact4>\n"
                                    "<fact-5><title>minus</title></fact-5>\n"
                                    "<fact6<title>no end</title></fact6>\n"
                                    "</fact7>\n" +
                                    fact(2, "<title>two</title>")));
    EXPECT_EQ(loadedTitles(), (std::vector<std::string>{"two"}));
}

TEST_F(BiographyReaderFactNumbers, AFactRunsToTheFirstClosingTagOfItsNumber)
{
    loadBiographyText(biographyText("<fact1><title>a</title></fact1><fact1><title>b</title></fact1>"));
    EXPECT_EQ(loadedTitles(), (std::vector<std::string>{"a"}));
}

TEST(BiographyFactCount, CountsDistinctNumbersNotTheHighest)
{
    EXPECT_EQ(countFacts(""), 0);
    EXPECT_EQ(countFacts(biographyText(fact(5, ""))), 1);
    EXPECT_EQ(countFacts(biographyText(fact(1, "") + fact(1, "") + fact(7, "") + fact(3, ""))), 3);
    // Only opening tags of plain numbers count.
    EXPECT_EQ(countFacts("<fact01></fact2><fact0><fact3 ><fact4a><fact>"), 0);
    EXPECT_EQ(countFacts("<fact12345678901234567890><fact1234567890123456789>"), 2);

    std::string many;
    for (int n = 1; n <= 1030; ++n) many += "<fact" + std::to_string(n) + ">";
    EXPECT_EQ(countFacts(many), 1030);
}

// --- Category list ---------------------------------------------------------

TEST_F(BiographyReaderCategories, OnlyTheQuotedNamesMatterNotWhatSeparatesThem)
{
    for (const std::string list : {"\"Family\",\"Work life\",\"Travel\"", "\"Family\";\"Work life\";\"Travel\"",
                                   "\"Family\" \"Work life\"\n\"Travel\"", "\"Family\"\"Work life\"\"Travel\"",
                                   "x\"Family\", ,\"Work life\"junk\"Travel\"\n"}) {
        SCOPED_TRACE(list);
        resetDocument();
        loadBiographyText(biographyText("<categories>" + list + "</categories>"));
        EXPECT_EQ(loadedCategories(), (std::vector<std::string>{"Family", "Work life", "Travel"}));
    }
}

TEST_F(BiographyReaderCategories, EmptyQuotesAreANameAndAnUnterminatedLastNameIsNot)
{
    loadBiographyText(biographyText("<categories>\"A\",\"\",\"B\",\"C</categories>"));
    EXPECT_EQ(loadedCategories(), (std::vector<std::string>{"A", "", "B"}));
}

TEST_F(BiographyReaderCategories, WithoutNamedCategoriesTheEntriesNameThemInOrderOfFirstAppearance)
{
    const std::string facts = fact(1, "<category>Work</category>") + fact(2, "<category>Family</category>") +
                              fact(3, "") + fact(4, "<category>Work</category>") +
                              fact(5, "<category>Travel</category>");
    const std::vector<std::string> fromEntries = {"Work", "Family", "Default", "Travel"};
    for (const std::string list : {"", "<categories></categories>", "<categories>no quotes</categories>",
                                   "<categories>\"unterminated</categories>", "<categories>\"A\",\"B\"",
                                   "<categories a=\"1\">\"A\"</categories>"}) {
        SCOPED_TRACE(list);
        resetDocument();
        loadBiographyText(biographyText(list + facts));
        EXPECT_EQ(loadedCategories(), fromEntries);
    }
}

TEST_F(BiographyReaderCategories, TheListIsKeptAsStoredWhateverTheEntriesUse)
{
    loadBiographyText(biographyText("<categories>\"Family\",\"Unused\"</categories>" +
                                    fact(1, "<category>Family</category>") +
                                    fact(2, "<category>Unlisted</category><title>kept</title>") + fact(3, "")));
    EXPECT_EQ(loadedCategories(), (std::vector<std::string>{"Family", "Unused"}));
    ASSERT_EQ(BiographyDocument.entryCount, 3);
    EXPECT_EQ(loadedEntryCategories(), (std::vector<std::string>{"Family", "Unlisted", "Default"}));
    EXPECT_EQ(BiographyDocument.title[1], "kept");
}

// --- Capacity ------------------------------------------------------------

std::string numberedFacts(int count)
{
    std::string facts;
    for (int n = 1; n <= count; ++n) facts += fact(n, element("title", std::to_string(n)));
    return facts;
}

std::string quotedNames(int count)
{
    std::string list;
    for (int i = 0; i < count; ++i) list += (i > 0 ? ",\"c" : "\"c") + std::to_string(i) + "\"";
    return list;
}

TEST_F(BiographyReaderCapacity, TheFirstMaxEntriesFactNumbersAreRead)
{
    // Written in reverse, so taking the first facts of the file would be wrong.
    std::string facts;
    for (int n = 1030; n >= 1; --n) facts += fact(n, element("title", std::to_string(n)));
    const LoadReport report = loadBiographyText(biographyText(facts));
    EXPECT_TRUE(report.entriesDropped);
    ASSERT_EQ(BiographyDocument.entryCount, MaxEntries);
    EXPECT_EQ(BiographyDocument.title[0], "1");
    EXPECT_EQ(BiographyDocument.title[MaxEntries - 1], std::to_string(MaxEntries));
}

TEST_F(BiographyReaderCapacity, ExactlyMaxEntriesFactsAreNotReportedAsDropped)
{
    const LoadReport report = loadBiographyText(biographyText(numberedFacts(MaxEntries)));
    EXPECT_FALSE(report.entriesDropped);
    EXPECT_EQ(BiographyDocument.entryCount, MaxEntries);
    EXPECT_EQ(BiographyDocument.title[MaxEntries - 1], std::to_string(MaxEntries));
}

TEST_F(BiographyReaderCapacity, TheFirstMaxCategoriesListedNamesAreKept)
{
    const LoadReport report =
        loadBiographyText(biographyText("<categories>" + quotedNames(510) + "</categories>" + numberedFacts(2)));
    EXPECT_TRUE(report.categoriesDropped);
    EXPECT_FALSE(report.entriesDropped);
    ASSERT_EQ(BiographyDocument.categoryCount, MaxCategories);
    EXPECT_EQ(BiographyDocument.categories[0], "c0");
    EXPECT_EQ(BiographyDocument.categories[MaxCategories - 1], "c" + std::to_string(MaxCategories - 1));

    resetDocument();
    const LoadReport exact =
        loadBiographyText(biographyText("<categories>" + quotedNames(MaxCategories) + "</categories>"));
    EXPECT_FALSE(exact.categoriesDropped);
    EXPECT_EQ(BiographyDocument.categoryCount, MaxCategories);
}

TEST_F(BiographyReaderCapacity, TooManyCategoriesInTheEntriesAreReportedToo)
{
    std::string facts;
    for (int n = 1; n <= 510; ++n) facts += fact(n, element("category", "c" + std::to_string(n)));
    const LoadReport report = loadBiographyText(biographyText(facts));
    EXPECT_TRUE(report.categoriesDropped);
    EXPECT_EQ(BiographyDocument.entryCount, 510);
    EXPECT_EQ(BiographyDocument.categoryCount, MaxCategories);
    EXPECT_EQ(BiographyDocument.category[509], "c510");

    // The file's own list replaces the one made from the entries: nothing
    // of it was dropped, so there is nothing to warn about.
    resetDocument();
    const LoadReport listed =
        loadBiographyText(biographyText("<categories>\"c1\",\"c2\"</categories>" + facts));
    EXPECT_FALSE(listed.categoriesDropped);
    EXPECT_EQ(BiographyDocument.categoryCount, 2);
}

// --- Searching helpers ---------------------------------------------------

TEST(BiographyExtractBetween, TakesTheFirstOccurrenceOfEachTag)
{
    EXPECT_EQ(extractBetween("<a>x</a><a>y</a>", "<a>", "</a>"), "x");
    EXPECT_EQ(extractBetween("<a></a>", "<a>", "</a>"), "");
    EXPECT_EQ(extractBetween("pre<a>multi\nline</a>post", "<a>", "</a>"), "multi\nline");
    // The first end tag decides, even when a later one follows the start.
    EXPECT_EQ(extractBetween("</a><a>y</a>", "<a>", "</a>"), "");
    // An end tag overlapping the start tag does not lie beyond it.
    EXPECT_EQ(extractBetween("<ab>c", "<ab>", "b>"), "");
    EXPECT_EQ(extractBetween("|x|", "|", "|"), "");
}

TEST(BiographyExtractBetween, MissingTagsGiveEmptyText)
{
    EXPECT_EQ(extractBetween("", "<a>", "</a>"), "");
    EXPECT_EQ(extractBetween("x</a>", "<a>", "</a>"), "");
    EXPECT_EQ(extractBetween("<a>x", "<a>", "</a>"), "");
    EXPECT_EQ(extractBetween("<a >x</a>", "<a>", "</a>"), "");
}

TEST(BiographyTextCheck, NeedsTheCompleteRootTagAnywhere)
{
    EXPECT_TRUE(isBiographyText("<biography_data>"));
    EXPECT_TRUE(isBiographyText("junk first\n<topic>x</topic><biography_data>"));
    EXPECT_FALSE(isBiographyText(""));
    EXPECT_FALSE(isBiographyText("<biography_data"));
    EXPECT_FALSE(isBiographyText("</biography_data>"));
    EXPECT_FALSE(isBiographyText("<biography_data >"));
    EXPECT_FALSE(isBiographyText("<?xml version=\"1.0\"?>\n<topic>x</topic>"));
}

} // namespace

#include <gtest/gtest.h>

#include "document/core/biography_document.h"

namespace {

class DocumentModel : public ::testing::Test {
protected:
    void SetUp() override { resetDocument(); }

    static void addNumbered(int n)
    {
        for (int i = 0; i < n; ++i) {
            std::string s = std::to_string(i);
            appendEntry("t" + s, "d" + s, "p" + s, "l" + s, "x" + s, "k" + s,
                        "\"f" + s + "\"", "c" + s);
        }
    }

    static void expectNumbered(int index, int n)
    {
        std::string s = std::to_string(n);
        Entry e = entryAt(index);
        EXPECT_EQ(e.title, "t" + s);
        EXPECT_EQ(e.entryDate, "d" + s);
        EXPECT_EQ(e.timePeriod, "p" + s);
        EXPECT_EQ(e.location, "l" + s);
        EXPECT_EQ(e.detail, "x" + s);
        EXPECT_EQ(e.keywords, "k" + s);
        EXPECT_EQ(e.files, "\"f" + s + "\"");
        EXPECT_EQ(e.category, "c" + s);
    }
};

TEST_F(DocumentModel, RemovingAnEntryMovesAllEightFieldsOfTheLaterOnes)
{
    addNumbered(3);
    removeEntry(0);
    ASSERT_EQ(BiographyDocument.entryCount, 2);
    expectNumbered(0, 1);
    expectNumbered(1, 2);
}

TEST_F(DocumentModel, RemovingSeveralEntriesKeepsTheOthersInOrder)
{
    addNumbered(5);
    removeEntries({0, 2});
    ASSERT_EQ(BiographyDocument.entryCount, 3);
    expectNumbered(0, 1);
    expectNumbered(1, 3);
    expectNumbered(2, 4);

    removeEntries({2});
    ASSERT_EQ(BiographyDocument.entryCount, 2);
    expectNumbered(1, 3);
}

TEST_F(DocumentModel, AppendNeverWritesPastTheTables)
{
    addNumbered(MaxEntries);
    appendEntry("overflow", "", "", "", "", "", "", "");
    EXPECT_EQ(BiographyDocument.entryCount, MaxEntries);
    expectNumbered(MaxEntries - 1, MaxEntries - 1);
}

TEST_F(DocumentModel, RebuildingCategoriesFillsDefaultAndKeepsFirstAppearanceOrder)
{
    for (const char *c : {"B", "", "A", "B", "b", "A "})
        appendEntry("", "", "", "", "", "", "", c);
    EXPECT_TRUE(rebuildCategories());
    EXPECT_EQ(BiographyDocument.category[1], "Default");
    ASSERT_EQ(BiographyDocument.categoryCount, 5);
    const char *expected[] = {"B", "Default", "A", "b", "A "};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(BiographyDocument.categories[i], expected[i]);
    EXPECT_EQ(countEntriesInCategory("B"), 2);
    EXPECT_EQ(countEntriesInCategory("b"), 1);
    EXPECT_EQ(findCategory("A "), 4);
    EXPECT_EQ(findCategory("a"), -1);
}

TEST_F(DocumentModel, RebuildingCategoriesOfNoEntriesEmptiesTheList)
{
    BiographyDocument.categories[0] = "Old";
    BiographyDocument.categoryCount = 1;
    // A row past the count holds a stale entry of that category.
    BiographyDocument.category[0] = "Old";
    rebuildCategories();
    EXPECT_EQ(BiographyDocument.categoryCount, 0);
    EXPECT_EQ(countEntriesInCategory("Old"), 0);
}

TEST_F(DocumentModel, RebuildingCategoriesStopsAtTheCapacity)
{
    for (int i = 0; i < MaxCategories + 3; ++i)
        appendEntry("", "", "", "", "", "", "", "c" + std::to_string(i));
    EXPECT_FALSE(rebuildCategories());
    EXPECT_EQ(BiographyDocument.categoryCount, MaxCategories);
    EXPECT_EQ(BiographyDocument.categories[MaxCategories - 1], "c499");
    EXPECT_EQ(BiographyDocument.entryCount, MaxCategories + 3);
}

TEST_F(DocumentModel, DocumentPathSplitsAtTheLastBackslash)
{
    setDocumentPath("C:\\people\\anna\\life.xml");
    EXPECT_EQ(BiographyDocument.filePath, "C:\\people\\anna\\life.xml");
    EXPECT_EQ(BiographyDocument.fileName, "life.xml");
    setDocumentPath("bare.xml");
    EXPECT_EQ(BiographyDocument.fileName, "bare.xml");
    setDocumentPath("C:\\dir\\");
    EXPECT_EQ(BiographyDocument.fileName, "");
}

TEST(TextRules, EntryTextRefusesOnlyMarkupBytes)
{
    EXPECT_TRUE(isValidEntryText(""));
    EXPECT_TRUE(isValidEntryText("say \"hi\"\r\nnext line \xE9\xFF"));
    EXPECT_FALSE(isValidEntryText("a<b"));
    EXPECT_FALSE(isValidEntryText("a>b"));
    EXPECT_FALSE(isValidEntryText("Tom & Jerry"));
}

TEST(TextRules, CategoryNamesAlsoRefuseDoubleQuotes)
{
    EXPECT_TRUE(isValidCategoryName("Family 1950-1960"));
    EXPECT_FALSE(isValidCategoryName("the \"best\" years"));
    EXPECT_FALSE(isValidCategoryName("<work>"));
    EXPECT_FALSE(isValidCategoryName("R&D"));
}

TEST(FileListText, ParsingSkipsStrayTextAndDropsAnUnclosedPath)
{
    std::vector<std::string> paths = parseFileList("\"C:\\a.jpg\" stray \"D:\\b c.txt\"\"unclosed");
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], "C:\\a.jpg");
    EXPECT_EQ(paths[1], "D:\\b c.txt");
    EXPECT_EQ(joinFileList(paths), "\"C:\\a.jpg\"\"D:\\b c.txt\"");

    paths = parseFileList("\"\"");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], "");
    EXPECT_EQ(joinFileList({}), "");
    EXPECT_TRUE(parseFileList("").empty());
}

TEST(FileListText, CountingCountsQuotePairs)
{
    EXPECT_EQ(countFiles("\"a\"\"b\"\"c\""), 3);
    EXPECT_EQ(countFiles(""), 0);
    EXPECT_EQ(countFiles("\"\"\""), 1);
    EXPECT_EQ(countFiles("no quotes at all"), 0);
}

} // namespace

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/core/biography_writer.h"
#include "document/core/document_edits.h"

namespace {

std::string fileBytes()
{
    return biographyFileBytes(BiographyDocument);
}

class History : public ::testing::Test {
protected:
    // Categories Work, Home, Default (tabs Default, Home, Work); five
    // entries, the last without a tab of its own.
    void SetUp() override
    {
        resetDocument();
        for (const char *name : {"Work", "Home", "Default"}) appendCategory(name);
        const char *categories[] = {"Work", "Home", "Work", "Default", "Lost"};
        for (int i = 0; i < 5; ++i)
            appendEntry("t" + std::to_string(i), "01/02/03", "", "", "detail", "", "\"C:\\a.jpg\"",
                        categories[i]);
        BiographyDocument.topic = "Anna";
        startHistory();
    }
};

Entry makeEntryIn(const std::string &category)
{
    Entry entry;
    entry.title = "New entry";
    entry.category = category;
    return entry;
}

struct Shown {
    std::string category; // "" for none
    std::vector<int> entries;
};

void expectShown(const ChangedPlace &place, const Shown &shown, const char *when)
{
    const Biography &d = BiographyDocument;
    EXPECT_EQ(place.category >= 0 ? d.categories[place.category] : "", shown.category) << when;
    EXPECT_EQ(place.entries, shown.entries) << when;
}

TEST_F(History, EveryKindOfStepIsUndoneAndRedoneToTheByte)
{
    const int detail = fieldNumber(&Biography::detail);
    struct Case {
        const char *name;
        std::function<bool()> make;
        Shown undone, redone;
        bool categoriesChange;
        std::function<void()> prepare = nullptr;
    };
    const Case cases[] = {
        {"Add entry", [] { return edit::addEntry(makeEntryIn("Home")); }, {"Home", {}}, {"Home", {5}}, false},
        {"Add entry", [] { return edit::addEntry(makeEntryIn("New")); }, {"", {}}, {"New", {5}}, true},
        {"Delete entries", [] { return edit::deleteEntries({0, 2, 4}); }, {"Work", {0, 2, 4}}, {"Work", {}}, false},
        {"Move entries", [] { return edit::moveEntries({0, 1, 2}, 1); }, {"Work", {0, 2}}, {"Home", {0, 2}}, false},
        {"Edit detail", [=] { return edit::setField(1, detail, "new\r\nlines"); }, {"Home", {1}}, {"Home", {1}}, false},
        {"Remove files", [] { return edit::setFiles(3, "", StepKind::RemoveFiles); }, {"Default", {3}}, {"Default", {3}}, false},
        {"Add file", [] { return edit::setFiles(3, "\"C:\\a.jpg\"\"D:\\b\"", StepKind::AddFile); }, {"Default", {3}}, {"Default", {3}}, false},
        {"Set topic", [] { return edit::setTopic("Anna Maria"); }, {"", {}}, {"", {}}, false},
        {"New category", [] { return edit::addCategory("Travel"); }, {"", {}}, {"Travel", {}}, true},
        {"Rename category", [] { return edit::renameCategory(0, "Jobs"); }, {"Work", {}}, {"Jobs", {}}, true},
        {"Delete category", [] { return edit::deleteCategory(0); }, {"Work", {}}, {"Default", {}}, true},
        {"Delete category", [] { return edit::deleteCategory(1); }, {"Home", {}}, {"Default", {}}, true},
        // Without a "Default" category one is added for the entries.
        {"Delete category", [] { return edit::deleteCategory(0); }, {"Work", {}}, {"Default", {}}, true,
         [] { BiographyDocument.categories[2] = "Other"; }},
        {"Move category left", [] { return edit::moveCategory(0, +1); }, {"Work", {}}, {"Work", {}}, true},
        {"Move category right", [] { return edit::moveCategory(2, -1); }, {"Default", {}}, {"Default", {}}, true},
    };
    for (const Case &c : cases) {
        SetUp();
        if (c.prepare) {
            c.prepare();
            startHistory();
            BiographyDocument.modified = false;
        }
        const std::string before = fileBytes();
        ASSERT_TRUE(c.make()) << c.name;

        const std::string after = fileBytes();
        EXPECT_NE(after, before) << c.name;
        EXPECT_TRUE(BiographyDocument.modified) << c.name;
        EXPECT_EQ(undoStepName(), c.name);
        EXPECT_EQ(redoStepName(), "") << c.name;

        const ChangedPlace undone = undoStep();
        EXPECT_EQ(fileBytes(), before) << c.name;
        EXPECT_FALSE(BiographyDocument.modified) << c.name;
        EXPECT_EQ(undone.categoriesChanged, c.categoriesChange) << c.name;
        expectShown(undone, c.undone, c.name);
        EXPECT_EQ(redoStepName(), c.name);

        const ChangedPlace redone = redoStep();
        EXPECT_EQ(fileBytes(), after) << c.name;
        EXPECT_TRUE(BiographyDocument.modified) << c.name;
        expectShown(redone, c.redone, c.name);
    }
}

TEST_F(History, ACommandThatChangesNothingMakesNoStep)
{
    const int title = fieldNumber(&Biography::title);
    EXPECT_FALSE(edit::setField(0, title, "t0"));
    EXPECT_FALSE(edit::setTopic("Anna"));
    EXPECT_FALSE(edit::moveEntries({0, 2}, 0));       // already in Work
    EXPECT_FALSE(edit::moveCategory(2, +1));          // the leftmost tab
    EXPECT_FALSE(edit::moveCategory(0, -1));          // the rightmost
    EXPECT_FALSE(edit::renameCategory(1, "Home"));
    EXPECT_FALSE(edit::deleteEntries({}));
    EXPECT_FALSE(canUndo());
    EXPECT_FALSE(BiographyDocument.modified);
}

TEST_F(History, UndoReachingTheSavedStateLeavesNothingToSave)
{
    edit::setTopic("one");
    BiographyDocument.modified = false; // saved here
    markHistorySaved();
    edit::setTopic("two");
    undoStep();
    EXPECT_FALSE(BiographyDocument.modified);
    undoStep();
    EXPECT_TRUE(BiographyDocument.modified);
    redoStep();
    EXPECT_FALSE(BiographyDocument.modified);

    // A new change where "two" could have been redone drops it, and the
    // saved state with it when that came after.
    redoStep();
    markHistorySaved();
    undoStep();
    edit::setTopic("three");
    EXPECT_FALSE(canRedo());
    EXPECT_EQ(undoStepName(), "Set topic");
    undoStep();
    EXPECT_EQ(BiographyDocument.topic, "one");
    EXPECT_TRUE(BiographyDocument.modified);
}

TEST_F(History, TheOldestStepsGoFirstByCountAndBySize)
{
    for (int i = 1; i <= MaxHistorySteps + 100; ++i) edit::setTopic(std::to_string(i));
    EXPECT_EQ(historyStepCount(), MaxHistorySteps);
    while (canUndo()) undoStep();
    EXPECT_EQ(BiographyDocument.topic, "100");
    EXPECT_TRUE(BiographyDocument.modified); // the saved state went with the first steps

    startHistory();
    const std::string big(MaxHistoryBytes / 3, 'x');
    for (char c : std::string("abcde")) edit::setTopic(std::string(1, c) + big);
    EXPECT_LE(historyBytes(), MaxHistoryBytes);
    EXPECT_EQ(historyStepCount(), 2);
    undoStep();
    undoStep();
    EXPECT_EQ(BiographyDocument.topic[0], 'c');
}

} // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"
#include "document/core/document_edits.h"
#include "document/core/journal_replay.h"

namespace {

std::string fileBytes()
{
    return biographyFileBytes(BiographyDocument);
}

// The journal as the program keeps it, written as the history changes.
std::string journal;
JournalRecorder recorder;
uint64_t clock = 0;

void record(HistoryEvent event, const Step *step)
{
    if (step) journal += recorder.recordsFor(event, *step, ++clock);
}

void loadBase(const std::string &bytes)
{
    loadBiographyBytes(bytes);
}

// The writer's bytes of each state undo walks back through.
std::vector<std::string> undoWalk()
{
    std::vector<std::string> states;
    for (; canUndo(); undoStep()) states.push_back(fileBytes());
    for (; canRedo(); redoStep()) {}
    return states;
}

class RecoveryJournal : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetDocument();
        for (const char *name : {"Work", "Home", "Default"}) appendCategory(name);
        for (const char *category : {"Work", "Home", "Work", "Default"})
            appendEntry("t", "01/02/03", "", "", "line\r\nline", "", "\"C:\\a.jpg\"", category);
        BiographyDocument.topic = "Anna \xC3\xA9";
        startHistory();
        clock = 0;
        recorder.startEmpty();
        setHistoryRecorder(record);
    }
    void TearDown() override { setHistoryRecorder(nullptr); }

    // The journal's first `bytes` replayed onto its base.
    static std::string replayed(size_t bytes, bool baseIsSaved)
    {
        const JournalContents read = readJournal(std::string_view(journal).substr(0, bytes));
        EXPECT_EQ(read.damage, "");
        std::string problem;
        EXPECT_TRUE(replayJournal(read, baseIsSaved, loadBase, problem)) << problem;
        return fileBytes();
    }
};

// Steps made before the journal began (before a save) are undone and
// redone through it; then every kind of step.
TEST_F(RecoveryJournal, EveryKindOfStepReplaysOntoTheBaseToTheWritersByte)
{
    const int detail = fieldNumber(&Biography::detail);
    edit::setTopic("Before");
    edit::addEntry(entryAt(0));
    edit::setField(0, detail, "undone before");
    undoStep();
    BiographyDocument.modified = false; // saved here
    markHistorySaved();
    const std::string base = fileBytes();
    const FileFingerprint saved = fingerprintOf(base);
    journal = journalStart("C:\\B\xC3\xA9la.xml", &saved, base);
    recorder.startEmpty();
    const std::vector<std::function<void()>> changes = {
        redoStep, undoStep, undoStep, undoStep, redoStep, redoStep,
        [] { edit::addEntry(entryAt(1)); },
        [] { edit::deleteEntries({0, 2, 4}); },
        [] { edit::moveEntries({0, 1}, 2); },
        [=] { edit::setField(1, detail, std::string(3000, 'x') + "\r\n\xE6\x97\xA5"); },
        [] { edit::setFiles(0, "\"C:\\a.jpg\"\"D:\\b c\"", StepKind::AddFile); },
        [] { edit::setFiles(0, "", StepKind::RemoveFiles); },
        [] { edit::setTopic(""); },
        [] { edit::addCategory("Travel"); },
        [] { edit::renameCategory(2, "Other"); },
        [] { edit::deleteCategory(0); },
        [] { edit::moveCategory(0, +1); },
        [] { edit::moveCategory(2, -1); },
        undoStep, undoStep, redoStep,
    };
    std::vector<size_t> ends;
    std::vector<std::string> states;
    std::vector<bool> modified;
    for (const auto &change : changes) {
        change();
        ends.push_back(journal.size());
        states.push_back(fileBytes());
        modified.push_back(BiographyDocument.modified);
    }
    setHistoryRecorder(nullptr);
    const std::vector<std::string> liveWalk = undoWalk();

    const JournalContents read = readJournal(journal);
    EXPECT_EQ(read.path, "C:\\B\xC3\xA9la.xml");
    EXPECT_TRUE(read.fingerprinted && read.saved == saved);
    EXPECT_EQ(read.changes, static_cast<int>(changes.size()));
    EXPECT_EQ(read.lastChange, clock);
    for (size_t i = 0; i < changes.size(); ++i) {
        EXPECT_EQ(replayed(ends[i], true), states[i]) << i;
        EXPECT_EQ(BiographyDocument.modified, modified[i]) << i;
    }
    // Undo walks back the way the user's did, through the base, which is
    // unsaved unless it is the file on disk.
    for (bool baseIsSaved : {true, false}) {
        replayed(journal.size(), baseIsSaved);
        const std::vector<std::string> walk = undoWalk();
        ASSERT_LE(walk.size(), liveWalk.size());
        EXPECT_TRUE(std::equal(walk.begin(), walk.end(), liveWalk.begin()));
        EXPECT_NE(std::find(walk.begin(), walk.end(), base), walk.end());
        for (; canUndo() && fileBytes() != base; undoStep()) {}
        EXPECT_EQ(BiographyDocument.modified, !baseIsSaved);
    }
}

// A crash may cut the journal anywhere: every change written whole before
// the cut is kept. A byte changed before the last record is damage, and a
// whole record that does not fit the biography is refused.
TEST_F(RecoveryJournal, ACutJournalKeepsEveryWholeChangeAndDamageIsCaught)
{
    journal = journalStart("C:\\a.xml", nullptr, fileBytes());
    const size_t started = journal.size();
    edit::setTopic("One");
    const size_t first = journal.size();
    const std::string afterFirst = fileBytes();
    edit::deleteEntries({0, 1, 2, 3});
    setHistoryRecorder(nullptr);
    for (size_t cut = 0; cut < journal.size(); ++cut) {
        const JournalContents read = readJournal(std::string_view(journal).substr(0, cut));
        ASSERT_EQ(read.damage, "") << cut;
        EXPECT_EQ(read.started, cut >= started) << cut;
        EXPECT_EQ(read.changes, cut >= first ? 1 : 0) << cut;
        if (cut >= first) {
            EXPECT_EQ(replayed(cut, false), afterFirst) << cut;
        }
    }
    // Zeros where the last record should be, as a crash may leave them.
    EXPECT_EQ(readJournal(journal.substr(0, first) + std::string(40, '\0')).changes, 1);
    for (size_t at : {size_t(0), started - 1, first - 1}) {
        std::string bytes = journal;
        bytes[at] ^= 0x20;
        EXPECT_NE(readJournal(bytes).damage, "") << at;
    }
    JournalContents read = readJournal(journal);
    read.base = "<biography_data></biography_data>"; // no entries to delete
    std::string problem;
    EXPECT_FALSE(replayJournal(read, false, loadBase, problem));
    EXPECT_EQ(problem, "its record 3 is a step that does not fit the biography");
}

} // namespace

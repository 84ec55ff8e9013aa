#include <gtest/gtest.h>

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

// The journal the history's changes are written to, as the program keeps
// it, and the document after each change.
struct Kept {
    std::string journal;
    JournalRecorder recorder;
    uint64_t clock = 0;
    std::vector<size_t> ends;        // where each change's records end
    std::vector<std::string> states; // the writer's bytes after each change
    std::vector<bool> modified;
};
Kept kept;

void record(HistoryEvent event, const Step *step)
{
    if (!step) return kept.recorder.startEmpty();
    kept.journal += kept.recorder.recordsFor(event, *step, ++kept.clock);
}

void loadBase(const std::string &bytes)
{
    loadBiographyBytes(bytes);
}

// The writer's bytes of each state an undo, then a redo, walks through,
// back to where it started.
std::vector<std::string> undoWalk()
{
    std::vector<std::string> states;
    int undone = 0;
    for (; canUndo(); ++undone) {
        undoStep();
        states.push_back(fileBytes());
    }
    for (; undone > 0; --undone) redoStep();
    return states;
}

class RecoveryJournal : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetDocument();
        kept = Kept();
        for (const char *name : {"Work", "Home", "Default"}) appendCategory(name);
        const char *categories[] = {"Work", "Home", "Work", "Default"};
        for (int i = 0; i < 4; ++i)
            appendEntry("t" + std::to_string(i), "01/02/03", "", "", "line\r\nline", "",
                        "\"C:\\a.jpg\"", categories[i]);
        BiographyDocument.topic = "Anna \xC3\xA9";
        startHistory();
        setHistoryRecorder(record);
    }
    void TearDown() override { setHistoryRecorder(nullptr); }

    // Replays the journal's first `bytes` onto its base.
    std::string replayed(size_t bytes, bool baseIsSaved = true)
    {
        const JournalContents journal = readJournal(std::string_view(kept.journal).substr(0, bytes));
        EXPECT_EQ(journal.damage, "");
        std::string problem;
        EXPECT_TRUE(replayJournal(journal, baseIsSaved, loadBase, problem)) << problem;
        return fileBytes();
    }
};

// Steps made before the journal began (as before a save) are undone and
// redone through it; then every kind of step, and undo and redo again.
TEST_F(RecoveryJournal, EveryKindOfStepReplaysOntoTheBaseToTheWritersByte)
{
    const int detail = fieldNumber(&Biography::detail);
    edit::setTopic("Before");
    edit::addEntry(entryAt(0));
    edit::setField(0, detail, "undone before");
    undoStep();
    // Saved here: the base is the file as saved.
    BiographyDocument.modified = false;
    markHistorySaved();
    const std::string base = fileBytes();
    const FileFingerprint saved = fingerprintOf(base);
    kept.journal = journalStart("C:\\B\xC3\xA9la.xml", &saved, base);
    kept.recorder.startEmpty();
    const std::vector<std::function<void()>> changes = {
        [] { redoStep(); }, [] { undoStep(); }, [] { undoStep(); }, [] { undoStep(); },
        [] { redoStep(); }, [] { redoStep(); },
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
        [] { undoStep(); }, [] { undoStep(); }, [] { redoStep(); },
    };
    for (const auto &change : changes) {
        change();
        kept.ends.push_back(kept.journal.size());
        kept.states.push_back(fileBytes());
        kept.modified.push_back(BiographyDocument.modified);
    }
    setHistoryRecorder(nullptr);
    const std::vector<std::string> liveWalk = undoWalk();

    const JournalContents journal = readJournal(kept.journal);
    EXPECT_EQ(journal.path, "C:\\B\xC3\xA9la.xml");
    EXPECT_TRUE(journal.fingerprinted && journal.saved == saved);
    EXPECT_EQ(journal.changes, static_cast<int>(changes.size()));
    EXPECT_EQ(journal.lastChange, kept.clock);
    EXPECT_EQ(journal.wholeBytes, kept.journal.size());

    // After every change, and its journal up to there, the same document.
    for (size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(replayed(kept.ends[i]), kept.states[i]);
        EXPECT_EQ(BiographyDocument.modified, kept.modified[i]);
    }
    // The recovered history walks back through the base, the states the
    // user's did, and a journal whose base is not on disk never reaches
    // an unmodified state.
    for (bool baseIsSaved : {true, false}) {
        replayed(kept.journal.size(), baseIsSaved);
        const std::vector<std::string> walk = undoWalk();
        ASSERT_LE(walk.size(), liveWalk.size());
        EXPECT_TRUE(std::equal(walk.begin(), walk.end(), liveWalk.begin()));
        bool reachedBase = false;
        for (int undone = 0; canUndo(); ++undone) {
            undoStep();
            reachedBase = reachedBase || fileBytes() == base;
            EXPECT_EQ(BiographyDocument.modified, !(baseIsSaved && fileBytes() == base)) << undone;
        }
        EXPECT_TRUE(reachedBase);
    }
}

// A crash may cut the journal anywhere in its last record: every change
// before it is kept; a byte changed in a record before the last is damage.
TEST_F(RecoveryJournal, ACutJournalKeepsEveryWholeChangeAndDamageIsCaught)
{
    const std::string base = fileBytes();
    kept.journal = journalStart("C:\\a.xml", nullptr, base);
    const size_t started = kept.journal.size();
    edit::setTopic("One");
    const size_t first = kept.journal.size();
    const std::string afterFirst = fileBytes();
    edit::deleteEntries({0, 1, 2, 3});
    setHistoryRecorder(nullptr);

    for (size_t cut = 0; cut < kept.journal.size(); ++cut) {
        SCOPED_TRACE(cut);
        const JournalContents journal = readJournal(std::string_view(kept.journal).substr(0, cut));
        ASSERT_EQ(journal.damage, "");
        EXPECT_EQ(journal.started, cut >= started);
        EXPECT_EQ(journal.changes, cut >= first ? 1 : 0);
        if (cut >= first) {
            EXPECT_EQ(replayed(cut, false), afterFirst);
        }
    }
    // Zeros where the last record should be, as a crash may leave them.
    EXPECT_EQ(readJournal(kept.journal.substr(0, first) + std::string(40, '\0')).changes, 1);

    struct Damage {
        size_t at;
        const char *found;
    };
    const Damage damages[] = {
        {0, "not a recovery journal"},
        {started - 1, "record at byte 29 fails its checksum"},
        {first - 1, "fails its checksum"},
    };
    for (const Damage &d : damages) {
        std::string bytes = kept.journal;
        bytes[d.at] ^= 0x20;
        const JournalContents journal = readJournal(bytes);
        EXPECT_NE(journal.damage.find(d.found), std::string::npos) << d.at << ": " << journal.damage;
    }
    // Whole records that do not fit the biography are refused, not applied.
    JournalContents journal = readJournal(kept.journal);
    journal.base = "<biography_data></biography_data>"; // no entries to delete
    std::string problem;
    EXPECT_FALSE(replayJournal(journal, false, loadBase, problem));
    EXPECT_EQ(problem, "its record 3 is a step that does not fit the biography");
}

} // namespace

#include "document/core/journal_replay.h"

namespace {

constexpr int StepKindCount = static_cast<int>(StepKind::MoveCategoryRight) + 1;

// Entries and categories as the operations leave them, counted only.
struct Counts {
    int entries;
    int categories;
};

bool ascendingWithin(const std::vector<int> &positions, int end)
{
    int previous = -1;
    for (int p : positions) {
        if (p <= previous || p >= end) return false;
        previous = p;
    }
    return true;
}

// One operation applied forwards, or backwards when `forward` is false:
// whether it fits, and the counts it leaves.
bool fits(const Operation &op, bool forward, Counts &c)
{
    const int n = static_cast<int>(op.positions.size());
    switch (op.kind) {
    case Operation::Field:
        return op.index < c.entries && op.other >= 0 && op.other < EntryFieldCount;
    case Operation::Topic:
        return true;
    case Operation::InsertEntries:
    case Operation::RemoveEntries:
        // Putting entries in, or taking them out.
        if ((op.kind == Operation::InsertEntries) == forward) {
            if (op.entries.size() != op.positions.size() || c.entries + n > MaxEntries ||
                !ascendingWithin(op.positions, c.entries + n))
                return false;
            c.entries += n;
            return true;
        }
        if (!op.entries.empty() || !ascendingWithin(op.positions, c.entries)) return false;
        c.entries -= n;
        return true;
    case Operation::InsertCategory:
    case Operation::RemoveCategory:
        if ((op.kind == Operation::InsertCategory) == forward) {
            if (c.categories >= MaxCategories || op.index > c.categories) return false;
            ++c.categories;
            return true;
        }
        if (op.index >= c.categories) return false;
        --c.categories;
        return true;
    case Operation::CategoryName:
        return op.index < c.categories;
    case Operation::SwapCategories:
        return op.index < c.categories && op.other < c.categories;
    }
    return false;
}

bool validCategory(int category)
{
    return category >= -1 && category < MaxCategories;
}

// A step of the journal, brought into the history as the user's program did.
std::string apply(const JournalRecord &record)
{
    const char *misfit = nullptr;
    switch (record.kind) {
    case JournalRecordKind::Made:
        if (std::string why = stepMisfit(record.step, true); !why.empty()) return why;
        commitStep(record.step);
        break;
    case JournalRecordKind::Undone:
        if (!canUndo()) misfit = "an undo with nothing to undo";
        else undoStep();
        break;
    case JournalRecordKind::Redone:
        if (!canRedo()) misfit = "a redo with nothing to redo";
        else redoStep();
        break;
    case JournalRecordKind::Earlier:
        if (historyPosition() != 0) misfit = "an earlier step while steps are applied";
        else if (std::string why = stepMisfit(record.step, false); !why.empty()) return why;
        else adoptEarlierStep(record.step);
        break;
    case JournalRecordKind::Later:
        if (historyPosition() != historyStepCount()) misfit = "a later step while steps can be redone";
        else if (std::string why = stepMisfit(record.step, true); !why.empty()) return why;
        else adoptLaterStep(record.step);
        break;
    }
    return misfit ? misfit : "";
}

// The journal is being read, not written: neither recorder nor listener
// hears of it, whatever happens on the way.
class QuietHistory {
public:
    QuietHistory() : recorder_(setHistoryRecorder(nullptr)), listener_(setHistoryListener(nullptr)) {}
    ~QuietHistory()
    {
        setHistoryRecorder(recorder_);
        setHistoryListener(listener_);
    }
    QuietHistory(const QuietHistory &) = delete;
    QuietHistory &operator=(const QuietHistory &) = delete;

private:
    HistoryRecorder recorder_;
    HistoryListener listener_;
};

} // namespace

std::string stepMisfit(const Step &step, bool forward)
{
    const int kind = static_cast<int>(step.kind);
    if (kind < 0 || kind >= StepKindCount || step.field < -1 || step.field >= EntryFieldCount ||
        (step.kind == StepKind::EditField && step.field < 0) || !validCategory(step.categoryAfter) ||
        !validCategory(step.categoryBefore))
        return "a step of an unknown kind";
    Counts counts{BiographyDocument.entryCount, BiographyDocument.categoryCount};
    const size_t count = step.operations.size();
    for (size_t i = 0; i < count; ++i) {
        const Operation &op = step.operations[forward ? i : count - 1 - i];
        if (!fits(op, forward, counts)) return "a step that does not fit the biography";
    }
    return "";
}

bool replayJournal(const JournalContents &journal, bool baseIsSaved, BaseLoader loadBase,
                   std::string &problem)
{
    QuietHistory quiet;
    loadBase(journal.base);
    BiographyDocument.modified = !baseIsSaved;
    startHistory();
    problem.clear();
    for (size_t i = 0; i < journal.records.size() && problem.empty(); ++i) {
        problem = apply(journal.records[i]);
        if (!problem.empty()) problem = "its record " + std::to_string(i + 2) + " is " + problem;
    }
    return problem.empty();
}

#include "document/core/document_history.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace {

struct History {
    std::deque<Step> steps;
    int done = 0;    // steps applied; those after them can be redone
    int savedAt = 0; // `done` when the document was as on disk; -1 once that is out of reach
    size_t bytes = 0;
};
History history;
HistoryListener listener = nullptr;
HistoryRecorder recorder = nullptr;

void tellListener()
{
    if (listener) listener();
}

void tellRecorder(HistoryEvent event, const Step *step)
{
    if (recorder) recorder(event, step);
}

std::string &fieldOf(int entry, int field)
{
    return (BiographyDocument.*EntryFields[field].column)[entry];
}

Entry takeEntry(int index)
{
    Entry entry;
    for (const EntryField &field : EntryFields)
        entry.*field.value = std::move((BiographyDocument.*field.column)[index]);
    return entry;
}

void putEntry(int index, Entry &entry)
{
    for (const EntryField &field : EntryFields)
        (BiographyDocument.*field.column)[index] = std::move(entry.*field.value);
}

// One pass from the end, so that a thousand entries cost what one does.
void insertEntries(Operation &op)
{
    Biography &d = BiographyDocument;
    int from = d.entryCount - 1;
    int next = static_cast<int>(op.positions.size()) - 1;
    for (int to = d.entryCount + next; next >= 0; --to) {
        if (to == op.positions[next])
            putEntry(to, op.entries[next--]);
        else
            moveEntryRow(from--, to);
    }
    d.entryCount += static_cast<int>(op.positions.size());
    op.entries.clear();
}

void takeEntries(Operation &op)
{
    op.entries.reserve(op.positions.size());
    for (int position : op.positions) op.entries.push_back(takeEntry(position));
    removeEntries(op.positions);
}

void insertCategory(Operation &op)
{
    Biography &d = BiographyDocument;
    for (int i = d.categoryCount; i > op.index; --i) d.categories[i] = std::move(d.categories[i - 1]);
    d.categories[op.index] = std::move(op.text);
    ++d.categoryCount;
    op.text.clear();
}

void takeCategory(Operation &op)
{
    Biography &d = BiographyDocument;
    op.text = std::move(d.categories[op.index]);
    for (int i = op.index; i + 1 < d.categoryCount; ++i) d.categories[i] = std::move(d.categories[i + 1]);
    d.categories[--d.categoryCount].clear();
}

void apply(Operation &op, bool forward)
{
    Biography &d = BiographyDocument;
    switch (op.kind) {
    case Operation::Field:          fieldOf(op.index, op.other).swap(op.text); break;
    case Operation::Topic:          d.topic.swap(op.text); break;
    case Operation::InsertEntries:  forward ? insertEntries(op) : takeEntries(op); break;
    case Operation::RemoveEntries:  forward ? takeEntries(op) : insertEntries(op); break;
    case Operation::InsertCategory: forward ? insertCategory(op) : takeCategory(op); break;
    case Operation::RemoveCategory: forward ? takeCategory(op) : insertCategory(op); break;
    case Operation::CategoryName:   d.categories[op.index].swap(op.text); break;
    case Operation::SwapCategories: d.categories[op.index].swap(d.categories[op.other]); break;
    }
}

size_t heldBytes(const Step &step)
{
    size_t bytes = 0;
    for (const Operation &op : step.operations) {
        bytes += op.text.size();
        for (const Entry &entry : op.entries)
            for (const EntryField &field : EntryFields) bytes += (entry.*field.value).size();
    }
    return bytes;
}

// Applies the step forwards (made or redone) or backwards (undone), keeping
// the history's count of bytes: the values held change places.
void apply(Step &step, bool forward)
{
    history.bytes -= step.bytes;
    if (forward)
        for (Operation &op : step.operations) apply(op, true);
    else
        for (auto op = step.operations.rbegin(); op != step.operations.rend(); ++op) apply(*op, false);
    step.bytes = heldBytes(step);
    history.bytes += step.bytes;
}

bool changesCategories(const Step &step)
{
    for (const Operation &op : step.operations)
        if (op.kind >= Operation::InsertCategory) return true;
    return false;
}

bool isCategoryStep(const Step &step)
{
    return step.kind >= StepKind::NewCategory && step.kind <= StepKind::MoveCategoryRight;
}

// The entries a step changed that are in the document now, and the
// category to show them under: theirs, or for entries just taken out, the
// one they were in.
ChangedPlace placeOf(const Step &step, bool forward)
{
    ChangedPlace place;
    place.categoriesChanged = changesCategories(step);
    place.category = forward ? step.categoryAfter : step.categoryBefore;
    const Entry *gone = nullptr;
    for (const Operation &op : step.operations) {
        if (op.kind == Operation::Field && !isCategoryStep(step)) place.entries.push_back(op.index);
        const bool present = op.kind == (forward ? Operation::InsertEntries : Operation::RemoveEntries);
        if (present) place.entries.insert(place.entries.end(), op.positions.begin(), op.positions.end());
        if (!op.entries.empty() && !gone) gone = &op.entries.front();
    }
    std::sort(place.entries.begin(), place.entries.end());
    place.entries.erase(std::unique(place.entries.begin(), place.entries.end()), place.entries.end());
    if (place.category < 0 && !place.entries.empty())
        place.category = findCategory(BiographyDocument.category[place.entries.front()]);
    else if (place.category < 0 && gone)
        place.category = findCategory(gone->category);
    return place;
}

std::string stepName(const Step &step)
{
    static const char *const Names[] = {
        "Add entry", "Delete entries", "Move entries", "Edit", "Add file", "Remove files",
        "Set topic", "New category", "Rename category", "Delete category",
        "Move category left", "Move category right", "Import from family tree",
    };
    const std::string name = Names[static_cast<int>(step.kind)];
    if (step.kind != StepKind::EditField) return name;
    return name + " " + labelInSentence(EntryFields[step.field]);
}

// The oldest steps go first; the saved state goes with them when it came
// before them.
void trimHistory()
{
    History &h = history;
    while (static_cast<int>(h.steps.size()) > MaxHistorySteps ||
           (h.bytes > MaxHistoryBytes && h.steps.size() > 1)) {
        h.bytes -= h.steps.front().bytes;
        h.steps.pop_front();
        --h.done;
        h.savedAt = h.savedAt > 0 ? h.savedAt - 1 : -1;
    }
}

} // namespace

void startHistory()
{
    history = History();
    history.savedAt = BiographyDocument.modified ? -1 : 0;
    tellRecorder(HistoryEvent::Started, nullptr);
    tellListener();
}

void markHistorySaved()
{
    history.savedAt = history.done;
    tellListener();
}

void markModifiedWithoutStep()
{
    BiographyDocument.modified = true;
    tellListener();
}

void commitStep(Step step)
{
    History &h = history;
    tellRecorder(HistoryEvent::Made, &step);
    for (size_t i = h.done; i < h.steps.size(); ++i) h.bytes -= h.steps[i].bytes;
    h.steps.erase(h.steps.begin() + h.done, h.steps.end());
    if (h.savedAt > h.done) h.savedAt = -1;
    step.bytes = 0;
    apply(step, true);
    h.steps.push_back(std::move(step));
    ++h.done;
    trimHistory();
    BiographyDocument.modified = true;
    tellListener();
}

bool canUndo() { return history.done > 0; }
bool canRedo() { return history.done < static_cast<int>(history.steps.size()); }

std::string undoStepName()
{
    return canUndo() ? stepName(history.steps[history.done - 1]) : std::string();
}

std::string redoStepName()
{
    return canRedo() ? stepName(history.steps[history.done]) : std::string();
}

ChangedPlace undoStep()
{
    if (!canUndo()) return {};
    tellRecorder(HistoryEvent::Undone, &history.steps[history.done - 1]);
    Step &step = history.steps[--history.done];
    apply(step, false);
    BiographyDocument.modified = history.done != history.savedAt;
    tellListener();
    return placeOf(step, false);
}

ChangedPlace redoStep()
{
    if (!canRedo()) return {};
    tellRecorder(HistoryEvent::Redone, &history.steps[history.done]);
    Step &step = history.steps[history.done++];
    apply(step, true);
    BiographyDocument.modified = history.done != history.savedAt;
    tellListener();
    return placeOf(step, true);
}

HistoryListener setHistoryListener(HistoryListener newListener)
{
    return std::exchange(listener, newListener);
}

HistoryRecorder setHistoryRecorder(HistoryRecorder newRecorder)
{
    return std::exchange(recorder, newRecorder);
}

int historyStepCount() { return static_cast<int>(history.steps.size()); }
size_t historyBytes() { return history.bytes; }
int historyPosition() { return history.done; }

bool historyAtSavedState() { return history.done == history.savedAt; }

void adoptEarlierStep(Step step)
{
    History &h = history;
    if (h.done != 0) return;
    step.bytes = heldBytes(step);
    h.bytes += step.bytes;
    h.steps.push_front(std::move(step));
    h.done = 1;
    if (h.savedAt >= 0) ++h.savedAt;
}

void adoptLaterStep(Step step)
{
    History &h = history;
    if (h.done != static_cast<int>(h.steps.size())) return;
    step.bytes = heldBytes(step);
    h.bytes += step.bytes;
    h.steps.push_back(std::move(step));
}

struct SetAsideHistory::Held {
    History history;
};

SetAsideHistory::SetAsideHistory() : held_(new Held{std::move(history)})
{
    history = History();
}

SetAsideHistory::~SetAsideHistory() = default;

void SetAsideHistory::putBack()
{
    if (held_) history = std::move(held_->history);
    held_.reset();
}

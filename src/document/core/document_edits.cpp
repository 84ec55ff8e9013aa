#include "document/core/document_edits.h"

namespace {

constexpr int CategoryField = fieldNumber(&Biography::category);

Operation fieldChange(int entry, int field, std::string text)
{
    Operation op{Operation::Field};
    op.index = entry;
    op.other = field;
    op.text = std::move(text);
    return op;
}

Operation categoryOperation(Operation::Kind kind, int index, std::string name = std::string())
{
    Operation op{kind};
    op.index = index;
    op.text = std::move(name);
    return op;
}

// Every entry of category `from` to category `to`.
void recategorise(Step &step, const std::string &from, const std::string &to)
{
    const Biography &d = BiographyDocument;
    for (int e = 0; e < d.entryCount; ++e)
        if (d.category[e] == from) step.operations.push_back(fieldChange(e, CategoryField, to));
}

bool commitIfAny(Step step)
{
    if (step.operations.empty()) return false;
    commitStep(std::move(step));
    return true;
}

bool setText(StepKind kind, int entry, int field, const std::string &text)
{
    if ((BiographyDocument.*EntryFields[field].column)[entry] == text) return false;
    Step step{kind, field};
    step.operations.push_back(fieldChange(entry, field, text));
    return commitIfAny(std::move(step));
}

} // namespace

namespace edit {

bool addEntry(const Entry &entry)
{
    const Biography &d = BiographyDocument;
    if (d.entryCount >= MaxEntries) return false;
    Step step{StepKind::AddEntry};
    if (findCategory(entry.category) < 0 && d.categoryCount < MaxCategories)
        step.operations.push_back(categoryOperation(Operation::InsertCategory, d.categoryCount,
                                                    entry.category));
    Operation add{Operation::InsertEntries};
    add.positions = {d.entryCount};
    add.entries = {entry};
    step.operations.push_back(std::move(add));
    return commitIfAny(std::move(step));
}

bool importEntries(const std::vector<Entry> &entries)
{
    const Biography &d = BiographyDocument;
    if (entries.empty() || entries.size() > static_cast<size_t>(MaxEntries - d.entryCount)) return false;
    Step step{StepKind::ImportFamilyTree};
    std::vector<std::string> added;
    for (const Entry &entry : entries) {
        if (findCategory(entry.category) >= 0) continue;
        bool known = false;
        for (const std::string &name : added) known = known || name == entry.category;
        if (!known) added.push_back(entry.category);
    }
    if (added.size() > static_cast<size_t>(MaxCategories - d.categoryCount)) return false;
    for (size_t c = 0; c < added.size(); ++c)
        step.operations.push_back(
            categoryOperation(Operation::InsertCategory, d.categoryCount + static_cast<int>(c), added[c]));
    Operation add{Operation::InsertEntries};
    for (size_t e = 0; e < entries.size(); ++e) add.positions.push_back(d.entryCount + static_cast<int>(e));
    add.entries = entries;
    step.operations.push_back(std::move(add));
    return commitIfAny(std::move(step));
}

bool deleteEntries(const std::vector<int> &entries)
{
    if (entries.empty()) return false;
    Step step{StepKind::DeleteEntries};
    Operation remove{Operation::RemoveEntries};
    remove.positions = entries;
    step.operations.push_back(std::move(remove));
    return commitIfAny(std::move(step));
}

bool moveEntries(const std::vector<int> &entries, int category)
{
    const Biography &d = BiographyDocument;
    if (category < 0 || category >= d.categoryCount) return false;
    Step step{StepKind::MoveEntries};
    for (int e : entries)
        if (e >= 0 && e < d.entryCount && d.category[e] != d.categories[category])
            step.operations.push_back(fieldChange(e, CategoryField, d.categories[category]));
    step.categoryAfter = category;
    return commitIfAny(std::move(step));
}

bool setField(int entry, int field, const std::string &text)
{
    return setText(StepKind::EditField, entry, field, text);
}

bool setFiles(int entry, const std::string &files, StepKind kind)
{
    return setText(kind, entry, fieldNumber(&Biography::files), files);
}

bool setTopic(const std::string &topic)
{
    if (BiographyDocument.topic == topic) return false;
    Step step{StepKind::SetTopic};
    Operation op{Operation::Topic};
    op.text = topic;
    step.operations.push_back(std::move(op));
    return commitIfAny(std::move(step));
}

void okTopic(const std::string &topic)
{
    if (!setTopic(topic)) markModifiedWithoutStep();
}

void okField(int entry, int field, const std::string &text)
{
    if (!setField(entry, field, text)) markModifiedWithoutStep();
}

bool addCategory(const std::string &name)
{
    const int count = BiographyDocument.categoryCount;
    if (count >= MaxCategories) return false;
    Step step{StepKind::NewCategory};
    step.operations.push_back(categoryOperation(Operation::InsertCategory, count, name));
    step.categoryAfter = count;
    return commitIfAny(std::move(step));
}

bool renameCategory(int category, const std::string &name)
{
    const Biography &d = BiographyDocument;
    if (category < 0 || category >= d.categoryCount || d.categories[category] == name) return false;
    Step step{StepKind::RenameCategory};
    recategorise(step, d.categories[category], name);
    step.operations.push_back(categoryOperation(Operation::CategoryName, category, name));
    step.categoryAfter = step.categoryBefore = category;
    return commitIfAny(std::move(step));
}

bool deleteCategory(int category)
{
    const Biography &d = BiographyDocument;
    if (category < 0 || category >= d.categoryCount) return false;
    Step step{StepKind::DeleteCategory};
    const std::string &name = d.categories[category];
    if (name != DefaultCategory) recategorise(step, name, DefaultCategory);
    step.operations.push_back(categoryOperation(Operation::RemoveCategory, category));
    // Where "Default" stands once the category is gone, if anywhere.
    int defaultAfter = -1;
    for (int c = 0; c < d.categoryCount && defaultAfter < 0; ++c)
        if (c != category && d.categories[c] == DefaultCategory) defaultAfter = c < category ? c : c - 1;
    const bool defaultUsed = countEntriesInCategory(DefaultCategory) > 0 ||
                             (name != DefaultCategory && countEntriesInCategory(name) > 0);
    if (defaultAfter < 0 && defaultUsed) {
        defaultAfter = d.categoryCount - 1;
        step.operations.push_back(
            categoryOperation(Operation::InsertCategory, defaultAfter, DefaultCategory));
    }
    step.categoryAfter = defaultAfter;
    step.categoryBefore = category;
    return commitIfAny(std::move(step));
}

bool moveCategory(int category, int toward)
{
    const int other = category + toward;
    if (category < 0 || other < 0 || other >= BiographyDocument.categoryCount || toward == 0)
        return false;
    Step step{toward > 0 ? StepKind::MoveCategoryLeft : StepKind::MoveCategoryRight};
    Operation swap{Operation::SwapCategories};
    swap.index = category;
    swap.other = other;
    step.operations.push_back(std::move(swap));
    step.categoryAfter = other;
    step.categoryBefore = category;
    return commitIfAny(std::move(step));
}

} // namespace edit

// Undo and redo of the user's changes to the biography.
//
// A step is one command that changed the document, kept as the operations
// that made it. An operation holds the value that is not in the document at
// the moment: applying it exchanges that value with the document's. So one
// piece of code makes a step, redoes it and, run backwards, undoes it; and
// a changed text is held once, never a copy of the whole document.
//
// Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "document/core/biography_document.h"

enum class StepKind : unsigned char {
    AddEntry,
    DeleteEntries,
    MoveEntries,
    EditField,
    AddFile,
    RemoveFiles,
    SetTopic,
    NewCategory,
    RenameCategory,
    DeleteCategory,
    MoveCategoryLeft,
    MoveCategoryRight,
    ImportFamilyTree,
};

struct Operation {
    enum Kind : unsigned char {
        Field,          // exchanges `text` with field `other` of entry `index`
        Topic,          // exchanges `text` with the topic
        InsertEntries,  // puts `entries` in at `positions`; backwards takes them out
        RemoveEntries,  // takes the entries at `positions` out into `entries`
        InsertCategory, // puts `text` in as category `index`
        RemoveCategory, // takes category `index` out into `text`
        CategoryName,   // exchanges `text` with the name of category `index`
        SwapCategories, // exchanges categories `index` and `other`
    };
    explicit Operation(Kind kind) : kind(kind) {}

    Kind kind;
    int index = 0;
    int other = 0;
    std::string text;
    std::vector<int> positions; // ascending: where the entries stand while in the document
    std::vector<Entry> entries;
};

struct Step {
    explicit Step(StepKind kind, int field = -1) : kind(kind), field(field) {}

    StepKind kind;
    int field; // into EntryFields, for EditField
    std::vector<Operation> operations;
    // The category whose tab shows the step: after it was made or redone,
    // and after it was undone. -1: the one of the changed entries.
    int categoryAfter = -1;
    int categoryBefore = -1;
    size_t bytes = 0; // text it holds
};

// What an undo or redo changed, for the window to show.
struct ChangedPlace {
    bool categoriesChanged = false;
    int category = -1;        // the category to show; -1 when none is known
    std::vector<int> entries; // the changed entries still there, ascending
};

constexpr int MaxHistorySteps = 500;
constexpr size_t MaxHistoryBytes = size_t(64) << 20;

// The document as it is now starts an empty history, after New and Open;
// it is the saved state unless `modified` says otherwise.
void startHistory();
// The document as it is now is the one on disk: after Save and Save as.
void markHistorySaved();
// Unsaved work that is no step of the history (see edit::okTopic).
void markModifiedWithoutStep();

// Applies the step to the document, records it after the steps done so
// far (dropping those that could have been redone) and sets `modified`.
void commitStep(Step step);

bool canUndo();
bool canRedo();
// "Edit title", "Delete entries", ...; empty when there is nothing to undo
// or redo.
std::string undoStepName();
std::string redoStepName();
// Each puts the document where it was before or after the step and sets
// `modified` by whether that is the state last saved.
ChangedPlace undoStep();
ChangedPlace redoStep();

// Called whenever what can be undone or redone or `modified` changes, so
// that the window's menu and caption always say it. Each setter returns the
// one it replaces.
using HistoryListener = void (*)();
HistoryListener setHistoryListener(HistoryListener listener);

// Told of every change before the document changes, so that a recovery
// journal can keep it: a step made (holding the values it puts in), or
// undone or redone (as it stands then). Started: a history begins, with
// no step.
enum class HistoryEvent : unsigned char { Started, Made, Undone, Redone };
using HistoryRecorder = void (*)(HistoryEvent event, const Step *step);
HistoryRecorder setHistoryRecorder(HistoryRecorder recorder);

// What the history holds, for tests and the benchmark.
int historyStepCount();
size_t historyBytes();
// How many of its steps are applied: the rest can be redone.
int historyPosition();
// The document stands where it was as on disk, whether or not an OK that
// changed nothing has marked it.
bool historyAtSavedState();

// Replaying a journal puts back steps the journal holds but the history
// does not: one from before its first step, applied (only while none is
// applied), or one after its last, to be redone (only while all are).
void adoptEarlierStep(Step step);
void adoptLaterStep(Step step);

// The history taken out whole, an empty one left in its place, while
// another document is tried; put back if that fails.
class SetAsideHistory {
public:
    SetAsideHistory();
    ~SetAsideHistory();
    SetAsideHistory(const SetAsideHistory &) = delete;
    SetAsideHistory &operator=(const SetAsideHistory &) = delete;
    void putBack();

private:
    struct Held;
    std::unique_ptr<Held> held_;
};

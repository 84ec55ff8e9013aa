// The changes a user makes to the biography. Each is made as one step of
// the history, so that it can be undone, and marks the document modified;
// the window changes the document through nothing else.
//
// Each returns whether the document changed. One that would change nothing
// makes no step and leaves `modified` alone.
//
// Portable: no Windows headers.
#pragma once

#include <string>
#include <vector>

#include "document/core/biography_document.h"
#include "document/core/document_history.h"

namespace edit {

// Appends the entry, and its category when the list lacks it (a document
// without categories). False when the table is full.
bool addEntry(const Entry &entry);
// Appends the entries and the categories they name that the list lacks,
// as one step. False, changing nothing, when they do not all fit.
bool importEntries(const std::vector<Entry> &entries);
// Entry indices in ascending order.
bool deleteEntries(const std::vector<int> &entries);
bool moveEntries(const std::vector<int> &entries, int category);
// `field` indexes EntryFields.
bool setField(int entry, int field, const std::string &text);
// The entry's file list, one file added (StepKind::AddFile) or removed
// (StepKind::RemoveFiles).
bool setFiles(int entry, const std::string &files, StepKind kind);
bool setTopic(const std::string &topic);

// What OK does in the topic dialog and in the field dialogs: the text as
// a step when it differs. Even an OK that changes nothing counts as work
// to save, so that closing asks: the document is then marked modified,
// without a step.
void okTopic(const std::string &topic);
void okField(int entry, int field, const std::string &text);

// False when the list is full.
bool addCategory(const std::string &name);
bool renameCategory(int category, const std::string &name);
// Its entries go to "Default", which is added to the list when it is not
// there.
bool deleteCategory(int category);
// One place later in the list (toward > 0: its tab moves left) or earlier.
bool moveCategory(int category, int toward);

} // namespace edit

// What the soak test checks after every step: the document against its
// limits, against the files on disk and against what the windows show.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/core/biography_document.h"

enum class Compare {
    Exact,
    // As the user sees it: a files field by its list of paths, since the
    // files dialog rewrites stray text between the quotes, which nothing
    // shows.
    AsShown,
};

// Where two documents (topic, categories, entries) first differ; "" when
// they do not.
std::string documentDifference(const Biography &a, const Biography &b, Compare how);

// A copy of what the open document holds.
std::unique_ptr<Biography> copyOfDocument();
// What opening a file of these bytes would make of it.
std::unique_ptr<Biography> readBiography(const std::string &fileBytes);

// The document's capacities and unique category names.
std::string brokenLimit();
// The tabs, the list, the topic line, the caption and the menu against the
// document, as they must be whenever no dialog is open.
std::string mainWindowDifference();
// The Edit menu's Undo and Redo against the steps they must name ("":
// greyed, with nothing to undo or redo).
std::string editMenuDifference(const std::string &undoStep, const std::string &redoStep);
// The entry editor's text for an entry of the document, with one "\r" per
// line break as its rich edit control keeps it. `linkStarts` receives where
// each heading begins, and after the last where each file path begins, in
// the control's count of characters.
std::string expectedEditorText(int entry, std::vector<long> *linkStarts = nullptr);
// The open entry editor against the entry of the first selected row.
std::string editorDifference();
// The open files dialog's list against the paths being edited.
std::string fileListDifference();

// The entry editor's headings, top to bottom: the field each one shows,
// the letters that tell a click on its link from a click on another, and
// the dialog it opens. What a heading reads and its dialog's caption come
// from the field's label.
#pragma once

#include <iterator>
#include <string>

#include "../res/resource.h"
#include "document/core/biography_document.h"

struct EditorHeading {
    std::string (Biography::*column)[MaxEntries];
    const char *linkPrefix; // a link's text begins with it; no other heading's does
    int dialogTemplate;
};

inline constexpr EditorHeading EditorHeadings[] = {
    {&Biography::title, "Tit", IDD_FIELD_TITLE},
    {&Biography::entryDate, "Ent", IDD_FIELD_ENTRY_DATE},
    {&Biography::timePeriod, "Tim", IDD_FIELD_TIME_PERIOD},
    {&Biography::location, "Loc", IDD_FIELD_LOCATION},
    {&Biography::detail, "D", IDD_FIELD_DETAIL},
    {&Biography::keywords, "Key", IDD_FIELD_KEYWORDS},
    {&Biography::files, "Ass", IDD_ASSOCIATED_FILES},
};

// The associated files come last: their paths continue the heading's link
// to the end of the text.
inline constexpr const EditorHeading &FilesHeading = *(std::end(EditorHeadings) - 1);
static_assert(FilesHeading.dialogTemplate == IDD_ASSOCIATED_FILES, "the files heading is last");

inline const EntryField &headingField(const EditorHeading &heading)
{
    return EntryFields[fieldNumber(heading.column)];
}

// "Title:", on a line of its own.
inline std::string headingText(const EditorHeading &heading)
{
    return std::string(headingField(heading).label) + ":";
}

// "Set title text": the caption of the heading's field dialog.
inline std::string fieldDialogCaption(const EditorHeading &heading)
{
    return "Set " + labelInSentence(headingField(heading)) + " text";
}

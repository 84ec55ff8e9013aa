// The entry editor's headings, top to bottom: what each one shows, the
// letters that tell a click on its link from a click on another, and the
// dialog it opens with that dialog's caption and the field it changes.
#pragma once

#include <iterator>
#include <string>

#include "../res/resource.h"
#include "document/core/biography_document.h"

struct EditorHeading {
    const char *text;       // shown on a line of its own
    const char *linkPrefix; // a link's text begins with it; no other heading's does
    int dialogTemplate;
    const char *caption;    // the field dialog's; the file list has its own
    std::string (Biography::*column)[MaxEntries];
};

inline constexpr EditorHeading EditorHeadings[] = {
    {"Title:", "Tit", IDD_FIELD_TITLE, "Set title text", &Biography::title},
    {"Entry date:", "Ent", IDD_FIELD_ENTRY_DATE, "Set entry date text", &Biography::entryDate},
    {"Time period:", "Tim", IDD_FIELD_TIME_PERIOD, "Set time period text", &Biography::timePeriod},
    {"Location:", "Loc", IDD_FIELD_LOCATION, "Set location text", &Biography::location},
    {"Detail:", "D", IDD_FIELD_DETAIL, "Set detail text", &Biography::detail},
    {"Keywords:", "Key", IDD_FIELD_KEYWORDS, "Set keywords text", &Biography::keywords},
    {"Associated files:", "Ass", IDD_ASSOCIATED_FILES, nullptr, &Biography::files},
};

// The associated files come last: their paths continue the heading's link
// to the end of the text.
inline constexpr const EditorHeading &FilesHeading = *(std::end(EditorHeadings) - 1);
static_assert(FilesHeading.dialogTemplate == IDD_ASSOCIATED_FILES, "the files heading is last");

// The timeline the web page draws above its chronology: an SVG picture
// with a row per category, its marks on as many lanes as they need, and
// an axis of years below.
//
// Portable: no Windows headers here.
#pragma once

#include "document/core/biography_document.h"
#include "document/core/chronology.h"
#include "document/core/page_output.h"

// The picture of `timeline` for `document`; each mark links to its entry.
void timelinePicture(PageOutput &page, const Biography &document, const Timeline &timeline);

// The colour of each row, for the page's style sheet.
void timelineRowStyles(PageOutput &page);

// How the page names entries, the same in the chronology's list as in the
// picture: the id of entry `entry`'s article, the start of a link to it,
// and "1931: Born", "1939-1945: War service".
void entryId(PageOutput &page, int entry);
void entryLink(PageOutput &page, int entry);
void datedTitle(PageOutput &page, const Biography &document, int entry, YearSpan years);

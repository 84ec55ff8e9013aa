// The biography as a family-tree file: GEDCOM 5.5.1 in UTF-8 holding its
// person, each entry a fact, so that genealogy programs take the facts
// researched for the biography into their trees.
//
// Portable: no Windows headers.
#pragma once

#include <string>

#include "document/core/biography_document.h"

// The whole file for `document`, whose text is UTF-8. Entries whose titles
// the import makes ("Birth", "Occupation: ...", "Marriage to ...") go back
// as their tags, a family's in a family record with the spouse named in
// the title; every other entry is a custom event named by its title, with
// its category as the type. Lines end in CR LF and stay within 255
// characters, continued with CONC and CONT.
std::string familyTreeFileBytes(const Biography &document);

// The longest line written, its line end included.
constexpr size_t MaxGedcomLineLength = 255;

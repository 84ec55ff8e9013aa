// Finding entries by their text, in the order the window shows them.
//
// Portable: no Windows headers. Letter case is whatever the caller's fold
// table says it is, so the Windows side fills the table from the ANSI code
// page and the tests pass a table of their own.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "document/biography_document.h"

// Every byte's case-folded form: two bytes are the same letter but for
// case exactly when their folds are equal. Only characters of one byte are
// folded, and never into a lead byte (below).
using CaseFold = std::array<unsigned char, 256>;

// The bytes that begin a character of two bytes in a double-byte code page
// (none in a single-byte one). The byte after one is part of it, whatever
// its value, and is never compared as a character of its own.
using LeadBytes = std::array<bool, 256>;

// What the search needs of the ANSI code page.
struct SearchCodePage {
    CaseFold fold;
    LeadBytes leadBytes = {};
};

// The text looked for, folded once so that the many fields it is held
// against cost little more than a read each.
struct SearchPattern {
    std::string text;         // folded unless case is matched
    bool matchCase = false;
    const SearchCodePage *codePage = nullptr;
    // The scan first looks for two of the text's bytes, the least common
    // ones, at their distance, in every form each may take (two at most;
    // the one form twice when there is one), and checks the rest only where
    // both are found.
    size_t probeAt[2] = {};
    unsigned char probeForms[2][2] = {};
    // Set when every byte of the text has more than two forms, or the code
    // page has characters of two bytes: the scan then goes character by
    // character.
    bool slowScan = false;
};

SearchPattern makeSearchPattern(std::string_view text, bool matchCase,
                                const SearchCodePage &codePage);

// Whether `haystack` holds the pattern's text, starting at one of its
// characters. The empty text is found nowhere.
bool containsPattern(const SearchPattern &pattern, std::string_view haystack);

// Whether the entry holds the text in its title, entry date, time period,
// location, detail, keywords or one of its associated file paths.
bool entryMatches(const Biography &document, int entry, const SearchPattern &pattern);

// A row of the entry list under one tab, as the window shows them: the tab
// lists categoryShownOnTab's category, its rows in ascending entry order.
struct ListPlace {
    int tab = -1;
    int row = -1;
    int entry = -1;
};

// The first matching place after `tab`/`row` in the order the user reads:
// rows top to bottom, tabs left to right, wrapping once past the end, so
// the place itself comes last. Row -1 starts at the top of that tab; a tab
// that is not there starts at the leftmost. A place with tab -1 when
// nothing matches.
ListPlace findNextEntry(const Biography &document, const SearchPattern &pattern, int tab,
                        int row);

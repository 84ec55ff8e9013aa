// Finding entries by their text, in the order the window shows them.
//
// Portable: no Windows headers. Letter case and characters of two bytes are
// whatever the caller's tables say, so the Windows side fills them from the
// ANSI code page and the tests pass tables of their own.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "document/core/biography_document.h"

// Every byte's case-folded form: two characters of one byte are the same
// letter but for case exactly when their folds are equal.
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

// The text looked for, worked out once for the many fields it is held
// against.
struct SearchPattern {
    // For each byte of the text, the bytes that may stand there: in a
    // character of two bytes only itself; in one of one byte, those of the
    // same fold (only itself when case is matched) that begin no other.
    std::vector<std::array<bool, 256>> fits;
    // Per byte: 1 when it fits the text's first byte, 2 when it fits the
    // second (every byte, for a text of one).
    std::array<unsigned char, 256> opening = {};
    const LeadBytes *leadBytes = nullptr;
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

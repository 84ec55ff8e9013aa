// Finding entries by their text, in the order the window shows them.
//
// Portable: no Windows headers. Text in UTF-8 is read as characters of up
// to four bytes, whose letters match their other case as Windows pairs them
// (letter_case.h). Text in another code page is read by the caller's
// tables: letter case and characters of two bytes are whatever they say,
// so the Windows side fills them from the ANSI code page and the tests pass
// tables of their own.
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
    // The code page is UTF-8; the tables above are then not used.
    bool utf8 = false;
};

inline const SearchCodePage Utf8SearchCodePage = {{}, {}, true};

// The bytes that equal `bits` once the bits of `spread` are set in both: a
// few bytes that differ in a few bits, and the others those bits make.
struct ByteCube {
    unsigned char bits = 0, spread = 0;
};

// The text looked for, worked out once for the many fields it is held
// against.
struct SearchPattern {
    // The fewest bytes a match takes; 0 for the empty text.
    size_t shortest = 0;
    // Per byte: 1 when a match may begin with it, 2 when it may be the
    // second byte of a match (every byte, where a match may be one byte).
    std::array<unsigned char, 256> opening = {};
    // The same, loosely, to look at sixteen bytes at once.
    ByteCube firstBytes, secondBytes;

    // In a code page of the tables: for each byte of the text, the bytes
    // that may stand there: in a character of two bytes only itself; in
    // one of one byte, those of the same fold (only itself when case is
    // matched) that begin no other.
    std::vector<std::array<bool, 256>> fits;
    const LeadBytes *leadBytes = nullptr;

    // In UTF-8: the text's characters, as capitals unless case is matched.
    // A byte that begins no well-formed character stands for itself alone,
    // as a number above every character's.
    std::vector<char32_t> characters;
    // Each character's capital, by its number; none when case is matched.
    const char16_t *capitals = nullptr;
    bool utf8 = false;
};

SearchPattern makeSearchPattern(std::string_view text, bool matchCase,
                                const SearchCodePage &codePage);

// Whether `haystack` holds the pattern's text, starting at one of its
// characters (and, in UTF-8, ending at the end of one). The empty text is
// found nowhere.
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

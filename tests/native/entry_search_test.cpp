#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "code_page_1252.h"
#include "document/core/entry_search.h"

namespace {

// As in Turkish: dotted and dotless i, small and capital, all one letter.
SearchCodePage fourFormsOfI()
{
    SearchCodePage page = {codePage1252Fold()};
    page.fold[0xFD] = page.fold[0xDD] = 'I';
    return page;
}

const SearchCodePage Cp1252 = {codePage1252Fold()};

// Japanese: characters of two bytes begin with 0x81-0x9F or 0xE0-0xFC, and
// their second byte may be 0x40-0x7E, where ASCII letters are.
SearchCodePage codePage932()
{
    SearchCodePage page;
    for (int b = 0; b < 256; ++b) {
        page.fold[b] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 32 : b);
        page.leadBytes[b] = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    }
    return page;
}

bool found(const std::string &text, const std::string &haystack, bool matchCase,
           const SearchCodePage &codePage = Cp1252)
{
    return containsPattern(makeSearchPattern(text, matchCase, codePage), haystack);
}

std::unique_ptr<Biography> documentOf(const std::vector<std::string> &categories,
                                      const std::vector<Entry> &entries)
{
    auto d = std::make_unique<Biography>();
    for (const std::string &name : categories) d->categories[d->categoryCount++] = name;
    for (const Entry &entry : entries) {
        for (const EntryField &field : EntryFields)
            (d.get()->*field.column)[d->entryCount] = entry.*field.value;
        ++d->entryCount;
    }
    return d;
}

Entry titled(const std::string &title, const std::string &category)
{
    Entry entry;
    entry.title = title;
    entry.category = category;
    return entry;
}

} // namespace

TEST(EntrySearch, LooksInEveryFieldButTheCategoryAndInEachPathAlone)
{
    struct Case {
        std::string Entry::*field;
        std::string value;
        std::string text;
        bool found;
    };
    const Case cases[] = {
        {&Entry::title, "Arrival in Lisbon", "lisbon", true},
        {&Entry::entryDate, "25/03/12", "03/1", true},
        {&Entry::timePeriod, "childhood", "HOOD", true},
        {&Entry::location, "Lisbon", "isb", true},
        {&Entry::detail, "line one\r\nin Lisbon\r\nline three", "e\r\nin L", true},
        {&Entry::keywords, "harbour, ships", "ships", true},
        {&Entry::files, "\"C:\\a.jpg\"\"D:\\Lisbon\\b.txt\"", "lisbon\\b", true},
        {&Entry::files, "\"C:\\a.jpg\"\"D:\\b.txt\"", "jpg\"\"D", false},
        {&Entry::files, "\"C:\\a.jpg\"\"D:\\b.txt\"", "jpgD", false},
        {&Entry::files, "stray \"C:\\a.jpg\"", "stray", false},
        {&Entry::files, "\"C:\\a.jpg\"\"D:\\unclosed", "unclosed", false},
        {&Entry::category, "Lisbon", "lisbon", false},
        {&Entry::detail, "Lisbon", "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value + " / " + c.text);
        Entry entry;
        entry.*c.field = c.value;
        const auto d = documentOf({"C"}, {entry});
        EXPECT_EQ(entryMatches(*d, 0, makeSearchPattern(c.text, false, Cp1252)), c.found);
    }
}

// In code page 932 "\x83\x41" is katakana a, "\x83\x93" n, "\x83\x69" na,
// "\x93\xfa\x96\x7b" Nihon: their second bytes read as "A", "i" and "{".
TEST(EntrySearch, CharactersFollowTheCodePageUnlessCaseIsMatched)
{
    const SearchCodePage turkish = fourFormsOfI(), japanese = codePage932();
    const std::string anna = "\x83\x41\x83\x93\x83\x69 \x93\xfa\x96\x7b";
    struct Case {
        std::string text, haystack;
        bool matchCase;
        bool found;
        const SearchCodePage *codePage;
    };
    const Case cases[] = {
        {"LISBON", "in lisbon", false, true, &Cp1252},
        {"LISBON", "in lisbon", true, false, &Cp1252},
        {"Lisbon", "in Lisbon", true, true, &Cp1252},
        {"caf\xe9", "CAF\xc9 Z\xdcRICH", false, true, &Cp1252},         // é, É
        {"caf\xe9", "CAF\xc9", true, false, &Cp1252},
        {"\xff", "\x9f", false, true, &Cp1252},                          // ÿ, Ÿ
        {"\x9a\x9c\x9e", "\x8a\x8c\x8e", false, true, &Cp1252},          // š œ ž, Š Œ Ž
        {"\xf7", "\xd7", false, false, &Cp1252},                         // ÷ is not ×
        {"\xdf", "SS", false, false, &Cp1252},                           // ß stays itself
        {"\xb5", "M", false, false, &Cp1252},                            // nor does µ become M
        {"@", "`", false, false, &Cp1252},                               // neighbours of A-Z
        {"[", "{", false, false, &Cp1252},
        {"istanbul", "\xddSTANBUL", false, true, &turkish},              // first of four forms
        {"ki", "K\xfd", false, true, &turkish},                          // last of four forms
        {"ki", "Ka", false, false, &turkish},
        {"\xfd", "xi", false, true, &turkish},                           // only four-form bytes
        {"a", anna, false, false, &japanese},              // a second byte is no letter
        {"A", anna, true, false, &japanese},
        {"{", anna, false, false, &japanese},
        {"\x93\x83", anna, false, false, &japanese},       // from inside n into na
        {"\x83\x61", anna, false, false, &japanese},       // another character, not a in other case
        {"\x83\x93\x83\x69", anna, false, true, &japanese},
        {" \x93\xfa", anna, true, true, &japanese},
        {"\x81\x83", "\x83\x81\x83\x41", false, false, &japanese}, // a second byte that may lead
        {"ANNA", "\x93\xfa anna", false, true, &japanese},  // one-byte letters still fold
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text + " in " + c.haystack + (c.matchCase ? " (match case)" : ""));
        EXPECT_EQ(found(c.text, c.haystack, c.matchCase, *c.codePage), c.found);
        // The same again inside a longer field, away from both its ends.
        const std::string padding(37, '.');
        EXPECT_EQ(found(c.text, padding + c.haystack + padding, c.matchCase, *c.codePage), c.found);
    }
}

// Against the plainest search there is, at every offset and length, so the
// scan's first and last places are covered as well as those between.
TEST(EntrySearch, AgreesWithAPlainSearchOnRandomText)
{
    const SearchCodePage turkish = fourFormsOfI();
    std::mt19937 rng(19);
    const std::string alphabet = "aAbB\xe9\xc9iI\xfd\xdd \r\n";
    auto randomText = [&](size_t length) {
        std::string text;
        for (size_t i = 0; i < length; ++i) text += alphabet[rng() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 4000; ++round) {
        const SearchCodePage &codePage = round % 2 ? turkish : Cp1252;
        const bool matchCase = round % 3 == 0;
        const std::string text = randomText(1 + rng() % 4);
        const std::string haystack = randomText(rng() % 70);
        bool expected = false;
        for (size_t at = 0; !expected && at + text.size() <= haystack.size(); ++at) {
            bool same = true;
            for (size_t i = 0; same && i < text.size(); ++i) {
                const unsigned char a = haystack[at + i], b = text[i];
                same = matchCase ? a == b : codePage.fold[a] == codePage.fold[b];
            }
            expected = same;
        }
        ASSERT_EQ(found(text, haystack, matchCase, codePage), expected)
            << "round " << round << ": \"" << text << "\" in \"" << haystack << "\"";
    }
}

// Memory text in UTF-8: letters of every script match their other case
// where Windows pairs them, and a match never starts or ends inside a
// character of several bytes.
TEST(EntrySearch, Utf8LettersMatchTheirOtherCaseAndCharactersStayWhole)
{
    struct Case {
        std::string text, haystack;
        bool matchCase;
        bool found;
    };
    const Case cases[] = {
        {u8"łukasiewicz", u8"Zofia Łukasiewicz", false, true},
        {u8"ŁUKASIEWICZ", u8"Zofia Łukasiewicz", true, false},
        {u8"ΣΟΦΊΑ", u8"η σοφία", false, true},
        {u8"nguyễn", u8"NGUYỄN VĂN AN", false, true},
        {u8"жуков", u8"Георгий ЖУКОВ", false, true},
        {u8"жуков", u8"Георгий ЖУКОВ", true, false},
        {u8"ⱥb", u8"xȺB", false, true},              // three bytes and two
        {u8"写", u8"写真", false, true},
        {u8"写", u8"冚", false, false},              // differs in the last byte only
        {u8"ß", "SS", false, false},
        {u8"𐐨", u8"𐐀", false, false},               // beyond the plane: exact
        {u8"😀", u8"a😀b", false, true},
        {"\x86\x99", u8"写", false, false},          // the last bytes of a character
        {"\x99", u8"写", false, false},
        {"\xe5\x86", u8"写", false, false},          // its first bytes
        {"\xa9", u8"É", false, false},               // the tail of é, in É
        {"\xe5\x86", "\xe5\x86.", false, true},      // bytes of no character stand alone
        {"\x99", u8"写\x99", false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text + " in " + c.haystack + (c.matchCase ? " (match case)" : ""));
        EXPECT_EQ(found(c.text, c.haystack, c.matchCase, Utf8SearchCodePage), c.found);
        const std::string padding(37, '.');
        EXPECT_EQ(found(c.text, padding + c.haystack + padding, c.matchCase, Utf8SearchCodePage), c.found);
    }
}

// Against a plain search over whole characters: letters whose cases take
// different numbers of bytes, characters beyond the plane and bytes that
// begin no character, at every offset and length.
TEST(EntrySearch, Utf8AgreesWithAPlainSearchOnRandomText)
{
    const std::string characters[] = {"a", "A", u8"é", u8"É", u8"ⱥ", u8"Ⱥ", u8"写", u8"😀", "\x80", "\xff"};
    const int letter[] = {0, 0, 1, 1, 2, 2, 3, 4, 5, 6}; // the same for two cases of a letter
    std::mt19937 rng(31);
    for (int round = 0; round < 4000; ++round) {
        const bool matchCase = round % 3 == 0;
        std::vector<int> text(1 + rng() % 3), haystack(rng() % 30);
        std::string textBytes, haystackBytes;
        for (int &c : text) textBytes += characters[c = rng() % 10];
        for (int &c : haystack) haystackBytes += characters[c = rng() % 10];
        bool expected = false;
        for (size_t at = 0; !expected && at + text.size() <= haystack.size(); ++at)
            expected = std::equal(text.begin(), text.end(), haystack.begin() + at,
                                  [&](int a, int b) { return matchCase ? a == b : letter[a] == letter[b]; });
        ASSERT_EQ(found(textBytes, haystackBytes, matchCase, Utf8SearchCodePage), expected)
            << "round " << round << ": \"" << textBytes << "\" in \"" << haystackBytes << "\"";
    }
}

// Tabs show the categories in reverse: with categories P, Q, R the tabs read
// R, Q, P, and each tab's rows are its entries in ascending entry order.
TEST(EntrySearch, VisitsRowsTopToBottomAndTabsLeftToRightWrappingOnce)
{
    const auto d = documentOf({"P", "Q", "R"},
                              {titled("p0 hit", "P"), titled("r0", "R"), titled("q0 hit", "Q"),
                               titled("r1 hit", "R"), titled("p1", "P"), titled("r2 hit", "R"),
                               titled("elsewhere hit", "Unlisted"), titled("q1 hit", "Q")});
    struct Case {
        std::string text;
        int tab, row;            // where the search starts
        int foundTab, foundRow, foundEntry;
    };
    const Case cases[] = {
        {"hit", 0, -1, 0, 1, 3},  // nothing selected: the top of the tab
        {"hit", 0, 1, 0, 2, 5},   // down the rows
        {"hit", 0, 2, 1, 0, 2},   // on to the next tab
        {"hit", 1, 0, 1, 1, 7},
        {"hit", 1, 1, 2, 0, 0},
        {"hit", 2, 0, 0, 1, 3},   // past the last tab to the first
        {"hit", 2, 1, 0, 1, 3},
        {"hit", 7, 3, 0, 1, 3},   // a tab that is not there: from the start
        {"r2", 0, 2, 0, 2, 5},    // the only match, found again from itself
        {"p1", 2, 0, 2, 1, 4},    // below the start in its own tab
        {"p0", 2, 1, 2, 0, 0},    // above it, after the wrap
        {"R1 HIT", 1, 1, 0, 1, 3},
        {"elsewhere", 0, -1, -1, -1, -1}, // under no tab, so not shown anywhere
        {"nowhere", 1, 0, -1, -1, -1},
        {"", 0, -1, -1, -1, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text + " from tab " + std::to_string(c.tab) + " row " + std::to_string(c.row));
        const ListPlace place = findNextEntry(*d, makeSearchPattern(c.text, false, Cp1252), c.tab, c.row);
        EXPECT_EQ(place.tab, c.foundTab);
        EXPECT_EQ(place.row, c.foundRow);
        EXPECT_EQ(place.entry, c.foundEntry);
    }
}

TEST(EntrySearch, ADocumentWithoutCategoriesHasNothingToFind)
{
    const auto d = documentOf({}, {titled("hit", "")});
    EXPECT_EQ(findNextEntry(*d, makeSearchPattern("hit", false, Cp1252), 0, -1).tab, -1);
}

#include "document/core/entry_search.h"

#include <algorithm>
#include <string>
#include <vector>

#include "document/core/letter_case.h"
#include "document/core/sse2_support.h"

namespace {

unsigned char byteAt(std::string_view text, size_t at)
{
    return static_cast<unsigned char>(text[at]);
}

// The length of the character at `at`: two bytes from a lead byte on,
// unless the text ends first.
size_t characterLength(const LeadBytes &leadBytes, std::string_view text, size_t at)
{
    return leadBytes[byteAt(text, at)] && at + 1 < text.size() ? 2 : 1;
}

// The bytes that may stand for `own`, a byte of a character of `length`
// bytes in the text looked for.
std::array<bool, 256> bytesFitting(const SearchCodePage &codePage, bool matchCase,
                                   unsigned char own, size_t length)
{
    std::array<bool, 256> fits;
    for (int b = 0; b < 256; ++b)
        fits[b] = length == 2 ? b == own
                              : !codePage.leadBytes[b] &&
                                    (matchCase ? b == own : codePage.fold[b] == codePage.fold[own]);
    return fits;
}

// Whether the pattern's text stands at `at`, where a character of the
// haystack begins.
bool equalsAt(const SearchPattern &pattern, std::string_view haystack, size_t at)
{
    for (size_t i = 0; i < pattern.fits.size(); ++i)
        if (!pattern.fits[i][byteAt(haystack, at + i)]) return false;
    return true;
}

SearchPattern makeCodePagePattern(std::string_view text, bool matchCase,
                                  const SearchCodePage &codePage)
{
    SearchPattern pattern;
    pattern.leadBytes = &codePage.leadBytes;
    for (size_t i = 0, length; i < text.size(); i += length) {
        length = characterLength(codePage.leadBytes, text, i);
        for (size_t k = i; k < i + length; ++k)
            pattern.fits.push_back(bytesFitting(codePage, matchCase, byteAt(text, k), length));
    }
    pattern.shortest = pattern.fits.size();
    if (text.empty()) return pattern;
    for (int b = 0; b < 256; ++b)
        pattern.opening[b] = pattern.fits[0][b] | (text.size() == 1 || pattern.fits[1][b]) << 1;
    return pattern;
}

// A byte that begins no well-formed character of UTF-8 is a character of
// its own, numbered from here on so that it equals only itself.
constexpr char32_t LoneByte = 0x110000;

struct Utf8Character {
    char32_t code;
    size_t length;
};

// The character at `at`, which is inside the text.
Utf8Character utf8At(std::string_view text, size_t at)
{
    const unsigned char lead = byteAt(text, at);
    if (lead < 0x80) return {lead, 1};
    const Utf8Character lone = {LoneByte + lead, 1};
    size_t length;
    char32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, least = 0x10000;
    else return lone;
    if (text.size() - at < length) return lone;
    char32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(text, at + i);
        if ((next & 0xC0) != 0x80) return lone;
        code = code << 6 | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return lone;
    return {code, length};
}

bool continuesCharacter(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Whether a character begins at `at`: a byte that cannot continue one
// always does; one that can, unless the well-formed character of the
// nearest byte before it that cannot takes it in.
bool beginsCharacter(std::string_view text, size_t at)
{
    if (!continuesCharacter(byteAt(text, at))) return true;
    for (size_t back = 1; back <= 3 && back <= at; ++back)
        if (!continuesCharacter(byteAt(text, at - back))) return utf8At(text, at - back).length <= back;
    return true;
}

std::string utf8Bytes(char32_t code)
{
    if (code >= LoneByte) return std::string(1, static_cast<char>(code - LoneByte));
    if (code < 0x80) return std::string(1, static_cast<char>(code));
    const size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    std::string bytes(length, '\0');
    for (size_t i = length - 1; i > 0; --i, code >>= 6) bytes[i] = static_cast<char>(0x80 | (code & 0x3F));
    const unsigned char leads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    bytes[0] = static_cast<char>(leads[length] | code);
    return bytes;
}

// The character as the pattern compares it: its capital, unless case is
// matched.
char32_t caseOf(const SearchPattern &pattern, char32_t code)
{
    return pattern.capitals && code < 0x10000 ? pattern.capitals[code] : code;
}

// The forms a character of the text may take in the haystack, as bytes:
// itself, and its small letter when it is a capital and case is not
// matched.
std::vector<std::string> formsOf(const SearchPattern &pattern, char32_t code)
{
    std::vector<std::string> forms = {utf8Bytes(code)};
    if (pattern.capitals && code < 0x10000) {
        const char32_t small = letterCase().small[code];
        if (small != code) forms.push_back(utf8Bytes(small));
    }
    return forms;
}

// The first two bytes a match may have, and its fewest bytes.
void findOpenings(SearchPattern &pattern)
{
    for (const std::string &first : formsOf(pattern, pattern.characters[0])) {
        pattern.opening[byteAt(first, 0)] |= 1;
        if (first.size() > 1) {
            pattern.opening[byteAt(first, 1)] |= 2;
        } else if (pattern.characters.size() > 1) {
            for (const std::string &second : formsOf(pattern, pattern.characters[1]))
                pattern.opening[byteAt(second, 0)] |= 2;
        } else {
            for (unsigned char &bits : pattern.opening) bits |= 2;
        }
    }
    for (char32_t code : pattern.characters) {
        size_t fewest = 4;
        for (const std::string &form : formsOf(pattern, code)) fewest = std::min(fewest, form.size());
        pattern.shortest += fewest;
    }
}

SearchPattern makeUtf8Pattern(std::string_view text, bool matchCase)
{
    SearchPattern pattern;
    pattern.utf8 = true;
    if (!matchCase) pattern.capitals = letterCase().capital.data();
    for (size_t at = 0; at < text.size();) {
        const Utf8Character c = utf8At(text, at);
        pattern.characters.push_back(caseOf(pattern, c.code));
        at += c.length;
    }
    if (!text.empty()) findOpenings(pattern);
    return pattern;
}

// Whether the pattern's text stands at `at` in UTF-8, from the beginning of
// a character to the end of one.
bool holdsUtf8At(const SearchPattern &pattern, std::string_view haystack, size_t at)
{
    if (!beginsCharacter(haystack, at)) return false;
    for (char32_t wanted : pattern.characters) {
        if (at >= haystack.size()) return false;
        const Utf8Character c = utf8At(haystack, at);
        if (caseOf(pattern, c.code) != wanted) return false;
        at += c.length;
    }
    return true;
}

// The least cube that holds every byte `opening` marks with `bit`.
ByteCube cubeOf(const SearchPattern &pattern, unsigned char bit)
{
    ByteCube cube;
    bool some = false;
    for (int b = 0; b < 256; ++b) {
        if (!(pattern.opening[b] & bit)) continue;
        if (!some) cube.bits = static_cast<unsigned char>(b);
        cube.spread |= static_cast<unsigned char>(cube.bits ^ b);
        some = true;
    }
    cube.bits |= cube.spread;
    return cube;
}

#if MEMORION_SSE2
// Where in the sixteen bytes from `text` a byte of the cube stands, as a
// mask of bytes 0xFF.
__m128i whereIn(const ByteCube &cube, const char *text)
{
    return _mm_cmpeq_epi8(_mm_or_si128(load16(text), _mm_set1_epi8(static_cast<char>(cube.spread))),
                          _mm_set1_epi8(static_cast<char>(cube.bits)));
}

int bitCount(unsigned char bits)
{
    int count = 0;
    for (; bits != 0; bits &= bits - 1) ++count;
    return count;
}

// Runs `holdsAt` where a match may begin among the places before `end`
// (which leaves a byte after the last of them), sixteen at a time; the
// first place not looked at, or `end` + 1 once `holdsAt` is true. Not at
// all when the bytes a match may begin with are too many to be worth it.
template <typename HoldsAt>
size_t holdsInBlocks(const SearchPattern &pattern, std::string_view haystack, size_t end, HoldsAt holdsAt)
{
    if (bitCount(pattern.firstBytes.spread) > 3) return 0;
    size_t at = 0;
    for (; at + 16 <= end; at += 16) {
        const char *block = haystack.data() + at;
        unsigned places = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(whereIn(pattern.firstBytes, block), whereIn(pattern.secondBytes, block + 1))));
        for (; places != 0; places &= places - 1) {
            const size_t place = at + lowestBit(places);
            const unsigned char here = pattern.opening[byteAt(haystack, place)];
            const unsigned char next = pattern.opening[byteAt(haystack, place + 1)];
            if ((here & (next >> 1)) && holdsAt(place)) return end + 1;
        }
    }
    return at;
}
#endif

// Whether `holdsAt` is true at one of the places where a match may begin:
// sixteen bytes at a time where the first two bytes of a match are few,
// then one read of each byte, and a branch rarely taken, however common
// the text's first letter.
template <typename HoldsAt>
bool holdsAnywhere(const SearchPattern &pattern, std::string_view haystack, HoldsAt holdsAt)
{
    if (pattern.shortest == 0 || haystack.size() < pattern.shortest) return false;
    const size_t last = haystack.size() - pattern.shortest;
    size_t from = 0;
#if MEMORION_SSE2
    from = holdsInBlocks(pattern, haystack, last, holdsAt);
    if (from > last) return true;
#endif
    unsigned char here = pattern.opening[byteAt(haystack, from)];
    for (size_t at = from; at < last; ++at) {
        const unsigned char next = pattern.opening[byteAt(haystack, at + 1)];
        if ((here & (next >> 1)) && holdsAt(at)) return true;
        here = next;
    }
    // A match of one byte may end the haystack.
    const unsigned char next = last + 1 < haystack.size() ? pattern.opening[byteAt(haystack, last + 1)] : 2;
    return (here & (next >> 1)) && holdsAt(last);
}

// The paths of a file list text, each searched alone: a text that runs
// from one path into the next is in no path.
bool filePathsMatch(const SearchPattern &pattern, std::string_view files)
{
    QuotedList paths(files);
    for (std::string_view path; paths.next(path);)
        if (containsPattern(pattern, path)) return true;
    return false;
}

} // namespace

SearchPattern makeSearchPattern(std::string_view text, bool matchCase,
                                const SearchCodePage &codePage)
{
    SearchPattern pattern =
        codePage.utf8 ? makeUtf8Pattern(text, matchCase) : makeCodePagePattern(text, matchCase, codePage);
    pattern.firstBytes = cubeOf(pattern, 1);
    pattern.secondBytes = cubeOf(pattern, 2);
    return pattern;
}

bool containsPattern(const SearchPattern &pattern, std::string_view haystack)
{
    if (pattern.utf8)
        return holdsAnywhere(pattern, haystack, [&](size_t at) { return holdsUtf8At(pattern, haystack, at); });
    const LeadBytes &leadBytes = *pattern.leadBytes;
    size_t known = 0; // a place where a character begins
    // Where characters begin is worked out only where the text may: lead
    // bytes back to the last such place known pair up.
    return holdsAnywhere(pattern, haystack, [&](size_t at) {
        size_t leads = 0;
        while (at - leads > known && leadBytes[byteAt(haystack, at - leads - 1)]) ++leads;
        known = at + leads % 2;
        return known == at && equalsAt(pattern, haystack, at);
    });
}

bool entryMatches(const Biography &document, int entry, const SearchPattern &pattern)
{
    for (const EntryField &field : EntryFields) {
        const std::string &value = (document.*field.column)[entry];
        if (field.column == &Biography::category) continue; // shown as the tab, not searched
        if (field.column == &Biography::files) {
            if (filePathsMatch(pattern, value)) return true;
        } else if (containsPattern(pattern, value)) {
            return true;
        }
    }
    return false;
}

ListPlace findNextEntry(const Biography &document, const SearchPattern &pattern, int tab, int row)
{
    const int tabs = document.categoryCount;
    if (tabs <= 0 || pattern.shortest == 0) return {};
    if (tab < 0 || tab >= tabs) {
        tab = 0;
        row = -1;
    }
    // The starting tab is visited twice: below the start first, and above
    // it, start included, after the wrap.
    for (int step = 0; step <= tabs; ++step) {
        const int t = (tab + step) % tabs;
        const std::vector<int> entries = entriesOnTab(document, t);
        const int rows = static_cast<int>(entries.size());
        const int from = step == 0 ? std::max(row + 1, 0) : 0;
        const int to = step == tabs ? std::min(row, rows - 1) : rows - 1;
        for (int r = from; r <= to; ++r)
            if (entryMatches(document, entries[r], pattern)) return {t, r, entries[r]};
    }
    return {};
}

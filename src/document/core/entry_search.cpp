#include "document/core/entry_search.h"

#include <algorithm>
#include <vector>

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
    SearchPattern pattern;
    pattern.leadBytes = &codePage.leadBytes;
    for (size_t i = 0, length; i < text.size(); i += length) {
        length = characterLength(codePage.leadBytes, text, i);
        for (size_t k = i; k < i + length; ++k)
            pattern.fits.push_back(bytesFitting(codePage, matchCase, byteAt(text, k), length));
    }
    if (text.empty()) return pattern;
    for (int b = 0; b < 256; ++b)
        pattern.opening[b] = pattern.fits[0][b] | (text.size() == 1 || pattern.fits[1][b]) << 1;
    return pattern;
}

bool containsPattern(const SearchPattern &pattern, std::string_view haystack)
{
    const size_t length = pattern.fits.size();
    if (length == 0 || haystack.size() < length) return false;
    const LeadBytes &leadBytes = *pattern.leadBytes;
    size_t known = 0; // a place where a character begins
    // Where characters begin is worked out only where the text may: lead
    // bytes back to the last such place known pair up.
    auto holdsAt = [&](size_t at) {
        size_t leads = 0;
        while (at - leads > known && leadBytes[byteAt(haystack, at - leads - 1)]) ++leads;
        known = at + leads % 2;
        return known == at && equalsAt(pattern, haystack, at);
    };
    // One read of each byte, and a branch rarely taken, however common the
    // text's first letter.
    const size_t last = haystack.size() - length;
    unsigned char here = pattern.opening[byteAt(haystack, 0)];
    for (size_t at = 0; at < last; ++at) {
        const unsigned char next = pattern.opening[byteAt(haystack, at + 1)];
        if ((here & (next >> 1)) && holdsAt(at)) return true;
        here = next;
    }
    const unsigned char next = length == 1 ? 2 : pattern.opening[byteAt(haystack, last + 1)];
    return (here & (next >> 1)) && holdsAt(last);
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
    if (tabs <= 0 || pattern.fits.empty()) return {};
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

#include "document/entry_search.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "document/sse2_support.h"

namespace {

// The bytes whose fold is `folded`, into `forms` (the one form twice when
// there is one). False when there are more than two.
bool formsOf(const CaseFold &fold, unsigned char folded, unsigned char forms[2])
{
    int count = 0;
    for (int b = 0; b < 256; ++b) {
        if (fold[b] != folded) continue;
        if (count < 2) forms[count] = static_cast<unsigned char>(b);
        ++count;
    }
    if (count == 1) forms[1] = forms[0];
    return count <= 2;
}

unsigned char byteAt(const char *p, size_t i)
{
    return static_cast<unsigned char>(p[i]);
}

// How often a byte turns up in the text of a biography, roughly: blanks
// and the common letters of Western languages most, then capitals, line
// ends, punctuation and digits, then everything else.
int commonness(unsigned char b)
{
    static const char lettersByUse[] = "etaoinshrdlcumwfgypbvkjxqz";
    if (b == ' ') return 300;
    if (b >= 'a' && b <= 'z')
        return 260 - 8 * static_cast<int>(std::strchr(lettersByUse, b) - lettersByUse);
    if (b >= 'A' && b <= 'Z')
        return 60 - static_cast<int>(std::strchr(lettersByUse, b - 'A' + 'a') - lettersByUse);
    if (b == '\r' || b == '\n' || b == ',' || b == '.') return 50;
    if (b >= '0' && b <= '9') return 40;
    if (b > ' ' && b < 0x7F) return 20;
    return 5;
}

// Picks the two bytes of the text whose forms are least common together,
// the first before the second (the same one twice for a text of one byte
// or one usable byte).
void chooseProbes(SearchPattern &pattern)
{
    const std::string &text = pattern.text;
    int best[2] = {-1, -1};
    int bestScore[2] = {0, 0};
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char forms[2];
        const unsigned char b = byteAt(text.data(), i);
        if (pattern.matchCase) forms[0] = forms[1] = b;
        else if (!formsOf(pattern.codePage->fold, b, forms)) continue;
        const int score = commonness(forms[0]) + (forms[1] != forms[0] ? commonness(forms[1]) : 0);
        if (best[0] < 0 || score < bestScore[0]) {
            best[1] = best[0];
            bestScore[1] = bestScore[0];
            best[0] = static_cast<int>(i);
            bestScore[0] = score;
        } else if (best[1] < 0 || score < bestScore[1]) {
            best[1] = static_cast<int>(i);
            bestScore[1] = score;
        }
    }
    pattern.slowScan = best[0] < 0;
    if (pattern.slowScan) return;
    if (best[1] < 0) best[1] = best[0];
    if (best[1] < best[0]) std::swap(best[0], best[1]);
    for (int k = 0; k < 2; ++k) {
        pattern.probeAt[k] = static_cast<size_t>(best[k]);
        const unsigned char b = byteAt(text.data(), pattern.probeAt[k]);
        if (pattern.matchCase) pattern.probeForms[k][0] = pattern.probeForms[k][1] = b;
        else formsOf(pattern.codePage->fold, b, pattern.probeForms[k]);
    }
}

// The length of the character at `at`: two bytes from a lead byte on,
// unless the text ends first.
size_t characterLength(const LeadBytes &leadBytes, std::string_view text, size_t at)
{
    return leadBytes[byteAt(text.data(), at)] && at + 1 < text.size() ? 2 : 1;
}

// Whether the pattern's text stands at `at`, where a character begins:
// characters of two bytes byte for byte, characters of one by their folds.
bool equalsAt(const SearchPattern &pattern, const char *at)
{
    const std::string &text = pattern.text;
    const SearchCodePage &codePage = *pattern.codePage;
    for (size_t i = 0, length; i < text.size(); i += length) {
        length = characterLength(codePage.leadBytes, text, i);
        const unsigned char b = byteAt(at, i);
        if (length == 2) {
            if (b != byteAt(text.data(), i) || at[i + 1] != text[i + 1]) return false;
        } else if (codePage.leadBytes[b] ||
                   (pattern.matchCase ? b : codePage.fold[b]) != byteAt(text.data(), i)) {
            return false;
        }
    }
    return true;
}

// Character by character from `start`, where one begins: for the tail of a
// field, and for texts and code pages the fast scan cannot take.
bool scanBytes(const SearchPattern &pattern, std::string_view haystack, size_t start)
{
    const size_t length = pattern.text.size();
    for (size_t i = start; i + length <= haystack.size();
         i += characterLength(pattern.codePage->leadBytes, haystack, i))
        if (equalsAt(pattern, haystack.data() + i)) return true;
    return false;
}

#if MEMORION_SSE2
// The places among sixteen whose probe bytes both fit.
inline unsigned candidatesAt(const char *at, const size_t probeAt[2], const __m128i forms[4])
{
    const __m128i first = load16(at + probeAt[0]);
    const __m128i second = load16(at + probeAt[1]);
    const __m128i firsts = _mm_or_si128(_mm_cmpeq_epi8(first, forms[0]), _mm_cmpeq_epi8(first, forms[1]));
    const __m128i seconds = _mm_or_si128(_mm_cmpeq_epi8(second, forms[2]), _mm_cmpeq_epi8(second, forms[3]));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(firsts, seconds)));
}

// Sixty-four places at a time: a place is worth a closer look only when
// both its probe bytes fit, which in prose is rare enough that the scan
// runs at about the speed of reading the bytes.
bool scanPairs(const SearchPattern &pattern, std::string_view haystack)
{
    const char *bytes = haystack.data();
    const __m128i forms[4] = {
        _mm_set1_epi8(static_cast<char>(pattern.probeForms[0][0])),
        _mm_set1_epi8(static_cast<char>(pattern.probeForms[0][1])),
        _mm_set1_epi8(static_cast<char>(pattern.probeForms[1][0])),
        _mm_set1_epi8(static_cast<char>(pattern.probeForms[1][1])),
    };
    // All sixty-four places' texts lie inside the haystack, and so do the
    // probes' blocks, which end before the last place's text does.
    const size_t last = pattern.text.size() - 1;
    size_t i = 0;
    for (; i + 64 + last <= haystack.size(); i += 64) {
        // Fields are blocks of their own, a few pages each, where the
        // processor's own fetching ahead starts late.
        _mm_prefetch(bytes + i + 2048, _MM_HINT_T0);
        const unsigned lowHalf = candidatesAt(bytes + i, pattern.probeAt, forms) |
                                 candidatesAt(bytes + i + 16, pattern.probeAt, forms) << 16;
        const unsigned highHalf = candidatesAt(bytes + i + 32, pattern.probeAt, forms) |
                                  candidatesAt(bytes + i + 48, pattern.probeAt, forms) << 16;
        if (!(lowHalf | highHalf)) continue;
        for (unsigned half = 0; half < 2; ++half) {
            unsigned candidates = half ? highHalf : lowHalf;
            while (candidates) {
                if (equalsAt(pattern, bytes + i + 32 * half + lowestBit(candidates))) return true;
                candidates &= candidates - 1;
            }
        }
    }
    return scanBytes(pattern, haystack, i);
}
#endif

// The paths of a file list text, each searched alone: a text that runs
// from one path into the next is in no path. Read as parseFileList reads
// it, without making the list.
bool filePathsMatch(const SearchPattern &pattern, std::string_view files)
{
    size_t from = 0;
    for (;;) {
        const size_t open = files.find('"', from);
        if (open == std::string_view::npos) return false;
        const size_t close = files.find('"', open + 1);
        if (close == std::string_view::npos) return false; // an unclosed path is no path
        if (containsPattern(pattern, files.substr(open + 1, close - open - 1))) return true;
        from = close + 1;
    }
}

// The entries each tab lists, in list order. Tabs of the same name list the
// same entries, so entries are grouped by the first category of their name.
struct TabRows {
    std::vector<int> groupOfTab;  // per tab
    std::vector<int> groupStart;  // per group, into `entries`; one more at the end
    std::vector<int> entries;

    const int *rows(int tab) const { return entries.data() + groupStart[groupOfTab[tab]]; }
    int rowCount(int tab) const
    {
        const int group = groupOfTab[tab];
        return groupStart[group + 1] - groupStart[group];
    }
};

TabRows tabRows(const Biography &d)
{
    const int tabs = d.categoryCount;
    std::unordered_map<std::string_view, int> groupOfName;
    groupOfName.reserve(tabs);
    for (int c = 0; c < tabs; ++c) groupOfName.emplace(d.categories[c], c);

    TabRows result;
    result.groupOfTab.resize(tabs);
    for (int t = 0; t < tabs; ++t)
        result.groupOfTab[t] = groupOfName[d.categories[categoryShownOnTab(d, t)]];

    std::vector<int> groupOfEntry(d.entryCount, -1);
    result.groupStart.assign(tabs + 1, 0);
    for (int e = 0; e < d.entryCount; ++e) {
        const auto found = groupOfName.find(d.category[e]);
        if (found == groupOfName.end()) continue; // listed under no tab
        groupOfEntry[e] = found->second;
        ++result.groupStart[found->second + 1];
    }
    for (int g = 0; g < tabs; ++g) result.groupStart[g + 1] += result.groupStart[g];
    std::vector<int> next(result.groupStart.begin(), result.groupStart.end() - 1);
    result.entries.resize(result.groupStart[tabs]);
    for (int e = 0; e < d.entryCount; ++e)
        if (groupOfEntry[e] >= 0) result.entries[next[groupOfEntry[e]]++] = e;
    return result;
}

} // namespace

SearchPattern makeSearchPattern(std::string_view text, bool matchCase,
                                const SearchCodePage &codePage)
{
    SearchPattern pattern;
    pattern.matchCase = matchCase;
    pattern.codePage = &codePage;
    pattern.text = std::string(text);
    if (text.empty()) return pattern;
    std::string &folded = pattern.text;
    if (!matchCase)
        for (size_t i = 0, length; i < folded.size(); i += length) {
            length = characterLength(codePage.leadBytes, folded, i);
            if (length == 1) folded[i] = static_cast<char>(codePage.fold[byteAt(folded.data(), i)]);
        }
    chooseProbes(pattern);
    // The probes' blocks know nothing of where characters begin.
    const LeadBytes &lead = codePage.leadBytes;
    if (std::find(lead.begin(), lead.end(), true) != lead.end()) pattern.slowScan = true;
    return pattern;
}

bool containsPattern(const SearchPattern &pattern, std::string_view haystack)
{
    if (pattern.text.empty() || haystack.size() < pattern.text.size()) return false;
#if MEMORION_SSE2
    if (!pattern.slowScan) return scanPairs(pattern, haystack);
#endif
    return scanBytes(pattern, haystack, 0);
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
    if (tabs <= 0 || pattern.text.empty()) return {};
    if (tab < 0 || tab >= tabs) {
        tab = 0;
        row = -1;
    }
    const TabRows rows = tabRows(document);
    // The starting tab is visited twice: below the start first, and above
    // it, start included, after the wrap.
    for (int step = 0; step <= tabs; ++step) {
        const int t = (tab + step) % tabs;
        const int *entries = rows.rows(t);
        const int from = step == 0 ? std::max(row + 1, 0) : 0;
        const int to = step == tabs ? std::min(row, rows.rowCount(t) - 1) : rows.rowCount(t) - 1;
        for (int r = from; r <= to; ++r)
            if (entryMatches(document, entries[r], pattern)) return {t, r, entries[r]};
    }
    return {};
}

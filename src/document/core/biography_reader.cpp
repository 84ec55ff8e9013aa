#include "document/core/biography_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/core/code_pages.h"
#include "document/core/fact_elements.h"
#include "document/core/sse2_support.h"

// The reader's results are defined by plain "first occurrence" substring
// searches: fact n's text lies between the first <factn> and the first
// </factn> of the whole text, and each field between the first <tag> and
// the first </tag> of that fact text. Searching like that tag by tag costs
// one scan of the file per fact, which is far too slow for a full document.
// Instead, one pass over the text notes where every tag we care about
// occurs; each search is then answered from those notes with the very same
// result the substring search would give.

namespace {

constexpr size_t NotFound = std::string::npos;

constexpr int FieldCount = FactElementCount;

enum class TagKind { Opening, Closing };
// Counting facts needs only their opening tags; loading needs every tag.
enum class TagsWanted { FactOpenings, All };
// Values taken straight from the file still hold CR LF pairs; values from
// translated text do not.
enum class LineEnds { CrLf, Lf };

// First positions of one fact number's tags in the whole text.
struct FactTags {
    size_t open = NotFound;
    size_t close = NotFound;
};

// Where the tags of the whole text are. Field tags are kept as every
// position (ascending), because a field is searched for within a fact's
// text, i.e. from that fact's start on.
struct TagMap {
    std::unordered_map<std::string_view, FactTags> facts; // key: the number's digits
    size_t topicOpen = NotFound;
    size_t topicClose = NotFound;
    size_t categoriesOpen = NotFound;
    size_t categoriesClose = NotFound;
    std::vector<size_t> fieldOpen[FieldCount];
    std::vector<size_t> fieldClose[FieldCount];
};

bool hasAt(std::string_view text, size_t pos, std::string_view word)
{
    return text.size() - pos >= word.size() && std::memcmp(text.data() + pos, word.data(), word.size()) == 0;
}

void noteFirst(size_t &first, size_t pos)
{
    if (first == NotFound) first = pos;
}

// Looks at "<fact" or "</fact" at `pos`; `after` is just past that prefix.
// A fact tag is the prefix, a plain decimal number and '>' right after it.
// Numbers with a leading zero never match a <factn> search (<fact01> does
// not contain <fact1>), and 0 is no fact number, so neither is kept.
void noteFactTag(std::string_view text, size_t pos, size_t after, TagKind kind, TagMap &map)
{
    size_t end = after;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == after || end >= text.size() || text[end] != '>') return;
    if (text[after] == '0') return;
    FactTags &tags = map.facts[text.substr(after, end - after)];
    noteFirst(kind == TagKind::Closing ? tags.close : tags.open, pos);
}

// Every tag starts with '<' and ends at its first '>', so the bytes at one
// '<' are at most one of the tags we look for: classifying each '<' once
// finds every occurrence of every tag.
TagMap mapTags(std::string_view text, TagsWanted wanted)
{
    TagMap map;
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    const char *p = begin;
    while ((p = static_cast<const char *>(std::memchr(p, '<', end - p))) != nullptr) {
        const size_t pos = p - begin;
        ++p;
        if (p == end) break;
        const bool closing = *p == '/';
        const TagKind kind = closing ? TagKind::Closing : TagKind::Opening;
        const size_t name = pos + (closing ? 2 : 1);
        if (name >= text.size()) break;

        if (hasAt(text, name, "fact")) {
            if (wanted == TagsWanted::FactOpenings && closing) continue;
            noteFactTag(text, pos, name + 4, kind, map);
            continue;
        }
        if (wanted == TagsWanted::FactOpenings) continue;

        if (closing) {
            if (hasAt(text, pos, "</topic>")) { noteFirst(map.topicClose, pos); continue; }
            if (hasAt(text, pos, "</categories>")) { noteFirst(map.categoriesClose, pos); continue; }
        } else {
            if (hasAt(text, pos, "<topic>")) { noteFirst(map.topicOpen, pos); continue; }
            if (hasAt(text, pos, "<categories>")) { noteFirst(map.categoriesOpen, pos); continue; }
        }
        for (int f = 0; f < FieldCount; ++f) {
            if (hasAt(text, pos, closing ? FactElements[f].closeTag : FactElements[f].openTag)) {
                (closing ? map.fieldClose[f] : map.fieldOpen[f]).push_back(pos);
                break;
            }
        }
    }
    return map;
}

// extractBetween() given the first positions of both tags.
std::string_view between(std::string_view text, size_t open, size_t openLength, size_t close)
{
    if (open == NotFound || close == NotFound) return {};
    const size_t start = open + openLength;
    if (close <= start) return {};
    return text.substr(start, close - start);
}

// All positions of one tag (ascending), searched again and again for the
// first one at or after some point. Facts are nearly always stored in
// ascending order, so the next answer usually lies just after the previous
// one: a few steps from there are much cheaper than a fresh binary search
// per field and fact. Any other order still gets the exact answer.
class TagPositions {
public:
    explicit TagPositions(const std::vector<size_t> &positions) : positions_(positions) {}

    // First occurrence of the tag inside the text [from, to) of the whole
    // text, as an absolute position.
    size_t firstWithin(size_t tagLength, size_t from, size_t to)
    {
        const size_t i = firstAtOrAfter(from);
        if (i == positions_.size() || positions_[i] + tagLength > to) return NotFound;
        return positions_[i];
    }

private:
    size_t firstAtOrAfter(size_t from)
    {
        const auto begin = positions_.begin();
        size_t i = hint_;
        if (i > 0 && positions_[i - 1] >= from) {
            i = std::lower_bound(begin, begin + i, from) - begin;
        } else {
            for (int steps = 0; i < positions_.size() && positions_[i] < from; ++i) {
                if (++steps == 4) {
                    i = std::lower_bound(begin + i, positions_.end(), from) - begin;
                    break;
                }
            }
        }
        hint_ = i;
        return i;
    }

    const std::vector<size_t> &positions_;
    size_t hint_ = 0;
};

// Numeric order of plain decimal numbers of any length.
bool numericallyBefore(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

// Translates [p, stop) of a text that runs on to `end`, byte by byte.
char *translateBytes(const char *p, const char *stop, const char *end, char *out)
{
    for (; p < stop; ++p) {
        *out = *p;
        const bool pairStart = *p == '\r' && p + 1 < end && p[1] == '\n';
        out += pairStart ? 0 : 1;
    }
    return out;
}

// Writes the bytes [p, end) to `out` with each CR LF pair turned into LF;
// returns where the output ends. `out` may not lie ahead of `p`.
char *translateInto(const char *p, const char *const end, char *out)
{
    // Each byte is kept unless it is the CR of a CR LF pair. That decision
    // needs only the byte and the next one, so the file can be cut into
    // blocks anywhere and each block translated on its own.
#if MEMORION_SSE2
    // Prose has a line end every few dozen bytes; stopping at each of them
    // (a memchr and a memcpy per line) cost more than copying the file.
    // Sixteen bytes at a time, a block with at most one pair is closed up
    // without a branch; only blocks with several pairs go byte by byte.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i index = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    while (end - p >= 17) { // the block and the byte after it
        const __m128i block = load16(p);
        const __m128i next = load16(p + 1);
        const unsigned pairs = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(next, lf))));
        if ((pairs & (pairs - 1)) != 0) {
            out = translateBytes(p, p + 16, end, out);
            p += 16;
            continue;
        }
        // Bytes before the pair's CR stay in place, the ones after it move
        // down by one; with no pair all sixteen stay.
        // Without branches: whether a block holds a pair is as good as
        // random, and a mispredicted branch costs more than the block.
        const int cut = lowestBit(pairs | 0x10000u);
        const __m128i before = _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(cut)), index);
        const __m128i closed =
            _mm_or_si128(_mm_and_si128(before, block), _mm_andnot_si128(before, _mm_srli_si128(block, 1)));
        // Never past the text's end: `out` trails `p`, and 17 bytes are left.
        store16(out, closed);
        out += 16 - (pairs != 0);
        p += 16;
    }
#endif
    return translateBytes(p, end, end, out);
}


} // namespace

std::string biographyTextFromBytes(const std::string &fileBytes)
{
    std::string text(fileBytes.size(), '\0');
    char *out = translateInto(fileBytes.data(), fileBytes.data() + fileBytes.size(), &text[0]);
    text.resize(out - text.data());
    return text;
}

std::string extractBetween(const std::string &text, const std::string &startTag, const std::string &endTag)
{
    const size_t open = text.find(startTag);
    const size_t close = text.find(endTag);
    return std::string(between(text, open, startTag.size(), close));
}

bool isBiographyText(const std::string &text)
{
    return text.find("<biography_data>") != std::string::npos;
}

int countFacts(const std::string &text)
{
    const TagMap map = mapTags(text, TagsWanted::FactOpenings);
    return static_cast<int>(map.facts.size());
}

namespace {

// Sets values from their text in the file, turning CR LF pairs into LF
// when that text comes straight from the file. No pair ever straddles the
// ends of a value: a value lies between a tag's '>' and the next tag's '<',
// or between two double quotes. So translating value by value gives what
// translating the whole file first would have given, without copying the
// file once more. A file in a single-byte code page is converted to UTF-8
// value by value for the same reason; its tags, all ASCII, are where they
// would be in the converted text.
class ValueReader {
public:
    ValueReader(LineEnds lineEnds, const SingleByteTable *table) : lineEnds_(lineEnds), table_(table) {}

    void assign(std::string &value, std::string_view raw)
    {
        // Converted into a block of its own, at most three bytes a byte, in
        // the same pass that translates its line ends.
        if (table_) {
            if (converted_.size() < 3 * raw.size() + 48) converted_.resize(3 * raw.size() + 48);
            char *const out = &converted_[0];
            const char *end = lineEnds_ == LineEnds::CrLf ? table_->toUtf8FromFile(raw, out, replaced_)
                                                          : table_->toUtf8(raw, out, replaced_);
            value.assign(out, end - out);
            return;
        }
        if (lineEnds_ == LineEnds::Lf) {
            value.assign(raw);
            return;
        }
        value.resize(raw.size());
        char *end = translateInto(raw.data(), raw.data() + raw.size(), &value[0]);
        value.resize(end - value.data());
    }

    // Some bytes stood for no character of the code page.
    bool replaced() const { return replaced_; }

private:
    LineEnds lineEnds_;
    const SingleByteTable *table_;
    std::string converted_; // kept at its largest, never cleared again
    bool replaced_ = false;
};

// Tags hold no CR or LF, so they stand at the same places relative to each
// other in the file's bytes and in the translated text: either can be
// searched, with the same results.
LoadReport load(std::string_view all, ValueReader values)
{
    Biography &d = BiographyDocument;
    LoadReport report;
    d.documentLoaded = true;

    const TagMap map = mapTags(all, TagsWanted::All);

    // Closing tags of numbers that never open are in the map too; only
    // numbers with an opening tag are facts.
    std::vector<std::pair<std::string_view, FactTags>> facts;
    facts.reserve(map.facts.size());
    for (const auto &fact : map.facts)
        if (fact.second.open != NotFound) facts.push_back(fact);
    std::sort(facts.begin(), facts.end(),
              [](const auto &a, const auto &b) { return numericallyBefore(a.first, b.first); });
    if (facts.size() > static_cast<size_t>(MaxEntries)) {
        facts.resize(MaxEntries);
        report.entriesDropped = true;
    }

    values.assign(d.topic, between(all, map.topicOpen, std::strlen("<topic>"), map.topicClose));

    std::vector<TagPositions> openings, closings;
    for (int f = 0; f < FieldCount; ++f) {
        openings.emplace_back(map.fieldOpen[f]);
        closings.emplace_back(map.fieldClose[f]);
    }

    d.entryCount = static_cast<int>(facts.size());
    for (int k = 0; k < d.entryCount; ++k) {
        const std::string_view number = facts[k].first;
        const FactTags &tags = facts[k].second;
        const size_t openLength = 6 + number.size(); // "<fact" n ">"
        const std::string_view factText = between(all, tags.open, openLength, tags.close);
        const size_t from = factText.empty() ? 0 : tags.open + openLength;
        const size_t to = from + factText.size();
        for (int f = 0; f < FieldCount; ++f) {
            std::string &value = (d.*FactElements[f].column)[k];
            if (factText.empty()) {
                value.clear();
                continue;
            }
            const FactElement &tag = FactElements[f];
            const size_t open = openings[f].firstWithin(tag.openTag.size(), from, to);
            const size_t close = closings[f].firstWithin(tag.closeTag.size(), from, to);
            values.assign(value, between(all, open, tag.openTag.size(), close));
        }
    }
    // Rows past the loaded ones would otherwise still hold the previous
    // document's entries.
    for (int f = 0; f < FieldCount; ++f)
        for (int i = d.entryCount; i < MaxEntries; ++i) (d.*FactElements[f].column)[i].clear();

    // This gives entries without a category "Default". The list it makes is
    // kept only when the file names no categories of its own, so only then
    // can names that did not fit into it be lost.
    const bool entryCategoriesFit = rebuildCategories();

    // The file's own list wins when it names anything.
    const std::string_view list =
        between(all, map.categoriesOpen, std::strlen("<categories>"), map.categoriesClose);
    int named = 0;
    QuotedList names(list);
    for (std::string_view name; names.next(name);) {
        if (named == MaxCategories) {
            report.categoriesDropped = true;
            break;
        }
        values.assign(d.categories[named++], name);
    }
    if (named > 0)
        d.categoryCount = named;
    else if (!entryCategoriesFit)
        report.categoriesDropped = true;
    report.charactersReplaced = values.replaced();
    return report;
}

} // namespace

LoadReport loadBiographyText(const std::string &text)
{
    return load(text, ValueReader(LineEnds::Lf, nullptr));
}

LoadReport loadBiographyBytes(std::string_view fileBytes, const SingleByteTable *table)
{
    return load(fileBytes, ValueReader(LineEnds::CrLf, table));
}

#include "document/core/biography_writer.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "document/core/fact_elements.h"
#include "document/core/sse2_support.h"

// Values are stored as held, except that each LF becomes CR LF: the same
// bytes a text-mode stream would have produced on Windows.
//
// A full document is about 10 MB of prose with a line end every few dozen
// bytes. Appending to a string value by value and line by line cost twenty
// times what copying the bytes once costs. So the file goes straight into
// one uncleared block big enough for it, and line ends are widened sixteen
// bytes at a time.

namespace {

#if MEMORION_SSE2
char *expandBytes(const char *p, const char *const end, char *out)
{
    for (; p < end; ++p) {
        *out = '\r';
        out += *p == '\n';
        *out++ = *p;
    }
    return out;
}

// The 16 bytes at p go to out with a CR before each LF. Prose has a line end
// every few dozen bytes, so a block holds at most one nearly always, and
// whether it holds one is as good as random: a mispredicted branch would cost
// more than the block. So a block with one LF and a block with none take the
// same path: the block is stored with its LF turned into CR, then stored
// again from the LF on, one place further (past the block when there is
// none). Reads up to 16 bytes past the block and writes up to 17 past its
// output.
char *expand16(const char *p, char *out)
{
    const __m128i bytes = load16(p);
    const __m128i feeds = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(feeds));
    if (mask & (mask - 1)) return expandBytes(p, p + 16, out); // two or more: rare enough to branch on
    store16(out, _mm_xor_si128(bytes, _mm_and_si128(feeds, _mm_set1_epi8('\n' ^ '\r'))));
    const int cut = lowestBit(mask | 1u << 16);
    store16(out + cut + 1, load16(p + cut));
    return out + 16 + (mask != 0);
}

// Values lie scattered over the heap, a few KB each; without asking for
// them ahead the loop waits on memory for much of its time. A prefetch
// never faults, so it may point past the value; the address is made as an
// integer because such a pointer may not even be formed.
void prefetchAhead(const char *p)
{
    constexpr std::uintptr_t Distance = 1024;
    _mm_prefetch(reinterpret_cast<const char *>(reinterpret_cast<std::uintptr_t>(p) + Distance), _MM_HINT_T0);
}
#endif

// Copies [p, end) to `out` with each LF turned into CR LF; returns where the
// output ends. May write up to 17 bytes past that end.
char *expandLineEnds(const char *p, const char *const end, char *out)
{
#if MEMORION_SSE2
    while (end - p >= 32) { // this block and the one read again after it
        if ((reinterpret_cast<std::uintptr_t>(p) & 63) < 16) prefetchAhead(p); // once a cache line
        out = expand16(p, out);
        p += 16;
    }
    return expandBytes(p, end, out);
#else
    while (p < end) {
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', end - p));
        const char *const stop = lf != nullptr ? lf : end;
        std::memcpy(out, p, stop - p);
        out += stop - p;
        p = stop;
        if (lf == nullptr) break;
        *out++ = '\r';
        *out++ = '\n';
        ++p;
    }
    return out;
#endif
}

// Writes the file into one block made for it. The block is not cleared
// first and holds room for the worst case, so nothing is checked or grown
// byte by byte; roomNeeded is what keeps every write inside it.
class FileOutput {
public:
    explicit FileOutput(size_t room) : bytes_(new char[room + Slack]), at_(bytes_.get()) {}

    void text(std::string_view text)
    {
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
    }

    void number(int n)
    {
        char digits[16];
        char *first = digits + sizeof digits;
        do {
            *--first = static_cast<char>('0' + n % 10);
            n /= 10;
        } while (n > 0);
        text(std::string_view(first, digits + sizeof digits - first));
    }

    void value(const std::string &value)
    {
        at_ = expandLineEnds(value.data(), value.data() + value.size(), at_);
    }

    BiographyBytes finish()
    {
        const size_t size = static_cast<size_t>(at_ - bytes_.get());
        return BiographyBytes(std::move(bytes_), size);
    }

private:
    static constexpr size_t Slack = 64; // expandLineEnds writes a little past its output
    std::unique_ptr<char[]> bytes_;
    char *at_;
};

// Enough room for the whole file without reading any value: each byte of a
// value takes at most two. Reading every value once more just to count its
// line ends would cost more than the writing; untouched room costs nothing.
// The layout's own bytes come to 110 around the topic and categories, 3 per
// category and at most 27 per fact (fact numbers have at most four digits).
size_t roomNeeded(const Biography &d)
{
    static_assert(MaxEntries <= 9999, "fact numbers are counted at four digits");
    size_t size = 200 + 2 * d.topic.size();
    for (int i = 0; i < d.categoryCount; ++i) size += 2 * d.categories[i].size() + 3;
    for (int i = 0; i < d.entryCount; ++i) {
        size += 40; // the fact's own lines
        for (const FactElement &element : FactElements) {
            const std::string &value = (d.*element.column)[i];
            if (!value.empty())
                size += element.openTag.size() + 2 * value.size() + element.closeTag.size() + 2;
        }
    }
    return size;
}

} // namespace

BiographyBytes::BiographyBytes(std::unique_ptr<char[]> bytes, size_t size)
    : bytes_(std::move(bytes)), size_(size)
{
}

BiographyBytes writeBiography(const Biography &d)
{
    FileOutput file(roomNeeded(d));

    file.text("<?xml version=\"1.0\"?>\r\n\r\n"
              "<biography_data>\r\n\r\n"
              "<topic>");
    file.value(d.topic);
    file.text("</topic>\r\n\r\n<categories>");
    for (int i = 0; i < d.categoryCount; ++i) {
        file.text(i > 0 ? ",\"" : "\"");
        file.value(d.categories[i]);
        file.text("\"");
    }
    file.text("</categories>\r\n\r\n");

    for (int i = 0; i < d.entryCount; ++i) {
        file.text("<fact");
        file.number(i + 1);
        file.text(">\r\n");
        for (const FactElement &element : FactElements) {
            const std::string &value = (d.*element.column)[i];
            if (value.empty()) continue; // empty fields are simply not written
            file.text(element.openTag);
            file.value(value);
            file.text(element.closeTag);
            file.text("\r\n");
        }
        file.text("</fact");
        file.number(i + 1);
        file.text(">\r\n\r\n");
    }

    file.text("</biography_data>");
    return file.finish();
}

std::string biographyFileBytes(const Biography &document)
{
    return std::string(writeBiography(document).view());
}

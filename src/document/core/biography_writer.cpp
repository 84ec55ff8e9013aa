#include "document/core/biography_writer.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "document/core/code_pages.h"
#include "document/core/fact_elements.h"
#include "document/core/sse2_support.h"
#include "document/core/utf8_text.h"

// Values are stored as held, except that each LF becomes CR LF: the same
// bytes a text-mode stream would have produced on Windows.
//
// A full document is about 10 MB of prose with a line end every few dozen
// bytes. Appending to a string value by value and line by line cost twenty
// times what copying the bytes once costs. So the file goes straight into
// one uncleared block big enough for it, and line ends are widened sixteen
// bytes at a time.

namespace {

char *expandBytes(const char *p, const char *const end, char *out)
{
    for (; p < end; ++p) {
        *out = '\r';
        out += *p == '\n';
        *out++ = *p;
    }
    return out;
}

// Whether a value holds any byte above 0x7F decides the file's first line.
// It is or-ed into a local of the loop, not into the caller's: a store
// through `out` might change anything a reference points to, so such a
// `high` would go back to memory at every block.
unsigned highBits(const char *p, const char *const end)
{
    unsigned high = 0;
    for (; p < end; ++p) high |= static_cast<unsigned char>(*p) & 0x80;
    return high;
}

#if MEMORION_SSE2
// The 16 bytes at p go to out with a CR before each LF. Prose has a line end
// every few dozen bytes, so a block holds at most one nearly always, and
// whether it holds one is as good as random: a mispredicted branch would cost
// more than the block. So a block with one LF and a block with none take the
// same path: the block is stored with its LF turned into CR, then stored
// again from the LF on, one place further (past the block when there is
// none). Reads up to 16 bytes past the block and writes up to 17 past its
// output.
char *expand16(const char *p, char *out, unsigned &high)
{
    const __m128i bytes = load16(p);
    high |= static_cast<unsigned>(_mm_movemask_epi8(bytes));
    const __m128i feeds = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(feeds));
    if (mask & (mask - 1)) return expandBytes(p, p + 16, out); // two or more: rare enough to branch on
    store16(out, _mm_xor_si128(bytes, _mm_and_si128(feeds, _mm_set1_epi8('\n' ^ '\r'))));
    const int cut = lowestBit(mask | 1u << 16);
    store16(out + cut + 1, load16(p + cut));
    return out + 16 + (mask != 0);
}

// Values lie scattered over the heap, a few KB each; without asking for
// them ahead the loop waits on memory for much of its time.
void prefetchAhead(const char *p)
{
    if ((reinterpret_cast<std::uintptr_t>(p) & 63) >= 16) return; // once a cache line
    prefetchPast(p, 1024);
}
#endif

// Copies [p, end) to `out` with each LF turned into CR LF; returns where the
// output ends. May write up to 17 bytes past that end.
char *expandLineEnds(const char *p, const char *const end, char *out, unsigned &high)
{
    unsigned seen = 0;
#if MEMORION_SSE2
    while (end - p >= 32) { // this block and the one read again after it
        prefetchAhead(p);
        out = expand16(p, out, seen);
        p += 16;
    }
#endif
    high |= seen | highBits(p, end);
    return expandBytes(p, end, out);
}

// Writes the file into one block made for it. The block is not cleared
// first and holds room for the worst case, so nothing is checked or grown
// byte by byte; roomNeeded is what keeps every write inside it. The first
// line is written last, in front of the rest, once the rest has shown
// whether it names the encoding.
class FileOutput {
public:
    FileOutput(size_t room, EncodingDeclaration declaration, const SingleByteTable *table)
        : declaration_(declaration), table_(table), front_(declarationLine(true).size()),
          bytes_(new char[front_ + room + Slack]), at_(bytes_.get() + front_)
    {
    }

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

    // Given a table, a value is converted in the same pass that widens its
    // line ends; a character not in its code page stops the writing of
    // values. Characters beyond ASCII, and only they, come out as bytes
    // above 0x7F.
    void value(const std::string &value)
    {
        if (!table_) {
            at_ = expandLineEnds(value.data(), value.data() + value.size(), at_, high_);
            return;
        }
        if (!fits_) return;
        if (high_ == 0 && !isAscii(value)) high_ = 0x80;
        char *const end = table_->fromUtf8ToFile(value, at_);
        fits_ = end != nullptr;
        if (fits_) at_ = end;
    }

    // False when a character was not in the table's code page.
    bool fits() const { return fits_; }

    BiographyBytes finish()
    {
        const std::string line = declarationLine(high_ != 0);
        const size_t start = front_ - line.size();
        std::memcpy(bytes_.get() + start, line.data(), line.size());
        const size_t size = static_cast<size_t>(at_ - bytes_.get());
        return BiographyBytes(std::move(bytes_), size, start);
    }

private:
    std::string declarationLine(bool beyondAscii) const
    {
        const bool named = !declaration_.name.empty() && (beyondAscii || !declaration_.onlyBeyondAscii);
        const std::string encoding = named ? " encoding=\"" + std::string(declaration_.name) + "\"" : "";
        return "<?xml version=\"1.0\"" + encoding + "?>\r\n\r\n";
    }

    static constexpr size_t Slack = 64; // expandLineEnds writes a little past its output
    EncodingDeclaration declaration_;
    const SingleByteTable *table_;
    bool fits_ = true;
    size_t front_;
    std::unique_ptr<char[]> bytes_;
    char *at_;
    unsigned high_ = 0;
};

// Enough room for the whole file but its first line, without reading any
// value: each byte of a value takes at most two. Reading every value once
// more just to count its line ends would cost more than the writing;
// untouched room costs nothing. The layout's own bytes come to 110 around
// the topic and categories, 3 per category and at most 27 per fact (fact
// numbers have at most four digits).
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

BiographyBytes::BiographyBytes(std::unique_ptr<char[]> bytes, size_t size, size_t start)
    : bytes_(std::move(bytes)), size_(size), start_(start)
{
}

BiographyBytes::BiographyBytes(std::string_view bytes)
    : bytes_(new char[bytes.size() + 1]), size_(bytes.size()), start_(0)
{
    std::memcpy(bytes_.get(), bytes.data(), bytes.size());
}

BiographyBytes writeBiography(const Biography &d, EncodingDeclaration declaration)
{
    return *writeBiography(d, declaration, nullptr);
}

std::optional<BiographyBytes> writeBiography(const Biography &d, EncodingDeclaration declaration,
                                             const SingleByteTable *table)
{
    FileOutput file(roomNeeded(d), declaration, table);

    file.text("<biography_data>\r\n\r\n<topic>");
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
    if (!file.fits()) return std::nullopt;
    return file.finish();
}

std::string biographyFileBytes(const Biography &document)
{
    return std::string(writeBiography(document).view());
}

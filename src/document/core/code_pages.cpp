#include "document/core/code_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "document/core/sse2_support.h"
#include "document/core/utf8_text.h"

namespace {

struct NamedCodePage {
    std::string_view name;
    unsigned codePage;
};

// The first name of a code page is the one Memorion writes: the name other
// programs know it by. Shift_JIS, GBK, Big5 and EUC-KR are how the world
// names Windows's 932, 936, 950 and 949, each a superset of the standard.
constexpr NamedCodePage Names[] = {
    {"UTF-8", Utf8CodePage},  {"UTF8", Utf8CodePage},
    {"US-ASCII", 20127},      {"ASCII", 20127},
    {"windows-874", 874},     {"windows-1250", 1250},    {"windows-1251", 1251},
    {"windows-1252", 1252},   {"windows-1253", 1253},    {"windows-1254", 1254},
    {"windows-1255", 1255},   {"windows-1256", 1256},    {"windows-1257", 1257},
    {"windows-1258", 1258},   {"cp1250", 1250},          {"cp1251", 1251},
    {"cp1252", 1252},         {"cp1253", 1253},          {"cp1254", 1254},
    {"cp1255", 1255},         {"cp1256", 1256},          {"cp1257", 1257},
    {"cp1258", 1258},         {"ISO-8859-1", 28591},     {"latin1", 28591},
    {"ISO-8859-2", 28592},    {"ISO-8859-3", 28593},     {"ISO-8859-4", 28594},
    {"ISO-8859-5", 28595},    {"ISO-8859-6", 28596},     {"ISO-8859-7", 28597},
    {"ISO-8859-8", 28598},    {"ISO-8859-9", 28599},     {"ISO-8859-13", 28603},
    {"ISO-8859-15", 28605},   {"Shift_JIS", 932},        {"windows-31j", 932},
    {"cp932", 932},           {"GBK", 936},              {"GB2312", 936},
    {"cp936", 936},           {"Big5", 950},             {"cp950", 950},
    {"EUC-KR", 949},          {"cp949", 949},            {"KS_C_5601-1987", 949},
};

bool sameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

unsigned codePageNamed(std::string_view encodingName)
{
    for (const NamedCodePage &named : Names)
        if (sameName(named.name, encodingName)) return named.codePage;
    return 0;
}

std::string_view encodingNameOf(unsigned codePage)
{
    for (const NamedCodePage &named : Names)
        if (named.codePage == codePage) return named.name;
    return {};
}

bool isDoubleByteCodePage(unsigned codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool isLegacyAnsiCodePage(unsigned codePage)
{
    return codePage == 874 || (codePage >= 1250 && codePage <= 1258) || isDoubleByteCodePage(codePage);
}

// Every legacy code page keeps ASCII as it is; the conversions below take
// that for granted and pass ASCII through without a look at the tables.
SingleByteTable::SingleByteTable(unsigned codePage, const CodePageSystem &system)
    : characters_{}, byteOf_{}, byteOfPair_{}
{
    for (unsigned b = 0; b < 256; ++b) {
        Character &c = characters_[b];
        if (b < 0x80) {
            c = {{static_cast<char>(b)}, 1, true};
            byteOf_[b] = static_cast<unsigned char>(b);
            continue;
        }
        std::string utf8;
        char32_t code = 0;
        const char byte = static_cast<char>(b);
        c.mapped = system.toUtf8(codePage, std::string_view(&byte, 1), utf8) == Conversion::Exact &&
                   decodeUtf8(utf8, code) == utf8.size() && utf8.size() <= 3 && code >= 0x80;
        if (!c.mapped) utf8 = ReplacementCharacter;
        std::memcpy(c.utf8, utf8.data(), utf8.size());
        c.size = static_cast<unsigned char>(utf8.size());
        // Should two bytes stand for one character, the first is written.
        if (!c.mapped || byteOf_[code] != 0) continue;
        byteOf_[code] = static_cast<unsigned char>(b);
        const unsigned pair = static_cast<unsigned char>(utf8[0]) | static_cast<unsigned char>(utf8[1]) << 8;
        if (utf8.size() == 2) byteOfPair_[pair] = byteOf_[code];
    }
    // The conversion to UTF-8 looks a CR up only as the first of a CR LF
    // pair, which a file's value holds for a LF: it stands for nothing.
    // Other CRs are written as they are, without a look at the table.
    characters_[static_cast<unsigned char>('\r')].size = 0;
}

// Text is mostly ASCII, the same in UTF-8 and in every code page, with a
// letter of another kind every few dozen bytes and a line end about as
// often. Whether a block of sixteen bytes holds one is as good as random,
// and a mispredicted branch costs more than the block; so a block with one
// such letter or line end and a block with none take the same path,
// without a branch, and only the blocks with more (or with a letter cut by
// their end) branch. Line ends are translated in the same pass: a second
// pass over each value cost nearly as much as the conversion.
template <bool FoldCrLf>
char *SingleByteTable::convertToUtf8(std::string_view bytes, char *out, bool &replaced) const
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    bool unmapped = false;
    const auto convert = [&](char byte) {
        const Character &c = characters_[static_cast<unsigned char>(byte)];
        std::memcpy(out, c.utf8, 4);
        out += c.size;
        unmapped |= !c.mapped;
    };
#if MEMORION_SSE2
    // The block is stored, the first special byte's character at its place
    // (the CR of a pair as nothing) and the rest of the block after it. A
    // block with none looks up byte 0, one byte long, past its end. A block
    // with more goes on from just after the first. Reads up to 33 bytes
    // from p and writes up to 34 past the output.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 33) {
        const __m128i block = load16(p);
        unsigned special = static_cast<unsigned>(_mm_movemask_epi8(block));
        if (FoldCrLf)
            special |= static_cast<unsigned>(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(load16(p + 1), lf))));
        const size_t cut = static_cast<unsigned>(lowestBit(special | 1u << 16));
        const Character &c = characters_[static_cast<unsigned char>(p[cut]) & (0u - (special != 0))];
        store16(out, block);
        std::memcpy(out + cut, c.utf8, 4);
        store16(out + cut + c.size, load16(p + cut + 1));
        unmapped |= !c.mapped;
        if (special & (special - 1)) {
            out += cut + c.size;
            p += cut + 1;
        } else {
            out += 15 + c.size;
            p += 16;
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p != '\r')
            convert(*p);
        else if (!FoldCrLf || end - p == 1 || p[1] != '\n')
            *out++ = '\r';
    }
    replaced |= unmapped;
    return out;
}

char *SingleByteTable::toUtf8(std::string_view bytes, char *out, bool &replaced) const
{
    return convertToUtf8<false>(bytes, out, replaced);
}

char *SingleByteTable::toUtf8FromFile(std::string_view bytes, char *out, bool &replaced) const
{
    return convertToUtf8<true>(bytes, out, replaced);
}

char *SingleByteTable::fromUtf8ToFile(std::string_view text, char *out) const
{
    const char *p = text.data();
    const char *const end = p + text.size();
    // One character; false when it is not in the code page.
    const auto convert = [&] {
        if (*p == '\n') {
            std::memcpy(out, "\r\n", 2);
            out += 2;
            ++p;
            return true;
        }
        char32_t code = static_cast<unsigned char>(*p);
        const size_t length = code < 0x80 ? 1 : decodeUtf8(std::string_view(p, end - p), code);
        if (length == 0 || !byteFor(code, *out)) return false;
        ++out;
        p += length;
        return true;
    };
#if MEMORION_SSE2
    // Values lie scattered over the heap. Slower than a copy, this loop
    // would wait on memory unless it asked for it ahead: a value's first
    // lines at once, and the rest well ahead, at every block, which costs
    // less than the branch that would skip three blocks in four.
    constexpr size_t Ahead = 2048;
    for (size_t at = 0; at < text.size() && at < Ahead; at += 64) prefetchPast(p, at);
    // The block is stored, then in place of its letter that letter's byte,
    // or in place of its LF a CR and the LF, then the rest of the block. A
    // block with neither looks up no letter and stores all that past its
    // end. Reads up to 34 bytes from p and writes up to 33 past the output.
    const __m128i lf = _mm_set1_epi8('\n');
    const char *const stop = text.size() >= 34 ? end - 33 : p;
    while (p < stop) {
        prefetchPast(p, Ahead);
        const __m128i block = load16(p);
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(block));
        const unsigned feeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
        const unsigned special = high | feeds;
        const size_t cut = static_cast<unsigned>(lowestBit(special | 1u << 16));
        const size_t feed = feeds >> cut & 1, letter = high >> cut & 1;
        // The two bytes as one number, the first the low one (x86 is little
        // endian). A block of ASCII looks at one entry, not all over the table.
        std::uint16_t pair;
        std::memcpy(&pair, p + cut, 2);
        const unsigned byte = byteOfPair_[pair & (0u - static_cast<unsigned>(letter))];
        store16(out, block);
        const std::uint16_t replacement = static_cast<std::uint16_t>(byte + feed * '\r' + ('\n' << 8));
        std::memcpy(out + cut, &replacement, 2);
        // The first takes one of the block's bits as a LF, two as a letter.
        // Those bits decide first, as the table's answer comes later.
        const bool lacking = letter & (byte == 0); // of more than two bytes, or not in the code page
        if ((special >> cut) != feed + 3 * letter && !lacking) {
            // More than one: the first, and on from just after it.
            out += cut + 1 + feed;
            p += cut + 2 - feed;
            continue;
        }
        if (lacking) {
            out += cut;
            p += cut;
            if (!convert()) return nullptr;
            continue;
        }
        store16(out + cut + 1 + feed, load16(p + cut + 2 - feed));
        out += 16 + feed - letter;
        p += 16;
    }
#endif
    while (p < end)
        if (!convert()) return nullptr;
    return out;
}

LegacyCodePage::LegacyCodePage(unsigned number, const CodePageSystem &system)
    : number_(number), system_(system),
      table_(isDoubleByteCodePage(number) ? nullptr : std::make_unique<SingleByteTable>(number, system))
{
}

Conversion LegacyCodePage::toUtf8(std::string_view bytes, std::string &utf8) const
{
    if (!table_) return system_.toUtf8(number_, bytes, utf8);
    const size_t start = utf8.size();
    utf8.resize(start + 3 * bytes.size() + 16);
    bool replaced = false;
    char *end = table_->toUtf8(bytes, &utf8[start], replaced);
    utf8.resize(end - utf8.data());
    return replaced ? Conversion::Replaced : Conversion::Exact;
}

namespace {

// The first character of `text` that the code page lacks, when the whole
// of `text` did not convert: the half that does not convert holds it.
std::string firstLostCharacter(const LegacyCodePage &page, std::string_view text)
{
    for (;;) {
        char32_t code;
        const size_t first = std::max<size_t>(decodeUtf8(text, code), 1);
        if (first >= text.size()) return std::string(text);
        size_t half = text.size() / 2;
        while (half > first && (static_cast<unsigned char>(text[half]) & 0xC0) == 0x80) --half;
        half = std::max(half, first);
        std::string ignored;
        const bool lostInFront =
            page.system().fromUtf8(page.number(), text.substr(0, half), ignored) != Conversion::Exact;
        text = lostInFront ? text.substr(0, half) : text.substr(half);
    }
}

} // namespace

Conversion LegacyCodePage::fromUtf8(std::string_view text, std::string &bytes, std::string *firstLost) const
{
    if (!table_) {
        const Conversion result = system_.fromUtf8(number_, text, bytes);
        if (result == Conversion::Replaced && firstLost) *firstLost = firstLostCharacter(*this, text);
        return result;
    }
    bool replaced = false;
    bytes.reserve(bytes.size() + text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const size_t length = decodeUtf8(text.substr(i), code);
        char byte;
        if (length > 0 && table_->byteFor(code, byte)) {
            bytes += byte;
        } else {
            if (!replaced && firstLost) firstLost->assign(text.substr(i, std::max<size_t>(length, 1)));
            bytes += '?';
            replaced = true;
        }
        i += std::max<size_t>(length, 1);
    }
    return replaced ? Conversion::Replaced : Conversion::Exact;
}

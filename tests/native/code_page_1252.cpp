#include "code_page_1252.h"

#include <array>
#include <cstring>

#include "document/core/sse2_support.h"

namespace {

// 0x80 to 0x9F; from 0xA0 on the byte is its own code point. The five
// bytes the code page leaves undefined go to the C1 control of the same
// number, as the system maps them.
constexpr char16_t Upper1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct Utf8Bytes {
    char bytes[3];
    unsigned char size;
};

constexpr std::array<Utf8Bytes, 256> utf8Table()
{
    std::array<Utf8Bytes, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        const unsigned code = b < 0x80 ? b : b < 0xA0 ? Upper1252[b - 0x80] : b;
        Utf8Bytes &u = table[b];
        if (code < 0x80) {
            u = {{static_cast<char>(code)}, 1};
        } else if (code < 0x800) {
            u = {{static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))}, 2};
        } else {
            u = {{static_cast<char>(0xE0 | code >> 12), static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                  static_cast<char>(0x80 | (code & 0x3F))},
                 3};
        }
    }
    return table;
}
constexpr std::array<Utf8Bytes, 256> Utf8Of = utf8Table();

// Always writes three bytes; the room for them is there.
char *convertByte(char c, char *out)
{
    const Utf8Bytes &u = Utf8Of[static_cast<unsigned char>(c)];
    std::memcpy(out, u.bytes, 3);
    return out + u.size;
}

} // namespace

size_t codePage1252ToUtf8(std::string_view ansi, char *utf8)
{
    char *out = utf8;
    const char *p = ansi.data();
    const char *const end = p + ansi.size();
#if MEMORION_SSE2
    // Text is mostly ASCII, which stays as it is, sixteen bytes at a time;
    // a block with other bytes goes byte by byte through the table.
    for (; end - p >= 16; p += 16) {
        const __m128i block = load16(p);
        if (_mm_movemask_epi8(block) == 0) {
            store16(out, block);
            out += 16;
        } else {
            for (int i = 0; i < 16; ++i) out = convertByte(p[i], out);
        }
    }
#endif
    for (; p < end; ++p) out = convertByte(*p, out);
    return static_cast<size_t>(out - utf8);
}

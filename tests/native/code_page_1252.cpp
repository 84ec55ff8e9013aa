#include "code_page_1252.h"

namespace {

// 0x80 to 0x9F; from 0xA0 on the byte is its own code point. The five
// bytes the code page leaves undefined go to the C1 control of the same
// number, as the system maps them.
const char16_t Upper1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

size_t codePage1252ToUtf8(std::string_view ansi, char *utf8)
{
    char *out = utf8;
    for (char c : ansi) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            *out++ = c;
            continue;
        }
        const unsigned code = b < 0xA0 ? Upper1252[b - 0x80] : b;
        if (code < 0x800) {
            *out++ = static_cast<char>(0xC0 | code >> 6);
        } else {
            *out++ = static_cast<char>(0xE0 | code >> 12);
            *out++ = static_cast<char>(0x80 | (code >> 6 & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return static_cast<size_t>(out - utf8);
}

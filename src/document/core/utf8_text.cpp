#include "document/core/utf8_text.h"

#include "document/core/sse2_support.h"

namespace {

// How far the bytes at the start of `text` follow the pattern of a
// well-formed character (Unicode's table of well-formed byte sequences),
// and how long that character would be. A byte that can start none gives
// 0 of 0.
struct Prefix {
    size_t matched;
    size_t needed;
};

Prefix wellFormedPrefix(std::string_view text)
{
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {1, 1};
    // The range the second byte must lie in; later ones are 80..BF.
    unsigned char low = 0x80, high = 0xBF;
    size_t needed;
    if (lead >= 0xC2 && lead <= 0xDF) needed = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) needed = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) needed = 4;
    else return {0, 0};
    if (lead == 0xE0) low = 0xA0;       // no overlong forms
    else if (lead == 0xED) high = 0x9F; // no surrogates
    else if (lead == 0xF0) low = 0x90;
    else if (lead == 0xF4) high = 0x8F; // nothing past U+10FFFF
    size_t matched = 1;
    for (; matched < needed && matched < text.size(); ++matched) {
        const unsigned char b = byte(matched);
        if (b < low || b > high) break;
        low = 0x80;
        high = 0xBF;
    }
    return {matched, needed};
}

// Where the first byte above 0x7F is, from `from` on; the size when none.
size_t firstNonAscii(std::string_view text, size_t from)
{
    size_t i = from;
#if MEMORION_SSE2
    for (; text.size() - i >= 16; i += 16) {
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(load16(text.data() + i)));
        if (high != 0) return i + lowestBit(high);
    }
#endif
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80) return i;
    return text.size();
}

} // namespace

bool isAscii(std::string_view text)
{
    return firstNonAscii(text, 0) == text.size();
}

size_t decodeUtf8(std::string_view text, char32_t &codePoint)
{
    if (text.empty()) return 0;
    const Prefix prefix = wellFormedPrefix(text);
    if (prefix.needed == 0 || prefix.matched != prefix.needed) return 0;
    static constexpr unsigned char LeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t code = static_cast<unsigned char>(text[0]) & LeadBits[prefix.needed];
    for (size_t i = 1; i < prefix.needed; ++i) code = code << 6 | (static_cast<unsigned char>(text[i]) & 0x3F);
    codePoint = code;
    return prefix.needed;
}

bool isValidUtf8(std::string_view text)
{
    for (size_t i = firstNonAscii(text, 0); i < text.size(); i = firstNonAscii(text, i)) {
        const Prefix prefix = wellFormedPrefix(text.substr(i));
        if (prefix.needed == 0 || prefix.matched != prefix.needed) return false;
        i += prefix.needed;
    }
    return true;
}

bool appendMendedUtf8(std::string_view text, std::string &out, std::string_view replacement)
{
    bool mended = false;
    size_t done = 0;
    for (size_t i = firstNonAscii(text, 0); i < text.size(); i = firstNonAscii(text, i)) {
        const Prefix prefix = wellFormedPrefix(text.substr(i));
        if (prefix.needed != 0 && prefix.matched == prefix.needed) {
            i += prefix.needed;
            continue;
        }
        out.append(text.data() + done, i - done);
        out += replacement;
        mended = true;
        i += prefix.matched > 0 ? prefix.matched : 1;
        done = i;
    }
    out.append(text.data() + done, text.size() - done);
    return mended;
}

void appendUtf8(char32_t code, std::string &out)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

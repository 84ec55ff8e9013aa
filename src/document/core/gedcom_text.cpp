#include "document/core/gedcom_text.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Bytes 0x80 to 0x9F of code page 1252; the five it leaves undefined keep
// their own values, as the system's conversion does.
const char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};


// ANSEL's spacing characters from 0xA1 to 0xC8 (with the two boxes, the
// sharp s and the euro sign GEDCOM added); 0 where it has none.
const char16_t AnselSpacing[0xC9 - 0xA1] = {
    0x0141, 0x00D8, 0x0110, 0x00DE, 0x00C6, 0x0152, 0x02B9, 0x00B7, 0x266D, 0x00AE, 0x00B1,
    0x01A0, 0x01AF, 0x02BC, 0,      0x02BB, 0x0142, 0x00F8, 0x0111, 0x00FE, 0x00E6, 0x0153,
    0x02BA, 0x0131, 0x00A3, 0x00F0, 0,      0x01A1, 0x01B0, 0x25A1, 0x25A0, 0x00B0, 0x2113,
    0x2117, 0x00A9, 0x266F, 0x00BF, 0x00A1, 0x00DF, 0x20AC,
};

// ANSEL's combining marks from 0xE0 to 0xFE; 0 where it has none.
const char16_t AnselMarks[0xFF - 0xE0] = {
    0x0309, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307, 0x0308, 0x030C, 0x030A,
    0xFE20, 0xFE21, 0x0315, 0x030B, 0x0310, 0x0327, 0x0328, 0x0323, 0x0324, 0x0325, 0x0333,
    0x0332, 0x0326, 0x031C, 0x032E, 0xFE22, 0xFE23, 0,      0,      0x0313,
};

// A letter and a mark that make one character of their own: "e" with an
// acute accent is written "é", as every other program writes it.
struct Composition {
    char16_t mark;
    const char *letters;
    char16_t composed[26];
};
const Composition Compositions[] = {
    {0x0300, "AEIOUaeiou", {0xC0, 0xC8, 0xCC, 0xD2, 0xD9, 0xE0, 0xE8, 0xEC, 0xF2, 0xF9}},
    {0x0301, "AEIOUYaeiouyCcNnSsZzLlRr",
     {0xC1, 0xC9, 0xCD, 0xD3, 0xDA, 0xDD, 0xE1, 0xE9, 0xED, 0xF3, 0xFA, 0xFD, 0x106, 0x107, 0x143,
      0x144, 0x15A, 0x15B, 0x179, 0x17A, 0x139, 0x13A, 0x154, 0x155}},
    {0x0302, "AEIOUaeiouCcGgHhJjSsWwYy",
     {0xC2, 0xCA, 0xCE, 0xD4, 0xDB, 0xE2, 0xEA, 0xEE, 0xF4, 0xFB, 0x108, 0x109, 0x11C, 0x11D,
      0x124, 0x125, 0x134, 0x135, 0x15C, 0x15D, 0x174, 0x175, 0x176, 0x177}},
    {0x0303, "ANOanoIiUu", {0xC3, 0xD1, 0xD5, 0xE3, 0xF1, 0xF5, 0x128, 0x129, 0x168, 0x169}},
    {0x0304, "AaEeIiOoUu", {0x100, 0x101, 0x112, 0x113, 0x12A, 0x12B, 0x14C, 0x14D, 0x16A, 0x16B}},
    {0x0306, "AaEeGgIiOoUu",
     {0x102, 0x103, 0x114, 0x115, 0x11E, 0x11F, 0x12C, 0x12D, 0x14E, 0x14F, 0x16C, 0x16D}},
    {0x0307, "CcEeGgIZz", {0x10A, 0x10B, 0x116, 0x117, 0x120, 0x121, 0x130, 0x17B, 0x17C}},
    {0x0308, "AEIOUaeiouyY", {0xC4, 0xCB, 0xCF, 0xD6, 0xDC, 0xE4, 0xEB, 0xEF, 0xF6, 0xFC, 0xFF, 0x178}},
    {0x030A, "AaUu", {0xC5, 0xE5, 0x16E, 0x16F}},
    {0x030B, "OoUu", {0x150, 0x151, 0x170, 0x171}},
    {0x030C, "CcDdEeNnRrSsTtZzLl",
     {0x10C, 0x10D, 0x10E, 0x10F, 0x11A, 0x11B, 0x147, 0x148, 0x158, 0x159, 0x160, 0x161, 0x164,
      0x165, 0x17D, 0x17E, 0x13D, 0x13E}},
    {0x0327, "CcSsTtGgKkLlNnRr",
     {0xC7, 0xE7, 0x15E, 0x15F, 0x162, 0x163, 0x122, 0x123, 0x136, 0x137, 0x13B, 0x13C, 0x145,
      0x146, 0x156, 0x157}},
    {0x0328, "AaEeIiUu", {0x104, 0x105, 0x118, 0x119, 0x12E, 0x12F, 0x172, 0x173}},
};

char32_t composed(char32_t letter, char32_t mark)
{
    for (const Composition &c : Compositions) {
        if (c.mark != mark) continue;
        for (int i = 0; c.letters[i]; ++i)
            if (static_cast<unsigned char>(c.letters[i]) == letter) return c.composed[i];
    }
    return 0;
}

// The character of an ANSEL byte that is not a mark.
char32_t anselCharacter(unsigned char b)
{
    if (b < 0x80) return b;
    if (b >= 0xA1 && b <= 0xC8 && AnselSpacing[b - 0xA1]) return AnselSpacing[b - 0xA1];
    return 0xFFFD;
}

std::string fromAnsel(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    std::vector<char32_t> marks;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0xE0 && b <= 0xFE && AnselMarks[b - 0xE0]) {
            marks.push_back(AnselMarks[b - 0xE0]);
            continue;
        }
        char32_t letter = anselCharacter(b);
        // Marks belong to the letter after them; a line end has none.
        if (!marks.empty() && (b == '\r' || b == '\n')) {
            for (char32_t mark : marks) appendUtf8(mark, out);
            marks.clear();
        }
        size_t first = 0;
        if (!marks.empty()) {
            if (const char32_t one = composed(letter, marks[0])) {
                letter = one;
                first = 1;
            }
        }
        appendUtf8(letter, out);
        for (size_t m = first; m < marks.size(); ++m) appendUtf8(marks[m], out);
        marks.clear();
    }
    for (char32_t mark : marks) appendUtf8(mark, out);
    return out;
}

std::string fromWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) appendUtf8(windows1252Character(static_cast<unsigned char>(c)), out);
    return out;
}

std::string fromUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    size_t at = 0;
    while (at < bytes.size()) {
        // Runs of ASCII, the bulk of any file, go across as they are.
        size_t run = at;
        while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80) ++run;
        out.append(bytes.data() + at, run - at);
        at = run;
        if (at == bytes.size()) break;
        const size_t length = utf8LengthAt(bytes, at);
        if (length == 0) {
            appendUtf8(windows1252Character(static_cast<unsigned char>(bytes[at])), out);
            ++at;
        } else {
            out.append(bytes.data() + at, length);
            at += length;
        }
    }
    return out;
}

std::string fromUtf16(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t i) -> char32_t {
        const unsigned char a = static_cast<unsigned char>(bytes[i]);
        const unsigned char b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = 0xFFFD; // a surrogate alone
        appendUtf8(c, out);
    }
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The value of the header's "1 CHAR" line, upper-cased; empty when the
// header names none. Every encoding but UTF-16 writes it in ASCII.
std::string declaredCharacterSet(std::string_view bytes)
{
    const size_t headerEnd = std::min(bytes.size(), bytes.find("\n0 ") == std::string_view::npos
                                                        ? bytes.size()
                                                        : bytes.find("\n0 ") + 1);
    std::string_view header = bytes.substr(0, headerEnd);
    for (size_t at = header.find("CHAR"); at != std::string_view::npos; at = header.find("CHAR", at + 1)) {
        size_t lineStart = header.find_last_of("\r\n", at);
        lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
        std::string_view before = header.substr(lineStart, at - lineStart);
        while (!before.empty() && (before.front() == ' ' || before.front() == '\t')) before.remove_prefix(1);
        if (before != "1 ") continue;
        size_t valueStart = at + 4;
        while (valueStart < header.size() && header[valueStart] == ' ') ++valueStart;
        std::string value;
        for (size_t i = valueStart; i < header.size() && header[i] != '\r' && header[i] != '\n'; ++i)
            value += upper(header[i]);
        while (!value.empty() && value.back() == ' ') value.pop_back();
        return value;
    }
    return {};
}

} // namespace

char32_t windows1252Character(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? Windows1252High[b - 0x80] : b;
}

GedcomEncoding detectGedcomEncoding(std::string_view bytes)
{
    if (startsWith(bytes, "\xEF\xBB\xBF")) return GedcomEncoding::Utf8;
    if (startsWith(bytes, "\xFF\xFE")) return GedcomEncoding::Utf16LittleEndian;
    if (startsWith(bytes, "\xFE\xFF")) return GedcomEncoding::Utf16BigEndian;
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) return GedcomEncoding::Utf16LittleEndian;
    if (bytes.size() >= 2 && bytes[0] == 0 && bytes[1] != 0) return GedcomEncoding::Utf16BigEndian;
    const std::string set = declaredCharacterSet(bytes);
    if (set == "ANSEL") return GedcomEncoding::Ansel;
    if (set == "ANSI" || set == "WINDOWS-1252" || set == "CP1252")
        return GedcomEncoding::Windows1252;
    return GedcomEncoding::Utf8;
}

std::string gedcomTextAsUtf8(std::string_view bytes, GedcomEncoding encoding)
{
    switch (encoding) {
    case GedcomEncoding::Utf16LittleEndian:
    case GedcomEncoding::Utf16BigEndian: {
        const bool big = encoding == GedcomEncoding::Utf16BigEndian;
        if (startsWith(bytes, big ? "\xFE\xFF" : "\xFF\xFE")) bytes.remove_prefix(2);
        return fromUtf16(bytes, big);
    }
    case GedcomEncoding::Windows1252: return fromWindows1252(bytes);
    case GedcomEncoding::Ansel:       return fromAnsel(bytes);
    case GedcomEncoding::Utf8:        break;
    }
    if (startsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return fromUtf8(bytes);
}

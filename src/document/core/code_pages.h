// The code pages biography files are stored in, by number (Windows's) and
// by the names XML declarations give them, and their conversions to and
// from UTF-8.
//
// Portable: what a code page maps, only the system knows, so the
// conversions come in as functions. A single-byte legacy code page is
// asked once, byte by byte, and then converted through tables, which is
// many times faster than asking the system value by value.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

constexpr unsigned Utf8CodePage = 65001;

enum class Conversion {
    Exact,
    Replaced,    // some bytes or characters had no counterpart and were replaced
    Unavailable, // the system does not have the code page
};

struct CodePageSystem {
    // Appends `bytes` of `codePage` to `utf8` as UTF-8. Bytes that are no
    // character of the code page come out as U+FFFD (or the system's own
    // stand-in) and make the result Replaced.
    Conversion (*toUtf8)(unsigned codePage, std::string_view bytes, std::string &utf8);
    // Appends the UTF-8 `text` to `bytes` in `codePage`. A character the code
    // page lacks, or holds only a look-alike of, becomes '?' and makes the
    // result Replaced.
    Conversion (*fromUtf8)(unsigned codePage, std::string_view text, std::string &bytes);
};

// The code page an XML declaration's encoding name stands for, in any
// letter case; 0 for a name Memorion does not read.
unsigned codePageNamed(std::string_view encodingName);
// The name a declaration gives the code page; empty when it has none.
std::string_view encodingNameOf(unsigned codePage);

// Windows's legacy ANSI code pages whose characters take one or two bytes.
bool isDoubleByteCodePage(unsigned codePage);
// One of the code pages Windows uses as the legacy ANSI one.
bool isLegacyAnsiCodePage(unsigned codePage);

// A single-byte code page, as the system maps it, in tables.
class SingleByteTable {
public:
    SingleByteTable(unsigned codePage, const CodePageSystem &system);

    // Writes `bytes` as UTF-8 to `out`, which has room for three bytes per
    // byte and 16 more; returns where the output ends. Bytes the code page
    // does not map come out as U+FFFD and set `replaced`.
    char *toUtf8(std::string_view bytes, char *out, bool &replaced) const;
    // The same for a value as a file holds it: each CR LF pair becomes LF.
    char *toUtf8FromFile(std::string_view bytes, char *out, bool &replaced) const;
    // Writes the UTF-8 `text` to `out` in the code page, as a file holds it:
    // each LF becomes CR LF. Returns where the output ends, or null when a
    // character is not in the code page. `out` has room for two bytes per
    // byte of the text.
    char *fromUtf8ToFile(std::string_view text, char *out) const;
    // The byte that stands for `code`; false when the code page lacks it.
    bool byteFor(char32_t code, char &byte) const
    {
        if (code >= 0x10000) return false;
        byte = static_cast<char>(byteOf_[code]);
        return byteOf_[code] != 0 || code == 0;
    }

private:
    template <bool FoldCrLf>
    char *convertToUtf8(std::string_view bytes, char *out, bool &replaced) const;

    // Eight bytes, so that a byte's entry is found by a scaled index.
    struct alignas(8) Character {
        char utf8[4];       // what is past its size is written and then written over
        unsigned char size; // U+FFFD's 3 for a byte that stands for nothing; CR's 0
        bool mapped;
    };
    Character characters_[256];
    unsigned char byteOf_[0x10000]; // 0: no byte, but for U+0000
    // The same by the two bytes of a character of two in UTF-8, the first
    // one the low byte of the index: nearly every letter of a European code
    // page. 0 for bytes that are no such character, or one the code page
    // lacks.
    unsigned char byteOfPair_[0x10000];
};

// The computer's legacy ANSI code page, the one files without a
// declaration have always been written in.
class LegacyCodePage {
public:
    LegacyCodePage(unsigned number, const CodePageSystem &system);

    unsigned number() const { return number_; }
    const CodePageSystem &system() const { return system_; }
    // The tables of a single-byte code page; null for a double-byte one.
    const SingleByteTable *table() const { return table_.get(); }

    Conversion toUtf8(std::string_view bytes, std::string &utf8) const;
    // Characters the code page lacks become '?'; `firstLost`, when given,
    // gets the first of them (UTF-8).
    Conversion fromUtf8(std::string_view text, std::string &bytes, std::string *firstLost = nullptr) const;

private:
    unsigned number_;
    const CodePageSystem &system_;
    std::unique_ptr<SingleByteTable> table_;
};

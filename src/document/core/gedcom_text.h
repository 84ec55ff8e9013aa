// The characters of a family-tree file (GEDCOM), whatever it was written
// in, as UTF-8: what genealogy programs have used over thirty years.
//
// Portable: no Windows headers; every table is our own.
#pragma once

#include <string>
#include <string_view>

#include "document/core/utf8_text.h"

enum class GedcomEncoding {
    Utf8,     // also ASCII, and files that name no character set
    Utf16LittleEndian,
    Utf16BigEndian,
    Windows1252, // "ANSI"
    Ansel,    // the old standard's set, accents written before their letter
};

// Which encoding the bytes are in: a byte order mark, the pattern of zero
// bytes UTF-16 gives "0 HEAD", or else the header's "1 CHAR" line.
GedcomEncoding detectGedcomEncoding(std::string_view bytes);

// The whole file as UTF-8, without a byte order mark. Bytes that are not
// UTF-8 in a file said to be UTF-8 or ASCII are read as code page 1252, the
// mistake files most often make; nothing is ever refused.
std::string gedcomTextAsUtf8(std::string_view bytes, GedcomEncoding encoding);

// The length of the well-formed UTF-8 character at `at`, or 0 when there
// is none.
inline size_t utf8LengthAt(std::string_view text, size_t at)
{
    char32_t character;
    return decodeUtf8(text.substr(at), character);
}
// The character of a byte of code page 1252.
char32_t windows1252Character(unsigned char b);


// Code page 1252 (Western European), written out from the code page's own
// table rather than taken from any library: its upper case, which the
// Windows side's fold table holds on a Western system, and its conversion to
// UTF-8 as the system converts it, which the page writer is given in tests.
#pragma once

#include <cstddef>
#include <string_view>

#include "document/core/entry_search.h"
#include "document/core/web_page_writer.h"

inline CaseFold codePage1252Fold()
{
    CaseFold fold;
    for (int b = 0; b < 256; ++b) fold[b] = static_cast<unsigned char>(b);
    for (int b = 'a'; b <= 'z'; ++b) fold[b] = static_cast<unsigned char>(b - 32);
    for (int b = 0xE0; b <= 0xFE; ++b)
        if (b != 0xF7) fold[b] = static_cast<unsigned char>(b - 32); // not the division sign
    fold[0x9A] = 0x8A; // s caron
    fold[0x9C] = 0x8C; // oe
    fold[0x9E] = 0x8E; // z caron
    fold[0xFF] = 0x9F; // y diaeresis
    return fold;
}

// An AnsiToUtf8: room for three bytes per byte of `ansi` at `utf8`.
size_t codePage1252ToUtf8(std::string_view ansi, char *utf8);

// The code page as the system describes it, and the same conversion passed
// as if characters could take several bytes, which the writer then converts
// value by value instead of byte by byte.
constexpr AnsiCodePage CodePage1252 = {codePage1252ToUtf8, true};
constexpr AnsiCodePage CodePage1252AsMultiByte = {codePage1252ToUtf8, false};

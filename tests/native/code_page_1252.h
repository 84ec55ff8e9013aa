// Upper case of code page 1252, written out from the code page's own table
// rather than taken from any library: what the Windows side's fold table
// holds on a Western system.
#pragma once

#include "document/entry_search.h"

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

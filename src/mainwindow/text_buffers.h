// Buffers the system fills with text of the ANSI code page. Their sizes are
// counted in bytes, while controls and the file system count characters in
// UTF-16 units; one unit takes up to three bytes in UTF-8 (a character
// beyond the Basic Multilingual Plane is two units and four bytes) and two
// in the double-byte code pages of East Asia.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <string>

constexpr size_t MaxBytesPerUnit = 3;

// Bytes that text of `units` UTF-16 units can take, the terminator included.
constexpr size_t ansiBufferBytes(size_t units)
{
    return units * MaxBytesPerUnit + 1;
}

// A path of MAX_PATH characters (the terminator among them) in any script.
constexpr DWORD PathBufferBytes = MAX_PATH * MaxBytesPerUnit;

// How many UTF-16 units the system counts in `text`: what its limits on
// path lengths are measured in.
size_t systemLength(const std::string &text);

// Bytes a buffer needs for the text of `range` of a rich edit control.
size_t textRangeBytes(CHARRANGE range);
// Reads the text of `range` into `buffer`, which holds textRangeBytes(range)
// bytes; returns the bytes read.
size_t readTextRange(HWND richText, CHARRANGE range, char *buffer);
std::string textRange(HWND richText, CHARRANGE range);

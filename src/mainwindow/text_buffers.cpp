#include "mainwindow/text_buffers.h"

#include <cstring>

size_t systemLength(const std::string &text)
{
    if (text.empty()) return 0;
    return static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                   static_cast<int>(text.size()), NULL, 0));
}

size_t textRangeBytes(CHARRANGE range)
{
    return range.cpMax > range.cpMin ? ansiBufferBytes(range.cpMax - range.cpMin) : 1;
}

size_t readTextRange(HWND richText, CHARRANGE range, char *buffer)
{
    buffer[0] = '\0';
    if (range.cpMax <= range.cpMin) return 0;
    TEXTRANGEA text = {range, buffer};
    SendMessageA(richText, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&text));
    return std::strlen(buffer);
}

std::string textRange(HWND richText, CHARRANGE range)
{
    std::string text(textRangeBytes(range), '\0');
    text.resize(readTextRange(richText, range, &text[0]));
    return text;
}

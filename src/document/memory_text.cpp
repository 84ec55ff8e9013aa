#include "document/memory_text.h"

#include <climits>
#include <windows.h>

namespace {

bool memoryIsUtf8() { return GetACP() == CP_UTF8; }

// Characters the target code page lacks become its default character.
std::string converted(std::string_view text, UINT from, UINT to)
{
    if (text.empty() || text.size() > INT_MAX / 4) return std::string(text);
    const int size = static_cast<int>(text.size());
    std::wstring wide(text.size(), L'\0');
    const int units = MultiByteToWideChar(from, 0, text.data(), size, &wide[0], size);
    const int bytes = WideCharToMultiByte(to, 0, wide.data(), units, NULL, 0, NULL, NULL);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) WideCharToMultiByte(to, 0, wide.data(), units, &out[0], bytes, NULL, NULL);
    return out;
}

} // namespace

std::string memoryTextFromUtf8(std::string_view utf8)
{
    return memoryIsUtf8() ? std::string(utf8) : converted(utf8, CP_UTF8, CP_ACP);
}

std::string utf8FromMemoryText(std::string_view text)
{
    return memoryIsUtf8() ? std::string(text) : converted(text, CP_ACP, CP_UTF8);
}

Entry memoryEntryFromUtf8(Entry entry)
{
    if (memoryIsUtf8()) return entry;
    for (const EntryField &field : EntryFields) entry.*field.value = memoryTextFromUtf8(entry.*field.value);
    return entry;
}

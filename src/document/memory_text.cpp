#include "document/memory_text.h"

#include "document/system_code_pages.h"

// Where memory is not UTF-8 its code page is the legacy one; a character
// it lacks becomes "?".
std::string memoryTextFromUtf8(std::string_view utf8)
{
    const TextCodePages &pages = systemTextCodePages();
    if (pages.memoryIsUtf8) return std::string(utf8);
    std::string text;
    pages.legacy.fromUtf8(utf8, text);
    return text;
}

std::string utf8FromMemoryText(std::string_view text)
{
    const TextCodePages &pages = systemTextCodePages();
    if (pages.memoryIsUtf8) return std::string(text);
    std::string utf8;
    pages.legacy.toUtf8(text, utf8);
    return utf8;
}

Entry memoryEntryFromUtf8(Entry entry)
{
    if (systemTextCodePages().memoryIsUtf8) return entry;
    for (const EntryField &field : EntryFields) entry.*field.value = memoryTextFromUtf8(entry.*field.value);
    return entry;
}

// Text between the portable code, which speaks UTF-8, and the document,
// which holds text in the process's ANSI code page: UTF-8 itself where the
// manifest makes it so (Windows 10 1903 and later, Wine), a legacy code
// page on older systems. Converted only in the second case.
#pragma once

#include <string>
#include <string_view>

#include "document/core/biography_document.h"

std::string memoryTextFromUtf8(std::string_view utf8);
std::string utf8FromMemoryText(std::string_view text);
// The entry with every field converted.
Entry memoryEntryFromUtf8(Entry entry);

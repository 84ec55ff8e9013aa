// Western European text (Windows code page 1252) to UTF-8, as the system
// converts it: what the page writer is given in tests, where there is no
// system to ask.
#pragma once

#include <cstddef>
#include <string_view>

#include "document/web_page_writer.h"

// An AnsiToUtf8: room for three bytes per byte of `ansi` at `utf8`.
size_t codePage1252ToUtf8(std::string_view ansi, char *utf8);

// The code page as the system describes it, and the same conversion passed
// as if characters could take several bytes, which the writer then converts
// value by value instead of byte by byte.
constexpr AnsiCodePage CodePage1252 = {codePage1252ToUtf8, true};
constexpr AnsiCodePage CodePage1252AsMultiByte = {codePage1252ToUtf8, false};

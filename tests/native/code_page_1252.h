// Western European text (Windows code page 1252) to UTF-8, as the system
// converts it: what the page writer is given in tests, where there is no
// system to ask.
#pragma once

#include <cstddef>
#include <string_view>

// An AnsiToUtf8: room for three bytes per byte of `ansi` at `utf8`.
size_t codePage1252ToUtf8(std::string_view ansi, char *utf8);

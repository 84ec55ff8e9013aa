// The biography as one self-contained web page, for reading, printing and
// sending on: UTF-8 HTML with its styles inline, no script and nothing
// fetched from elsewhere.
//
// Portable: the conversion from the ANSI code page, which only the system
// knows, comes in as a function.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "document/core/biography_document.h"
#include "document/core/biography_writer.h"
#include "document/core/file_links.h"

// Writes `ansi` to `utf8` as UTF-8 and returns the number of bytes written.
// `utf8` has room for MaxUtf8BytesPerAnsiByte bytes per byte of `ansi`:
// every code page gives at most one UTF-16 unit per byte, and a unit takes
// at most three bytes of UTF-8 (a surrogate pair, from two or more bytes,
// takes four).
using AnsiToUtf8 = size_t (*)(std::string_view ansi, char *utf8);
constexpr size_t MaxUtf8BytesPerAnsiByte = 3;

struct AnsiCodePage {
    AnsiToUtf8 toUtf8;
    // Every byte is a character of its own, as in the Western European code
    // page and most others (not in those of East Asia). The page is then
    // converted and escaped in one pass, through a table that toUtf8 fills
    // byte by byte.
    bool singleByte;
};

// The whole page for `document`, in tab order: the categories as the tabs
// show them (the last category first), each one's entries in list order,
// after a chronology of the entries that have years. `language` is the tag
// of the language the text is written in ("en"), for the page's lang
// attribute. `folders` (in the ANSI code page) say where the page goes and
// where the biography is, for the links to attached files.
BiographyBytes writeWebPage(const Biography &document, const AnsiCodePage &codePage,
                            std::string_view language, const PageFolders &folders);

// "Export as web page...": the document as a web page beside its file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <windows.h>

// Asks where to put the page, proposing the document's file name with
// ".html" in its folder, and writes it there the crash-safe way. A failure
// is reported in a message box. The document, its path, the caption and
// its unsaved changes stay as they are.
void exportWebPage(HWND owner);

// Text in the ANSI code page as UTF-8, through the system's conversions.
// An AnsiToUtf8 for the page writer.
size_t ansiToUtf8(std::string_view ansi, char *utf8);

// "Anna.xml" gives "Anna.html"; a name without an extension gets one.
std::string webPageName(const std::string &fileName);

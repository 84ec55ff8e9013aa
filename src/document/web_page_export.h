// "Export as web page...": the document as a web page beside its file.
#pragma once

#include <windows.h>

// Asks where to put the page, proposing the document's file name with
// ".html" in its folder, and writes it there the crash-safe way. A failure
// is reported in a message box. The document, its path, the caption and
// its unsaved changes stay as they are.
void exportWebPage(HWND owner);

#include "document/web_page_export.h"

#include <climits>
#include <new>
#include <string>
#include <string_view>

#include "document/core/biography_document.h"
#include "document/file_dialogs.h"
#include "document/file_replacement.h"
#include "document/core/web_page_writer.h"
#include "mainwindow/main_window.h"

namespace {

// Text in the ANSI code page as UTF-8, through the system's conversions.
size_t ansiToUtf8(std::string_view ansi, char *utf8)
{
    if (ansi.empty() || ansi.size() > INT_MAX / MaxUtf8BytesPerAnsiByte) return 0;
    const int size = static_cast<int>(ansi.size());
    // Every code page gives at most one UTF-16 unit per byte.
    std::wstring wide(ansi.size(), L'\0');
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, &wide[0], size);
    const int written = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8,
                                            size * static_cast<int>(MaxUtf8BytesPerAnsiByte), NULL, NULL);
    return written > 0 ? static_cast<size_t>(written) : 0;
}

// "Anna.xml" gives "Anna.html"; a name without an extension gets one. A
// biography named "Anna.html" gets "Anna.page.html", not its own name.
std::string webPageName(const std::string &fileName)
{
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos) return fileName + ".html";
    const bool ownName = lstrcmpiA(fileName.c_str() + dot, ".html") == 0;
    return fileName.substr(0, dot) + (ownName ? ".page.html" : ".html");
}

// Asks again until the page would not replace the biography: with the
// page written over it, the only good copy would be in memory, and nothing
// would say so.
bool choosePagePath(HWND owner, std::string &path)
{
    const Biography &d = BiographyDocument;
    while (chooseWebPagePath(owner, containingFolder(d.filePath), webPageName(d.fileName), path)) {
        if (!isSameFile(path, d.filePath)) return true;
        MessageBoxA(owner,
                    "A web page cannot replace the biography it is made from. Choose another name.",
                    "Export as web page", MB_ICONWARNING | MB_OK);
    }
    return false;
}

// The language the user's text is most likely written in, for the page's
// lang attribute; unknown ("") when the system does not say.
std::string userLanguage()
{
    char language[16] = "";
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, language, sizeof language))
        return "";
    return language;
}

AnsiCodePage systemCodePage()
{
    CPINFO info;
    const bool singleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
    return {ansiToUtf8, singleByte};
}

void reportExportFailure(const std::string &path, const std::string &reason)
{
    const std::string text = "The web page \"" + path + "\" could not be saved.\n\n" + reason +
                             "\n\nThe file on disk was left as it was.";
    MessageBoxA(messageOwner(), text.c_str(), "Error", MB_ICONERROR | MB_OK);
}

} // namespace

void exportWebPage(HWND owner)
{
    std::string path;
    if (!choosePagePath(owner, path)) return;
    std::string error;
    bool written = false;
    try {
        const std::string pageFolder = containingFolder(path);
        const std::string biographyFolder = containingFolder(BiographyDocument.filePath);
        written = replaceFileContents(path,
                                      writeWebPage(BiographyDocument, systemCodePage(), userLanguage(),
                                                   {pageFolder, biographyFolder})
                                          .view(),
                                      error);
    } catch (const std::bad_alloc &) {
        error = "There is not enough memory to export it.";
    }
    if (!written) reportExportFailure(path, error);
}

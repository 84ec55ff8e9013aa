#include "personality/folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

#include "mainwindow/text_buffers.h"

namespace {

// The ANSI call hands back at most MAX_PATH bytes, too few for a path of
// MAX_PATH characters in UTF-8; the path is taken as it is kept and
// converted here.
bool pathOf(LPCITEMIDLIST item, std::string &path)
{
    WCHAR wide[MAX_PATH] = L"";
    if (!SHGetPathFromIDListW(item, wide)) return false;
    char ansi[PathBufferBytes] = "";
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, NULL, NULL)) return false;
    path = ansi;
    return true;
}

bool systemBrowseForFolder(HWND owner, const char *prompt, std::string &folder)
{
    // The resizable browser is built on COM and needs a single-threaded
    // apartment.
    const HRESULT com = CoInitialize(NULL);
    char displayName[PathBufferBytes] = "";
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = prompt;
    browse.ulFlags = BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    const bool chosen = item && pathOf(item, folder);
    if (item) CoTaskMemFree(item);
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

} // namespace

BrowseForFolderFunction browseForFolder = systemBrowseForFolder;

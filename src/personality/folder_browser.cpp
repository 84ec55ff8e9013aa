#include "personality/folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

bool systemBrowseForFolder(HWND owner, const char *prompt, std::string &folder)
{
    // The resizable browser is built on COM and needs a single-threaded
    // apartment.
    const HRESULT com = CoInitialize(NULL);
    char displayName[MAX_PATH] = "";
    char path[MAX_PATH] = "";
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = prompt;
    browse.ulFlags = BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    const bool chosen = item && SHGetPathFromIDListA(item, path);
    if (item) CoTaskMemFree(item);
    if (SUCCEEDED(com)) CoUninitialize();
    if (chosen) folder = path;
    return chosen;
}

} // namespace

BrowseForFolderFunction browseForFolder = systemBrowseForFolder;

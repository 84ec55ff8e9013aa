#include "document/file_dialogs.h"

#include <commdlg.h>

namespace {

const char Filter[] = "Biography .xml files\0*.xml\0";
// Explorer style, read-only box hidden, folder must exist, ask before
// replacing. OFN_NOCHANGEDIR is left out on purpose: the chosen file's
// folder becomes the current folder, which "Open containing folder" uses.
constexpr DWORD DialogFlags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                              OFN_OVERWRITEPROMPT;

OPENFILENAMEA dialogSetup(HWND owner, char *buffer, const char *defaultExtension)
{
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = Filter;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = DialogFlags;
    return dialog;
}

} // namespace

bool chooseSavePath(HWND owner, std::string &path)
{
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA dialog = dialogSetup(owner, buffer, "xml");
    if (!GetSaveFileNameA(&dialog)) return false;
    path = buffer;
    return true;
}

bool chooseOpenPath(HWND owner, std::string &path)
{
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA dialog = dialogSetup(owner, buffer, "*.xml");
    if (!GetOpenFileNameA(&dialog)) return false;
    path = buffer;
    return true;
}

#include "document/file_dialogs.h"

#include "mainwindow/text_buffers.h"

namespace {

const char BiographyFilter[] = "Biography .xml files\0*.xml\0";
// Appended to a name typed without a type: bare, not a pattern.
const char BiographyType[] = "xml";
const char AnyFileFilter[] = "All files\0*.*\0";
const char WebPageFilter[] = "Web page (*.html)\0*.html\0";
const char FamilyTreeFilter[] = "Family tree files (*.ged)\0*.ged\0";
const char FamilyTreeType[] = "ged";
// Explorer style, read-only box hidden, folder must exist, ask before
// replacing.
constexpr DWORD DialogFlags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                              OFN_OVERWRITEPROMPT;
static_assert(DialogFlags == 0x80806, "file dialog flags");

OPENFILENAMEA dialogSetup(HWND owner, char *buffer, const char *defaultExtension,
                          const char *filter = BiographyFilter)
{
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = PathBufferBytes;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = DialogFlags;
    return dialog;
}

bool systemOpenDialog(OPENFILENAMEA &dialog, DWORD &error)
{
    if (GetOpenFileNameA(&dialog)) return true;
    error = CommDlgExtendedError();
    return false;
}

bool systemSaveDialog(OPENFILENAMEA &dialog, DWORD &error)
{
    if (GetSaveFileNameA(&dialog)) return true;
    error = CommDlgExtendedError();
    return false;
}

// A dialog that ends without a path has either been cancelled or been
// given a path longer than it can hand back; only the second needs words.
// Its buffer holds longer paths of one-byte characters than the system's
// file calls take, and they are refused the same way.
bool chosen(FileDialogRunner run, OPENFILENAMEA &dialog, std::string &path)
{
    DWORD error = 0;
    if (run(dialog, error)) {
        if (systemLength(dialog.lpstrFile) < MAX_PATH) {
            path = dialog.lpstrFile;
            return true;
        }
        error = FNERR_BUFFERTOOSMALL;
    }
    if (error == FNERR_BUFFERTOOSMALL)
        MessageBoxA(dialog.hwndOwner,
                    "The path of the chosen file is too long. Memorion can use paths of up to 259 "
                    "characters.\n\nChoose a file in a folder with a shorter path, or a shorter "
                    "file name.",
                    "Error", MB_ICONERROR | MB_OK);
    return false;
}

} // namespace

FileDialogRunner runOpenFileDialog = systemOpenDialog;
FileDialogRunner runSaveFileDialog = systemSaveDialog;

#if !defined(_WIN64)
// The size the dialogs are given on 32-bit Windows, extended fields included.
static_assert(sizeof(OPENFILENAMEA) == 88, "the 32-bit structure");
#endif

bool chooseSavePath(HWND owner, std::string &path)
{
    char buffer[PathBufferBytes] = "";
    OPENFILENAMEA dialog = dialogSetup(owner, buffer, BiographyType);
    return chosen(runSaveFileDialog, dialog, path);
}

bool chooseOpenPath(HWND owner, std::string &path)
{
    char buffer[PathBufferBytes] = "";
    OPENFILENAMEA dialog = dialogSetup(owner, buffer, BiographyType);
    return chosen(runOpenFileDialog, dialog, path);
}

bool chooseFileToAttach(HWND owner, std::string &path)
{
    char buffer[PathBufferBytes] = "";
    OPENFILENAMEA dialog = dialogSetup(owner, buffer, NULL, AnyFileFilter);
    return chosen(runOpenFileDialog, dialog, path);
}

namespace {

bool chooseExportPath(HWND owner, const std::string &folder, const std::string &proposedName,
                      const char *type, const char *filter, std::string &path)
{
    char buffer[PathBufferBytes] = "";
    // A name too long for the buffer is not proposed at all.
    if (proposedName.size() < PathBufferBytes) proposedName.copy(buffer, PathBufferBytes - 1);
    OPENFILENAMEA dialog = dialogSetup(owner, buffer, type, filter);
    dialog.lpstrInitialDir = folder.c_str();
    return chosen(runSaveFileDialog, dialog, path);
}

} // namespace

bool chooseWebPagePath(HWND owner, const std::string &folder, const std::string &proposedName,
                       std::string &path)
{
    return chooseExportPath(owner, folder, proposedName, "html", WebPageFilter, path);
}

bool chooseFamilyTreeToImport(HWND owner, std::string &path)
{
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA dialog = dialogSetup(owner, buffer, FamilyTreeType, FamilyTreeFilter);
    dialog.Flags |= OFN_FILEMUSTEXIST;
    return chosen(runOpenFileDialog, dialog, path);
}

bool chooseFamilyTreeExportPath(HWND owner, const std::string &folder, const std::string &proposedName,
                                std::string &path)
{
    return chooseExportPath(owner, folder, proposedName, FamilyTreeType, FamilyTreeFilter, path);
}

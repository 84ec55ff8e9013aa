#include "mainwindow/shell_handoff.h"

#include <shellapi.h>

#include "document/core/biography_document.h"
#include "document/core/program_paths.h"

namespace {

HINSTANCE systemShellExecute(HWND owner, const char *verb, const char *file,
                             const char *parameters, const char *folder, int showCommand)
{
    return ShellExecuteA(owner, verb, file, parameters, folder, showCommand);
}

bool namesSomething(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool namesExistingFolder(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The paths come from a file that may have been made by someone else: the
// user decides whether one that may be a program is opened.
bool userAgreesToOpen(HWND owner, const std::string &path)
{
    const std::string question = path + " may be a program. Open it anyway?";
    return MessageBoxA(owner, question.c_str(), "Open file",
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void reportMissing(HWND owner)
{
    MessageBoxA(owner, "File does not exist", "Error", MB_ICONWARNING | MB_OK);
}

void handToShell(HWND owner, const std::string &path)
{
    shellExecute(owner, "open", path.c_str(), NULL, NULL, SW_SHOWNORMAL);
}

} // namespace

ShellExecuteFunction shellExecute = systemShellExecute;

void openAssociatedFile(HWND owner, const std::string &named)
{
    const std::string path = pathFromBiographyFolder(named, BiographyDocument.filePath);
    if (path.empty()) return reportMissing(owner);
    // Asked before the file system is: looking up a path on another
    // computer already sends the user's credentials there.
    const bool elsewhere = namesAnotherComputer(path);
    if (elsewhere && !userAgreesToOpen(owner, path)) return;
    if (!namesSomething(path)) return reportMissing(owner);
    if (!elsewhere && mayRunProgram(path, namesExistingFolder) && !userAgreesToOpen(owner, path))
        return;
    handToShell(owner, path);
}

void openBiographyWithItsProgram(HWND owner, const std::string &path)
{
    if (!namesSomething(path)) return reportMissing(owner);
    if (!hasViewerType(path) && !userAgreesToOpen(owner, path)) return;
    handToShell(owner, path);
}

std::string systemNotepad()
{
    std::string folder(GetSystemDirectoryA(NULL, 0), '\0');
    const UINT length = GetSystemDirectoryA(&folder[0], static_cast<UINT>(folder.size()));
    if (length == 0 || length >= folder.size()) return "";
    folder.resize(length);
    return folder + "\\notepad.exe";
}

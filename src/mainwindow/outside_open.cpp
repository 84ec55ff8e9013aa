#include "mainwindow/outside_open.h"

#include <string>

#include "document/document_files.h"
#include "document/recovery_question.h"
#include "document/core/command_line.h"
#include "mainwindow/main_window.h"

namespace {

// A name relative to the folder the program was started in would point
// elsewhere once a file dialog has changed the current folder.
std::string fullPathOf(const std::string &path)
{
    const DWORD size = GetFullPathNameA(path.c_str(), 0, NULL, NULL);
    if (size == 0) return path;
    std::string full(size, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), size, &full[0], NULL);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}

bool namesFile(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void openFile(const std::string &path)
{
    LoadReport report;
    if (openDocumentFile(fullPathOf(path), report)) showOpenedDocument(report);
}

std::string firstDroppedFile(HDROP drop)
{
    const UINT length = DragQueryFileA(drop, 0, NULL, 0);
    if (length == 0) return std::string();
    std::string path(length + 1, '\0');
    path.resize(DragQueryFileA(drop, 0, &path[0], length + 1));
    return path;
}

} // namespace

void openCommandLineFile(const char *commandLine)
{
    const std::string path = pathArgument(commandLine ? commandLine : "", namesFile);
    // What a crash left is offered first; the file's own journal comes
    // with its open.
    if (offerRecoveryAtStart(path.empty() ? path : fullPathOf(path))) return;
    if (!path.empty()) openFile(path);
}

void openDroppedFile(HDROP drop)
{
    const std::string path = firstDroppedFile(drop);
    DragFinish(drop);
    // While a dialog or message box is up the window is disabled, and the
    // document is theirs.
    if (path.empty() || !IsWindowEnabled(MainWindow)) return;
    if (offerToSaveChanges()) openFile(path);
}

#include "personality/personality_folder.h"

#include <algorithm>

#include "mainwindow/shell_handoff.h"
#include "mainwindow/text_buffers.h"
#include "personality/folder_browser.h"
#include "personality/folder_creation.h"

namespace {

const char Prompt[] = "Select a folder to contain the personality database.";
const char Failure[] =
    "Failed to create personality folder. Invalid folder name or folder may already exist.";

// The longest folder path the platform's ANSI folder creation takes: a
// path buffer less room for an 8.3 file name.
constexpr size_t MaxFolderPath = MAX_PATH - 12;

std::string withoutTrailingSeparator(std::string path)
{
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// The full spelling of `path`, or "" when it does not fit a path buffer.
std::string fullPath(const std::string &path)
{
    char full[PathBufferBytes];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, NULL);
    if (length == 0 || length >= sizeof full) return "";
    return std::string(full, length);
}

// The folder `name` directly inside `parent`, or "" when the name would
// lead anywhere else ("..", "a\b", "." or nothing but blanks) or the path
// to it or to any of its subfolders is too long.
std::string personalFolderPath(const std::string &parent, const std::string &name,
                               const std::vector<std::string> &subfolders)
{
    const std::string chosen = withoutTrailingSeparator(fullPath(parent));
    const std::string folder = fullPath(withoutTrailingSeparator(parent) + "\\" + name);
    const size_t separator = folder.rfind('\\');
    if (chosen.empty() || separator == std::string::npos || separator + 1 == folder.size() ||
        folder.substr(0, separator) != chosen)
        return "";
    size_t longest = systemLength(folder);
    for (const std::string &subfolder : subfolders)
        longest = std::max(longest, systemLength(folder + "\\" + subfolder));
    return longest < MaxFolderPath ? folder : "";
}

void reportFailure(HWND owner)
{
    MessageBoxA(owner, Failure, "Information", MB_ICONERROR | MB_OK);
}

} // namespace

void createPersonalityFolder(HWND owner, const std::string &name,
                             const std::vector<std::string> &subfolders)
{
    std::string parent;
    if (!browseForFolder(owner, Prompt, parent)) return;
    const std::string folder = personalFolderPath(parent, name, subfolders);
    if (folder.empty()) return reportFailure(owner);
    const bool created = createFolder(folder.c_str());
    // An existing folder still gets the subfolders it lacks.
    for (const std::string &subfolder : subfolders)
        createFolder((folder + "\\" + subfolder).c_str());
    if (created)
        shellExecute(owner, "explore", folder.c_str(), NULL, NULL, SW_SHOWNORMAL);
    else
        reportFailure(owner);
}

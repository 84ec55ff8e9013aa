#include "document/program_paths.h"

#include <cctype>

namespace {

// Types the shell runs rather than opens in a viewer.
const char *const ProgramTypes[] = {
    "exe", "com", "bat", "cmd", "scr", "pif", "cpl", "msi", "msp", "hta",
    "js",  "jse", "vbs", "vbe", "wsf", "wsh", "ps1", "lnk", "reg",
};

// Types every browser shows in an img element.
const char *const PictureTypes[] = {"jpg", "jpeg", "png", "gif", "bmp", "webp"};

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string lowerCase(std::string text)
{
    for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Windows ignores dots and blanks at the end of a name: "setup.exe." runs
// setup.exe.
std::string typeOf(const std::string &path)
{
    size_t end = path.size();
    while (end > 0 && (path[end - 1] == '.' || path[end - 1] == ' ')) --end;
    for (size_t i = end; i > 0; --i) {
        if (isSeparator(path[i - 1])) return "";
        if (path[i - 1] == '.') return lowerCase(path.substr(i, end - i));
    }
    return "";
}

bool isOnAnotherComputer(const std::string &path)
{
    return path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
}

// A colon belongs only right after a drive letter; anywhere else it makes
// an address for some program ("ms-settings:", "http:") or names a stream.
bool hasStrayColon(const std::string &path)
{
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] != ':') continue;
        const bool driveColon = i == 1 && std::isalpha(static_cast<unsigned char>(path[0]));
        if (!driveColon) return true;
    }
    return false;
}

} // namespace

bool mayRunProgram(const std::string &path)
{
    if (isOnAnotherComputer(path) || hasStrayColon(path)) return true;
    const std::string type = typeOf(path);
    for (const char *programType : ProgramTypes)
        if (type == programType) return true;
    return false;
}

bool isPicture(const std::string &path)
{
    const std::string type = typeOf(path);
    for (const char *pictureType : PictureTypes)
        if (type == pictureType) return true;
    return false;
}

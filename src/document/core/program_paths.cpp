#include "document/core/program_paths.h"

#include <cctype>

namespace {

// Data a viewer shows: images, sound, video, text and documents. A list
// of what runs would miss whatever the next program registers.
const char *const ViewerTypes[] = {
    "jpg", "jpeg", "png",  "gif", "bmp",  "tif", "tiff", "webp", "heic",
    "mp3", "wav",  "ogg",  "flac", "m4a", "wma", "aac",
    "mp4", "m4v",  "avi",  "mov", "mkv",  "wmv", "mpg",  "mpeg", "webm",
    "txt", "rtf",  "pdf",  "doc", "docx", "odt", "xls",  "xlsx", "ods",
    "ppt", "pptx", "odp",  "csv", "xml",
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

std::string typeOf(const std::string &path)
{
    for (size_t i = path.size(); i > 0; --i) {
        if (isSeparator(path[i - 1])) return "";
        if (path[i - 1] == '.') return lowerCase(path.substr(i));
    }
    return "";
}

// Windows drops them: "setup.exe." runs setup.exe.
bool endsInDotOrBlank(const std::string &path)
{
    return !path.empty() && (path.back() == '.' || path.back() == ' ');
}

bool hasDrive(const std::string &path)
{
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool hasDriveRoot(const std::string &path)
{
    return hasDrive(path) && path.size() >= 3 && isSeparator(path[2]);
}

// "C:" for a path on a drive, "\\server\share" for one on a share.
std::string rootOf(const std::string &path)
{
    if (hasDrive(path)) return path.substr(0, 2);
    size_t end = 2;
    for (int name = 0; name < 2 && end != std::string::npos; ++name)
        end = path.find_first_of("\\/", end + 1);
    return path.substr(0, end);
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

std::string pathFromBiographyFolder(const std::string &path, const std::string &biographyPath)
{
    if (path.empty()) return "";
    if (hasDriveRoot(path) || namesAnotherComputer(path)) return path;
    if (hasDrive(path)) return path.substr(0, 2) + '\\' + path.substr(2);
    const size_t folderEnd = biographyPath.find_last_of("\\/");
    const bool biographyIsFull = hasDriveRoot(biographyPath) || namesAnotherComputer(biographyPath);
    if (!biographyIsFull || folderEnd == std::string::npos) return "";
    if (isSeparator(path[0])) return rootOf(biographyPath) + path;
    return biographyPath.substr(0, folderEnd) + '\\' + path;
}

bool namesAnotherComputer(const std::string &path)
{
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return true;
    return path.size() >= 4 && isSeparator(path[0]) && path[1] == '?' && path[2] == '?' &&
           isSeparator(path[3]);
}

bool hasViewerType(const std::string &path)
{
    if (hasStrayColon(path) || endsInDotOrBlank(path)) return false;
    const std::string type = typeOf(path);
    for (const char *viewerType : ViewerTypes)
        if (type == viewerType) return true;
    return false;
}

bool mayRunProgram(const std::string &path, bool (*namesFolder)(const std::string &path))
{
    // Checked before the file system is asked: looking up a path on another
    // computer already sends the user's credentials there.
    if (namesAnotherComputer(path) || !hasDriveRoot(path)) return true;
    if (hasViewerType(path)) return false;
    return hasStrayColon(path) || endsInDotOrBlank(path) || !namesFolder(path);
}

bool isPicture(const std::string &path)
{
    const std::string type = typeOf(path);
    for (const char *pictureType : PictureTypes)
        if (type == pictureType) return true;
    return false;
}

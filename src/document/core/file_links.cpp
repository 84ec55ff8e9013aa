#include "document/core/file_links.h"

#include <array>
#include <vector>

namespace {

constexpr bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool isSeparator(char c) { return c == '\\' || c == '/'; }

constexpr std::array<bool, 256> urlSafeBytes()
{
    std::array<bool, 256> safe{};
    for (int b = 0; b < 256; ++b) safe[b] = (b >= '0' && b <= '9') || isAsciiLetter(static_cast<char>(b));
    for (unsigned char b : {'-', '.', '_', '~', '!', '$', '(', ')', '*', '+', ',', ';', '=', '@'}) safe[b] = true;
    return safe;
}
// Bytes a link carries as they are; a name's other bytes go percent-encoded.
constexpr std::array<bool, 256> UrlSafeBytes = urlSafeBytes();

void appendPercentEncoded(std::string &link, std::string_view name)
{
    static const char Hex[] = "0123456789ABCDEF";
    for (char c : name) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (UrlSafeBytes[b]) {
            link += c;
        } else {
            link += '%';
            link += Hex[b >> 4];
            link += Hex[b & 15];
        }
    }
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? a[i] - 32 : a[i];
        const char y = b[i] >= 'a' && b[i] <= 'z' ? b[i] - 32 : b[i];
        if (x != y) return false;
    }
    return true;
}

// A path taken apart: the drive ("C:") or share ("server", "share") it is
// on, and the folder names below that with "." and ".." worked out.
struct SplitPath {
    enum Root { None, Drive, Share } root = None;
    std::vector<std::string_view> rootNames;
    std::vector<std::string_view> names;
};

void appendNames(SplitPath &split, std::string_view rest)
{
    size_t start = 0;
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && !isSeparator(rest[i])) continue;
        const std::string_view name = rest.substr(start, i - start);
        start = i + 1;
        if (name.empty() || name == ".") continue;
        if (name != "..")
            split.names.push_back(name);
        else if (!split.names.empty())
            split.names.pop_back();
    }
}

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && sameIgnoringAsciiCase(text.substr(0, start.size()), start);
}

// "\\?\", "\\.\" and "\??\": the path after them goes to Windows as it
// stands.
bool hasLiteralPrefix(std::string_view path)
{
    if (path.size() < 4 || !isSeparator(path[0]) || !isSeparator(path[3])) return false;
    return (isSeparator(path[1]) && (path[2] == '?' || path[2] == '.')) || (path[1] == '?' && path[2] == '?');
}

bool startsWithDrive(std::string_view path) { return path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':'; }

// `path` as Windows reads it; one without a drive or share is taken from
// `base`. "C:name" is read as from the drive's root.
SplitPath splitPath(std::string_view path, const SplitPath &base)
{
    SplitPath split;
    const bool literal = hasLiteralPrefix(path);
    if (literal) {
        path.remove_prefix(4);
        if (startsWithIgnoringAsciiCase(path, "UNC") && path.size() > 3 && isSeparator(path[3]))
            path.remove_prefix(4);
    }
    if ((literal && !startsWithDrive(path)) || (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]))) {
        split.root = SplitPath::Share;
        SplitPath share;
        appendNames(share, path);
        for (size_t i = 0; i < share.names.size(); ++i)
            (i < 2 ? split.rootNames : split.names).push_back(share.names[i]);
        return split;
    }
    if (startsWithDrive(path)) {
        split.root = SplitPath::Drive;
        split.rootNames.push_back(path.substr(0, 2));
        appendNames(split, path.substr(2));
        return split;
    }
    split.root = base.root;
    split.rootNames = base.rootNames;
    if (path.empty() || !isSeparator(path[0])) split.names = base.names;
    appendNames(split, path);
    return split;
}

bool sameRoot(const SplitPath &a, const SplitPath &b)
{
    if (a.root != b.root || a.rootNames.size() != b.rootNames.size()) return false;
    for (size_t i = 0; i < a.rootNames.size(); ++i)
        if (!sameIgnoringAsciiCase(a.rootNames[i], b.rootNames[i])) return false;
    return true;
}

void appendNamesFrom(std::string &link, const std::vector<std::string_view> &names, size_t first)
{
    for (size_t i = first; i < names.size(); ++i) {
        if (i > first) link += '/';
        appendPercentEncoded(link, names[i]);
    }
}

std::string relativeLink(const SplitPath &file, const SplitPath &page)
{
    size_t common = 0;
    while (common < file.names.size() && common < page.names.size() &&
           sameIgnoringAsciiCase(file.names[common], page.names[common]))
        ++common;
    std::string link;
    for (size_t i = common; i < page.names.size(); ++i) link += "../";
    appendNamesFrom(link, file.names, common);
    return link.empty() ? "./" : link;
}

std::string addressLink(const SplitPath &file)
{
    std::string link;
    if (file.root == SplitPath::Drive) {
        link = "file:///";
        link += file.rootNames[0]; // the letter and its colon
    } else {
        link = "file:/";
        for (std::string_view name : file.rootNames) {
            link += '/';
            appendPercentEncoded(link, name);
        }
    }
    link += '/';
    appendNamesFrom(link, file.names, 0);
    return link;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
    return -1;
}

void appendPercentDecoded(std::string &path, std::string_view encoded)
{
    for (size_t i = 0; i < encoded.size(); ++i) {
        const int high = encoded[i] == '%' && i + 2 < encoded.size() ? hexValue(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(encoded[i + 2]) : -1;
        if (low < 0) {
            path += encoded[i];
        } else {
            path += static_cast<char>(high * 16 + low);
            i += 2;
        }
    }
}

// The path a file: address stands for: "//server/share/a b.jpg" for
// "file://server/share/a%20b.jpg", "C:/a.jpg" for "file:///C:/a.jpg" and
// "file://localhost/C:/a.jpg".
std::string pathOfAddress(std::string_view address)
{
    std::string_view rest = address.substr(5); // after "file:"
    std::string path;
    if (rest.size() >= 2 && isSeparator(rest[0]) && isSeparator(rest[1])) {
        rest.remove_prefix(2);
        size_t hostEnd = 0;
        while (hostEnd < rest.size() && !isSeparator(rest[hostEnd])) ++hostEnd;
        const std::string_view host = rest.substr(0, hostEnd);
        if (host.empty() || sameIgnoringAsciiCase(host, "localhost"))
            rest.remove_prefix(hostEnd);
        else
            path = "//";
    }
    if (path.empty() && rest.size() >= 3 && isSeparator(rest[0]) && startsWithDrive(rest.substr(1)))
        rest.remove_prefix(1);
    appendPercentDecoded(path, rest);
    return path;
}

} // namespace

std::string fileLink(std::string_view path, const PageFolders &folders)
{
    const std::string fromAddress = startsWithIgnoringAsciiCase(path, "file:") ? pathOfAddress(path) : "";
    if (!fromAddress.empty()) path = fromAddress;
    const SplitPath page = splitPath(folders.page, SplitPath());
    const SplitPath file = splitPath(path, splitPath(folders.biography, page));
    // Without a drive anywhere (a biography never saved) a path is relative to the page as it stands.
    if (file.root == SplitPath::None || sameRoot(file, page)) return relativeLink(file, page);
    return addressLink(file);
}

std::string_view fileNameOf(std::string_view path)
{
    size_t start = path.size();
    while (start > 0 && !isSeparator(path[start - 1])) --start;
    return path.substr(start);
}

bool reachesAnotherComputer(std::string_view link)
{
    return startsWithIgnoringAsciiCase(link, "file://") && !startsWithIgnoringAsciiCase(link, "file:///");
}

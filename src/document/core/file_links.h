// Links from the exported web page to the files an entry names, made so
// that the page and the folder tree around it can be copied, zipped or put
// online together and still find them.
//
// Portable: no Windows headers here. Paths are UTF-8, so that a separator
// or a dot is never the second byte of a double-byte character.
#pragma once

#include <string>
#include <string_view>

// Where the page is written and where the biography file is, as folders
// ("C:\Anna\BIOGRAPHY XML", "\\server\share\Anna").
struct PageFolders {
    std::string_view page;
    std::string_view biography;
};

// The link to `path` as the page gives it: relative to the page's folder
// when the file is on the page's drive or share (../IMAGE/Anna%201931.jpg),
// a file: address otherwise (file:///D:/a.jpg, file://server/share/a.jpg).
// A path without a drive is taken from the biography's folder (the page's
// when none is given). Windows' literal spellings name the same places
// ("\\?\C:\a.jpg", "\\?\UNC\server\share\a.jpg", the same after "\\.\" and
// "\??\"); another of them ("\\?\Volume{...}\") is taken for a share, of
// which nothing is loaded. A file: address ("file://server/share/a%20b.jpg",
// "file:///C:/a.jpg") names the path it stands for. Drives, shares and
// folder names compare ignoring the case of A to Z, as Windows does (it
// ignores other letters' case too; such a name only makes the link
// longer). Every byte a URL may not hold as it is goes percent-encoded.
std::string fileLink(std::string_view path, const PageFolders &folders);

// Whether `link`, as fileLink gives it, leads to another computer: a file:
// address of a share. Whoever follows it connects to that computer and
// sends it their Windows login, so the page only links to it, and loads
// nothing from it. A relative link stays within the folder tree the page
// is opened from, on no computer the page itself did not come from.
bool reachesAnotherComputer(std::string_view link);

// The file's name without its folders: "Anna 1931.jpg" for
// "C:\Anna\IMAGE\Anna 1931.jpg".
std::string_view fileNameOf(std::string_view path);

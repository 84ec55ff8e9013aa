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
// when none is given). Drives, shares and folder names compare ignoring the
// case of A to Z, as Windows does (it ignores other letters' case too; such
// a name only makes the link longer). Every byte a URL may not hold as it
// is goes percent-encoded.
std::string fileLink(std::string_view path, const PageFolders &folders);

// The file's name without its folders: "Anna 1931.jpg" for
// "C:\Anna\IMAGE\Anna 1931.jpg".
std::string_view fileNameOf(std::string_view path);

// Writing a whole file the crash-safe way: the new contents go to a
// temporary file beside the target, reach the disk, and only then take the
// target's place in one step. Saving a biography and exporting it share it.
#pragma once

#include <string>
#include <string_view>

// Writes `bytes` in place of the file at `path`; an existing file keeps its
// attributes, creation time and permissions. On failure `error` holds a
// reason for the user and nothing at `path` has changed.
bool replaceFileContents(const std::string &path, std::string_view bytes, std::string &error);

// The folder a file lies in, without a trailing separator but for a drive's
// root ("C:\"). Taken from the path itself, because whether a file dialog
// leaves the current folder there depends on how the file was picked; a bare
// name lies in the current folder.
std::string containingFolder(const std::string &path);

// Whether two paths name one file: by the file itself, not its name, so
// that other letter case, a short name or a relative one all count.
bool isSameFile(const std::string &path, const std::string &other);

// The system's own words for an error code (GetLastError), for the user.
std::string systemErrorText(unsigned long code);

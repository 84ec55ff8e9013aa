#include "document/file_replacement.h"

#include <memory>
#include <new>
#include <windows.h>

#include "document/save_steps.h"
#include "mainwindow/text_buffers.h"

std::string systemErrorText(unsigned long code)
{
    char *text = NULL;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   NULL, code, 0, reinterpret_cast<char *>(&text), 0, NULL);
    std::string message = text ? text : "Error " + std::to_string(code) + ".";
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

namespace {

// Why no temporary name could be had beside `path`.
std::string namingErrorText(DWORD code)
{
    if (code == ERROR_FILENAME_EXCED_RANGE)
        return "The path of its folder is too long to hold a temporary file beside it. "
               "Save it in a folder with a shorter path.";
    return systemErrorText(code);
}

std::string currentFolder()
{
    char folder[PathBufferBytes] = "";
    const DWORD length = GetCurrentDirectoryA(PathBufferBytes, folder);
    return length > 0 && length < PathBufferBytes ? std::string(folder, length) : std::string(".");
}

// Written a megabyte at a time: one call of any size could not say how far
// it got.
constexpr DWORD WriteChunk = 1u << 20;

bool writeAndFlush(const std::string &path, std::string_view bytes)
{
    // CREATE_NEW: a file that took the name since it was chosen is never
    // written over.
    HANDLE file = saveSteps.createFile(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    const char *next = bytes.data();
    size_t left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        const DWORD chunk = left > WriteChunk ? WriteChunk : static_cast<DWORD>(left);
        DWORD written = 0;
        ok = saveSteps.writeFile(file, next, chunk, &written, NULL);
        // A write that ends early has run out of room.
        if (ok && written != chunk) {
            SetLastError(ERROR_DISK_FULL);
            ok = false;
        }
        next += written;
        left -= written;
    }
    ok = ok && saveSteps.flushFile(file);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok) DeleteFileA(path.c_str());
    SetLastError(error);
    return ok;
}

// Gives the new contents what the file they replace carried, so that a save
// changes the contents and nothing else. ReplaceFileA does this too where
// the system supports it; doing it first makes it hold everywhere. None of
// it is worth failing the save for.
void takeOverFileProperties(const std::string &temporary, const std::string &path,
                            const WIN32_FILE_ATTRIBUTE_DATA &existing)
{
    const DWORD carried = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = existing.dwFileAttributes & carried;
    SetFileAttributesA(temporary.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);

    HANDLE file =
        CreateFileA(temporary.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        SetFileTime(file, &existing.ftCreationTime, NULL, NULL);
        CloseHandle(file);
    }

    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), what, NULL, 0, &size);
    if (size == 0) return;
    std::unique_ptr<char[]> descriptor(new (std::nothrow) char[size]);
    if (descriptor && GetFileSecurityA(path.c_str(), what, descriptor.get(), size, &size))
        SetFileSecurityA(temporary.c_str(), what, descriptor.get());
}

// The old contents wait under a backup name until the new ones are in
// place; should the second half of the replacement fail, they go back.
bool replaceExisting(const std::string &temporary, const std::string &path, std::string &error)
{
    std::string backup;
    if (!saveSteps.makeTemporaryName(path, TemporaryKind::Backup, backup)) {
        error = namingErrorText(GetLastError());
        return false;
    }
    if (saveSteps.replaceFile(path.c_str(), temporary.c_str(), backup.c_str(), 0, NULL, NULL)) {
        DeleteFileA(backup.c_str());
        return true;
    }
    const DWORD code = GetLastError();
    error = systemErrorText(code);
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
        !MoveFileExA(backup.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error += "\n\nThe file's previous contents are kept in \"" + backup + "\".";
    return false;
}

bool putInPlace(const std::string &temporary, const std::string &path, std::string &error)
{
    WIN32_FILE_ATTRIBUTE_DATA existing;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &existing)) {
        takeOverFileProperties(temporary, path, existing);
        return replaceExisting(temporary, path, error);
    }
    if (GetLastError() == ERROR_FILE_NOT_FOUND &&
        saveSteps.moveFile(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    error = systemErrorText(GetLastError());
    return false;
}

// Opened for no access and with full sharing, so that a file held open by
// another program still says who it is.
bool identify(const std::string &path, BY_HANDLE_FILE_INFORMATION &identity)
{
    constexpr DWORD anyone = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(path.c_str(), 0, anyone, NULL, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &identity);
    CloseHandle(file);
    return known;
}

} // namespace

// By the file itself, not its name: other letter case, a short name or a
// relative one all name the same file.
bool isSameFile(const std::string &path, const std::string &other)
{
    BY_HANDLE_FILE_INFORMATION a, b;
    return identify(path, a) && identify(other, b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

std::string containingFolder(const std::string &path)
{
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return currentFolder();
    std::string folder = path.substr(0, slash);
    // "C:" alone would mean the drive's current folder, not its root.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

bool replaceFileContents(const std::string &path, std::string_view bytes, std::string &error)
{
    if (path.empty()) {
        error = "No file name was given.";
        return false;
    }
    std::string temporary;
    if (!saveSteps.makeTemporaryName(path, TemporaryKind::NewContents, temporary)) {
        error = namingErrorText(GetLastError());
        return false;
    }
    if (!writeAndFlush(temporary, bytes)) {
        error = systemErrorText(GetLastError());
        return false;
    }
    if (putInPlace(temporary, path, error)) return true;
    DeleteFileA(temporary.c_str());
    return false;
}

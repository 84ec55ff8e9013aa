#include "document/save_steps.h"

#include <cstdio>

#include "document/file_replacement.h"
#include "mainwindow/text_buffers.h"

namespace {

// The longest path the system's ANSI file calls take, in characters of any
// script.
constexpr size_t LongestPath = MAX_PATH - 1;

// GetTempFileNameA is not used: it wants room for a long name even where
// the target's own path barely fits, and in a folder of more than 246
// characters it fails or leaves its buffer unterminated. The usual name is
// like that call's; a folder too long for it gets a short one, which fits
// beside any target whose own name has five characters or more.
bool makeTemporaryName(const std::string &target, TemporaryKind kind, std::string &name)
{
    std::string folder = containingFolder(target);
    if (folder.back() != '\\') folder += '\\';
    const bool backup = kind == TemporaryKind::Backup;
    const size_t length = systemLength(folder);
    const bool usual = length + 11 <= LongestPath;
    if (!usual && length + 5 > LongestPath) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    const unsigned start = GetTickCount();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char leaf[16];
        const unsigned unique = start + attempt;
        if (usual)
            snprintf(leaf, sizeof leaf, "%s%04X.tmp", backup ? "mbk" : "mem", unique & 0xFFFF);
        else
            snprintf(leaf, sizeof leaf, "~%c%03X", backup ? 'b' : 'm', unique & 0xFFF);
        name = folder + leaf;
        if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) continue; // taken
        // Free; or the folder is missing or closed, which no other name mends.
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return false;
}

HANDLE createFile(const char *path, DWORD access, DWORD share, SECURITY_ATTRIBUTES *security,
                  DWORD disposition, DWORD flags, HANDLE templateFile)
{
    return CreateFileA(path, access, share, security, disposition, flags, templateFile);
}

BOOL writeFile(HANDLE file, const void *bytes, DWORD size, DWORD *written, OVERLAPPED *overlapped)
{
    return WriteFile(file, bytes, size, written, overlapped);
}

BOOL flushFile(HANDLE file)
{
    return FlushFileBuffers(file);
}

BOOL replaceFile(const char *replaced, const char *replacement, const char *backup, DWORD flags,
                 void *exclude, void *reserved)
{
    return ReplaceFileA(replaced, replacement, backup, flags, exclude, reserved);
}

BOOL moveFile(const char *from, const char *to, DWORD flags)
{
    return MoveFileExA(from, to, flags);
}

const SaveSteps SystemSteps = {makeTemporaryName, createFile, writeFile,
                               flushFile,         replaceFile, moveFile};

} // namespace

SaveSteps saveSteps = SystemSteps;

const SaveSteps &systemSaveSteps()
{
    return SystemSteps;
}

#include "document/save_steps.h"

namespace {

UINT makeTemporaryName(const char *folder, const char *prefix, UINT unique, char *name)
{
    return GetTempFileNameA(folder, prefix, unique, name);
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

// The file system calls a save is made of, one by one. Each goes through
// its own replaceable function, so that tests can make any single step of
// a save fail the way a full disk or another program would.
#pragma once

#include <string>
#include <windows.h>

// What a temporary file beside the target holds: the new contents on their
// way in, or the old ones on their way out.
enum class TemporaryKind { NewContents, Backup };

struct SaveSteps {
    // A name in the target's folder that no file has yet.
    bool (*makeTemporaryName)(const std::string &target, TemporaryKind kind, std::string &name);
    HANDLE (*createFile)(const char *path, DWORD access, DWORD share, SECURITY_ATTRIBUTES *security,
                         DWORD disposition, DWORD flags, HANDLE templateFile);
    BOOL (*writeFile)(HANDLE file, const void *bytes, DWORD size, DWORD *written,
                      OVERLAPPED *overlapped);
    BOOL (*flushFile)(HANDLE file);
    BOOL (*replaceFile)(const char *replaced, const char *replacement, const char *backup,
                        DWORD flags, void *exclude, void *reserved);
    BOOL (*moveFile)(const char *from, const char *to, DWORD flags);
};

// The system's own calls unless a test has put others in.
extern SaveSteps saveSteps;
const SaveSteps &systemSaveSteps();

// The file system calls a save is made of, one by one. Each goes through
// its own replaceable function, so that tests can make any single step of
// a save fail the way a full disk or another program would.
#pragma once

#include <windows.h>

struct SaveSteps {
    UINT (*makeTemporaryName)(const char *folder, const char *prefix, UINT unique, char *name);
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

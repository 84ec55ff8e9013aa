#include "mainwindow/system_libraries.h"

#include <string>

#include "mainwindow/text_buffers.h"

void searchSystemFolderOnly()
{
    using SetDirectories = BOOL(WINAPI *)(DWORD);
    // Looked up, so that the program still starts where it is missing.
    const FARPROC found =
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found)
        reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(found))(
            LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE loadSystemLibrary(const char *name)
{
    HMODULE library = LoadLibraryExA(name, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows without the flag refuses it; there the full path does.
    if (library || GetLastError() != ERROR_INVALID_PARAMETER) return library;
    char folder[PathBufferBytes];
    const UINT length = GetSystemDirectoryA(folder, PathBufferBytes);
    if (length == 0 || length >= PathBufferBytes) return NULL;
    return LoadLibraryA((std::string(folder) + "\\" + name).c_str());
}

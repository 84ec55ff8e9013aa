#include "document/recovery_files.h"

#include <shlobj.h>

#include <algorithm>
#include <new>


namespace {

const wchar_t JournalExtension[] = L".journal";

// FOLDERID_LocalAppData. Looked up at run time: Windows XP has only the
// older call, which finds the same folder.
const GUID LocalAppData = {0xf1b32785, 0x6fba, 0x4fcf, {0x9d, 0x55, 0x7b, 0x8e, 0x7f, 0x15, 0x70, 0x91}};
using KnownFolderPath = HRESULT(WINAPI *)(const GUID &, DWORD, HANDLE, PWSTR *);

bool localAppData(std::wstring &folder)
{
    const auto known = reinterpret_cast<KnownFolderPath>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("shell32.dll"), "SHGetKnownFolderPath")));
    if (known) {
        PWSTR path = NULL;
        const HRESULT result = known(LocalAppData, 0, NULL, &path);
        if (SUCCEEDED(result)) folder = path;
        CoTaskMemFree(path);
        if (FAILED(result)) SetLastError(ERROR_PATH_NOT_FOUND);
        return SUCCEEDED(result);
    }
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(NULL, CSIDL_LOCAL_APPDATA, NULL, 0, path))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    folder = path;
    return true;
}

bool makeFolder(const std::wstring &folder)
{
    return CreateDirectoryW(folder.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool systemRecoveryFolder(std::wstring &folder)
{
    std::wstring base;
    if (!localAppData(base)) return false;
    folder = base + L"\\Memorion";
    if (!makeFolder(folder)) return false;
    folder += L"\\Recovery";
    return makeFolder(folder);
}

// Letter case aside, as the journals tell biographies apart: A to Z fold,
// nothing else does.
unsigned char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : static_cast<unsigned char>(c);
}

// FNV-1a over the folded path.
uint64_t pathHash(const std::string &path)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (char c : path) hash = (hash ^ folded(c)) * 0x100000001b3ull;
    return hash;
}

} // namespace

RecoveryFolderFinder findRecoveryFolder = systemRecoveryFolder;

bool sameBiographyPath(const std::string &a, const std::string &b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return folded(x) == folded(y); });
}

std::wstring journalNamePrefix(const std::string &biographyPath)
{
    const uint64_t hash = pathHash(biographyPath);
    std::wstring name;
    for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789ABCDEF"[(hash >> shift) & 0xF];
    return name;
}

HANDLE createJournal(const std::wstring &folder, const std::string &biographyPath, std::wstring &name)
{
    const std::wstring prefix = folder + L"\\" + journalNamePrefix(biographyPath);
    for (int n = 1; n < 100; ++n) {
        name = prefix + (n == 1 ? L"" : L"-" + std::to_wstring(n)) + JournalExtension;
        // Read access too: a journal continued after a recovery is read first.
        HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

std::vector<std::wstring> journalsIn(const std::wstring &folder, const std::wstring &prefix)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\" + prefix + L"*" + JournalExtension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

HANDLE holdJournal(const std::wstring &name)
{
    return CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, NULL);
}

// Journals and biographies alike are read whole.
bool readJournalBytes(HANDLE journal, std::string &bytes)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(journal, &size) || size.QuadPart > 0x7FFFFFFF) return false;
    try {
        bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    } catch (const std::bad_alloc &) {
        return false;
    }
    DWORD read = 0;
    return SetFilePointer(journal, 0, NULL, FILE_BEGIN) == 0 &&
           (bytes.empty() || (ReadFile(journal, &bytes[0], static_cast<DWORD>(bytes.size()), &read, NULL) &&
                              read == bytes.size()));
}

bool appendToJournal(HANDLE journal, const std::string &bytes)
{
    LARGE_INTEGER end = {};
    if (!SetFilePointerEx(journal, end, NULL, FILE_END)) return false;
    DWORD written = 0;
    if (!WriteFile(journal, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL)) return false;
    if (written != bytes.size()) {
        SetLastError(ERROR_DISK_FULL);
        return false;
    }
    return FlushFileBuffers(journal);
}

bool keepJournalBytes(HANDLE journal, size_t length)
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(journal, at, NULL, FILE_BEGIN) && SetEndOfFile(journal) && FlushFileBuffers(journal);
}

void deleteJournal(HANDLE journal, const std::wstring &name)
{
    CloseHandle(journal);
    DeleteFileW(name.c_str());
}

bool readFileNow(const std::string &path, std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool read = readJournalBytes(file, bytes);
    CloseHandle(file);
    return read;
}

bool stampOf(const std::string &path, FileStamp &stamp)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    stamp.size = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

uint64_t journalClock()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

std::string journalPathText(const std::wstring &name)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, NULL, 0, NULL, NULL);
    if (size <= 1) return std::string();
    std::string text(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, &text[0], size, NULL, NULL);
    text.resize(size - 1);
    return text;
}

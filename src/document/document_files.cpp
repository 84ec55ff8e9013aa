#include "document/document_files.h"

#include <memory>
#include <new>

#include "document/biography_document.h"
#include "document/biography_reader.h"
#include "document/biography_writer.h"
#include "document/file_dialogs.h"
#include "document/save_steps.h"
#include "mainwindow/main_window.h"

namespace {

// Larger files are refused before any memory is spent on them: a biography
// of 1024 entries is a few megabytes.
constexpr LONGLONG LargestReadableFile = 1LL << 30;

std::string systemErrorText(DWORD code)
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

std::string folderOf(const std::string &path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string currentFolder()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

// Written a megabyte at a time: one call of any size could not say how far
// it got.
constexpr DWORD WriteChunk = 1u << 20;

bool writeAndFlush(const std::string &path, std::string_view bytes)
{
    HANDLE file = saveSteps.createFile(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
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
    SetLastError(error);
    return ok;
}

// Gives the new contents what the file they replace carried, so that a save
// changes the contents and nothing else. ReplaceFileA does this too where
// the system supports it; doing it first makes it hold everywhere. None of
// it is worth failing the save for.
void takeOverFileProperties(const char *temporary, const std::string &path,
                            const WIN32_FILE_ATTRIBUTE_DATA &existing)
{
    const DWORD carried = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = existing.dwFileAttributes & carried;
    SetFileAttributesA(temporary, attributes ? attributes : FILE_ATTRIBUTE_NORMAL);

    HANDLE file = CreateFileA(temporary, FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
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
        SetFileSecurityA(temporary, what, descriptor.get());
}

// The old contents wait under a backup name until the new ones are in
// place; should the second half of the replacement fail, they go back.
bool replaceExisting(const char *temporary, const std::string &path, std::string &error)
{
    char backup[MAX_PATH];
    if (!saveSteps.makeTemporaryName(folderOf(path).c_str(), "mbk", 0, backup)) {
        error = systemErrorText(GetLastError());
        return false;
    }
    DeleteFileA(backup); // only the name was wanted
    if (saveSteps.replaceFile(path.c_str(), temporary, backup, 0, NULL, NULL)) {
        DeleteFileA(backup);
        return true;
    }
    const DWORD code = GetLastError();
    error = systemErrorText(code);
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
        !MoveFileExA(backup, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error += "\n\nThe file's previous contents are kept in \"" + std::string(backup) + "\".";
    return false;
}

bool putInPlace(const char *temporary, const std::string &path, std::string &error)
{
    WIN32_FILE_ATTRIBUTE_DATA existing;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &existing)) {
        takeOverFileProperties(temporary, path, existing);
        return replaceExisting(temporary, path, error);
    }
    if (GetLastError() == ERROR_FILE_NOT_FOUND &&
        saveSteps.moveFile(temporary, path.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    error = systemErrorText(GetLastError());
    return false;
}

void reportSaveFailure(const std::string &path, const std::string &reason)
{
    std::string text = "The file \"" + path + "\" could not be saved.\n\n" + reason +
                       "\n\nThe file on disk was left as it was; your changes are still open.";
    MessageBoxA(messageOwner(), text.c_str(), "Error", MB_ICONERROR | MB_OK);
}

void resizeBuffer(std::string &buffer, size_t size)
{
    buffer.resize(size);
}

enum class ReadResult { Read, Unreadable, TooLarge };

ReadResult readWholeFile(const std::string &path, std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return ReadResult::Unreadable;
    LARGE_INTEGER size;
    ReadResult result = ReadResult::Unreadable;
    try {
        if (!GetFileSizeEx(file, &size)) {
            result = ReadResult::Unreadable;
        } else if (size.QuadPart >= LargestReadableFile) {
            result = ReadResult::TooLarge;
        } else {
            sizeFileBuffer(bytes, static_cast<size_t>(size.QuadPart));
            DWORD read = 0;
            const bool whole = bytes.empty() ||
                               (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read,
                                         NULL) &&
                                read == bytes.size());
            result = whole ? ReadResult::Read : ReadResult::Unreadable;
        }
    } catch (const std::bad_alloc &) {
        result = ReadResult::TooLarge;
    }
    CloseHandle(file);
    return result;
}

void reportTooLarge(const std::string &path)
{
    const std::string text = "The file \"" + path +
                             "\" is too large to open: there is not enough memory to hold it.\n\n"
                             "The document that was open is unchanged.";
    MessageBoxA(messageOwner(), text.c_str(), "Error", MB_ICONERROR | MB_OK);
}

// Replaces the document with the file's. Should memory run out half-way,
// the document that was open is put back whole.
bool loadReplacingDocument(const std::string &bytes, LoadReport &report)
{
    std::unique_ptr<Biography> previous(new (std::nothrow) Biography);
    if (!previous) return false;
    const bool wasLoaded = BiographyDocument.documentLoaded;
    swapContents(BiographyDocument, *previous);
    try {
        report = loadBiographyBytes(bytes);
        return true;
    } catch (const std::bad_alloc &) {
        swapContents(BiographyDocument, *previous);
        BiographyDocument.documentLoaded = wasLoaded;
        return false;
    }
}

void reportDroppedContent(const LoadReport &report)
{
    if (!report.entriesDropped && !report.categoriesDropped) return;
    std::string text = "This file holds more than Memorion can show:";
    if (report.entriesDropped) text += "\n- more than 1024 entries; only the first 1024 were read.";
    if (report.categoriesDropped)
        text += "\n- more than 500 categories; only the first 500 were read.";
    text += "\n\nSaving it will write only what is shown.";
    MessageBoxA(messageOwner(), text.c_str(), "Information", MB_ICONINFORMATION | MB_OK);
}

} // namespace

FileBufferSizing sizeFileBuffer = resizeBuffer;

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
    char temporary[MAX_PATH];
    if (path.empty()) {
        error = "No file name was given.";
        return false;
    }
    if (!saveSteps.makeTemporaryName(folderOf(path).c_str(), "mem", 0, temporary)) {
        error = systemErrorText(GetLastError());
        return false;
    }
    if (!writeAndFlush(temporary, bytes))
        error = systemErrorText(GetLastError());
    else if (putInPlace(temporary, path, error))
        return true;
    DeleteFileA(temporary);
    return false;
}

bool saveDocument(std::string path)
{
    std::string error;
    bool saved = false;
    try {
        saved = replaceFileContents(path, writeBiography(BiographyDocument).view(), error);
    } catch (const std::bad_alloc &) {
        error = "There is not enough memory to save it.";
    }
    if (!saved) {
        reportSaveFailure(path, error);
        return false;
    }
    BiographyDocument.workingFolder = containingFolder(path);
    BiographyDocument.modified = false;
    return true;
}

bool saveDocumentAs(HWND owner)
{
    std::string path;
    if (!chooseSavePath(owner, path)) return false;
    if (!saveDocument(path)) return false;
    setDocumentPath(path);
    return true;
}

bool offerToSaveChanges()
{
    if (!BiographyDocument.modified) return true;
    int answer = MessageBoxA(MainWindow, "Save changes?", "File not saved",
                             MB_ICONQUESTION | MB_YESNO);
    return answer != IDYES || saveDocument(BiographyDocument.filePath);
}

void openDocument(HWND owner)
{
    if (!offerToSaveChanges()) return;
    std::string path;
    if (!chooseOpenPath(owner, path)) return;
    std::string bytes;
    const ReadResult read = readWholeFile(path, bytes);
    if (read == ReadResult::TooLarge) return reportTooLarge(path);
    // An unreadable file counts as empty. The marker has no CR or LF in it,
    // so it is found in the bytes exactly when it is in the text.
    if (read == ReadResult::Unreadable || !isBiographyText(bytes)) {
        MessageBoxA(NULL, "Not a valid biography file", "MSG", MB_OK);
        return;
    }
    LoadReport report;
    if (!loadReplacingDocument(bytes, report)) return reportTooLarge(path);
    setDocumentPath(path);
    BiographyDocument.workingFolder = containingFolder(path);
    BiographyDocument.modified = false;
    showDocument();
    reportDroppedContent(report);
}

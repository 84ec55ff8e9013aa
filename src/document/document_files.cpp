#include "document/document_files.h"

#include "document/biography_document.h"
#include "document/biography_reader.h"
#include "document/biography_writer.h"
#include "document/file_dialogs.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

namespace {

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

bool writeAndFlush(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    const char *next = bytes.data();
    size_t left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
        DWORD written = 0;
        ok = WriteFile(file, next, chunk, &written, NULL) && written == chunk;
        next += written;
        left -= written;
    }
    ok = ok && FlushFileBuffers(file);
    DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return ok;
}

void reportSaveFailure(const std::string &path, const std::string &reason)
{
    std::string text = "The file \"" + path + "\" could not be saved.\n\n" + reason +
                       "\n\nThe file on disk was left as it was; your changes are still open.";
    MessageBoxA(MainWindow, text.c_str(), "Error", MB_ICONERROR | MB_OK);
}

bool readWholeFile(const std::string &path, std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x40000000;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, NULL) &&
              read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

void reportDroppedContent(const LoadReport &report)
{
    if (!report.entriesDropped && !report.categoriesDropped) return;
    std::string text = "This file holds more than Memorion can show:";
    if (report.entriesDropped) text += "\n- more than 1024 entries; only the first 1024 were read.";
    if (report.categoriesDropped)
        text += "\n- more than 500 categories; only the first 500 were read.";
    text += "\n\nSaving it will write only what is shown.";
    MessageBoxA(MainWindow, text.c_str(), "Information", MB_ICONINFORMATION | MB_OK);
}

void showOpenedDocument(const std::string &path)
{
    rebuildCategoryTabs();
    setDocumentPath(path);
    setMainWindowFileName(BiographyDocument.fileName.c_str());
    BiographyDocument.workingFolder = containingFolder(path);
    refillEntryListForSelectedTab();
    BiographyDocument.modified = false;
}

} // namespace

std::string containingFolder(const std::string &path)
{
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return currentFolder();
    std::string folder = path.substr(0, slash);
    // "C:" alone would mean the drive's current folder, not its root.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

std::string currentFolder()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

bool replaceFileContents(const std::string &path, const std::string &bytes, std::string &error)
{
    char temporary[MAX_PATH];
    if (path.empty()) {
        error = "No file name was given.";
        return false;
    }
    if (!GetTempFileNameA(folderOf(path).c_str(), "mem", 0, temporary)) {
        error = systemErrorText(GetLastError());
        return false;
    }
    if (writeAndFlush(temporary, bytes) &&
        MoveFileExA(temporary, path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    error = systemErrorText(GetLastError());
    DeleteFileA(temporary);
    return false;
}

bool saveDocument(std::string path)
{
    std::string error;
    if (!replaceFileContents(path, biographyFileBytes(BiographyDocument), error)) {
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
    setMainWindowFileName(BiographyDocument.fileName.c_str());
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
    // An unreadable file counts as empty. The marker has no CR or LF in it,
    // so it is found in the bytes exactly when it is in the text.
    if (!readWholeFile(path, bytes) || !isBiographyText(bytes)) {
        MessageBoxA(NULL, "Not a valid biography file", "MSG", MB_OK);
        return;
    }
    LoadReport report = loadBiographyBytes(bytes);
    showOpenedDocument(path);
    reportDroppedContent(report);
}

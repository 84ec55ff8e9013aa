#include "document/document_files.h"

#include <cstdio>
#include <memory>
#include <new>

#include "document/core/biography_document.h"
#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"
#include "document/core/document_history.h"
#include "document/core/file_encoding.h"
#include "document/core/utf8_text.h"
#include "document/file_dialogs.h"
#include "document/file_replacement.h"
#include "document/memory_text.h"
#include "document/system_code_pages.h"
#include "document/recovery_journal_writer.h"
#include "document/recovery_question.h"
#include "mainwindow/main_window.h"

namespace {

// Larger files are refused before any memory is spent on them: a biography
// of 1024 entries is a few megabytes.
constexpr LONGLONG LargestReadableFile = 1LL << 30;

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

// A read that succeeds short sets no error of its own. Application-defined
// (bit 29), so that it is none of the system's codes.
constexpr DWORD FileChangedWhileRead = 0x20000001;

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
            const bool readable = bytes.empty() ||
                                  ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()),
                                           &read, NULL);
            if (readable && read != bytes.size()) SetLastError(FileChangedWhileRead);
            result = readable && read == bytes.size() ? ReadResult::Read : ReadResult::Unreadable;
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

// A file named on the command line may be gone or held by another program.
void reportUnreadable(const std::string &path, DWORD error)
{
    const std::string reason = error == FileChangedWhileRead
                                   ? "Reading stopped short: the file changed while it was read."
                                   : systemErrorText(error);
    const std::string text = "The file \"" + path + "\" could not be opened.\n\n" + reason +
                             "\n\nThe document that was open is unchanged.";
    MessageBoxA(messageOwner(), text.c_str(), "Error", MB_ICONERROR | MB_OK);
}

void reportUnknownEncoding(const std::string &path, const std::string &encoding)
{
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    const std::string text = name + " uses the character encoding " + encoding + ", which Memorion cannot read.";
    MessageBoxA(messageOwner(), text.c_str(), "Error", MB_ICONERROR | MB_OK);
}

// Memory text that is not UTF-8 cannot hold the character this names: the
// message goes through the wide call, which shows it.
void reportLostCharacters(const std::string &first)
{
    char32_t code = 0;
    decodeUtf8(first, code);
    char number[16];
    snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(code));
    const std::string text =
        utf8FromMemoryText(BiographyDocument.fileName) +
        " holds characters that Memorion cannot keep on this version of Windows, the first of them \"" + first +
        "\" (" + number + "). They are shown as \"?\", and saving the file would turn them into \"?\" for good." +
        "\n\nWindows 10 version 1903 and later keep every character.";
    std::wstring wide(text.size() + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    MessageBoxW(messageOwner(), wide.c_str(), L"Warning", MB_ICONWARNING | MB_OK);
}

void reportUnreadableCharacters(const LoadReport &report)
{
    if (report.charactersReplaced) {
        const std::string text = "Some characters of " + BiographyDocument.fileName +
                                 " could not be read and are shown as " +
                                 (systemTextCodePages().memoryIsUtf8 ? "\xEF\xBF\xBD" : "?") + ".";
        MessageBoxA(messageOwner(), text.c_str(), "Warning", MB_ICONWARNING | MB_OK);
    }
    if (!report.firstLost.empty()) reportLostCharacters(report.firstLost);
}

// Replaces the document with the file's. Should memory run out half-way,
// the document that was open is put back whole.
bool loadReplacingDocument(const DecodedFile &file, LoadReport &report)
{
    std::unique_ptr<Biography> previous(new (std::nothrow) Biography);
    if (!previous) return false;
    const bool wasLoaded = BiographyDocument.documentLoaded;
    swapContents(BiographyDocument, *previous);
    try {
        report = file.load();
        return true;
    } catch (const std::bad_alloc &) {
        swapContents(BiographyDocument, *previous);
        BiographyDocument.documentLoaded = wasLoaded;
        return false;
    }
}

} // namespace

void reportDroppedContent(const LoadReport &report)
{
    reportUnreadableCharacters(report);
    if (!report.entriesDropped && !report.categoriesDropped) return;
    std::string text = "This file holds more than Memorion can show:";
    const auto dropped = [&text](int kept, const char *what) {
        const std::string count = std::to_string(kept);
        text += "\n- more than " + count + " " + what + "; only the first " + count + " were read.";
    };
    if (report.entriesDropped) dropped(MaxEntries, "entries");
    if (report.categoriesDropped) dropped(MaxCategories, "categories");
    text += "\n\nSaving it will write only what is shown.";
    MessageBoxA(messageOwner(), text.c_str(), "Information", MB_ICONINFORMATION | MB_OK);
}

FileBufferSizing sizeFileBuffer = resizeBuffer;

bool saveDocument(std::string path)
{
    std::string error;
    bool saved = false;
    try {
        const EncodedFile file = encodeBiographyFile(BiographyDocument, systemTextCodePages());
        saved = replaceFileContents(path, file.bytes.view(), error);
        if (saved) BiographyDocument.fileIsUtf8 = file.utf8;
    } catch (const std::bad_alloc &) {
        error = "There is not enough memory to save it.";
    }
    if (!saved) {
        reportSaveFailure(path, error);
        return false;
    }
    BiographyDocument.workingFolder = containingFolder(path);
    BiographyDocument.modified = false;
    markHistorySaved();
    journalDocumentSaved(path);
    return true;
}

std::string savedFileBytes(const Biography &document)
{
    return std::string(encodeBiographyFile(document, systemTextCodePages()).bytes.view());
}

bool saveDocumentAs(HWND owner)
{
    std::string path;
    if (!chooseSavePath(owner, path)) return false;
    if (!saveDocument(path)) return false;
    setDocumentPath(path);
    return true;
}

// Cancel, Esc and the close box answer IDCANCEL: after a stray click on
// the window's close box the user can go back to the work, neither saved
// nor lost.
bool offerToSaveChanges()
{
    if (!BiographyDocument.modified) return true;
    const int answer = MessageBoxA(MainWindow, "Save changes?", "File not saved",
                                   MB_ICONQUESTION | MB_YESNOCANCEL);
    if (answer == IDNO) return true;
    // A recovered biography whose file changed since has none yet.
    if (answer == IDYES && BiographyDocument.filePath.empty()) {
        if (!saveDocumentAs(MainWindow)) return false;
        showDocumentName();
        return true;
    }
    return answer == IDYES && saveDocument(BiographyDocument.filePath);
}

bool openDocumentFile(const std::string &path, LoadReport &report)
{
    switch (offerRecoveryOf(path)) {
    case RecoveryAnswer::Recovered: report = LoadReport(); return true;
    case RecoveryAnswer::Kept:      return false;
    case RecoveryAnswer::NoJournal: break;
    }
    std::string bytes;
    const ReadResult read = readWholeFile(path, bytes);
    if (read == ReadResult::TooLarge) return reportTooLarge(path), false;
    if (read == ReadResult::Unreadable) return reportUnreadable(path, GetLastError()), false;
    // The marker has no CR or LF in it, so it is found in the bytes exactly
    // when it is in the text. The window owns the message, so no file
    // dropped on it meanwhile opens from inside this one.
    if (!isBiographyText(bytes)) {
        MessageBoxA(MainWindow, "Not a valid biography file", "MSG", MB_OK);
        return false;
    }
    std::unique_ptr<DecodedFile> decoded;
    try {
        decoded.reset(new DecodedFile(decodeBiographyFile(bytes, systemTextCodePages())));
    } catch (const std::bad_alloc &) {
        return reportTooLarge(path), false;
    }
    if (decoded->outcome == DecodedFile::Outcome::UnknownEncoding)
        return reportUnknownEncoding(path, decoded->encodingName), false;
    if (!loadReplacingDocument(*decoded, report)) return reportTooLarge(path), false;
    BiographyDocument.fileIsUtf8 = decoded->readAsUtf8;
    setDocumentPath(path);
    BiographyDocument.workingFolder = containingFolder(path);
    BiographyDocument.modified = false;
    startHistory();
    return true;
}

bool openDocument(HWND owner, LoadReport &report)
{
    if (!offerToSaveChanges()) return false;
    std::string path;
    return chooseOpenPath(owner, path) && openDocumentFile(path, report);
}

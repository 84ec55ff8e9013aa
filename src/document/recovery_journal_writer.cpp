#include "document/recovery_journal_writer.h"

#include <new>

#include "document/core/biography_writer.h"
#include "document/core/recovery_journal.h"
#include "document/file_replacement.h"
#include "document/recovery_files.h"
#include "mainwindow/main_window.h"

namespace {

// The open document's journal, and what is known of its file on disk.
struct Keeper {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring name;
    size_t length = 0;        // bytes written whole
    bool behind = false;      // a change could not be written to it
    bool failureTold = false; // since the last change that was written
    JournalRecorder recorder;
    // The file as last opened or saved, while the document's history calls
    // that state saved.
    std::string savedPath;
    FileStamp savedStamp;
};
Keeper keeper;

bool journalOpen()
{
    return keeper.file != INVALID_HANDLE_VALUE;
}

void noteSavedFile(const std::string &path)
{
    keeper.savedPath = stampOf(path, keeper.savedStamp) ? path : std::string();
}

// The file on disk as it was last opened or saved, when it still is.
bool readSavedFile(std::string &bytes)
{
    const std::string &path = BiographyDocument.filePath;
    FileStamp now;
    return !path.empty() && path == keeper.savedPath && stampOf(path, now) && now == keeper.savedStamp &&
           readFileNow(path, bytes);
}

std::string reasonText(DWORD error)
{
    std::string reason = systemErrorText(error);
    if (error == ERROR_SHARING_VIOLATION)
        reason = "another Memorion keeps this biography's changes";
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
    return reason;
}

void tellCannotKeep(const std::string &reason)
{
    if (keeper.failureTold) return;
    keeper.failureTold = true;
    const std::string text = "Changes cannot be kept for recovery: " + reason + ".";
    MessageBoxA(messageOwner(), text.c_str(), "Memorion", MB_ICONWARNING | MB_OK);
}

// The changes start from the file's bytes as opened or saved while the
// document is that file's (a copy, not a second write of the document);
// otherwise from the document as it stands. A journal behind the
// document is replaced only once the new one is on disk.
bool startJournal(std::string &reason)
{
    std::wstring folder;
    if (!findRecoveryFolder(folder)) {
        reason = reasonText(GetLastError());
        return false;
    }
    const Biography &d = BiographyDocument;
    std::string saved;
    const bool savedKnown = readSavedFile(saved);
    const FileFingerprint fingerprint = fingerprintOf(saved);
    std::wstring name;
    HANDLE file = createJournal(folder, d.filePath, name);
    bool written = file != INVALID_HANDLE_VALUE;
    std::string start;
    if (written) {
        try {
            start = journalStart(d.filePath, savedKnown ? &fingerprint : nullptr,
                                 savedKnown && historyAtSavedState() ? saved : biographyFileBytes(d));
        } catch (const std::bad_alloc &) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            written = false;
        }
        written = written && appendToJournal(file, start);
    }
    if (!written) {
        reason = reasonText(GetLastError());
        if (file != INVALID_HANDLE_VALUE) deleteJournal(file, name);
        return false;
    }
    if (journalOpen()) deleteJournal(keeper.file, keeper.name);
    keeper.file = file;
    keeper.name = name;
    keeper.length = start.size();
    keeper.behind = false;
    keeper.recorder.startEmpty();
    return true;
}

// What was written of a change that failed half-way goes, so that the
// journal still ends with whole records.
void fallBehind()
{
    keepJournalBytes(keeper.file, keeper.length);
    keeper.behind = true;
}

void writeChange(HistoryEvent event, const Step &step)
{
    std::string reason;
    if ((!journalOpen() || keeper.behind) && !startJournal(reason)) return tellCannotKeep(reason);
    std::string records;
    try {
        records = keeper.recorder.recordsFor(event, step, journalClock());
    } catch (const std::bad_alloc &) {
        fallBehind();
        return tellCannotKeep(reasonText(ERROR_NOT_ENOUGH_MEMORY));
    }
    if (!appendToJournal(keeper.file, records)) {
        reason = reasonText(GetLastError());
        fallBehind();
        return tellCannotKeep(reason);
    }
    keeper.length += records.size();
    keeper.failureTold = false;
}

} // namespace

void recordHistoryChange(HistoryEvent event, const Step *step)
{
    if (event != HistoryEvent::Started) return writeChange(event, *step);
    dropRecoveryJournal();
    noteSavedFile(BiographyDocument.modified ? std::string() : BiographyDocument.filePath);
}

void keepJournalWhileUnsaved()
{
    if (!BiographyDocument.modified) dropRecoveryJournal();
}

void journalDocumentSaved(const std::string &path)
{
    dropRecoveryJournal();
    noteSavedFile(path);
}

void dropRecoveryJournal()
{
    if (journalOpen()) deleteJournal(keeper.file, keeper.name);
    keeper.file = INVALID_HANDLE_VALUE;
    keeper.behind = false;
}

void leaveRecoveryJournal()
{
    if (journalOpen()) CloseHandle(keeper.file);
    keeper.file = INVALID_HANDLE_VALUE;
}

void continueRecoveryJournal(HANDLE journal, const std::wstring &name, size_t wholeBytes,
                             const std::string &savedPath)
{
    dropRecoveryJournal();
    keeper.file = journal;
    keeper.name = name;
    keeper.length = wholeBytes;
    keeper.behind = !keepJournalBytes(journal, wholeBytes);
    keeper.recorder.holdWholeHistory();
    noteSavedFile(savedPath);
}

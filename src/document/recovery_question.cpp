#include "document/recovery_question.h"

#include <algorithm>
#include <memory>
#include <new>

#include "document/core/file_encoding.h"
#include "document/core/journal_replay.h"
#include "document/file_replacement.h"
#include "document/recovery_files.h"
#include "document/recovery_journal_writer.h"
#include "document/system_code_pages.h"
#include "mainwindow/main_window.h"
#include "mainwindow/undo_commands.h"

namespace {

const char Caption[] = "Recover unsaved changes";

struct FoundJournal {
    HANDLE file;
    std::wstring name;
    JournalContents contents;
};

enum class Answer { Recovered, Deleted, Kept };

// The base is read as Open reads a file, in the encoding it names or is
// found in, which a later save keeps.
void loadBase(const std::string &bytes)
{
    const DecodedFile file = decodeBiographyFile(bytes, systemTextCodePages());
    file.load();
    BiographyDocument.fileIsUtf8 = file.readAsUtf8;
}

std::string changesText(int count)
{
    return count == 1 ? "1 change" : std::to_string(count) + " changes";
}

std::string localTimeText(uint64_t when)
{
    FILETIME utc = {static_cast<DWORD>(when), static_cast<DWORD>(when >> 32)}, local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return "an unknown time";
    char date[80] = "", clock[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, NULL, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, NULL, clock, sizeof clock);
    return std::string(date) + " " + clock;
}

// Told once: the journal is moved aside, so that it is not offered again
// yet is there for anyone who wants to look at it.
void reportDamage(FoundJournal &journal, const std::string &damage)
{
    CloseHandle(journal.file);
    const std::wstring aside = journal.name + L".damaged";
    std::string text = "The recovery journal \"" + journalPathText(journal.name) + "\" is damaged: " + damage +
                       ". Nothing was recovered from it, and no biography was changed.";
    if (MoveFileExW(journal.name.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING))
        text += "\n\nIt is kept as \"" + journalPathText(aside) + "\".";
    MessageBoxA(MainWindow, text.c_str(), Caption, MB_ICONWARNING | MB_OK);
}

// The journals of the recovery folder whose names begin with `prefix`,
// held, newest first. Damaged ones are reported; one cut short before any
// change was whole holds nothing to lose and goes.
std::vector<FoundJournal> journalsToOffer(const std::wstring &prefix)
{
    std::vector<FoundJournal> found;
    std::wstring folder;
    if (!findRecoveryFolder(folder)) return found;
    for (const std::wstring &name : journalsIn(folder, prefix)) {
        FoundJournal journal{holdJournal(name), name, {}};
        if (journal.file == INVALID_HANDLE_VALUE) continue; // another Memorion's
        std::string bytes;
        if (!readJournalBytes(journal.file, bytes)) {
            CloseHandle(journal.file);
            continue;
        }
        journal.contents = readJournal(bytes);
        if (!journal.contents.damage.empty()) reportDamage(journal, journal.contents.damage);
        else if (journal.contents.changes == 0) deleteJournal(journal.file, journal.name);
        else found.push_back(std::move(journal));
    }
    std::stable_sort(found.begin(), found.end(), [](const FoundJournal &a, const FoundJournal &b) {
        return a.contents.lastChange > b.contents.lastChange;
    });
    return found;
}

// Replays the journal in place of the open document, which comes back
// whole, history and all, should that fail.
bool recover(FoundJournal &journal, bool inPlace)
{
    Biography &d = BiographyDocument;
    const JournalContents &contents = journal.contents;
    const bool baseIsSaved = inPlace && fingerprintOf(contents.base) == contents.saved;
    std::unique_ptr<Biography> previous(new (std::nothrow) Biography);
    bool recovered = false, damaged = false;
    std::string problem;
    if (previous) {
        const bool wasModified = d.modified, wasLoaded = d.documentLoaded;
        swapContents(d, *previous);
        SetAsideHistory history;
        try {
            recovered = replayJournal(contents, baseIsSaved, loadBase, problem);
            damaged = !recovered;
        } catch (const std::bad_alloc &) {
        }
        if (!recovered) {
            swapContents(d, *previous);
            d.modified = wasModified;
            d.documentLoaded = wasLoaded;
            history.putBack();
        }
    }
    if (damaged) reportDamage(journal, problem);
    if (!recovered && !damaged) {
        CloseHandle(journal.file);
        MessageBoxA(MainWindow, "There is not enough memory to recover the changes. They are kept for the next time.",
                    Caption, MB_ICONWARNING | MB_OK);
    }
    if (!recovered) return false;
    // The document that was open goes, as its offer to save was answered.
    dropRecoveryJournal();
    const std::string path = inPlace ? contents.path : std::string();
    setDocumentPath(path);
    if (inPlace) d.workingFolder = containingFolder(path);
    continueRecoveryJournal(journal.file, journal.name, contents.wholeBytes, baseIsSaved ? path : "");
    keepJournalWhileUnsaved();
    showUndoState();
    return true;
}

bool confirmDeletion(int changes)
{
    const std::string text = "The " + changesText(changes) + " will be lost for good. Delete " +
                             (changes == 1 ? "it?" : "them?");
    return MessageBoxA(MainWindow, text.c_str(), Caption, MB_ICONWARNING | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

// The file on disk opens in place when it still holds what the journal
// says it held when the changes began.
Answer ask(FoundJournal &journal)
{
    const JournalContents &c = journal.contents;
    std::string disk;
    const bool inPlace = !c.path.empty() && c.fingerprinted && readFileNow(c.path, disk) &&
                         fingerprintOf(disk) == c.saved;
    std::string text = "Memorion closed without saving " + changesText(c.changes) + " to " +
                       (c.path.empty() ? "a biography that has no file yet" : c.path) + ", the last at " +
                       localTimeText(c.lastChange) + ".";
    if (!inPlace)
        text += c.path.empty() ? " It opens without a file name, and Save asks for one."
                               : " The file has changed since, or is gone, so the recovered biography opens "
                                 "without a file name, and Save asks for one.";
    text += c.changes == 1 ? " Recover it?" : " Recover them?";
    switch (MessageBoxA(MainWindow, text.c_str(), Caption, MB_ICONQUESTION | MB_YESNOCANCEL)) {
    case IDYES:
        return recover(journal, inPlace) ? Answer::Recovered : Answer::Kept;
    case IDNO:
        if (!confirmDeletion(c.changes)) break;
        deleteJournal(journal.file, journal.name);
        return Answer::Deleted;
    }
    CloseHandle(journal.file);
    return Answer::Kept;
}

} // namespace

bool offerRecoveryAtStart(const std::string &fileToOpen)
{
    bool recovered = false;
    for (FoundJournal &journal : journalsToOffer(L"")) {
        if (recovered || (!fileToOpen.empty() && sameBiographyPath(journal.contents.path, fileToOpen)))
            CloseHandle(journal.file);
        else
            recovered = ask(journal) == Answer::Recovered;
    }
    if (recovered) showOpenedDocument(LoadReport());
    return recovered;
}

RecoveryAnswer offerRecoveryOf(const std::string &path)
{
    RecoveryAnswer result = RecoveryAnswer::NoJournal;
    for (FoundJournal &journal : journalsToOffer(journalNamePrefix(path))) {
        if (result == RecoveryAnswer::Recovered || !sameBiographyPath(journal.contents.path, path)) {
            CloseHandle(journal.file);
            continue;
        }
        const Answer answer = ask(journal);
        if (answer == Answer::Recovered) result = RecoveryAnswer::Recovered;
        else if (answer == Answer::Kept) result = RecoveryAnswer::Kept;
    }
    return result;
}

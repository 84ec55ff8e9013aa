// Keeping the open biography's recovery journal: each change of the undo
// history is on disk before the window shows it, and the journal lasts
// exactly as long as the biography has unsaved changes.
#pragma once

#include <windows.h>

#include <string>

#include "document/core/document_history.h"

// The history's recorder. A new history (Open, New) drops the journal of
// the document before; a change is written, starting a journal first when
// there is none. When it cannot be written the user is told once, until
// one is written again, and the next change tries again.
void recordHistoryChange(HistoryEvent event, const Step *step);
// After every change: with nothing unsaved, the journal goes.
void keepJournalWhileUnsaved();
// The document was saved at `path`: its changes are on disk.
void journalDocumentSaved(const std::string &path);
// The document is closed without its changes (the user said No to saving
// them): its journal goes.
void dropRecoveryJournal();
// What a crash leaves: the journal let go of, still on disk. For tests.
void leaveRecoveryJournal();
// A document just recovered goes on with the journal it came from, held,
// whose first `wholeBytes` were read whole. `savedPath`: the file on disk
// that holds the journal's base, if any.
void continueRecoveryJournal(HANDLE journal, const std::wstring &name, size_t wholeBytes,
                             const std::string &savedPath);

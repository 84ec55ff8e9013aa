// Offering what a crash left unsaved: each journal no running Memorion
// holds brings the question "Recover them?" (Yes, No or Cancel). Yes opens
// the biography as it was after its last change, unsaved, with the changes
// in the undo history; No deletes the journal after a second question;
// Cancel keeps it for next time. Recovery never writes the biography.
#pragma once

#include <string>

// At start: every journal, newest first, until a biography is recovered
// (one document at a time: the rest wait for the next start). The journal
// of `fileToOpen` is left to that file's open. True when a biography was
// recovered and is shown.
bool offerRecoveryAtStart(const std::string &fileToOpen);

enum class RecoveryAnswer {
    NoJournal, // none left: open the file
    Recovered, // the document is the recovered biography, for the window to show
    Kept,      // the user kept the journal for later: the file is not opened
};
// As the file at `path` is about to be opened: its journals.
RecoveryAnswer offerRecoveryOf(const std::string &path);

// Recovering a biography from its journal: the base read in, then every
// change made again through the history, so that the document is what the
// user last saw and its undo history holds the recovered changes as steps.
//
// Portable: no Windows headers.
#pragma once

#include <string>

#include "document/core/recovery_journal.h"

// Reads a biography file's bytes into the document as Open does.
using BaseLoader = void (*)(const std::string &fileBytes);

// `baseIsSaved`: the file on disk holds the base, so undoing back to it
// leaves nothing unsaved. False, with `problem` saying why, when a record
// does not fit the document it would change; the document and the history
// are then the caller's to put back. The history's recorder and listener
// hear nothing of it. May throw std::bad_alloc.
bool replayJournal(const JournalContents &journal, bool baseIsSaved, BaseLoader loadBase,
                   std::string &problem);

// Why the step cannot be applied to the document as it stands, forwards
// (made or redone) or backwards (undone); empty when it can.
std::string stepMisfit(const Step &step, bool forward);

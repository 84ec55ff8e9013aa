// The recovery journal: every change to a biography written down as it is
// made, so that a crash loses nothing the user saw.
//
// A journal is a short text naming the format, then records, each its
// length, a checksum and the bytes it holds. The first record names the
// biography's path, the file's fingerprint as it was last opened or saved,
// and the base: the bytes the changes start from. Each later record is a
// step made (holding the values it puts in, so that making it again on the
// base gives what the user had), an undo or a redo; and, before an undo or
// redo of a step the journal does not hold (from before it began), that
// step. A crash may cut the last record short: reading stops there, and
// every record written whole before it counts.
//
// Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/core/document_history.h"

// What a file held, told apart from any other contents it may come to hold.
struct FileFingerprint {
    uint64_t size = 0;
    uint32_t checksum = 0;
    bool operator==(const FileFingerprint &other) const
    {
        return size == other.size && checksum == other.checksum;
    }
};

// CRC-32, as zip files use it.
uint32_t journalChecksum(std::string_view bytes);
FileFingerprint fingerprintOf(std::string_view bytes);

// The journal's first record: `saved` is the file as last opened or saved
// (none when it is not known), `base` the bytes the changes start from.
std::string journalStart(const std::string &path, const FileFingerprint *saved,
                         std::string_view base);

enum class JournalRecordKind : unsigned char {
    Made = 2,    // a step made, as it puts its values in
    Undone = 3,  // the last applied step undone
    Redone = 4,  // the next step redone
    Earlier = 5, // a step from before the first the journal holds, applied
    Later = 6,   // a step after the last the journal holds, to be redone
};

// Which steps of the history the open journal holds, so that undoing or
// redoing one of them takes a few bytes, and one it lacks is written whole
// first. Clock times are the caller's (Windows: file time, UTC).
class JournalRecorder {
public:
    // The records that keep one change of the history, told before the
    // change is made.
    std::string recordsFor(HistoryEvent event, const Step &step, uint64_t when);
    // A journal that holds no step yet.
    void startEmpty();
    // A journal replayed just now: it holds every step of the history.
    void holdWholeHistory();

private:
    int applied_ = 0;  // held steps applied, the latest ones of those applied
    int redoable_ = 0; // held steps after them
};

struct JournalRecord {
    JournalRecordKind kind = JournalRecordKind::Undone;
    uint64_t when = 0; // for changes: made, undone and redone
    Step step{StepKind::AddEntry};
};

// A journal as read: whatever was written whole.
struct JournalContents {
    bool started = false; // its first record was read whole
    std::string path;
    bool fingerprinted = false;
    FileFingerprint saved;
    std::string base;
    std::vector<JournalRecord> records;
    int changes = 0;        // steps made, undone and redone
    uint64_t lastChange = 0; // when the last of them was
    size_t wholeBytes = 0;   // the length of what was read whole
    // Why the journal cannot be read; empty when it can (cut short or not).
    std::string damage;
};

JournalContents readJournal(std::string_view bytes);

// Where recovery journals live, what they are called, and the file calls
// they are written and read with. A journal is held open, without sharing
// write access, for as long as a Memorion uses it: another Memorion cannot
// open it then, and so does not offer it for recovery.
//
// Journals are named and opened by wide paths: the user's profile may lie
// in a folder the ANSI code page cannot name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The folder, created when missing: below the user's local application
// data, "Memorion\Recovery". False, with GetLastError set, when it cannot
// be had. Replaceable, so that tests keep their journals in a folder of
// their own.
using RecoveryFolderFinder = bool (*)(std::wstring &folder);
extern RecoveryFolderFinder findRecoveryFolder;

// Every journal is named after a hash of its biography's path (letter case
// aside, as Windows compares paths), "-2" and on when the name is taken.
std::wstring journalNamePrefix(const std::string &biographyPath);
// Whether two paths name one biography as the journals' names tell.
bool sameBiographyPath(const std::string &a, const std::string &b);

// A new journal, held; never one that exists. INVALID_HANDLE_VALUE, with
// GetLastError set, when none can be made.
HANDLE createJournal(const std::wstring &folder, const std::string &biographyPath,
                     std::wstring &name);
// The journals of the folder whose names begin with `prefix` (all of them
// for an empty one), by full path.
std::vector<std::wstring> journalsIn(const std::wstring &folder, const std::wstring &prefix);
// Holds a journal no Memorion holds; INVALID_HANDLE_VALUE when one does
// or it is gone.
HANDLE holdJournal(const std::wstring &name);
// Everything the held journal holds; false when it cannot be read.
bool readJournalBytes(HANDLE journal, std::string &bytes);
// Writes the bytes at the journal's end and has them reach the disk.
bool appendToJournal(HANDLE journal, const std::string &bytes);
// Cuts off what follows the first `length` bytes (a record cut short), so
// that records appended later follow whole ones.
bool keepJournalBytes(HANDLE journal, size_t length);
// Lets go of the journal and deletes it.
void deleteJournal(HANDLE journal, const std::wstring &name);

// A biography file's bytes, as they are on disk now.
bool readFileNow(const std::string &path, std::string &bytes);
// A file's size and time written, to tell whether it changed since.
struct FileStamp {
    ULONGLONG size = 0, written = 0;
    bool operator==(const FileStamp &other) const { return size == other.size && written == other.written; }
};
bool stampOf(const std::string &path, FileStamp &stamp);

// Now, as the records note it: file time, UTC.
uint64_t journalClock();
// The journal's path as a message shows it.
std::string journalPathText(const std::wstring &name);

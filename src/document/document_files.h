// Saving and opening biography files from the main window.
#pragma once

#include <string>
#include <windows.h>

#include "document/core/biography_reader.h"
#include "document/file_replacement.h"

// Writes the whole document to `path` without ever leaving a half-written
// file there. A failure is reported in a message box; the file on disk then
// stays as it was and the document keeps its unsaved changes.
bool saveDocument(std::string path);
// Asks for a path and saves there; the document then belongs to that path.
bool saveDocumentAs(HWND owner);

// "Open biography file": offers to save, asks for a file and reads it into
// the document. True when the document is now the file's, for the window to
// show; `report` then says what did not fit.
bool openDocument(HWND owner, LoadReport &report);
// Reads the file at `path` into the document as Open does once a file is
// chosen. False, after telling the user why, when the document is unchanged.
bool openDocumentFile(const std::string &path, LoadReport &report);
// Tells the user what an opened file held beyond the document's capacities,
// and which of its characters could not be read or kept.
void reportDroppedContent(const LoadReport &report);

// The bytes saveDocument writes for `document`: in the legacy code page or
// in UTF-8, as its text and its file ask.
std::string savedFileBytes(const Biography &document);

// "Save changes?" (Yes, No or Cancel) while there are unsaved changes.
// Returns true when the caller may go on: nothing to save, the user said
// No, or the save worked; false when the caller is to leave everything as
// it was.
bool offerToSaveChanges();

// Makes room for a file's bytes. Replaceable, so that tests can run out of
// memory without a file of a gigabyte.
using FileBufferSizing = void (*)(std::string &buffer, size_t size);
extern FileBufferSizing sizeFileBuffer;


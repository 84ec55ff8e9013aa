// Saving and opening biography files from the main window.
#pragma once

#include <string>
#include <string_view>
#include <windows.h>

// Writes the whole document to `path` without ever leaving a half-written
// file there. A failure is reported in a message box; the file on disk then
// stays as it was and the document keeps its unsaved changes.
bool saveDocument(std::string path);
// Asks for a path and saves there; the document then belongs to that path.
bool saveDocumentAs(HWND owner);
void openDocument(HWND owner);

// "Save changes?" while there are unsaved changes. Returns true when the
// caller may go on: nothing to save, the user said No, or the save worked.
bool offerToSaveChanges();

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// then puts it in place of `path` in one step; an existing file keeps its
// attributes, creation time and permissions. On failure `error` holds the
// system's reason and nothing at `path` has changed.
bool replaceFileContents(const std::string &path, std::string_view bytes, std::string &error);

// Makes room for a file's bytes. Replaceable, so that tests can run out of
// memory without a file of a gigabyte.
using FileBufferSizing = void (*)(std::string &buffer, size_t size);
extern FileBufferSizing sizeFileBuffer;

// The folder a document's file lies in: what "Open containing folder"
// shows. Taken from the path itself, because whether a file dialog leaves
// the current folder there depends on how the file was picked.
std::string containingFolder(const std::string &path);

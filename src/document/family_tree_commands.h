// "Import from family tree (GEDCOM)..." and "Export as family tree
// (GEDCOM)...": a person's facts from a genealogy program's file into the
// biography, and the biography's facts back out for the tree.
#pragma once

#include <windows.h>

// Asks for a file and a person in it, and adds the person's facts to the
// biography as one step of the history, then says what was added. Nothing
// is added when the file is no family tree, the user cancels, or the facts
// do not all fit.
void importFamilyTree(HWND owner);

// Asks where to put the file, proposing the biography's name with ".ged"
// in its folder, and writes it the crash-safe way. The biography's own
// file is never replaced. The document stays as it is.
void exportFamilyTree(HWND owner);

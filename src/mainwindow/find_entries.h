// "Find entries" and "Find next": look for a text in every entry and show
// the next entry that holds it, in the order the tabs and rows show them.
#pragma once

#include <windows.h>

// The modal "Find entries" dialog, holding the last text searched for.
// Nothing happens before a biography is open.
void runFindEntriesDialog(HWND owner);
// Repeats the last search without the dialog; opens the dialog when there
// has been none yet.
void findNextEntryAgain(HWND owner);
// Forgets the last search, as at start-up.
void forgetLastSearch();

// The people of a family-tree file to choose from: name, birth and death
// years, sorted by name, narrowed as the user types.
#pragma once

#include <vector>
#include <windows.h>

#include "document/core/gedcom_import.h"

// The index into `people` of the one chosen, or -1 for Cancel.
int choosePerson(HWND owner, const std::vector<PersonSummary> &people);

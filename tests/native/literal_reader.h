// A deliberately naive reader, written straight from the rules of the file
// format with one whole-text substring search per question asked. It is
// slow on purpose: it is what the real reader's results are checked against
// and what its speed is measured against.
#pragma once

#include <string>
#include <vector>

#include "document/core/biography_document.h"

namespace literal {

struct Document {
    std::string topic;
    std::vector<Entry> entries;
    std::vector<std::string> categories;
    bool entriesDropped = false;
    bool categoriesDropped = false;
    int factCount = 0; // distinct fact numbers found, before the MaxEntries cut
};

std::string textFromBytes(const std::string &fileBytes);

std::string extractBetween(const std::string &text, const std::string &startTag,
                           const std::string &endTag);

// Fact numbers are found by asking for <fact1>, <fact2>, ... <factB> with
// B = highestNumber, and then for each of `largeNumbers` (plain decimal,
// each above highestNumber, ascending). Numbers outside both are not seen.
Document load(const std::string &text, int highestNumber = 5000,
              const std::vector<std::string> &largeNumbers = {});

} // namespace literal

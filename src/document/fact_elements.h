// The elements of a fact block, in the order the writer puts them (older
// files use this order, so it stays even though the model orders the
// fields otherwise), each with the document column it holds.
#pragma once

#include <string>
#include <string_view>

#include "document/biography_document.h"

struct FactElement {
    std::string_view openTag;
    std::string_view closeTag;
    std::string (DocumentStore::*column)[MaxEntries];
};

constexpr int FactElementCount = 8;

inline constexpr FactElement FactElements[FactElementCount] = {
    {"<title>", "</title>", &DocumentStore::title},
    {"<entry_date>", "</entry_date>", &DocumentStore::entryDate},
    {"<period>", "</period>", &DocumentStore::timePeriod},
    {"<keywords>", "</keywords>", &DocumentStore::keywords},
    {"<files>", "</files>", &DocumentStore::files},
    {"<category>", "</category>", &DocumentStore::category},
    {"<location>", "</location>", &DocumentStore::location},
    {"<detail>", "</detail>", &DocumentStore::detail},
};

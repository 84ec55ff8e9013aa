// A person of a family-tree file as entries of the biography: the people
// to choose from, and the facts of the one chosen.
//
// Portable: no Windows headers. All text is UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/core/biography_document.h"
#include "document/core/gedcom_tree.h"

struct PersonSummary {
    int record = 0;       // the line of its INDI record
    std::string listed;   // "Weber, Anna Maria": surname first, as family trees list people
    std::string name;     // "Anna Maria Weber"
    std::string born;     // the year, "" when unknown
    std::string died;
};

// Everyone in the file, sorted by the listed name (letter case aside),
// then by year of birth.
std::vector<PersonSummary> listPeople(const GedcomTree &tree);

// Those of `people` that hold every word typed (in any letter case) in
// their name or years, in list order.
std::vector<int> peopleMatching(const std::vector<PersonSummary> &people, std::string_view typed);

struct PersonFacts {
    std::string name;
    std::vector<Entry> entries;
    std::vector<std::string> tags;          // the tag each entry came from
    std::vector<std::string> skippedKinds;  // tags of facts of unknown kinds, one per fact
    int replacedCharacters = 0;             // '&', '<' and '>', which entries cannot hold
};

// The facts of the person whose INDI record is at `record`, in date order
// (those without a date last). Files named without a folder are taken from
// `folder`, the family-tree file's.
PersonFacts importPerson(const GedcomTree &tree, int record, std::string_view folder);

// The name of the entry that holds the person's own pictures and documents.
extern const char PersonalFilesTitle[];

// What the import did: "12 facts of Anna Weber added (1 skipped: ...)."
// and, where there are any, the damaged lines and the replaced characters.
std::string importReport(const PersonFacts &facts, int damagedLines);

// The categories of `facts` the biography lacks, in order of first use.
std::vector<std::string> missingCategories(const PersonFacts &facts, const Biography &document);

// Why the biography cannot take the facts, with how many would fit; empty
// when it can.
std::string capacityRefusal(const PersonFacts &facts, const Biography &document);

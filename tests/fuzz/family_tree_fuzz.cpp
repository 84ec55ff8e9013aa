// Any bytes, imported the way "Import from family tree" imports them: no
// crash, entries that follow the entry text rule, and the facts of every
// person survive an export and a second import unchanged, in a file of
// undamaged lines no longer than the standard allows.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "document/core/gedcom_export.h"
#include "document/core/gedcom_import.h"

#include "fuzz_check.h"

namespace {

std::unique_ptr<Biography> biographyOf(const PersonFacts &facts)
{
    auto d = std::make_unique<Biography>();
    d->topic = facts.name;
    for (const Entry &entry : facts.entries) {
        if (d->entryCount == MaxEntries) break;
        for (const EntryField &field : EntryFields) ((*d).*field.column)[d->entryCount] = entry.*field.value;
        ++d->entryCount;
    }
    return d;
}

std::vector<std::vector<std::string>> fieldsOf(const PersonFacts &facts)
{
    std::vector<std::vector<std::string>> all;
    for (const Entry &entry : facts.entries) {
        all.emplace_back();
        for (const EntryField &field : EntryFields) all.back().push_back(entry.*field.value);
    }
    std::sort(all.begin(), all.end());
    return all;
}

void checkRoundTrip(const PersonFacts &first)
{
    const std::string bytes = familyTreeFileBytes(*biographyOf(first));
    for (size_t at = 0, end; at < bytes.size(); at = end + 2) {
        end = bytes.find("\r\n", at);
        check(end != std::string::npos && end + 2 - at <= MaxGedcomLineLength, "an exported line too long");
    }
    GedcomTree tree;
    check(readGedcom(bytes, tree), "an export is no family tree");
    check(tree.damagedLines == 0, "an export has damaged lines");
    const PersonFacts second = importPerson(tree, tree.record("I1"), "");
    check(second.name == first.name, "the name changed by export and import");
    // The same entries; those without a date may come back in another order
    // when they belong to different families.
    check(fieldsOf(second) == fieldsOf(first), "a fact changed by export and import");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    GedcomTree tree;
    if (!readGedcom(bytes, tree)) return 0;
    const std::vector<PersonSummary> people = listPeople(tree);
    peopleMatching(people, bytes.substr(0, 8));
    for (size_t p = 0; p < people.size() && p < 8; ++p) {
        const PersonFacts facts = importPerson(tree, people[p].record, "C:\\Trees");
        for (const Entry &e : facts.entries)
            for (const std::string *text : {&e.title, &e.entryDate, &e.timePeriod, &e.location, &e.detail, &e.keywords})
                check(isValidEntryText(*text), "an entry holds text typing would refuse");
        checkRoundTrip(facts);
    }
    return 0;
}

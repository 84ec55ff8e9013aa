#include "document/core/gedcom_import.h"

#include <algorithm>

#include "document/core/gedcom_dates.h"
#include "document/core/gedcom_facts.h"
#include "document/core/gedcom_text.h"

const char PersonalFilesTitle[] = "Pictures and documents";

namespace {

const char UnnamedPerson[] = "Unnamed person";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

// Blanks run together into one.
std::string squeezed(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (isBlank(c)) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// ---- names

struct PersonName {
    std::string listed, name;
};

// "Anna Maria /Weber/ Jr." is Anna Maria Weber Jr., listed as "Weber,
// Anna Maria Jr.".
PersonName nameOf(const std::string &value)
{
    PersonName n;
    std::string unmarked = value;
    unmarked.erase(std::remove(unmarked.begin(), unmarked.end(), '/'), unmarked.end());
    n.name = squeezed(unmarked);
    const size_t open = value.find('/');
    const size_t close = open == std::string::npos ? open : value.find('/', open + 1);
    if (close == std::string::npos) {
        n.listed = n.name;
    } else {
        const std::string surname = squeezed(value.substr(open + 1, close - open - 1));
        std::string given = value.substr(0, open) + " " + value.substr(close + 1);
        given.erase(std::remove(given.begin(), given.end(), '/'), given.end());
        given = squeezed(given);
        n.listed = surname.empty() ? given : given.empty() ? surname : surname + ", " + given;
    }
    if (n.name.empty()) n.name = n.listed = UnnamedPerson;
    return n;
}

PersonName personName(const GedcomTree &tree, int record)
{
    return nameOf(tree.childValue(record, "NAME"));
}

// The year of the first of these facts that has one, as text.
std::string yearOfFirst(const GedcomTree &tree, int record, std::initializer_list<const char *> tags)
{
    for (const char *tag : tags) {
        const int fact = tree.child(record, tag);
        if (fact < 0) continue;
        const GedcomDate date = parseGedcomDate(tree.childValue(fact, "DATE"));
        if (date.valid && date.year > 0) return std::to_string(date.year);
    }
    return {};
}

// ---- letter case, for sorting and narrowing

// The code point at `at`, moving past it; bytes that are no UTF-8 count
// one each.
char32_t nextCodePoint(std::string_view s, size_t &at)
{
    const unsigned char b = static_cast<unsigned char>(s[at++]);
    if (b < 0xC0) return b;
    const int more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
    char32_t c = b & (0x3F >> more);
    for (int i = 0; i < more && at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80; ++i)
        c = c << 6 | (static_cast<unsigned char>(s[at++]) & 0x3F);
    return c;
}

// Small letters for the capitals of the alphabets names are mostly
// written in: Latin, Greek and Cyrillic.
char32_t lowerCase(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149 && c != 0x178) {
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        return oddUpper ? (c % 2 == 1 ? c + 1 : c) : (c % 2 == 0 ? c + 1 : c);
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

std::string folded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) appendUtf8(lowerCase(nextCodePoint(text, at)), out);
    return out;
}

// ---- the facts of a person

// Text an entry cannot hold when typed, replaced as typing would refuse it.
std::string storable(const std::string &text, int &replaced)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "and"; ++replaced; break;
        case '<': out += "\xE2\x80\xB9"; ++replaced; break; // U+2039
        case '>': out += "\xE2\x80\xBA"; ++replaced; break; // U+203A
        default:  out += c;
        }
    }
    return out;
}

// Line ends as the document keeps them.
std::string withWindowsLineEnds(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

bool isAbsolutePath(std::string_view path)
{
    return (path.size() >= 2 && path[1] == ':') || path.substr(0, 1) == "\\" ||
           path.substr(0, 1) == "/" || path.find("://") != std::string_view::npos;
}

std::string resolvedPath(std::string path, std::string_view folder)
{
    if (path.empty() || folder.empty() || isAbsolutePath(path)) return path;
    const char separator = folder.find('\\') != std::string_view::npos ? '\\' : '/';
    for (char &c : path)
        if (c == '/' || c == '\\') c = separator;
    std::string full(folder);
    if (full.back() != separator) full += separator;
    return full + path;
}

class PersonImport {
public:
    PersonImport(const GedcomTree &tree, std::string_view folder) : tree_(tree), folder_(folder) {}

    PersonFacts run(int record)
    {
        facts_.name = personName(tree_, record).name;
        for (int line : tree_.children(record)) personFact(line);
        for (int line : tree_.children(record)) {
            const int family = tree_.lines[line].tag == "FAMS" ? tree_.pointedRecord(line) : -1;
            if (family >= 0) familyFacts(family, record);
        }
        personalFiles(record);
        sortByDate();
        return std::move(facts_);
    }

private:
    const GedcomLine &at(int line) const { return tree_.lines[line]; }

    // A line of a record, or the record it points to.
    int followed(int line) const
    {
        const int target = at(line).pointer.empty() ? -1 : tree_.pointedRecord(line);
        return target >= 0 ? target : line;
    }

    // A fact of a kind we do not know has a date or a place; the dates of
    // the record's own changes and 7.0's "did not happen" are no facts.
    bool looksLikeFact(int line) const
    {
        const std::string &tag = at(line).tag;
        if (tag == "CHAN" || tag == "CREA" || tag == "NO") return false;
        return tree_.child(line, "DATE") >= 0 || tree_.child(line, "PLAC") >= 0;
    }

    void personFact(int line)
    {
        const std::string &tag = at(line).tag;
        if (tag == "EVEN" || tag == "FACT") {
            add(line, customTitle(line), customCategory(line));
        } else if (const FactType *type = factTypeOfTag(tag, false)) {
            const std::string value = type->shape == FactShape::Described ? trimmed(at(line).value) : "";
            add(line, factTitle(*type, value), type->category);
        } else if (looksLikeFact(line)) {
            facts_.skippedKinds.push_back(tag);
        }
    }

    void familyFacts(int family, int person)
    {
        std::string spouse;
        for (const char *role : {"HUSB", "WIFE"}) {
            const int partner = tree_.child(family, role);
            const int partnerRecord = partner < 0 ? -1 : tree_.pointedRecord(partner);
            if (partnerRecord >= 0 && partnerRecord != person) spouse = personName(tree_, partnerRecord).name;
        }
        for (int line : tree_.children(family)) {
            const std::string &tag = at(line).tag;
            if (tag == "EVEN" || tag == "FACT") {
                const std::string title = customTitle(line);
                add(line, spouse.empty() ? title : title + " with " + spouse,
                    customCategory(line, FactCategory::Family));
            } else if (const FactType *type = factTypeOfTag(tag, true)) {
                add(line, factTitle(*type, spouse), type->category);
            } else if (looksLikeFact(line)) {
                facts_.skippedKinds.push_back(tag);
            }
        }
    }

    // A custom event is named by its value, else by its type.
    std::string customTitle(int line) const
    {
        std::string title = trimmed(at(line).value);
        if (title.empty()) title = trimmed(tree_.childValue(line, "TYPE"));
        if (title.empty()) title = at(line).tag == "FACT" ? "Fact" : "Event";
        return title;
    }

    // Our own export names the category in the type.
    FactCategory customCategory(int line, FactCategory otherwise = FactCategory::Other) const
    {
        FactCategory category = otherwise;
        factCategoryNamed(trimmed(tree_.childValue(line, "TYPE")), category);
        return category;
    }

    void add(int line, const std::string &title, FactCategory category)
    {
        int &replaced = facts_.replacedCharacters;
        Entry entry;
        entry.title = storable(squeezed(title), replaced);
        EntryDates dates = entryDatesOf(tree_.childValue(line, "DATE"));
        entry.entryDate = storable(std::move(dates.entryDate), replaced);
        entry.timePeriod = std::move(dates.timePeriod);
        entry.location = storable(placeOf(line), replaced);
        std::string keywords;
        entry.detail = storable(withWindowsLineEnds(detailOf(line, keywords)), replaced);
        entry.keywords = storable(keywords, replaced);
        entry.files = joinFileList(filesOf(line));
        entry.category = std::string(factCategoryName(category));
        facts_.entries.push_back(std::move(entry));
        facts_.tags.push_back(at(line).tag);
    }

    std::string noteText(int line) const
    {
        return trimmed(at(followed(line)).value);
    }

    // Its lines and parts, one after the other: "5 Main St., Basel, Switzerland".
    std::string addressOf(int line) const
    {
        std::string address;
        auto add = [&](const std::string &part) {
            if (!part.empty() && address.find(part) == std::string::npos)
                address += (address.empty() ? "" : ", ") + part;
        };
        const std::string &value = at(line).value;
        for (size_t start = 0, end; start <= value.size(); start = end + 1) {
            end = std::min(value.find('\n', start), value.size());
            add(squeezed(value.substr(start, end - start)));
        }
        for (int part : tree_.children(line)) add(squeezed(at(part).value));
        return address;
    }

    // The place, or the address of a fact without one, as genealogy
    // programs take it.
    std::string placeOf(int line) const
    {
        const std::string place = squeezed(tree_.childValue(line, "PLAC"));
        const int address = tree_.child(line, "ADDR");
        return place.empty() && address >= 0 ? addressOf(address) : place;
    }

    // Notes, cause, age and address; the sources' titles go to `keywords`.
    std::string detailOf(int line, std::string &keywords) const
    {
        std::vector<std::string> parts;
        const std::string &tag = at(line).tag;
        const std::string value = trimmed(at(line).value);
        const FactType *type = factTypeOfTag(tag, false);
        const bool valueUsed = tag == "EVEN" || tag == "FACT" || (type && type->shape == FactShape::Described);
        if (!valueUsed && !value.empty() && value != "Y") parts.push_back(value);
        for (int child : tree_.children(line)) {
            const std::string &childTag = at(child).tag;
            if (childTag == "NOTE") {
                const std::string note = noteText(child);
                if (note.compare(0, KeywordsNotePrefix.size(), KeywordsNotePrefix) == 0)
                    keywords = note.substr(KeywordsNotePrefix.size());
                else if (!note.empty())
                    parts.push_back(note);
            } else if (childTag == "CAUS" && !trimmed(at(child).value).empty()) {
                parts.push_back("Cause: " + trimmed(at(child).value));
            } else if (childTag == "AGE" && !trimmed(at(child).value).empty()) {
                parts.push_back("Age: " + trimmed(at(child).value));
            } else if (childTag == "ADDR" && tree_.child(line, "PLAC") >= 0) {
                const std::string address = addressOf(child);
                if (!address.empty()) parts.push_back("Address: " + address);
            } else if (childTag == "SOUR") {
                addSource(child, keywords);
            }
        }
        std::string detail;
        for (const std::string &part : parts) detail += (detail.empty() ? "" : "\n") + part;
        return detail;
    }

    void addSource(int line, std::string &keywords) const
    {
        const int source = followed(line);
        std::string title = squeezed(tree_.childValue(source, "TITL"));
        if (title.empty()) title = squeezed(tree_.childValue(source, "ABBR"));
        if (title.empty()) title = squeezed(at(source).value);
        if (title.empty() || ("; " + keywords + "; ").find("; " + title + "; ") != std::string::npos) return;
        keywords += (keywords.empty() ? "" : "; ") + title;
    }

    std::vector<std::string> filesOf(int line) const
    {
        std::vector<std::string> files;
        for (int child : tree_.children(line)) {
            if (at(child).tag != "OBJE") continue;
            const int object = followed(child);
            for (int file : tree_.children(object))
                if (at(file).tag == "FILE" && !trimmed(at(file).value).empty()) {
                    // A path may hold '&'; a double quote would end it in the list.
                    std::string path = squeezed(at(file).value);
                    if (path.find('"') == std::string::npos) files.push_back(resolvedPath(std::move(path), folder_));
                }
        }
        return files;
    }

    // The person's own pictures and documents, in an entry of their own.
    void personalFiles(int record)
    {
        const std::vector<std::string> files = filesOf(record);
        if (files.empty()) return;
        Entry entry;
        entry.title = PersonalFilesTitle;
        entry.files = joinFileList(files);
        entry.category = std::string(factCategoryName(FactCategory::Other));
        facts_.entries.push_back(std::move(entry));
        facts_.tags.push_back("OBJE");
    }

    void sortByDate()
    {
        std::vector<size_t> order(facts_.entries.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        auto year = [&](size_t i) {
            const int first = entryYears(facts_.entries[i].timePeriod, "").first;
            return first ? first : 1 << 30;
        };
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return year(a) < year(b); });
        PersonFacts sorted;
        for (size_t i : order) {
            sorted.entries.push_back(std::move(facts_.entries[i]));
            sorted.tags.push_back(std::move(facts_.tags[i]));
        }
        facts_.entries.swap(sorted.entries);
        facts_.tags.swap(sorted.tags);
    }

    const GedcomTree &tree_;
    std::string_view folder_;
    PersonFacts facts_;
};

std::string plural(size_t count, const char *one, const char *many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::vector<PersonSummary> listPeople(const GedcomTree &tree)
{
    std::vector<PersonSummary> people;
    for (int i = 0; i < static_cast<int>(tree.lines.size()); i = tree.lines[i].end) {
        if (tree.lines[i].tag != "INDI") continue;
        PersonSummary person;
        person.record = i;
        PersonName name = personName(tree, i);
        person.listed = std::move(name.listed);
        person.name = std::move(name.name);
        person.born = yearOfFirst(tree, i, {"BIRT", "CHR", "BAPM"});
        person.died = yearOfFirst(tree, i, {"DEAT", "BURI", "CREM"});
        people.push_back(std::move(person));
    }
    std::vector<std::string> keys(people.size());
    for (size_t p = 0; p < people.size(); ++p) keys[p] = folded(people[p].listed);
    std::vector<size_t> order(people.size());
    for (size_t p = 0; p < order.size(); ++p) order[p] = p;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (keys[a] != keys[b]) return keys[a] < keys[b];
        return people[a].born.size() != people[b].born.size() ? people[a].born.size() < people[b].born.size()
                                                              : people[a].born < people[b].born;
    });
    std::vector<PersonSummary> sorted;
    sorted.reserve(people.size());
    for (size_t p : order) sorted.push_back(std::move(people[p]));
    return sorted;
}

std::vector<int> peopleMatching(const std::vector<PersonSummary> &people, std::string_view typed)
{
    std::vector<std::string> words;
    const std::string folding = folded(typed);
    for (size_t at = 0; at < folding.size();) {
        const size_t end = std::min(folding.find_first_of(" ,\t", at), folding.size());
        if (end > at) words.push_back(folding.substr(at, end - at));
        at = end + 1;
    }
    std::vector<int> found;
    for (size_t p = 0; p < people.size(); ++p) {
        const PersonSummary &person = people[p];
        const std::string text = folded(person.listed) + " " + person.born + " " + person.died;
        bool all = true;
        for (const std::string &word : words) all = all && text.find(word) != std::string::npos;
        if (all) found.push_back(static_cast<int>(p));
    }
    return found;
}

PersonFacts importPerson(const GedcomTree &tree, int record, std::string_view folder)
{
    return PersonImport(tree, folder).run(record);
}

std::string importReport(const PersonFacts &facts, int damagedLines)
{
    std::string report = plural(facts.entries.size(), "fact", "facts") + " of " + facts.name + " added";
    if (!facts.skippedKinds.empty()) {
        std::vector<std::string> kinds = facts.skippedKinds;
        std::sort(kinds.begin(), kinds.end());
        kinds.erase(std::unique(kinds.begin(), kinds.end()), kinds.end());
        std::string names;
        for (const std::string &kind : kinds) names += (names.empty() ? "" : ", ") + kind;
        report += " (" + std::to_string(facts.skippedKinds.size()) + " skipped: " +
                  (facts.skippedKinds.size() == 1 ? "a kind of fact" : "kinds of fact") +
                  " Memorion does not know, " + names + ")";
    }
    report += ".";
    if (damagedLines > 0)
        report += "\n\n" + plural(damagedLines, "damaged line", "damaged lines") +
                  " of the file could not be read and " + (damagedLines == 1 ? "was" : "were") + " skipped.";
    if (facts.replacedCharacters > 0)
        report += "\n\n" + plural(facts.replacedCharacters, "character", "characters") +
                  " an entry cannot hold " + (facts.replacedCharacters == 1 ? "was" : "were") +
                  " replaced: \"&\" by \"and\", \"<\" and \">\" by \"\xE2\x80\xB9\" and \"\xE2\x80\xBA\".";
    return report;
}

std::vector<std::string> missingCategories(const PersonFacts &facts, const Biography &document)
{
    std::vector<std::string> missing;
    for (const Entry &entry : facts.entries) {
        const std::string &name = entry.category;
        const bool listed = std::find(document.categories, document.categories + document.categoryCount, name) !=
                            document.categories + document.categoryCount;
        if (!listed && std::find(missing.begin(), missing.end(), name) == missing.end()) missing.push_back(name);
    }
    return missing;
}

std::string capacityRefusal(const PersonFacts &facts, const Biography &document)
{
    const size_t roomForEntries = static_cast<size_t>(MaxEntries - document.entryCount);
    if (facts.entries.size() > roomForEntries)
        return "Nothing was added: the biography has room for " + std::to_string(roomForEntries) +
               " more entries (it holds up to " + std::to_string(MaxEntries) + "), and " + facts.name +
               " has " + plural(facts.entries.size(), "fact", "facts") + ".";
    const size_t needed = missingCategories(facts, document).size();
    const size_t roomForCategories = static_cast<size_t>(MaxCategories - document.categoryCount);
    if (needed > roomForCategories)
        return "Nothing was added: the facts of " + facts.name + " need " +
               plural(needed, "new category", "new categories") + ", and the biography has room for " +
               std::to_string(roomForCategories) + " more (it holds up to " + std::to_string(MaxCategories) + ").";
    return {};
}

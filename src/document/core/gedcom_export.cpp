#include "document/core/gedcom_export.h"

#include <algorithm>
#include <vector>

#include "document/core/gedcom_dates.h"
#include "document/core/gedcom_facts.h"
#include "document/core/gedcom_text.h"

namespace {

const char LineEnd[] = "\r\n";
constexpr size_t LineRoom = MaxGedcomLineLength - (sizeof LineEnd - 1);
const char Person[] = "I1";

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Valid UTF-8 without control characters but tab and line ends, "@"
// doubled as values write it. Bytes that are no UTF-8 are read as code
// page 1252, as the import reads them.
std::string valueText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    auto plain = [](char c) {
        return (c >= 0x20 && c < 0x7F && c != '@') || c == '\t' || c == '\n' || c == '\r';
    };
    size_t at = 0;
    while (at < text.size()) {
        size_t run = at;
        while (run < text.size() && plain(text[run])) ++run;
        out.append(text.data() + at, run - at);
        at = run;
        if (at == text.size()) break;
        const unsigned char b = static_cast<unsigned char>(text[at]);
        if (b == '@') {
            out += "@@";
        } else if (b >= 0x80) {
            const size_t length = utf8LengthAt(text, at);
            if (length > 0) {
                out.append(text.data() + at, length);
                at += length;
                continue;
            }
            appendUtf8(windows1252Character(b), out);
        }
        ++at;
    }
    return out;
}

// A date's calendar escape ("@#DJULIAN@") is written as it is; any other
// "@" doubled.
std::string dateText(const std::string &date)
{
    std::string text = valueText(date);
    for (size_t at = text.find("@@#D"); at != std::string::npos; at = text.find("@@#D", at + 1)) {
        const size_t close = text.find("@@", at + 4);
        if (close == std::string::npos) break;
        text.erase(close, 1);
        text.erase(at, 1);
    }
    return text;
}

// Where to end a piece of at most `room` bytes: not inside a character nor
// a doubled "@", and where possible not beside a blank, which some
// programs drop from the ends of lines.
size_t cutAt(std::string_view text, size_t room)
{
    auto safe = [&](size_t cut) {
        if (isContinuationByte(text[cut])) return false;
        size_t ats = 0;
        while (ats < cut && text[cut - 1 - ats] == '@') ++ats;
        return ats % 2 == 0;
    };
    for (size_t cut = room; cut > room / 2; --cut)
        if (safe(cut) && text[cut] != ' ' && text[cut - 1] != ' ') return cut;
    size_t cut = room;
    while (cut > 1 && !safe(cut)) --cut;
    return cut;
}

class FileWriter {
public:
    std::string bytes;

    // A value of one line: line ends in it become blanks.
    void line(int level, std::string_view tag, std::string_view value = {}, std::string_view id = {})
    {
        std::string flat;
        if (value.find_first_of("\r\n") != std::string_view::npos) {
            flat = std::string(value);
            for (char &c : flat)
                if (c == '\r' || c == '\n') c = ' ';
            value = flat;
        }
        std::string prefix = std::to_string(level);
        if (!id.empty()) prefix += " @" + std::string(id) + "@";
        prefix += " ";
        prefix += tag;
        write(std::move(prefix), value, level + 1);
    }

    // A value of several lines, each line continued as it needs.
    void text(int level, std::string_view tag, const std::string &value)
    {
        const std::string text = valueText(value);
        size_t at = 0;
        bool first = true;
        while (true) {
            size_t end = at;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
            const std::string_view piece(text.data() + at, end - at);
            if (first) write(std::to_string(level) + " " + std::string(tag), piece, level + 1);
            else write(std::to_string(level + 1) + " CONT", piece, level + 1);
            first = false;
            if (end == text.size()) break;
            at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
    }

    void pointer(int level, std::string_view tag, std::string_view id)
    {
        line(level, tag, "@" + std::string(id) + "@");
    }

private:
    // Continued at `continuation`, the level below the line the value
    // belongs to.
    void write(std::string prefix, std::string_view value, int continuation)
    {
        while (prefix.size() + 1 + value.size() > LineRoom) {
            const size_t cut = cutAt(value, LineRoom - prefix.size() - 1);
            bytes += prefix + " ";
            bytes.append(value.data(), cut);
            bytes += LineEnd;
            value.remove_prefix(cut);
            prefix = std::to_string(continuation) + " CONC";
        }
        bytes += prefix;
        if (!value.empty()) (bytes += ' ').append(value.data(), value.size());
        bytes += LineEnd;
    }
};

std::string extensionOf(const std::string &path)
{
    const size_t dot = path.find_last_of('.');
    const size_t folder = path.find_last_of("\\/");
    if (dot == std::string::npos || (folder != std::string::npos && dot < folder) || dot + 1 == path.size())
        return "none";
    std::string extension = path.substr(dot + 1);
    for (char &c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

// The places, notes and files every fact is written with.
void factDetails(FileWriter &w, int level, const Biography &d, int e)
{
    const std::string date = gedcomDateOf(d.entryDate[e], d.timePeriod[e]);
    if (!date.empty()) w.line(level, "DATE", dateText(date));
    if (!d.location[e].empty()) w.line(level, "PLAC", valueText(d.location[e]));
    if (!d.detail[e].empty()) w.text(level, "NOTE", d.detail[e]);
    if (!d.keywords[e].empty()) w.text(level, "NOTE", std::string(KeywordsNotePrefix) + d.keywords[e]);
    for (const std::string &file : parseFileList(d.files[e])) {
        w.line(level, "OBJE");
        w.line(level + 1, "FILE", valueText(file));
        w.line(level + 2, "FORM", valueText(extensionOf(file)));
    }
}

bool hasDetails(const Biography &d, int e)
{
    return !d.entryDate[e].empty() || !d.timePeriod[e].empty() || !d.location[e].empty() ||
           !d.detail[e].empty() || !d.keywords[e].empty() || !d.files[e].empty();
}

struct FamilyFact {
    int entry;
    const FactType *type;
};

struct Family {
    std::string spouse;
    std::vector<FamilyFact> facts;
};

void personFact(FileWriter &w, const Biography &d, int e, const FactType *type, const std::string &value)
{
    if (type) {
        // An event with nothing said about it is asserted with "Y".
        const std::string said = type->shape == FactShape::Described ? valueText(value)
                                 : hasDetails(d, e)                  ? std::string()
                                                                     : std::string("Y");
        w.line(1, type->tag, said);
    } else {
        w.line(1, "EVEN", valueText(d.title[e]));
        w.line(2, "TYPE", valueText(d.category[e].empty() ? DefaultCategory : d.category[e]));
    }
    factDetails(w, 2, d, e);
}

std::string familyId(size_t f) { return "F" + std::to_string(f + 1); }
std::string spouseId(size_t f) { return "I" + std::to_string(f + 2); }

} // namespace

std::string familyTreeFileBytes(const Biography &d)
{
    FileWriter w;
    size_t size = 4096;
    for (const EntryField &field : EntryFields)
        for (int e = 0; e < d.entryCount; ++e) size += (d.*field.column)[e].size() + 16;
    // Room for the continuation lines too: reserving costs nothing, growing
    // copies everything written so far.
    w.bytes.reserve(size + size / 4);
    w.line(0, "HEAD");
    w.line(1, "SOUR", "MEMORION");
    w.line(2, "NAME", "Memorion");
    w.pointer(1, "SUBM", "U1");
    w.line(1, "GEDC");
    w.line(2, "VERS", "5.5.1");
    w.line(2, "FORM", "LINEAGE-LINKED");
    w.line(1, "CHAR", "UTF-8");
    w.line(0, "SUBM", {}, "U1");
    w.line(1, "NAME", "Memorion");

    w.line(0, "INDI", {}, Person);
    if (!d.topic.empty()) w.line(1, "NAME", valueText(d.topic));
    std::vector<Family> families;
    for (int e = 0; e < d.entryCount; ++e) {
        std::string value;
        const FactType *type = factTypeOfTitle(d.title[e], value);
        // As the import makes it: the title with its category.
        if (type && d.category[e] != factCategoryName(type->category)) type = nullptr;
        if (!type || type->shape != FactShape::Family) {
            personFact(w, d, e, type, value);
            continue;
        }
        size_t f = 0;
        while (f < families.size() && families[f].spouse != value) ++f;
        if (f == families.size()) families.push_back({value, {}});
        families[f].facts.push_back({e, type});
    }
    for (size_t f = 0; f < families.size(); ++f) w.pointer(1, "FAMS", familyId(f));

    for (size_t f = 0; f < families.size(); ++f) {
        if (families[f].spouse.empty()) continue;
        w.line(0, "INDI", {}, spouseId(f));
        w.line(1, "NAME", valueText(families[f].spouse));
        w.pointer(1, "FAMS", familyId(f));
    }
    for (size_t f = 0; f < families.size(); ++f) {
        w.line(0, "FAM", {}, familyId(f));
        w.pointer(1, "HUSB", Person);
        if (!families[f].spouse.empty()) w.pointer(1, "WIFE", spouseId(f));
        for (const FamilyFact &fact : families[f].facts) {
            w.line(1, fact.type->tag, hasDetails(d, fact.entry) ? "" : "Y");
            factDetails(w, 2, d, fact.entry);
        }
    }
    w.line(0, "TRLR");
    return std::move(w.bytes);
}

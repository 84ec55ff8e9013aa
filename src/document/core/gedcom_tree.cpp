#include "document/core/gedcom_tree.h"

#include <algorithm>

#include "document/core/gedcom_text.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isTagCharacter(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Deeper than this no file goes; a larger number is damage.
constexpr int MaxLevel = 99;

struct ParsedLine {
    int level;
    std::string_view id, tag, value;
};

// "level [@id@] tag [value]"; false for a line that is not one.
bool parseLine(std::string_view line, ParsedLine &parsed)
{
    size_t at = 0;
    while (at < line.size() && isBlank(line[at])) ++at;
    const size_t levelStart = at;
    int level = 0;
    while (at < line.size() && isDigit(line[at]) && at - levelStart < 3) level = level * 10 + (line[at++] - '0');
    if (at == levelStart || level > MaxLevel || at == line.size() || !isBlank(line[at])) return false;
    while (at < line.size() && isBlank(line[at])) ++at;
    parsed.level = level;
    parsed.id = {};
    if (at < line.size() && line[at] == '@') {
        const size_t close = line.find('@', at + 1);
        if (close == std::string_view::npos || close == at + 1) return false;
        parsed.id = line.substr(at + 1, close - at - 1);
        at = close + 1;
        if (at == line.size() || !isBlank(line[at])) return false;
        while (at < line.size() && isBlank(line[at])) ++at;
    }
    const size_t tagStart = at;
    while (at < line.size() && isTagCharacter(line[at])) ++at;
    if (at == tagStart || (at < line.size() && !isBlank(line[at]))) return false;
    parsed.tag = line.substr(tagStart, at - tagStart);
    // One delimiter; whatever follows it, blanks included, is the value.
    parsed.value = at < line.size() ? line.substr(at + 1) : std::string_view();
    return true;
}

void appendUnescaped(std::string &out, std::string_view value)
{
    for (size_t i = 0; i < value.size(); ++i) {
        out += value[i];
        if (value[i] == '@' && i + 1 < value.size() && value[i + 1] == '@') ++i;
    }
}

// "@F1@" names a record; "@#DJULIAN@ 1700" and "a@b" are text.
bool isPointer(std::string_view value)
{
    return value.size() >= 3 && value.front() == '@' && value.back() == '@' && value[1] != '#' &&
           value.find('@', 1) == value.size() - 1 && value.find(' ') == std::string_view::npos;
}

std::string upperTag(std::string_view tag)
{
    std::string out(tag);
    for (char &c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

class TreeBuilder {
public:
    explicit TreeBuilder(GedcomTree &tree) : tree_(tree) {}

    // False when the line has no place in the tree.
    bool add(const ParsedLine &line)
    {
        if (line.level > depth_ + 1) return false;
        std::string tag = upperTag(line.tag);
        if (tag == "CONC" || tag == "CONT") return continueValue(line, tag == "CONT");
        closeTo(line.level);
        GedcomLine added;
        added.level = line.level;
        added.id = std::string(line.id);
        added.tag = std::move(tag);
        if (isPointer(line.value))
            added.pointer = std::string(line.value.substr(1, line.value.size() - 2));
        else
            appendUnescaped(added.value, line.value);
        open_.push_back(static_cast<int>(tree_.lines.size()));
        tree_.lines.push_back(std::move(added));
        depth_ = line.level;
        return true;
    }

    void finish() { closeTo(0); }

private:
    // Ends every open line at `level` or deeper.
    void closeTo(int level)
    {
        const int next = static_cast<int>(tree_.lines.size());
        while (!open_.empty() && tree_.lines[open_.back()].level >= level) {
            tree_.lines[open_.back()].end = next;
            open_.pop_back();
        }
    }

    bool continueValue(const ParsedLine &line, bool newLine)
    {
        closeTo(line.level);
        if (open_.empty() || tree_.lines[open_.back()].level != line.level - 1) return false;
        std::string &value = tree_.lines[open_.back()].value;
        if (newLine) value += '\n';
        appendUnescaped(value, line.value);
        depth_ = line.level - 1;
        return true;
    }

    GedcomTree &tree_;
    std::vector<int> open_; // the lines whose descendants may follow
    int depth_ = -1;
};

} // namespace

int GedcomTree::record(std::string_view id) const
{
    if (id.empty()) return -1;
    const auto found = records_.find(std::string(id));
    return found == records_.end() ? -1 : found->second;
}

std::vector<int> GedcomTree::children(int line) const
{
    std::vector<int> found;
    for (int c = line + 1; c < lines[line].end; c = lines[c].end) found.push_back(c);
    return found;
}

int GedcomTree::child(int line, std::string_view tag) const
{
    for (int c = line + 1; c < lines[line].end; c = lines[c].end)
        if (lines[c].tag == tag) return c;
    return -1;
}

const std::string &GedcomTree::childValue(int line, std::string_view tag) const
{
    static const std::string none;
    const int c = child(line, tag);
    return c < 0 ? none : lines[c].value;
}

void GedcomTree::indexRecords()
{
    records_.clear();
    for (int i = 0; i < static_cast<int>(lines.size()); i = lines[i].end)
        if (!lines[i].id.empty()) records_.emplace(lines[i].id, i);
}

bool readGedcom(std::string_view bytes, GedcomTree &tree)
{
    tree = GedcomTree();
    std::string text = gedcomTextAsUtf8(bytes, detectGedcomEncoding(bytes));
    // Control characters have no place in a family tree, nor in an entry.
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](char c) {
                                  const unsigned char b = static_cast<unsigned char>(c);
                                  return (b < 0x20 && c != '\t' && c != '\r' && c != '\n') || b == 0x7F;
                              }),
               text.end());
    TreeBuilder builder(tree);
    bool first = true;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        const std::string_view line(text.data() + at, end - at);
        at = end + 1;
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        ParsedLine parsed;
        const bool read = parseLine(line, parsed);
        if (first) {
            if (!read || parsed.level != 0 || upperTag(parsed.tag) != "HEAD") {
                tree = GedcomTree();
                return false;
            }
            first = false;
        }
        if (!read || !builder.add(parsed)) ++tree.damagedLines;
    }
    if (first) return false;
    builder.finish();
    tree.indexRecords();
    return true;
}

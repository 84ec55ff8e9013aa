// A family-tree file (GEDCOM 5.5, 5.5.1, 5.5.5 or 7.0) read into its
// lines: each with its level, tag and value, in file order, records found
// by their ids. Damaged lines are left out and counted, never a reason to
// give up on the rest.
//
// Portable: no Windows headers. All text is UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct GedcomLine {
    int level = 0;
    int end = 0;         // the index past its last descendant
    std::string id;      // a record's own id, "I1" for "0 @I1@ INDI"
    std::string tag;     // upper case, as the standard writes tags
    std::string value;   // CONC and CONT joined (CONT as "\n"), "@@" read as "@"
    std::string pointer; // the id a value "@F1@" names, without its @s
};

class GedcomTree {
public:
    std::vector<GedcomLine> lines;
    int damagedLines = 0;

    // The line of the record with this id, or -1.
    int record(std::string_view id) const;
    // The record a line points to, or -1.
    int pointedRecord(int line) const { return record(lines[line].pointer); }
    // Its children, in file order.
    std::vector<int> children(int line) const;
    // Its first child with this tag, or -1.
    int child(int line, std::string_view tag) const;
    // That child's value; empty without one.
    const std::string &childValue(int line, std::string_view tag) const;

    void indexRecords();

private:
    std::unordered_map<std::string, int> records_;
};

// Reads `bytes` in whatever encoding they declare. False, with nothing
// read, when they are not a family-tree file: one begins "0 HEAD".
bool readGedcom(std::string_view bytes, GedcomTree &tree);

// Dates as family-tree files write them ("12 JUN 1946", "ABT 1920",
// "BET 1950 AND 1955", "FROM 1939 TO 1945", "(in the war)"), and the years
// they span.
//
// Portable: no Windows headers. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "document/core/chronology.h"

struct GedcomDate {
    bool valid = false; // follows the standard's grammar
    YearSpan years;     // of the Gregorian or Julian calendar, after Christ
    // The first date's day and month (0 when not given) and year.
    int day = 0, month = 0, year = 0;
    // The words in parentheses: "(in the war)", "INT 1950 (about then)".
    std::string phrase;
};

// Reads a DATE value of GEDCOM 5.5 to 7.0; the words and months in any
// letter case.
GedcomDate parseGedcomDate(std::string_view text);

// The entry date and time period a fact's DATE gives an entry: the date as
// written, or its phrase when it has one, since that is what a person
// wrote and the date was made from; the years it spans, or for a date
// outside the standard those the chronology finds in it.
struct EntryDates {
    std::string entryDate, timePeriod;
};
EntryDates entryDatesOf(std::string_view date);

// The time period an entry is given for a date: "1950-1955" for a range or
// period, the year for a single date; empty without years.
std::string timePeriodOf(const GedcomDate &date);

// The DATE a fact is written with: the entry date when it is a date of the
// standard (its words upper-cased); else the years the chronology finds in
// the entry ("1950", "FROM 1950 TO 1955") with the entry date as the
// phrase; else that text as a phrase alone. Empty for an entry without
// either.
std::string gedcomDateOf(std::string_view entryDate, std::string_view timePeriod);

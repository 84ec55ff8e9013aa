// The years of a life: which year an entry belongs to, the entries in year
// order, and the timeline the web page draws of them.
//
// Portable: no Windows headers here. Texts are UTF-8, so that an en dash
// is one character whatever the code page gave it and no ASCII digit or
// letter is taken for the second byte of a double-byte character.
#pragma once

#include <string_view>
#include <vector>

// A year or a range of years; no year at all when `first` is 0.
struct YearSpan {
    int first = 0;
    int last = 0;
    bool dated() const { return first != 0; }
    bool operator==(const YearSpan &other) const { return first == other.first && last == other.last; }
};

// The years an entry is about. The first four-digit year from 1000 to 2999
// standing alone in its time period; a second one after "-", an en dash or
// "to" makes a range ("1939-1945", "1939 to 1945"), and "1950s" is
// 1950-1959. Without one there, the first such year in its entry date
// ("12/03/1931", "1931-03-12"). Two-digit years, as new entries are
// stamped with, say nothing: in a life they could be of either century.
YearSpan entryYears(std::string_view timePeriod, std::string_view entryDate);

// An entry with years, where the page first shows it.
struct DatedEntry {
    int entry;
    int tab;
    YearSpan years;
};

// `inPageOrder` by first year; entries of the same year stay in page order.
std::vector<DatedEntry> chronologyOrder(std::vector<DatedEntry> inPageOrder);

// The timeline's layout: an axis from its first to its last year with a
// tick every `tickStep` years, and a row per tab with dated entries, each
// row as many lanes high as its overlapping marks need.
constexpr int MaxTimelineRows = 12;
constexpr int OtherCategoriesRow = -1; // the tab of the row the rest share

// How far apart along the axis, in timelinePosition's units, two marks of
// one lane must be. A dot's radius and a bar's round end each reach 5
// pixels beyond the year; a phone gives the picture about 330 pixels, of
// which 4% is 13: marks closer than that would touch, and two marks of
// one colour that touch look like one.
constexpr int MarkSpacing = 400;

struct TimelineMark {
    int entry;
    int row;
    int lane; // 0 for the top lane of the row
    YearSpan years;
};

struct Timeline {
    int firstYear = 0;
    int lastYear = 0;
    int tickStep = 1;
    std::vector<int> rowTabs;  // in tab order; the twelfth may be OtherCategoriesRow
    std::vector<int> rowLanes; // how many lanes each row has
    std::vector<TimelineMark> marks;
};

// One mark per entry of `inPageOrder`, which holds dated entries only, in
// that order. With more than MaxTimelineRows tabs, the first
// MaxTimelineRows - 1 have rows of their own and the others share the
// last. Within a row, each mark takes the top lane where it keeps
// MarkSpacing from the marks before it in year order, which gives the
// fewest lanes that keep every mark clear of the others.
Timeline timelineOf(const std::vector<DatedEntry> &inPageOrder);

// Where `year` lies along the axis, in hundredths of a percent of the
// picture's width, leaving a margin at either end for the tick labels.
int timelinePosition(const Timeline &timeline, int year);

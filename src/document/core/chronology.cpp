#include "document/core/chronology.h"

#include <algorithm>
#include <utility>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isLetterOrDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

enum class Decades { Allowed, NotAllowed };

// The year that starts at `at`, with `end` set past it; none when there is
// no four-digit year from 1000 to 2999 there, or a letter or digit touches it.
YearSpan yearAt(std::string_view text, size_t at, Decades decades, size_t &end)
{
    if (at + 4 > text.size() || (at > 0 && isLetterOrDigit(text[at - 1]))) return {};
    int year = 0;
    for (size_t i = at; i < at + 4; ++i) {
        if (!isDigit(text[i])) return {};
        year = year * 10 + (text[i] - '0');
    }
    if (year < 1000 || year > 2999) return {};
    YearSpan span{year, year};
    end = at + 4;
    if (decades == Decades::Allowed && year % 10 == 0 && end < text.size() && text[end] == 's') {
        span.last = year + 9;
        ++end;
    }
    if (end < text.size() && isLetterOrDigit(text[end])) return {};
    return span;
}

YearSpan firstYear(std::string_view text, Decades decades, size_t &end)
{
    for (size_t at = 0; at + 4 <= text.size(); ++at) {
        const YearSpan span = yearAt(text, at, decades, end);
        if (span.dated()) return span;
    }
    return {};
}

size_t skipBlanks(std::string_view text, size_t at)
{
    while (at < text.size() && isBlank(text[at])) ++at;
    return at;
}

// Past the "-", en dash or "to" at `at` and the blanks after it; npos when
// there is none.
size_t afterRangeWord(std::string_view text, size_t at)
{
    const std::string_view rest = text.substr(at);
    size_t length = 0;
    if (rest.substr(0, 1) == "-")
        length = 1;
    else if (rest.substr(0, 3) == "\xE2\x80\x93") // U+2013, the en dash
        length = 3;
    else if (rest.size() >= 2 && (rest[0] | 0x20) == 't' && (rest[1] | 0x20) == 'o')
        length = 2;
    return length == 0 ? std::string_view::npos : skipBlanks(text, at + length);
}

YearSpan timePeriodYears(std::string_view text)
{
    size_t end = 0;
    YearSpan span = firstYear(text, Decades::Allowed, end);
    if (!span.dated()) return span;
    const size_t second = afterRangeWord(text, skipBlanks(text, end));
    if (second == std::string_view::npos) return span;
    const YearSpan until = yearAt(text, second, Decades::Allowed, end);
    if (until.dated() && until.first > span.first) span.last = std::max(span.last, until.last);
    return span;
}

int tickStepFor(int span)
{
    if (span <= 15) return 1;
    return span <= 200 ? 10 : 50;
}

// First fit in year order: a lane holds the marks that keep their spacing,
// and a mark that fits in none opens the next.
void assignLanes(Timeline &timeline)
{
    std::vector<size_t> order(timeline.marks.size());
    for (size_t m = 0; m < order.size(); ++m) order[m] = m;
    const auto rowAndStart = [&](size_t m) {
        return std::make_pair(timeline.marks[m].row, timeline.marks[m].years.first);
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rowAndStart(a) < rowAndStart(b); });
    timeline.rowLanes.assign(timeline.rowTabs.size(), 0);
    std::vector<int> laneEnds; // where each lane of the current row is clear from
    for (size_t m : order) {
        TimelineMark &mark = timeline.marks[m];
        int &lanes = timeline.rowLanes[static_cast<size_t>(mark.row)];
        if (lanes == 0) laneEnds.clear();
        const int start = timelinePosition(timeline, mark.years.first);
        mark.lane = 0;
        while (mark.lane < lanes && laneEnds[static_cast<size_t>(mark.lane)] > start) ++mark.lane;
        if (mark.lane == lanes) laneEnds.push_back(0);
        lanes = std::max(lanes, mark.lane + 1);
        laneEnds[static_cast<size_t>(mark.lane)] = timelinePosition(timeline, mark.years.last) + MarkSpacing;
    }
}

} // namespace

YearSpan entryYears(std::string_view timePeriod, std::string_view entryDate)
{
    const YearSpan span = timePeriodYears(timePeriod);
    if (span.dated()) return span;
    size_t end = 0;
    return firstYear(entryDate, Decades::NotAllowed, end);
}

std::vector<DatedEntry> chronologyOrder(std::vector<DatedEntry> entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const DatedEntry &a, const DatedEntry &b) { return a.years.first < b.years.first; });
    return entries;
}

Timeline timelineOf(const std::vector<DatedEntry> &inPageOrder)
{
    Timeline timeline;
    if (inPageOrder.empty()) return timeline;
    timeline.firstYear = inPageOrder.front().years.first;
    timeline.lastYear = inPageOrder.front().years.last;
    std::vector<int> tabs;
    for (const DatedEntry &dated : inPageOrder) {
        timeline.firstYear = std::min(timeline.firstYear, dated.years.first);
        timeline.lastYear = std::max(timeline.lastYear, dated.years.last);
        if (tabs.empty() || tabs.back() != dated.tab) tabs.push_back(dated.tab);
    }
    // A single year gets an axis around it.
    if (timeline.firstYear == timeline.lastYear) {
        --timeline.firstYear;
        ++timeline.lastYear;
    }
    timeline.tickStep = tickStepFor(timeline.lastYear - timeline.firstYear);

    const bool shared = tabs.size() > MaxTimelineRows;
    const size_t ownRows = shared ? MaxTimelineRows - 1 : tabs.size();
    timeline.rowTabs.assign(tabs.begin(), tabs.begin() + ownRows);
    if (shared) timeline.rowTabs.push_back(OtherCategoriesRow);
    size_t row = 0;
    for (const DatedEntry &dated : inPageOrder) {
        while (row < ownRows && timeline.rowTabs[row] != dated.tab) ++row;
        timeline.marks.push_back({dated.entry, static_cast<int>(std::min(row, ownRows)), 0, dated.years});
    }
    assignLanes(timeline);
    return timeline;
}

int timelinePosition(const Timeline &timeline, int year)
{
    constexpr int Margin = 500, Width = 10000 - 2 * Margin;
    return Margin + Width * (year - timeline.firstYear) / (timeline.lastYear - timeline.firstYear);
}

#include "document/core/chronology.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Chronology, YearsOfAnEntry)
{
    struct Case {
        const char *timePeriod, *entryDate;
        YearSpan years;
    };
    const Case cases[] = {
        {"1931", "", {1931, 1931}},
        {"born 1931 in Leeds, moved 1935", "", {1931, 1931}},
        {"(1931)", "", {1931, 1931}},
        {"1939-1945", "", {1939, 1945}},
        {"1939 - 1945", "", {1939, 1945}},
        {"1939\xe2\x80\x93" "1945", "", {1939, 1945}}, // en dash
        {"1939 to 1945", "", {1939, 1945}},
        {"1939 TO 1945", "", {1939, 1945}},
        {"1950s", "", {1950, 1959}},
        {"the 1950s to the 1960s", "", {1950, 1959}}, // "the" stands between
        {"1950s-1960s", "", {1950, 1969}},
        {"1939-45", "", {1939, 1939}},       // a two-digit end is no end
        {"1945-1939", "", {1945, 1945}},     // nor one before the start
        {"1939 until 1945", "", {1939, 1939}},
        {"1000 and 2999", "", {1000, 1000}},
        {"0999, 3000, 19500, No1950, 1950er, 1955s, 1066", "", {1066, 1066}},
        {"Childhood", "12/03/1931", {1931, 1931}},
        {"", "1931-03-12", {1931, 1931}}, // a date, not a range
        {"", "12.5.1931", {1931, 1931}},
        {"", "March 1931", {1931, 1931}},
        {"1921", "12/03/1931", {1921, 1921}}, // the time period comes first
        {"", "1950s", {}},                    // decades only in the time period
        {"06/12/26", "03/05/47", {}},         // two-digit years
        {"Childhood", "", {}},
        {"", "", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(entryYears(c.timePeriod, c.entryDate), c.years)
            << "\"" << c.timePeriod << "\", \"" << c.entryDate << "\"";
}

TEST(Chronology, SameYearKeepsPageOrder)
{
    const std::vector<DatedEntry> inPageOrder = {
        {4, 0, {1950, 1959}}, {2, 0, {1931, 1931}}, {0, 1, {1950, 1950}}, {1, 1, {1921, 1945}}, {3, 2, {1931, 1931}},
    };
    std::vector<int> order;
    for (const DatedEntry &e : chronologyOrder(inPageOrder)) order.push_back(e.entry);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 0}));
}

std::vector<DatedEntry> onTabs(const std::vector<int> &tabs, YearSpan years)
{
    std::vector<DatedEntry> dated;
    for (size_t i = 0; i < tabs.size(); ++i) dated.push_back({static_cast<int>(i), tabs[i], years});
    return dated;
}

TEST(Chronology, TimelineRowsMarksAndTicks)
{
    const int O = OtherCategoriesRow;
    struct Case {
        const char *name;
        std::vector<DatedEntry> inPageOrder;
        std::vector<int> rowTabs, markRows;
        int firstYear, lastYear, tickStep;
    };
    const Case cases[] = {
        {"one year, an axis around it", {{7, 2, {1931, 1931}}}, {2}, {0}, 1930, 1932, 1},
        {"a year and a range on two tabs",
         {{1, 0, {1939, 1945}}, {0, 3, {1921, 1921}}, {2, 3, {1930, 1930}}}, {0, 3}, {0, 1, 1}, 1921, 1945, 10},
        {"15 years", {{0, 0, {1900, 1900}}, {1, 0, {1915, 1915}}}, {0}, {0, 0}, 1900, 1915, 1},
        {"16 years", {{0, 0, {1900, 1916}}}, {0}, {0}, 1900, 1916, 10},
        {"200 years", {{0, 0, {1800, 1800}}, {1, 1, {2000, 2000}}}, {0, 1}, {0, 1}, 1800, 2000, 10},
        {"201 years", {{0, 0, {1799, 1799}}, {1, 1, {1950, 2000}}}, {0, 1}, {0, 1}, 1799, 2000, 50},
        {"12 tabs, a row each", onTabs({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {1950, 1950}),
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 1949, 1951, 1},
        {"13 tabs, the last two share a row", onTabs({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 12, 20}, {1950, 1950}),
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, O}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 11}, 1949, 1951, 1},
        {"nothing dated", {}, {}, {}, 0, 0, 1},
    };
    for (const Case &c : cases) {
        const Timeline timeline = timelineOf(c.inPageOrder);
        EXPECT_EQ(timeline.rowTabs, c.rowTabs) << c.name;
        std::vector<int> markRows;
        for (size_t i = 0; i < timeline.marks.size(); ++i) {
            markRows.push_back(timeline.marks[i].row);
            EXPECT_EQ(timeline.marks[i].entry, c.inPageOrder[i].entry) << c.name;
            EXPECT_EQ(timeline.marks[i].years, c.inPageOrder[i].years) << c.name;
        }
        EXPECT_EQ(markRows, c.markRows) << c.name;
        EXPECT_EQ(timeline.firstYear, c.firstYear) << c.name;
        EXPECT_EQ(timeline.lastYear, c.lastYear) << c.name;
        EXPECT_EQ(timeline.tickStep, c.tickStep) << c.name;
        if (timeline.marks.empty()) continue;
        EXPECT_EQ(timelinePosition(timeline, c.firstYear), 500) << c.name;
        EXPECT_EQ(timelinePosition(timeline, c.lastYear), 9500) << c.name;
    }
}

// Marks of a row that overlap, or lie too close to tell apart on a phone,
// go on lanes of their own: as few as the overlaps need.
TEST(Chronology, OverlappingMarksOfARowTakeLanesOfTheirOwn)
{
    struct Case {
        const char *name;
        std::vector<DatedEntry> inPageOrder;
        std::vector<int> lanes, rowLanes;
    };
    const Case cases[] = {
        {"two ranges that overlap", {{0, 0, {1950, 1955}}, {1, 0, {1952, 1958}}}, {0, 1}, {2}},
        {"the same year twice", {{0, 0, {1953, 1953}}, {1, 0, {1953, 1953}}}, {0, 1}, {2}},
        {"a lane is taken again once clear, in year order",
         {{0, 0, {1960, 1965}}, {1, 0, {1950, 1955}}, {2, 0, {1953, 1953}}, {3, 0, {1957, 1958}}}, {0, 0, 1, 0}, {2}},
        {"each row has lanes of its own",
         {{0, 0, {1950, 1955}}, {1, 1, {1952, 1958}}, {2, 1, {1954, 1954}}}, {0, 0, 1}, {1, 2}},
        {"years too close to tell apart, and far enough",
         {{0, 0, {1800, 1800}}, {1, 0, {1900, 1900}}, {2, 0, {1904, 1904}}, {3, 0, {1909, 1909}}, {4, 0, {2000, 2000}}},
         {0, 0, 1, 0, 0}, {2}},
    };
    for (const Case &c : cases) {
        const Timeline timeline = timelineOf(c.inPageOrder);
        std::vector<int> lanes;
        for (const TimelineMark &mark : timeline.marks) lanes.push_back(mark.lane);
        EXPECT_EQ(lanes, c.lanes) << c.name;
        EXPECT_EQ(timeline.rowLanes, c.rowLanes) << c.name;
    }
}

} // namespace

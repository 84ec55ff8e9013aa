#include "document/core/timeline_picture.h"

#include <cstdio>
#include <iterator>

namespace {

// The colours of the timeline's rows, dark enough to read as text on white.
const char *const RowColours[] = {
    "#1f5fa8", "#b8321a", "#2a7a2a", "#7b3fa0", "#a85400", "#00707a",
    "#a8326e", "#5c5c00", "#3d4fb3", "#8a4b2a", "#2b6e57", "#555",
};
static_assert(std::size(RowColours) == MaxTimelineRows, "a colour for every row of the timeline");

// The rows from the top, each with its name above its lanes of marks, then
// the axis. A row of one lane is RowHeight high; each further lane adds
// LaneSpacing, which leaves room between a dot (radius 5) or a bar (8
// thick) and the next lane's. Horizontal places are fractions of the
// width, so the picture fits any column while its text keeps its size.
constexpr int RowHeight = 28, RowNameBaseline = 11, MarkCentre = 20, MarkRadius = 5, LaneSpacing = 12;
constexpr int AxisBelowRows = 4, TickLength = 5, TickLabelBaseline = 17, AxisHeight = 24;

int rowHeight(int lanes) { return RowHeight + (lanes - 1) * LaneSpacing; }

void years(PageOutput &page, YearSpan years)
{
    page.number(years.first);
    if (years.last == years.first) return;
    page.text("-");
    page.number(years.last);
}

// A length along the timeline, "37.05%".
void percent(PageOutput &page, int hundredths)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d%%", hundredths / 100, hundredths % 100);
    page.text(text);
}

void mark(PageOutput &page, const Biography &d, const Timeline &timeline, const TimelineMark &mark, int rowTop)
{
    const int y = rowTop + MarkCentre + mark.lane * LaneSpacing;
    entryLink(page, mark.entry);
    page.text("<title>");
    datedTitle(page, d, mark.entry, mark.years);
    page.text("</title>");
    if (mark.years.last == mark.years.first) {
        page.text("<circle cx=\"");
        percent(page, timelinePosition(timeline, mark.years.first));
        page.text("\" cy=\"");
        page.number(y);
        page.text("\" r=\"");
        page.number(MarkRadius);
    } else {
        page.text("<line class=\"years\" x1=\"");
        percent(page, timelinePosition(timeline, mark.years.first));
        page.text("\" x2=\"");
        percent(page, timelinePosition(timeline, mark.years.last));
        page.text("\" y1=\"");
        page.number(y);
        page.text("\" y2=\"");
        page.number(y);
    }
    page.text("\"/></a>\n");
}

void axis(PageOutput &page, const Timeline &timeline, int y)
{
    page.text("<g class=\"ticks\">\n<line x1=\"");
    percent(page, timelinePosition(timeline, timeline.firstYear));
    page.text("\" x2=\"");
    percent(page, timelinePosition(timeline, timeline.lastYear));
    page.text("\" y1=\"");
    page.number(y);
    page.text("\" y2=\"");
    page.number(y);
    page.text("\"/>\n");
    const int step = timeline.tickStep;
    for (int year = (timeline.firstYear + step - 1) / step * step; year <= timeline.lastYear; year += step) {
        const int x = timelinePosition(timeline, year);
        page.text("<line x1=\"");
        percent(page, x);
        page.text("\" x2=\"");
        percent(page, x);
        page.text("\" y1=\"");
        page.number(y);
        page.text("\" y2=\"");
        page.number(y + TickLength);
        // Every other label makes room on a narrow screen.
        page.text(year / step % 2 ? "\"/><text class=\"odd\" x=\"" : "\"/><text x=\"");
        percent(page, x);
        page.text("\" y=\"");
        page.number(y + TickLabelBaseline);
        page.text("\">");
        page.number(year);
        page.text("</text>\n");
    }
    page.text("</g>\n");
}

} // namespace

void timelinePicture(PageOutput &page, const Biography &d, const Timeline &timeline)
{
    int rowsHeight = 0;
    for (int lanes : timeline.rowLanes) rowsHeight += rowHeight(lanes);
    const int axisY = rowsHeight + AxisBelowRows;
    page.text("<svg class=\"timeline\" role=\"img\" aria-label=\"Timeline of the ");
    page.number(static_cast<int>(timeline.marks.size()));
    page.text(" dated entries, one row per category\" width=\"100%\" height=\"");
    page.number(axisY + AxisHeight);
    page.text("\">\n");
    size_t next = 0; // the marks come row by row
    int rowTop = 0;
    for (size_t row = 0; row < timeline.rowTabs.size(); ++row) {
        page.text("<g class=\"row");
        page.number(static_cast<int>(row) + 1);
        page.text("\">\n<text x=\"0\" y=\"");
        page.number(rowTop + RowNameBaseline);
        page.text("\">");
        const int tab = timeline.rowTabs[row];
        if (tab == OtherCategoriesRow)
            page.text("Other categories");
        else
            page.firstVisible({d.categories[categoryShownOnTab(d, tab)]}, "Unnamed category", LineBreaks::Spaces);
        page.text("</text>\n");
        for (; next < timeline.marks.size() && timeline.marks[next].row == static_cast<int>(row); ++next)
            mark(page, d, timeline, timeline.marks[next], rowTop);
        page.text("</g>\n");
        rowTop += rowHeight(timeline.rowLanes[row]);
    }
    axis(page, timeline, axisY);
    page.text("</svg>\n");
}

void timelineRowStyles(PageOutput &page)
{
    for (int row = 0; row < MaxTimelineRows; ++row) {
        page.text(".row");
        page.number(row + 1);
        page.text(" { color: ");
        page.text(RowColours[row]);
        page.text("; }\n");
    }
}

void entryId(PageOutput &page, int entry)
{
    page.text("entry-");
    page.number(entry + 1);
}

void entryLink(PageOutput &page, int entry)
{
    page.text("<a href=\"#");
    entryId(page, entry);
    page.text("\">");
}

void datedTitle(PageOutput &page, const Biography &d, int entry, YearSpan span)
{
    years(page, span);
    page.text(": ");
    page.firstVisible({d.title[entry]}, "Untitled entry", LineBreaks::Spaces);
}

#include "document/core/web_page_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/core/chronology.h"
#include "document/core/program_paths.h"

// Values are whatever a file held: markup characters, control characters,
// any byte above 0x7F. Each byte goes through one table of what it becomes:
// itself, a character reference for the five markup characters, nothing for
// the characters HTML forbids. Line ends become what their place calls for.
// A single-byte code page gets a table of its own, made once per page from
// its conversion, and is converted and escaped in the same pass; any other
// is converted value by value to UTF-8, whose sequences are checked for the
// forbidden characters above ASCII.

namespace {

enum ByteKind : unsigned char {
    FromTable,
    LineEnd,  // CR or LF
    Utf8Lead, // starts a sequence that may encode a forbidden character
};

// What a byte becomes where its neighbours do not matter. The bytes are
// copied whole, whatever the size: writing a fixed length needs no branch.
struct Replacement {
    ByteKind kind;
    unsigned char size;
    char bytes[6];
};
using ByteTable = std::array<Replacement, 256>;

constexpr Replacement replacement(std::string_view text)
{
    Replacement r{FromTable, static_cast<unsigned char>(text.size()), {}};
    for (size_t i = 0; i < text.size(); ++i) r.bytes[i] = text[i];
    return r;
}

// The table for UTF-8: the controls HTML forbids are left out (their size
// is 0), bytes above 0x7F are copied, and those that may start a forbidden
// character are decided with the bytes after them.
constexpr ByteTable utf8Table()
{
    ByteTable table{};
    for (int b = 0x20; b < 0x7F; ++b) table[b] = {FromTable, 1, {static_cast<char>(b)}};
    for (int b = 0x80; b < 0x100; ++b) table[b] = {FromTable, 1, {static_cast<char>(b)}};
    table['\t'] = replacement("\t");
    table['\n'].kind = LineEnd;
    table['\r'].kind = LineEnd;
    table['&'] = replacement("&amp;");
    table['<'] = replacement("&lt;");
    table['>'] = replacement("&gt;");
    table['"'] = replacement("&quot;");
    table['\''] = replacement("&#39;");
    table[0xC2].kind = Utf8Lead; // U+0080 to U+00BF, among them the C1 controls
    table[0xEF].kind = Utf8Lead; // U+F000 to U+FFFF, among them U+FDD0 to U+FDEF, U+FFFE, U+FFFF
    for (int b = 0xF0; b <= 0xF4; ++b) table[b].kind = Utf8Lead; // the other planes' U+nFFFE, U+nFFFF
    return table;
}
constexpr ByteTable Utf8Table = utf8Table();

// The most one byte can become: a double quote's "&quot;".
constexpr size_t WorstBytesPerByte = 6;

unsigned char byteAt(const char *p) { return static_cast<unsigned char>(*p); }

char *put(char *out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The characters at U+0080 to U+009F, U+FDD0 to U+FDEF and each plane's
// last two, from the bytes of their UTF-8 sequence.
bool isForbiddenSequence(const unsigned char *s, size_t length)
{
    switch (length) {
    case 2: return s[0] == 0xC2 && s[1] <= 0x9F;
    case 3: return s[0] == 0xEF && ((s[1] == 0xB7 && s[2] >= 0x90 && s[2] <= 0xAF) ||
                                    (s[1] == 0xBF && s[2] >= 0xBE));
    case 4: return (s[1] & 0x0F) == 0x0F && s[2] == 0xBF && s[3] >= 0xBE;
    }
    return false;
}

// Copies or leaves out the sequence that starts at p; the converter gives
// well-formed UTF-8, but a cut sequence is copied as far as it goes.
char *utf8Sequence(const char *&p, const char *end, char *out)
{
    const unsigned char lead = byteAt(p);
    const size_t expected = lead == 0xC2 ? 2 : lead == 0xEF ? 3 : 4;
    size_t length = 1;
    while (length < expected && p + length < end && isContinuation(byteAt(p + length))) ++length;
    const bool forbidden = length == expected &&
                           isForbiddenSequence(reinterpret_cast<const unsigned char *>(p), length);
    if (!forbidden) out = put(out, std::string_view(p, length));
    p += length;
    return out;
}

enum class LineBreaks {
    Spaces,     // in the page's title, which holds text only
    Breaks,     // each line end a <br>
    Paragraphs, // an empty line ends a paragraph, a single line end is a <br>
};

bool isLineEnd(const char *p) { return *p == '\n' || *p == '\r'; }

// A run of line ends: CR LF, a lone LF and a lone CR each count as one.
char *lineEnds(const char *&p, const char *end, char *out, LineBreaks breaks)
{
    int count = 0;
    while (p < end && isLineEnd(p)) {
        if (*p == '\r' && p + 1 < end && p[1] == '\n') ++p;
        ++p;
        ++count;
    }
    if (breaks == LineBreaks::Spaces) return put(out, " ");
    if (breaks == LineBreaks::Paragraphs && count > 1) return put(out, "</p>\n<p>");
    if (breaks == LineBreaks::Paragraphs) count = 1;
    for (int i = 0; i < count; ++i) out = put(out, "<br>\n");
    return out;
}

// Writes the text [begin, end) escaped for HTML through `table`; returns
// where the output ends. Line ends at the start or the end of the text show
// nothing. Writes at most WorstBytesPerByte bytes per byte, and may write a
// few bytes past that end.
char *escapeText(const char *p, const char *end, char *out, LineBreaks breaks, const ByteTable &table)
{
    while (p < end && isLineEnd(p)) ++p;
    while (end > p && isLineEnd(end - 1)) --end;
    while (p < end) {
        const Replacement &r = table[byteAt(p)];
        if (r.kind == LineEnd) {
            out = lineEnds(p, end, out, breaks);
        } else if (r.kind == Utf8Lead) {
            out = utf8Sequence(p, end, out);
        } else {
            std::memcpy(out, r.bytes, sizeof r.bytes);
            out += r.size;
            ++p;
        }
    }
    return out;
}

// The table for a single-byte code page: ASCII as in UTF-8, each byte
// above 0x7F its converted character, escaped.
ByteTable singleByteTable(AnsiToUtf8 toUtf8)
{
    ByteTable table = Utf8Table;
    for (int b = 0x80; b < 0x100; ++b) {
        const char ansi = static_cast<char>(b);
        char utf8[MaxUtf8BytesPerAnsiByte];
        const size_t size = toUtf8(std::string_view(&ansi, 1), utf8);
        char escaped[MaxUtf8BytesPerAnsiByte * WorstBytesPerByte + sizeof(Replacement::bytes)];
        const size_t length = escapeText(utf8, utf8 + size, escaped, LineBreaks::Breaks, Utf8Table) - escaped;
        table[b] = replacement(std::string_view(escaped, std::min(length, sizeof table[b].bytes)));
    }
    return table;
}

bool isAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Whether escaped text holds anything a reader would see: anything but
// blanks and the <br> elements written for line ends.
bool showsAnything(const char *p, const char *end)
{
    for (; p < end; ++p) {
        if (*p == '<') {
            p = static_cast<const char *>(std::memchr(p, '>', end - p));
            if (p == nullptr) return true;
        } else if (*p != ' ' && *p != '\t' && *p != '\n') {
            return true;
        }
    }
    return false;
}

// The page, written into one block that grows only when a value needs more
// than the block has left, which the first estimate makes rare.
class PageOutput {
public:
    PageOutput(size_t room, const AnsiCodePage &codePage)
        : bytes_(new char[room + Slack]), at_(bytes_.get()), end_(at_ + room), toUtf8_(codePage.toUtf8),
          converted_(!codePage.singleByte), table_(converted_ ? Utf8Table : singleByteTable(toUtf8_))
    {
    }

    void text(std::string_view text)
    {
        makeRoom(text.size());
        at_ = put(at_, text);
    }

    void number(int n) { text(std::to_string(n)); }

    // A value from the document, converted and escaped.
    void value(std::string_view ansi, LineBreaks breaks)
    {
        const std::string_view text = converted_ ? asUtf8(ansi) : ansi;
        makeRoom(text.size() * WorstBytesPerByte);
        at_ = escapeText(text.data(), text.data() + text.size(), at_, breaks, table_);
    }

    // Like value(); true when the value shows anything, and otherwise
    // nothing is written.
    bool visibleValue(std::string_view ansi, LineBreaks breaks)
    {
        const size_t start = written();
        value(ansi, breaks);
        if (showsAnything(bytes_.get() + start, at_)) return true;
        at_ = bytes_.get() + start;
        return false;
    }

    // The first of the texts that shows anything, the last one if none does.
    void firstVisible(std::initializer_list<std::string_view> candidates, std::string_view last,
                      LineBreaks breaks)
    {
        for (std::string_view candidate : candidates)
            if (visibleValue(candidate, breaks)) return;
        text(last);
    }

    // Text already in UTF-8, escaped.
    void utf8Value(std::string_view utf8, LineBreaks breaks)
    {
        makeRoom(utf8.size() * WorstBytesPerByte);
        at_ = escapeText(utf8.data(), utf8.data() + utf8.size(), at_, breaks, Utf8Table);
    }

    size_t written() const { return static_cast<size_t>(at_ - bytes_.get()); }
    void rollBack(size_t size) { at_ = bytes_.get() + size; }

    BiographyBytes finish()
    {
        const size_t size = written(); // before the block is handed on
        return BiographyBytes(std::move(bytes_), size);
    }

    // `ansi` in UTF-8, good until the next conversion.
    std::string_view asUtf8(std::string_view ansi)
    {
        // Every ANSI code page keeps ASCII as it is.
        if (isAscii(ansi)) return ansi;
        const size_t room = ansi.size() * MaxUtf8BytesPerAnsiByte;
        if (room > scratchSize_) {
            scratch_.reset(new char[room]);
            scratchSize_ = room;
        }
        return std::string_view(scratch_.get(), toUtf8_(ansi, scratch_.get()));
    }

private:
    static constexpr size_t Slack = 64; // escapeText writes a little past its output

    void makeRoom(size_t size)
    {
        if (static_cast<size_t>(end_ - at_) >= size) return;
        const size_t used = written();
        const size_t room = std::max(2 * (used + size), used + size + (1u << 20));
        std::unique_ptr<char[]> larger(new char[room + Slack]);
        std::memcpy(larger.get(), bytes_.get(), used);
        bytes_ = std::move(larger);
        at_ = bytes_.get() + used;
        end_ = bytes_.get() + room;
    }

    std::unique_ptr<char[]> bytes_;
    char *at_;
    char *end_;
    AnsiToUtf8 toUtf8_;
    bool converted_; // to UTF-8 before escaping, value by value
    ByteTable table_;
    std::unique_ptr<char[]> scratch_;
    size_t scratchSize_ = 0;
};

// Styles for the screen and for paper: black on white, each category on a
// sheet of its own when printed, the first sheet holding the title, the
// contents and the start of the chronology. A picture whose file is missing
// shows the note of img::after, which a browser draws only for a picture it
// could not load.
const char PageStyle[] =
    "body { margin: 2em auto; max-width: 45em; padding: 0 1em; color: #000; background: #fff;"
    " font-family: Georgia, \"Times New Roman\", serif; line-height: 1.45; overflow-wrap: break-word; }\n"
    "h1 { font-size: 2em; margin-bottom: 0.5em; }\n"
    "h2 { font-size: 1.5em; border-bottom: 1px solid #000; page-break-after: avoid; }\n"
    "h3 { font-size: 1.15em; margin: 1.5em 0 0.3em; page-break-after: avoid; }\n"
    "nav ul, ol.chronology { list-style: none; padding: 0; }\n"
    "dl { margin: 0.3em 0; }\n"
    "dt { float: left; clear: left; width: 7.5em; font-weight: bold; }\n"
    "dd { margin: 0 0 0.2em 8em; }\n"
    "ul.files { padding-left: 1.2em; }\n"
    "figure { margin: 0.8em 0; }\n"
    "figure img { display: block; max-width: 100%; height: auto; position: relative; font-size: 0; }\n"
    "figure img::after { content: \"(picture not found)\"; position: absolute; left: 0; top: 0;"
    " width: max-content; min-height: 100%; background: #fff; font-size: 0.8rem; font-style: italic;"
    " print-color-adjust: exact; }\n"
    "figcaption { font-size: 0.9em; }\n"
    "a { color: #1a3e80; }\n"
    "section { margin-top: 2.5em; }\n"
    ".back { margin-top: 1.5em; }\n"
    "svg.timeline { display: block; margin: 1em 0 1.5em; font-family: sans-serif; font-size: 11px; }\n"
    ".timeline a { color: inherit; }\n"
    ".timeline text, .timeline circle { fill: currentColor; }\n"
    ".timeline line { stroke: currentColor; }\n"
    ".timeline line.years { stroke-width: 8px; stroke-linecap: round; }\n"
    ".timeline .ticks { text-anchor: middle; }\n"
    "@media (max-width: 40em) {\n"
    "  .timeline .odd { display: none; }\n"
    "}\n"
    "@media print {\n"
    "  body { margin: 0; max-width: none; padding: 0; }\n"
    "  a { color: #000; text-decoration: none; }\n"
    "  section { margin-top: 0; }\n"
    "  section.category { page-break-before: always; }\n"
    "  article, figure, svg.timeline { break-inside: avoid; }\n"
    "  figure img { max-height: 50vh; width: auto; }\n"
    "}\n";

// The colours of the timeline's rows, dark enough to read as text on white.
const char *const RowColours[] = {
    "#1f5fa8", "#b8321a", "#2a7a2a", "#7b3fa0", "#a85400", "#00707a",
    "#a8326e", "#5c5c00", "#3d4fb3", "#8a4b2a", "#2b6e57", "#555",
};
static_assert(std::size(RowColours) == MaxTimelineRows, "a colour for every row of the timeline");

void styles(PageOutput &page)
{
    page.text(PageStyle);
    for (int row = 0; row < MaxTimelineRows; ++row) {
        page.text(".row");
        page.number(row + 1);
        page.text(" { color: ");
        page.text(RowColours[row]);
        page.text("; }\n");
    }
}

// The short fields, listed under an entry's title by their labels; the
// title, the detail and the files have places of their own, and the
// category is the section the entry stands in.
bool isListedField(const EntryField &field)
{
    return field.column != &Biography::title && field.column != &Biography::detail &&
           field.column != &Biography::files && field.column != &Biography::category;
}

// What each tab lists, tab by tab.
using TabEntries = std::vector<std::vector<int>>;

TabEntries entriesOfEveryTab(const Biography &d)
{
    TabEntries entries;
    for (int tab = 0; tab < d.categoryCount; ++tab) entries.push_back(entriesOnTab(d, tab));
    return entries;
}

void categoryName(PageOutput &page, const std::string &name)
{
    page.firstVisible({name}, "Unnamed category", LineBreaks::Breaks);
}

void head(PageOutput &page, const Biography &d, std::string_view language)
{
    page.text("<!DOCTYPE html>\n<html lang=\"");
    page.value(language, LineBreaks::Spaces);
    page.text("\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
    page.firstVisible({d.topic, d.fileName}, "Biography", LineBreaks::Spaces);
    page.text("</title>\n<style>\n");
    styles(page);
    page.text("</style>\n</head>\n");
}

void contents(PageOutput &page, const Biography &d, const TabEntries &entries)
{
    if (d.categoryCount == 0) return;
    page.text("<nav id=\"contents\">\n<h2>Contents</h2>\n<ul>\n");
    for (int tab = 0; tab < d.categoryCount; ++tab) {
        const std::string &name = d.categories[categoryShownOnTab(d, tab)];
        const size_t count = entries[tab].size();
        page.text("<li><a href=\"#category-");
        page.number(tab + 1);
        page.text("\">");
        categoryName(page, name);
        page.text("</a> (");
        page.number(static_cast<int>(count));
        page.text(count == 1 ? " entry)</li>\n" : " entries)</li>\n");
    }
    page.text("</ul>\n</nav>\n");
}

void fieldList(PageOutput &page, const Biography &d, int i)
{
    bool listed = false;
    for (const EntryField &field : EntryFields) {
        const std::string &value = (d.*field.column)[i];
        if (!isListedField(field) || value.empty()) continue;
        // A value of nothing a reader would see is left out with its label.
        const size_t start = page.written();
        page.text(listed ? "<dt>" : "<dl>\n<dt>");
        page.text(field.label);
        page.text("</dt><dd>");
        if (!page.visibleValue(value, LineBreaks::Breaks)) {
            page.rollBack(start);
            continue;
        }
        listed = true;
        page.text("</dd>\n");
    }
    if (listed) page.text("</dl>\n");
}

void detail(PageOutput &page, const std::string &text)
{
    const size_t start = page.written();
    page.text("<p>");
    if (page.visibleValue(text, LineBreaks::Paragraphs))
        page.text("</p>\n");
    else
        page.rollBack(start);
}

void figure(PageOutput &page, std::string_view path, const PageFolders &folders)
{
    const std::string_view name = fileNameOf(path);
    page.text("<figure><img src=\"");
    page.text(fileLink(path, folders));
    page.text("\" alt=\"");
    page.utf8Value(name, LineBreaks::Spaces);
    page.text("\" loading=\"lazy\"><figcaption>");
    page.utf8Value(name, LineBreaks::Spaces);
    page.text("</figcaption></figure>\n");
}

void fileList(PageOutput &page, const std::vector<std::string> &paths, const PageFolders &folders)
{
    if (paths.empty()) return;
    page.text("<ul class=\"files\">\n");
    for (const std::string &path : paths) {
        page.text("<li><a href=\"");
        page.text(fileLink(path, folders));
        page.text("\">");
        page.utf8Value(path, LineBreaks::Breaks);
        page.text("</a></li>\n");
    }
    page.text("</ul>\n");
}

// Pictures show as figures, one under the other; the other files are listed.
void attachedFiles(PageOutput &page, const std::string &files, const PageFolders &folders)
{
    std::vector<std::string> others;
    for (const std::string &ansiPath : parseFileList(files)) {
        if (ansiPath.empty()) continue;
        std::string path(page.asUtf8(ansiPath));
        if (isPicture(path))
            figure(page, path, folders);
        else
            others.push_back(std::move(path));
    }
    fileList(page, others, folders);
}

void entryId(PageOutput &page, int i)
{
    page.text("entry-");
    page.number(i + 1);
}

// An entry that a second tab of the same name shows again has its id only
// where it is shown first, which the chronology and the timeline link to.
void entry(PageOutput &page, const Biography &d, int i, bool shownFirst, const PageFolders &folders)
{
    page.text("<article");
    if (shownFirst) {
        page.text(" id=\"");
        entryId(page, i);
        page.text("\"");
    }
    page.text(">\n<h3>");
    page.firstVisible({d.title[i]}, "Untitled entry", LineBreaks::Breaks);
    page.text("</h3>\n");
    fieldList(page, d, i);
    detail(page, d.detail[i]);
    attachedFiles(page, d.files[i], folders);
    page.text("</article>\n");
}

// Where the page shows what: the tab each entry is shown on first (-1 when
// no tab lists it), and the entries with years in the order of the page.
struct PagePlan {
    std::vector<int> firstTab;
    std::vector<DatedEntry> dated;
};

PagePlan pagePlan(PageOutput &page, const Biography &d, const TabEntries &entries)
{
    PagePlan plan;
    plan.firstTab.assign(static_cast<size_t>(d.entryCount), -1);
    for (int tab = 0; tab < d.categoryCount; ++tab) {
        for (int i : entries[tab]) {
            if (plan.firstTab[i] >= 0) continue;
            plan.firstTab[i] = tab;
            const std::string timePeriod(page.asUtf8(d.timePeriod[i]));
            const YearSpan years = entryYears(timePeriod, page.asUtf8(d.entryDate[i]));
            if (years.dated()) plan.dated.push_back({i, tab, years});
        }
    }
    return plan;
}

void sections(PageOutput &page, const Biography &d, const TabEntries &entries, const PagePlan &plan,
              const PageFolders &folders)
{
    for (int tab = 0; tab < d.categoryCount; ++tab) {
        const std::string &name = d.categories[categoryShownOnTab(d, tab)];
        page.text("<section class=\"category\" id=\"category-");
        page.number(tab + 1);
        page.text("\">\n<h2>");
        categoryName(page, name);
        page.text("</h2>\n");
        const std::vector<int> &listed = entries[tab];
        for (int i : listed) entry(page, d, i, plan.firstTab[i] == tab, folders);
        if (listed.empty()) page.text("<p>No entries.</p>\n");
        page.text("<p class=\"back\"><a href=\"#contents\">Back to contents</a></p>\n</section>\n");
    }
}

void years(PageOutput &page, YearSpan years)
{
    page.number(years.first);
    if (years.last == years.first) return;
    page.text("-");
    page.number(years.last);
}

// "1931: Born", "1939-1945: War service": how the chronology and the
// timeline name an entry.
void datedTitle(PageOutput &page, const Biography &d, int i, YearSpan span)
{
    years(page, span);
    page.text(": ");
    page.firstVisible({d.title[i]}, "Untitled entry", LineBreaks::Spaces);
}

void entryLink(PageOutput &page, int i)
{
    page.text("<a href=\"#");
    entryId(page, i);
    page.text("\">");
}

// A length along the timeline, "37.05%".
void percent(PageOutput &page, int hundredths)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d%%", hundredths / 100, hundredths % 100);
    page.text(text);
}

// The timeline's rows from the top, each with its name above its marks,
// then the axis. Horizontal places are fractions of the width, so the
// picture fits any column while its text keeps its size.
constexpr int RowHeight = 28, RowNameBaseline = 11, MarkCentre = 20, MarkRadius = 5;
constexpr int AxisBelowRows = 4, TickLength = 5, TickLabelBaseline = 17, AxisHeight = 24;

void timelineMark(PageOutput &page, const Biography &d, const Timeline &timeline, const TimelineMark &mark)
{
    const int y = mark.row * RowHeight + MarkCentre;
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

void timelineAxis(PageOutput &page, const Timeline &timeline, int y)
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

void timelinePicture(PageOutput &page, const Biography &d, const Timeline &timeline)
{
    const int axis = static_cast<int>(timeline.rowTabs.size()) * RowHeight + AxisBelowRows;
    page.text("<svg class=\"timeline\" role=\"img\" aria-label=\"Timeline of the ");
    page.number(static_cast<int>(timeline.marks.size()));
    page.text(" dated entries, one row per category\" width=\"100%\" height=\"");
    page.number(axis + AxisHeight);
    page.text("\">\n");
    size_t next = 0; // the marks come row by row
    for (size_t row = 0; row < timeline.rowTabs.size(); ++row) {
        page.text("<g class=\"row");
        page.number(static_cast<int>(row) + 1);
        page.text("\">\n<text x=\"0\" y=\"");
        page.number(static_cast<int>(row) * RowHeight + RowNameBaseline);
        page.text("\">");
        const int tab = timeline.rowTabs[row];
        if (tab == OtherCategoriesRow)
            page.text("Other categories");
        else
            page.firstVisible({d.categories[categoryShownOnTab(d, tab)]}, "Unnamed category", LineBreaks::Spaces);
        page.text("</text>\n");
        for (; next < timeline.marks.size() && timeline.marks[next].row == static_cast<int>(row); ++next)
            timelineMark(page, d, timeline, timeline.marks[next]);
        page.text("</g>\n");
    }
    timelineAxis(page, timeline, axis);
    page.text("</svg>\n");
}

void chronology(PageOutput &page, const Biography &d, const std::vector<DatedEntry> &dated)
{
    if (dated.empty()) return;
    page.text("<section id=\"chronology\">\n<h2>Chronology</h2>\n");
    timelinePicture(page, d, timelineOf(dated));
    page.text("<ol class=\"chronology\">\n");
    for (const DatedEntry &e : chronologyOrder(dated)) {
        page.text("<li>");
        entryLink(page, e.entry);
        datedTitle(page, d, e.entry, e.years);
        page.text("</a></li>\n");
    }
    page.text("</ol>\n</section>\n");
}

// Room for the usual page: the values once each, a little more for their
// escapes, and the markup around them. A value that needs more makes room
// for itself.
size_t roomEstimate(const Biography &d)
{
    size_t size = 4096 + sizeof PageStyle + 30 * MaxTimelineRows + 2 * d.topic.size();
    for (int i = 0; i < d.categoryCount; ++i) size += 2 * (2 * d.categories[i].size() + 100);
    for (int i = 0; i < d.entryCount; ++i) {
        size += 600; // with its line in the chronology and its mark
        for (const EntryField &field : EntryFields) size += (d.*field.column)[i].size();
        size += 2 * d.files[i].size(); // each path is written three times
    }
    return size + size / 4;
}

} // namespace

BiographyBytes writeWebPage(const Biography &d, const AnsiCodePage &codePage, std::string_view language,
                            const PageFolders &ansiFolders)
{
    PageOutput page(roomEstimate(d), codePage);
    const std::string pageFolder(page.asUtf8(ansiFolders.page));
    const std::string biographyFolder(page.asUtf8(ansiFolders.biography));
    const PageFolders folders{pageFolder, biographyFolder};
    const TabEntries entries = entriesOfEveryTab(d);
    const PagePlan plan = pagePlan(page, d, entries);
    head(page, d, language);
    page.text("<body>\n<h1>");
    page.firstVisible({d.topic, d.fileName}, "Biography", LineBreaks::Breaks);
    page.text("</h1>\n");
    contents(page, d, entries);
    chronology(page, d, plan.dated);
    sections(page, d, entries, plan, folders);
    page.text("</body>\n</html>\n");
    return page.finish();
}

#include "document/core/web_page_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

constexpr bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

constexpr std::array<bool, 256> urlSafeBytes()
{
    std::array<bool, 256> safe{};
    for (int b = 0; b < 256; ++b) safe[b] = (b >= '0' && b <= '9') || isAsciiLetter(static_cast<char>(b));
    for (unsigned char b : {'-', '.', '_', '~', '!', '$', '(', ')', '*', '+', ',', ';', '=', '@', '/'})
        safe[b] = true;
    return safe;
}
// Bytes a link carries as they are; a path's other bytes go percent-encoded.
constexpr std::array<bool, 256> UrlSafeBytes = urlSafeBytes();

void appendPercentEncoded(std::string &link, std::string_view path)
{
    static const char Hex[] = "0123456789ABCDEF";
    for (char c : path) {
        const unsigned char b = static_cast<unsigned char>(c == '\\' ? '/' : c);
        if (UrlSafeBytes[b]) {
            link += static_cast<char>(b);
        } else {
            link += '%';
            link += Hex[b >> 4];
            link += Hex[b & 15];
        }
    }
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

    void link(std::string_view ansiPath) { text(fileLink(asUtf8(ansiPath))); }

    size_t written() const { return static_cast<size_t>(at_ - bytes_.get()); }
    void rollBack(size_t size) { at_ = bytes_.get() + size; }

    BiographyBytes finish()
    {
        const size_t size = written(); // before the block is handed on
        return BiographyBytes(std::move(bytes_), size);
    }

private:
    static constexpr size_t Slack = 64; // escapeText writes a little past its output

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
// page of its own when printed.
const char PageStyle[] =
    "body { margin: 2em auto; max-width: 45em; padding: 0 1em; color: #000; background: #fff;"
    " font-family: Georgia, \"Times New Roman\", serif; line-height: 1.45; }\n"
    "h1 { font-size: 2em; margin-bottom: 0.5em; }\n"
    "h2 { font-size: 1.5em; border-bottom: 1px solid #000; }\n"
    "h3 { font-size: 1.15em; margin: 1.5em 0 0.3em; page-break-after: avoid; }\n"
    "nav ul { list-style: none; padding: 0; }\n"
    "dl { margin: 0.3em 0; }\n"
    "dt { float: left; clear: left; width: 7.5em; font-weight: bold; }\n"
    "dd { margin: 0 0 0.2em 8em; }\n"
    "ul.files { padding-left: 1.2em; }\n"
    "a { color: #1a3e80; }\n"
    "section { margin-top: 2.5em; }\n"
    "@media print {\n"
    "  body { margin: 0; max-width: none; padding: 0; }\n"
    "  a { color: #000; text-decoration: none; }\n"
    "  section { margin-top: 0; page-break-before: always; }\n"
    "}\n";

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
    page.text(PageStyle);
    page.text("</style>\n</head>\n");
}

void contents(PageOutput &page, const Biography &d, const TabEntries &entries)
{
    if (d.categoryCount == 0) return;
    page.text("<nav>\n<h2>Contents</h2>\n<ul>\n");
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
        page.text(listed ? "<dt>" : "<dl>\n<dt>");
        listed = true;
        page.text(field.label);
        page.text("</dt><dd>");
        page.value(value, LineBreaks::Breaks);
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

void fileList(PageOutput &page, const std::string &files)
{
    bool listed = false;
    for (const std::string &path : parseFileList(files)) {
        if (path.empty()) continue;
        page.text(listed ? "<li><a href=\"" : "<ul class=\"files\">\n<li><a href=\"");
        listed = true;
        page.link(path);
        page.text("\">");
        page.value(path, LineBreaks::Breaks);
        page.text("</a></li>\n");
    }
    if (listed) page.text("</ul>\n");
}

void entry(PageOutput &page, const Biography &d, int i)
{
    page.text("<article>\n<h3>");
    page.firstVisible({d.title[i]}, "Untitled entry", LineBreaks::Breaks);
    page.text("</h3>\n");
    fieldList(page, d, i);
    detail(page, d.detail[i]);
    fileList(page, d.files[i]);
    page.text("</article>\n");
}

void sections(PageOutput &page, const Biography &d, const TabEntries &entries)
{
    for (int tab = 0; tab < d.categoryCount; ++tab) {
        const std::string &name = d.categories[categoryShownOnTab(d, tab)];
        page.text("<section id=\"category-");
        page.number(tab + 1);
        page.text("\">\n<h2>");
        categoryName(page, name);
        page.text("</h2>\n");
        const std::vector<int> &listed = entries[tab];
        for (int i : listed) entry(page, d, i);
        if (listed.empty()) page.text("<p>No entries.</p>\n");
        page.text("</section>\n");
    }
}

// Room for the usual page: the values once each, a little more for their
// escapes, and the markup around them. A value that needs more makes room
// for itself.
size_t roomEstimate(const Biography &d)
{
    size_t size = 4096 + sizeof PageStyle + 2 * d.topic.size();
    for (int i = 0; i < d.categoryCount; ++i) size += 2 * (2 * d.categories[i].size() + 100);
    for (int i = 0; i < d.entryCount; ++i) {
        size += 300;
        for (const EntryField &field : EntryFields) size += (d.*field.column)[i].size();
        size += d.files[i].size(); // each path is written twice
    }
    return size + size / 4;
}

} // namespace

std::string fileLink(std::string_view path)
{
    std::string link;
    link.reserve(8 + 3 * path.size());
    const bool drive = path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':';
    const bool network = path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
                         (path[1] == '\\' || path[1] == '/');
    if (drive) {
        link = "file:///";
        link.append(path.data(), 2);
        path.remove_prefix(2);
    } else if (network) {
        link = "file:";
    }
    // Anything else is a path relative to the page, written as one.
    appendPercentEncoded(link, path);
    return link;
}

BiographyBytes writeWebPage(const Biography &d, const AnsiCodePage &codePage, std::string_view language)
{
    PageOutput page(roomEstimate(d), codePage);
    const TabEntries entries = entriesOfEveryTab(d);
    head(page, d, language);
    page.text("<body>\n<h1>");
    page.firstVisible({d.topic, d.fileName}, "Biography", LineBreaks::Breaks);
    page.text("</h1>\n");
    contents(page, d, entries);
    sections(page, d, entries);
    page.text("</body>\n</html>\n");
    return page.finish();
}

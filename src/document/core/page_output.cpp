#include "document/core/page_output.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

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

} // namespace

PageOutput::PageOutput(size_t room, const AnsiCodePage &codePage)
    : bytes_(new char[room + Slack]), at_(bytes_.get()), end_(at_ + room), toUtf8_(codePage.toUtf8),
      converted_(!codePage.singleByte), table_(converted_ ? Utf8Table : singleByteTable(toUtf8_))
{
}

void PageOutput::number(int n) { text(std::to_string(n)); }

void PageOutput::value(std::string_view ansi, LineBreaks breaks)
{
    const std::string_view text = converted_ ? asUtf8(ansi) : ansi;
    makeRoom(text.size() * WorstBytesPerByte);
    at_ = escapeText(text.data(), text.data() + text.size(), at_, breaks, table_);
}

bool PageOutput::visibleValue(std::string_view ansi, LineBreaks breaks)
{
    const size_t start = written();
    value(ansi, breaks);
    if (showsAnything(bytes_.get() + start, at_)) return true;
    at_ = bytes_.get() + start;
    return false;
}

void PageOutput::firstVisible(std::initializer_list<std::string_view> candidates, std::string_view last,
                              LineBreaks breaks)
{
    for (std::string_view candidate : candidates)
        if (visibleValue(candidate, breaks)) return;
    text(last);
}

void PageOutput::utf8Value(std::string_view utf8, LineBreaks breaks)
{
    makeRoom(utf8.size() * WorstBytesPerByte);
    at_ = escapeText(utf8.data(), utf8.data() + utf8.size(), at_, breaks, Utf8Table);
}

BiographyBytes PageOutput::finish()
{
    const size_t size = written(); // before the block is handed on
    return BiographyBytes(std::move(bytes_), size);
}

std::string_view PageOutput::asUtf8(std::string_view ansi)
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

// The first estimate makes this rare.
void PageOutput::grow(size_t size)
{
    const size_t used = written();
    const size_t room = std::max(2 * (used + size), used + size + (1u << 20));
    std::unique_ptr<char[]> larger(new char[room + Slack]);
    std::memcpy(larger.get(), bytes_.get(), used);
    bytes_ = std::move(larger);
    at_ = bytes_.get() + used;
    end_ = bytes_.get() + room;
}

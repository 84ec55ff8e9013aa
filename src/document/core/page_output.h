// The web page as it is being written: one block that grows only when a
// value needs more than it has left, and the document's values converted
// from the ANSI code page and escaped for HTML on their way into it.
//
// Values are whatever a file held: markup characters, control characters,
// any byte above 0x7F. Each byte goes through one table of what it becomes:
// itself, a character reference for the five markup characters, nothing for
// the characters HTML forbids. Line ends become what their place calls for.
// A single-byte code page gets a table of its own, made once per page from
// its conversion, and is converted and escaped in the same pass; any other
// is converted value by value to UTF-8, whose sequences are checked for the
// forbidden characters above ASCII.
//
// Portable: no Windows headers here.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "document/core/biography_writer.h"
#include "document/core/web_page_writer.h"

enum class LineBreaks {
    Spaces,     // in the page's title, which holds text only
    Breaks,     // each line end a <br>
    Paragraphs, // an empty line ends a paragraph, a single line end is a <br>
};

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

class PageOutput {
public:
    PageOutput(size_t room, const AnsiCodePage &codePage);

    void text(std::string_view text)
    {
        makeRoom(text.size());
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
    }

    void number(int n);

    // A value from the document, converted and escaped.
    void value(std::string_view ansi, LineBreaks breaks);

    // Like value(); true when the value shows anything, and otherwise
    // nothing is written.
    bool visibleValue(std::string_view ansi, LineBreaks breaks);

    // The first of the texts that shows anything, the last one if none does.
    void firstVisible(std::initializer_list<std::string_view> candidates, std::string_view last,
                      LineBreaks breaks);

    // Text already in UTF-8, escaped.
    void utf8Value(std::string_view utf8, LineBreaks breaks);

    size_t written() const { return static_cast<size_t>(at_ - bytes_.get()); }
    void rollBack(size_t size) { at_ = bytes_.get() + size; }

    BiographyBytes finish();

    // `ansi` in UTF-8, good until the next conversion.
    std::string_view asUtf8(std::string_view ansi);

private:
    static constexpr size_t Slack = 64; // escaping writes a little past its output

    void makeRoom(size_t size)
    {
        if (static_cast<size_t>(end_ - at_) < size) grow(size);
    }
    void grow(size_t size);

    std::unique_ptr<char[]> bytes_;
    char *at_;
    char *end_;
    AnsiToUtf8 toUtf8_;
    bool converted_; // to UTF-8 before escaping, value by value
    ByteTable table_;
    std::unique_ptr<char[]> scratch_;
    size_t scratchSize_ = 0;
};

// The biography file format, written byte for byte.
//
// Line ends are stored as CR LF on every platform: each LF of the layout and
// each LF inside a value becomes CR LF here, so the bytes do not depend on a
// text-mode stream. A value holding CR LF is therefore stored as CR CR LF.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "document/core/biography_document.h"

// A file's bytes in a block of their own: a full document's ten megabytes
// are made once, where a string would first be cleared or copied. They may
// start some way into the block.
class BiographyBytes {
public:
    BiographyBytes(std::unique_ptr<char[]> bytes, size_t size, size_t start = 0);
    explicit BiographyBytes(std::string_view bytes);
    std::string_view view() const { return std::string_view(bytes_.get() + start_, size_ - start_); }

private:
    std::unique_ptr<char[]> bytes_;
    size_t size_;
    size_t start_;
};

// What the file's first line says about its encoding.
struct EncodingDeclaration {
    std::string_view name; // none: the line names no encoding
    // Named only when some byte of the file is above 0x7F: a file of plain
    // ASCII reads the same in any encoding, and keeps the line it always had.
    bool onlyBeyondAscii = false;
};

class SingleByteTable;

// The whole file for `document`, exactly as it is stored on disk, its
// values as they are held.
BiographyBytes writeBiography(const Biography &document, EncodingDeclaration declaration = {});
// The same with the values, which are UTF-8, converted to the single-byte
// code page of `table` (as held without one); nothing when some character
// is not in that code page.
std::optional<BiographyBytes> writeBiography(const Biography &document, EncodingDeclaration declaration,
                                             const SingleByteTable *table);

// The same bytes as a string, for callers that keep or compare them.
std::string biographyFileBytes(const Biography &document);

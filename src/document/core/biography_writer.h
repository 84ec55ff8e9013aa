// The biography file format, written byte for byte.
//
// Line ends are stored as CR LF on every platform: each LF of the layout and
// each LF inside a value becomes CR LF here, so the bytes do not depend on a
// text-mode stream. A value holding CR LF is therefore stored as CR CR LF.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "document/core/biography_document.h"

// A file's bytes in a block of their own: a full document's ten megabytes
// are made once, where a string would first be cleared or copied.
class BiographyBytes {
public:
    BiographyBytes(std::unique_ptr<char[]> bytes, size_t size);
    std::string_view view() const { return std::string_view(bytes_.get(), size_); }

private:
    std::unique_ptr<char[]> bytes_;
    size_t size_;
};

// The whole file for `document`, exactly as it is stored on disk.
BiographyBytes writeBiography(const Biography &document);

// The same bytes as a string, for callers that keep or compare them.
std::string biographyFileBytes(const Biography &document);

// Between a biography file's bytes and the text in memory: which encoding
// a file is in when it is read, and which one it is written in.
//
// Reading: a UTF-8 byte order mark decides; else the encoding the XML
// declaration names; else the file is UTF-8 when its bytes are valid UTF-8,
// and in the legacy code page otherwise, as files were always written.
// Writing: the legacy code page, as before, unless the text holds a
// character it lacks or the file is UTF-8 already; then UTF-8. Either way
// the first line names the encoding, unless the file is plain ASCII.
#pragma once

#include <string>
#include <string_view>

#include "document/core/biography_document.h"
#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"
#include "document/core/code_pages.h"

// How this computer holds text.
struct TextCodePages {
    // The legacy ANSI code page, for files that name no encoding.
    const LegacyCodePage &legacy;
    // Memory text is UTF-8; else it is in the legacy code page, as on
    // Windows before the program could ask for UTF-8.
    bool memoryIsUtf8;
};

// A file's bytes as memory text, ready to be loaded.
class DecodedFile {
public:
    enum class Outcome { Read, UnknownEncoding };
    Outcome outcome = Outcome::Read;
    std::string encodingName; // as declared, for UnknownEncoding
    bool readAsUtf8 = false;  // the file is UTF-8, and is to stay so
    // Bytes that were no character in the file's encoding, now U+FFFD.
    bool charactersReplaced = false;
    // The first character memory text cannot hold (UTF-8); such characters
    // are "?" in memory. Only where memory text is not UTF-8.
    std::string firstLost;

    // Replaces the document with the file's, as loadBiographyBytes does;
    // the report also says what of the text could not be read or kept.
    LoadReport load() const;

private:
    friend DecodedFile decodeBiographyFile(std::string_view bytes, const TextCodePages &pages);
    std::string_view bytes_; // the file's own, unless inConverted_
    std::string converted_;
    bool inConverted_ = false;
    // A file in the legacy single-byte code page is converted value by
    // value as it is loaded: a copy of a whole large file would cost more.
    const SingleByteTable *table_ = nullptr;
};

// `bytes` must outlive the result, which may point into them.
DecodedFile decodeBiographyFile(std::string_view bytes, const TextCodePages &pages);

// The bytes a save writes for `document`, and whether they are UTF-8.
struct EncodedFile {
    BiographyBytes bytes;
    bool utf8;
};
EncodedFile encodeBiographyFile(const Biography &document, const TextCodePages &pages);

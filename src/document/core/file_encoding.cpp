#include "document/core/file_encoding.h"

#include <optional>
#include <utility>

#include "document/core/utf8_text.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr EncodingDeclaration Utf8Declaration = {"UTF-8", false};

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

size_t skipBlanks(std::string_view text, size_t i)
{
    while (i < text.size() && isBlank(text[i])) ++i;
    return i;
}

// The encoding the XML declaration at the start of the file names; none
// when there is no declaration or it names no encoding. Blanks before the
// declaration are forgiven: XML would refuse the file, but its author meant
// the name.
std::optional<std::string_view> declaredEncoding(std::string_view bytes)
{
    constexpr size_t LongestDeclaration = 1000;
    size_t i = skipBlanks(bytes, 0);
    if (!startsWith(bytes.substr(i), "<?xml") || i + 5 >= bytes.size() || !isBlank(bytes[i + 5])) return {};
    const std::string_view rest = bytes.substr(i, LongestDeclaration);
    const std::string_view declaration = rest.substr(0, rest.find("?>"));
    for (size_t at = declaration.find("encoding"); at != std::string_view::npos;
         at = declaration.find("encoding", at + 1)) {
        if (!isBlank(declaration[at - 1])) continue;
        size_t p = skipBlanks(declaration, at + 8);
        if (p == declaration.size() || declaration[p] != '=') continue;
        p = skipBlanks(declaration, p + 1);
        if (p == declaration.size() || (declaration[p] != '"' && declaration[p] != '\'')) return {};
        const size_t close = declaration.find(declaration[p], p + 1);
        if (close == std::string_view::npos) return {};
        return declaration.substr(p + 1, close - p - 1);
    }
    return {};
}

// The code page the file is in, as the byte order mark, the declaration or
// the bytes themselves say; 0 for a name Memorion does not read.
unsigned sourceCodePage(std::string_view bytes, const LegacyCodePage &legacy, std::string &declaredName)
{
    if (startsWith(bytes, ByteOrderMark)) return Utf8CodePage;
    if (const std::optional<std::string_view> name = declaredEncoding(bytes)) {
        declaredName.assign(*name);
        return codePageNamed(*name);
    }
    // Plain ASCII is read alike either way; it counts as legacy, so that
    // it is written as it always was.
    return !isAscii(bytes) && isValidUtf8(bytes) ? Utf8CodePage : legacy.number();
}

} // namespace

DecodedFile decodeBiographyFile(std::string_view bytes, const TextCodePages &pages)
{
    DecodedFile file;
    const LegacyCodePage &legacy = pages.legacy;
    const unsigned source = sourceCodePage(bytes, legacy, file.encodingName);
    if (source == 0) {
        file.outcome = DecodedFile::Outcome::UnknownEncoding;
        return file;
    }
    if (startsWith(bytes, ByteOrderMark)) bytes.remove_prefix(ByteOrderMark.size());
    file.readAsUtf8 = source == Utf8CodePage;
    // Every code page that is read keeps ASCII as it is.
    file.bytes_ = bytes;
    if (isAscii(bytes)) return file;
    const unsigned memory = pages.memoryIsUtf8 ? Utf8CodePage : legacy.number();
    if (source == memory && (source != Utf8CodePage || isValidUtf8(bytes))) return file;
    // The one conversion whose speed matters: a file as files were always
    // written, opened where memory is UTF-8.
    if (source == legacy.number() && legacy.table()) {
        file.table_ = legacy.table();
        return file;
    }

    std::string utf8;
    Conversion conversion = Conversion::Exact;
    // Memory in a legacy code page has no U+FFFD: "?" stands in for it.
    if (source == Utf8CodePage)
        file.charactersReplaced = appendMendedUtf8(bytes, utf8, pages.memoryIsUtf8 ? ReplacementCharacter : "?");
    else if (source == legacy.number())
        conversion = legacy.toUtf8(bytes, utf8);
    else
        conversion = legacy.system().toUtf8(source, bytes, utf8);
    if (conversion == Conversion::Unavailable) {
        file.outcome = DecodedFile::Outcome::UnknownEncoding;
        if (file.encodingName.empty()) file.encodingName = encodingNameOf(source);
        return file;
    }
    file.charactersReplaced |= conversion == Conversion::Replaced;
    if (pages.memoryIsUtf8) {
        file.converted_ = std::move(utf8);
    } else {
        legacy.fromUtf8(utf8, file.converted_, &file.firstLost);
    }
    file.inConverted_ = true;
    return file;
}

namespace {

// The file's first line, its declaration, and the rest.
std::pair<std::string_view, std::string_view> splitFirstLine(const BiographyBytes &file)
{
    const std::string_view bytes = file.view();
    const size_t body = bytes.find('\n') + 1;
    return {bytes.substr(0, body), bytes.substr(body)};
}

} // namespace

LoadReport DecodedFile::load() const
{
    LoadReport report = loadBiographyBytes(inConverted_ ? std::string_view(converted_) : bytes_, table_);
    report.charactersReplaced |= charactersReplaced;
    report.firstLost = firstLost;
    return report;
}

EncodedFile encodeBiographyFile(const Biography &document, const TextCodePages &pages)
{
    const LegacyCodePage &legacy = pages.legacy;
    const EncodingDeclaration legacyDeclaration = {encodingNameOf(legacy.number()), true};
    if (!pages.memoryIsUtf8) {
        // Memory holds the legacy code page: its text always fits.
        if (!document.fileIsUtf8) return {writeBiography(document, legacyDeclaration), false};
        const BiographyBytes held = writeBiography(document, Utf8Declaration);
        const auto [declaration, body] = splitFirstLine(held);
        std::string utf8(declaration);
        legacy.toUtf8(body, utf8);
        return {BiographyBytes(utf8), true};
    }
    if (!document.fileIsUtf8 && !legacyDeclaration.name.empty()) {
        if (legacy.table()) {
            std::optional<BiographyBytes> bytes = writeBiography(document, legacyDeclaration, legacy.table());
            if (bytes) return {std::move(*bytes), false};
        } else {
            BiographyBytes bytes = writeBiography(document, legacyDeclaration);
            const auto [declaration, body] = splitFirstLine(bytes);
            if (isAscii(body)) return {std::move(bytes), false};
            std::string converted(declaration);
            if (legacy.fromUtf8(body, converted) == Conversion::Exact) return {BiographyBytes(converted), false};
        }
    }
    return {writeBiography(document, Utf8Declaration), true};
}

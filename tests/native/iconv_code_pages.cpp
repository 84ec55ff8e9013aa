#include "iconv_code_pages.h"

#include <iconv.h>

#include <cstring>
#include <map>
#include <string>

namespace {

// glibc's names for Windows's code page numbers.
std::string iconvName(unsigned codePage)
{
    if (codePage == Utf8CodePage) return "UTF-8";
    if (codePage == 20127) return "US-ASCII";
    if (codePage > 28590 && codePage < 28606) return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

// Converts as the system does: what has no counterpart becomes `standIn`,
// and conversion goes on after it (a byte of a code page, a character of
// UTF-8).
Conversion convert(const std::string &to, const std::string &from, std::string_view in, std::string &out,
                   std::string_view standIn)
{
    // Opened once per direction and code page, and kept past the
    // destructors of statics: opening costs far more than converting.
    static auto &open = *new std::map<std::string, iconv_t>;
    auto found = open.find(to + "<" + from);
    if (found == open.end()) found = open.emplace(to + "<" + from, iconv_open(to.c_str(), from.c_str())).first;
    iconv_t cd = found->second;
    if (cd == reinterpret_cast<iconv_t>(-1)) return Conversion::Unavailable;

    Conversion result = Conversion::Exact;
    std::string buffer(4 * in.size() + 16, '\0'); // room for U+FFFD for every byte, and more
    char *input = const_cast<char *>(in.data()), *output = &buffer[0];
    size_t left = in.size(), room = buffer.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (iconv(cd, &input, &left, &output, &room) == static_cast<size_t>(-1)) {
        std::memcpy(output, standIn.data(), standIn.size());
        output += standIn.size();
        room -= standIn.size();
        result = Conversion::Replaced;
        size_t skip = 1;
        while (standIn == "?" && skip < left && (static_cast<unsigned char>(input[skip]) & 0xC0) == 0x80) ++skip;
        input += skip;
        left -= skip;
    }
    iconv(cd, nullptr, nullptr, &output, &room);
    out.append(buffer.data(), output - buffer.data());
    return result;
}

Conversion toUtf8(unsigned codePage, std::string_view bytes, std::string &utf8)
{
    return convert("UTF-8", iconvName(codePage), bytes, utf8, "\xEF\xBF\xBD");
}

Conversion fromUtf8(unsigned codePage, std::string_view text, std::string &bytes)
{
    return convert(iconvName(codePage), "UTF-8", text, bytes, "?");
}

} // namespace

const CodePageSystem &iconvCodePages()
{
    static const CodePageSystem system = {toUtf8, fromUtf8};
    return system;
}

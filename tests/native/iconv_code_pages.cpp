#include "iconv_code_pages.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <string>
#include <utility>

namespace {

// glibc's names for Windows's code page numbers.
std::string iconvName(unsigned codePage)
{
    switch (codePage) {
    case Utf8CodePage: return "UTF-8";
    case 20127: return "US-ASCII";
    case 28603: return "ISO-8859-13";
    case 28605: return "ISO-8859-15";
    default:
        if (codePage > 28590 && codePage < 28600) return "ISO-8859-" + std::to_string(codePage - 28590);
        return "CP" + std::to_string(codePage);
    }
}

// Opened once per direction and code page: opening costs far more than
// converting a value. Kept to the end, past the destructors of statics.
iconv_t converter(const std::string &to, const std::string &from)
{
    static auto &open = *new std::map<std::pair<std::string, std::string>, iconv_t>;
    auto found = open.find({to, from});
    if (found == open.end()) found = open.emplace(std::make_pair(to, from), iconv_open(to.c_str(), from.c_str())).first;
    return found->second;
}

// Converts as the system does: what has no counterpart is replaced by
// `stand-in` and skipped, one byte of input at a time.
Conversion convert(iconv_t cd, std::string_view in, std::string &out, std::string_view standIn)
{
    if (cd == reinterpret_cast<iconv_t>(-1)) return Conversion::Unavailable;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    Conversion result = Conversion::Exact;
    char *from = const_cast<char *>(in.data());
    size_t left = in.size();
    char buffer[4096];
    const auto flushInto = [&](std::string &text) {
        char *to = buffer;
        size_t room = sizeof buffer;
        iconv(cd, nullptr, nullptr, &to, &room);
        text.append(buffer, to - buffer);
    };
    while (left > 0) {
        char *to = buffer;
        size_t room = sizeof buffer;
        const size_t done = iconv(cd, &from, &left, &to, &room);
        out.append(buffer, to - buffer);
        if (done != static_cast<size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ or EINVAL: a byte or character with no counterpart, or an
        // incomplete one at the end. A character of UTF-8 is skipped
        // whole, a byte of a code page alone.
        flushInto(out);
        out += standIn;
        result = Conversion::Replaced;
        size_t skip = 1;
        if (standIn == "?")
            while (skip < left && (static_cast<unsigned char>(from[skip]) & 0xC0) == 0x80) ++skip;
        from += skip;
        left -= skip;
    }
    flushInto(out);
    return result;
}

Conversion toUtf8(unsigned codePage, std::string_view bytes, std::string &utf8)
{
    return convert(converter("UTF-8", iconvName(codePage)), bytes, utf8, "\xEF\xBF\xBD");
}

Conversion fromUtf8(unsigned codePage, std::string_view text, std::string &bytes)
{
    return convert(converter(iconvName(codePage), "UTF-8"), text, bytes, "?");
}

} // namespace

const CodePageSystem &iconvCodePages()
{
    static const CodePageSystem system = {toUtf8, fromUtf8};
    return system;
}

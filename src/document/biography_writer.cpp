#include "document/biography_writer.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "document/fact_elements.h"

namespace {

constexpr std::string_view LineEnd = "\r\n";

size_t countLineFeeds(const std::string &value)
{
    size_t count = 0;
    const char *p = value.data();
    const char *end = p + value.size();
    while ((p = static_cast<const char *>(std::memchr(p, '\n', end - p))) != nullptr) {
        ++count;
        ++p;
    }
    return count;
}

// Values are stored as held, except that each LF becomes CR LF: the same
// bytes a text-mode stream would have produced on Windows.
void appendValue(std::string &out, const std::string &value)
{
    const char *p = value.data();
    const char *end = p + value.size();
    while (p < end) {
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', end - p));
        if (lf == nullptr) {
            out.append(p, end - p);
            return;
        }
        out.append(p, lf - p);
        out.append(LineEnd);
        p = lf + 1;
    }
}

size_t storedSize(const std::string &value)
{
    return value.size() + countLineFeeds(value);
}

size_t decimalDigits(int n)
{
    size_t digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

// Working out the exact size first keeps a 10 MB document to a single
// allocation instead of a chain of reallocations and copies.
size_t fileSize(const Biography &d)
{
    size_t size = std::strlen("<?xml version=\"1.0\"?>") + 4 + std::strlen("<biography_data>") + 4 +
                  std::strlen("<topic></topic>") + 4 + storedSize(d.topic) +
                  std::strlen("<categories></categories>") + 4 + std::strlen("</biography_data>");
    for (int i = 0; i < d.categoryCount; ++i)
        size += storedSize(d.categories[i]) + 2 + (i > 0 ? 1 : 0);
    for (int i = 0; i < d.entryCount; ++i) {
        const size_t digits = decimalDigits(i + 1);
        size += (5 + digits + 3) + (6 + digits + 5); // "<fact" n ">\r\n" "</fact" n ">\r\n\r\n"
        for (const FactElement &element : FactElements) {
            const std::string &value = (d.*element.column)[i];
            if (value.empty()) continue;
            size += element.openTag.size() + storedSize(value) + element.closeTag.size() + 2;
        }
    }
    return size;
}

} // namespace

std::string biographyFileBytes(const Biography &d)
{
    std::string out;
    out.reserve(fileSize(d));

    out += "<?xml version=\"1.0\"?>\r\n\r\n";
    out += "<biography_data>\r\n\r\n";

    out += "<topic>";
    appendValue(out, d.topic);
    out += "</topic>\r\n\r\n";

    out += "<categories>";
    for (int i = 0; i < d.categoryCount; ++i) {
        if (i > 0) out += ',';
        out += '"';
        appendValue(out, d.categories[i]);
        out += '"';
    }
    out += "</categories>\r\n\r\n";

    char number[16];
    for (int i = 0; i < d.entryCount; ++i) {
        const std::string_view n(number, std::snprintf(number, sizeof number, "%d", i + 1));
        out += "<fact";
        out += n;
        out += ">\r\n";
        for (const FactElement &element : FactElements) {
            const std::string &value = (d.*element.column)[i];
            if (value.empty()) continue; // empty fields are simply not written
            out += element.openTag;
            appendValue(out, value);
            out += element.closeTag;
            out += LineEnd;
        }
        out += "</fact";
        out += n;
        out += ">\r\n\r\n";
    }

    out += "</biography_data>";
    return out;
}

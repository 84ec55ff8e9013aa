#include "document/biography_writer.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view LineEnd = "\r\n";

struct FactField {
    std::string_view openTag;
    std::string_view closeTag;
};

constexpr int FieldCount = 8;

const std::string *columnOf(const DocumentStore &d, int field)
{
    switch (field) {
    case 0: return d.title;
    case 1: return d.entryDate;
    case 2: return d.timePeriod;
    case 3: return d.keywords;
    case 4: return d.files;
    case 5: return d.category;
    case 6: return d.location;
    default: return d.detail;
    }
}

// Fields in the order they appear inside a fact block. This is the order
// older files use, so it stays even though the model orders them otherwise;
// columnOf() follows the same order.
constexpr FactField FactFields[FieldCount] = {
    {"<title>", "</title>"},       {"<entry_date>", "</entry_date>"},
    {"<period>", "</period>"},     {"<keywords>", "</keywords>"},
    {"<files>", "</files>"},       {"<category>", "</category>"},
    {"<location>", "</location>"}, {"<detail>", "</detail>"},
};

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
size_t fileSize(const DocumentStore &d)
{
    size_t size = std::strlen("<?xml version=\"1.0\"?>") + 4 + std::strlen("<biography_data>") + 4 +
                  std::strlen("<topic></topic>") + 4 + storedSize(d.topic) +
                  std::strlen("<categories></categories>") + 4 + std::strlen("</biography_data>");
    for (int i = 0; i < d.categoryCount; ++i)
        size += storedSize(d.categories[i]) + 2 + (i > 0 ? 1 : 0);
    for (int i = 0; i < d.entryCount; ++i) {
        const size_t digits = decimalDigits(i + 1);
        size += (5 + digits + 3) + (6 + digits + 5); // "<fact" n ">\r\n" "</fact" n ">\r\n\r\n"
        for (int f = 0; f < FieldCount; ++f) {
            const std::string &value = columnOf(d, f)[i];
            if (value.empty()) continue;
            size += FactFields[f].openTag.size() + storedSize(value) + FactFields[f].closeTag.size() + 2;
        }
    }
    return size;
}

} // namespace

std::string biographyFileBytes(const DocumentStore &d)
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
        for (int f = 0; f < FieldCount; ++f) {
            const std::string &value = columnOf(d, f)[i];
            if (value.empty()) continue; // empty fields are simply not written
            out += FactFields[f].openTag;
            appendValue(out, value);
            out += FactFields[f].closeTag;
            out += LineEnd;
        }
        out += "</fact";
        out += n;
        out += ">\r\n\r\n";
    }

    out += "</biography_data>";
    return out;
}

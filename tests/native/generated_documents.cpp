#include "generated_documents.h"

#include <algorithm>

#include "document/core/biography_writer.h"

namespace generated {

const std::vector<std::string> LargeFactNumbers = {
    "65536", "2147483648", "4294967297", "18446744073709551617", "123456789012345678901234567890",
};

namespace {

using Rng = std::mt19937;

int uniform(Rng &rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

bool chance(Rng &rng, double p)
{
    return std::bernoulli_distribution(p)(rng);
}

template <typename T>
const T &pick(Rng &rng, const std::vector<T> &items)
{
    return items[uniform(rng, 0, static_cast<int>(items.size()) - 1)];
}

const std::vector<std::string> Words = {
    "the", "family", "moved", "to", "Leeds", "in", "spring", "school", "began", "with", "an",
    "uncle", "who", "kept", "bees", "letters", "from", "Anna", "war", "years", "harbour",
    "1947", "3rd", "May", "piano", "lessons", "caf\xe9", "Z\xfcrich", "na\xefve", "and", "of", "a",
};

const std::vector<std::string> CategoryNames = {
    "Family", "Work", "Travel", "School", "Health", "Friends", "Music", "Home", "War years", "Letters",
};

// Plain prose with line breaks, as a user would type it.
std::string prose(Rng &rng, size_t approxBytes)
{
    std::string text;
    while (text.size() < approxBytes) {
        if (!text.empty()) text += chance(rng, 0.08) ? "\n" : " ";
        text += pick(rng, Words);
    }
    return text;
}

// Bytes a value may hold without being markup: line ends of every kind,
// Ctrl-Z, NUL, Latin-1 and UTF-8, quotes and commas.
std::string oddValue(Rng &rng)
{
    static const std::vector<std::string> bits = {
        "a", "b", "z", " ", "  ", "19", "7", ",", "\"", ";", "\r\n", "\n", "\r", "\r\r\n", "\x1a",
        std::string(1, '\0'), "\xe9", "\xc3\xa9", "\t", "word", "x y",
    };
    std::string value;
    const int n = uniform(rng, 0, 8);
    for (int i = 0; i < n; ++i) value += pick(rng, bits);
    return value;
}

const char *const FieldTagNames[] = {
    "title", "entry_date", "period", "location", "detail", "keywords", "files", "category",
};

std::string anyFieldTag(Rng &rng)
{
    return FieldTagNames[uniform(rng, 0, 7)];
}

std::string factNumber(Rng &rng, int upTo)
{
    switch (uniform(rng, 0, 9)) {
    case 0: return "0";
    case 1: return "0" + std::to_string(uniform(rng, 1, 9));
    case 2: return pick(rng, LargeFactNumbers);
    case 3: return std::to_string(uniform(rng, HighestFactNumber - 3, HighestFactNumber));
    default: return std::to_string(uniform(rng, 1, upTo));
    }
}

// Some markup to drop into values and between elements.
std::string strayTag(Rng &rng, int upTo)
{
    switch (uniform(rng, 0, 11)) {
    case 0: return "<fact" + factNumber(rng, upTo) + ">";
    case 1: return "</fact" + factNumber(rng, upTo) + ">";
    case 2: return "<" + anyFieldTag(rng) + ">";
    case 3: return "</" + anyFieldTag(rng) + ">";
    case 4: return "<topic>";
    case 5: return "</topic>";
    case 6: return "<categories>";
    case 7: return "</categories>";
    case 8: return "<" + anyFieldTag(rng) + "/>";
    case 9: return "<fact" + std::to_string(uniform(rng, 1, upTo));
    case 10: return "<biography_data>";
    default: return "<";
    }
}

std::string awkwardValue(Rng &rng, int upTo)
{
    std::string value = oddValue(rng);
    if (chance(rng, 0.25)) value.insert(uniform(rng, 0, static_cast<int>(value.size())), strayTag(rng, upTo));
    return value;
}

std::string fieldElement(Rng &rng, const std::string &tag, int upTo)
{
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const std::string value = awkwardValue(rng, upTo);
    switch (uniform(rng, 0, 14)) {
    case 0: return open + value;                                           // never closed
    case 1: return value + close;                                          // never opened
    case 2: return close + value + open;                                   // closed before opened
    case 3: return "<" + tag + " a=\"1\">" + value + close;                // attribute
    case 4: return "<" + tag + "/>";                                       // empty-element tag
    case 5: return open + value + close + open + oddValue(rng) + close;    // repeated
    case 6: return open + close;                                           // empty
    case 7: return "<" + tag + " >" + value + close;                       // blank in tag
    case 8: return open + value + "</" + anyFieldTag(rng) + ">";           // wrong closing tag
    default: return open + value + close;
    }
}

std::string factOpenTag(Rng &rng, const std::string &n)
{
    switch (uniform(rng, 0, 19)) {
    case 0: return "<fact" + n + " >";
    case 1: return "<fact" + n + " attr=\"x\">";
    case 2: return "<fact0" + n + ">";
    case 3: return "";
    default: return "<fact" + n + ">";
    }
}

std::string factCloseTag(Rng &rng, const std::string &n, int upTo)
{
    switch (uniform(rng, 0, 19)) {
    case 0: return "";
    case 1: return "</fact" + n + " >";
    case 2: return "</fact" + factNumber(rng, upTo) + ">";
    case 3: return "</fact" + n + "></fact" + n + ">";
    default: return "</fact" + n + ">";
    }
}

std::string categoryList(Rng &rng)
{
    const int names = uniform(rng, 0, 6);
    std::string list;
    for (int i = 0; i < names; ++i) {
        switch (uniform(rng, 0, 5)) {
        case 0: list += ";"; break;
        case 1: list += " \r\n "; break;
        case 2: break;
        default:
            if (i > 0) list += ",";
        }
        list += "\"" + (chance(rng, 0.1) ? std::string() : pick(rng, CategoryNames)) + "\"";
    }
    if (chance(rng, 0.15)) list += "\"unterminated";
    if (chance(rng, 0.1)) list += "junk outside quotes";
    return list;
}

// Inserts '\x7f' before the '>' of any opening fact tag whose number is
// neither small nor one of LargeFactNumbers, so that cutting and joining
// bytes cannot make up a fact number a reader would have to guess.
void keepFactNumbersKnown(std::string &bytes)
{
    size_t pos = 0;
    while ((pos = bytes.find("<fact", pos)) != std::string::npos) {
        size_t end = pos + 5;
        while (end < bytes.size() && bytes[end] >= '0' && bytes[end] <= '9') ++end;
        const std::string digits = bytes.substr(pos + 5, end - pos - 5);
        pos += 5;
        if (digits.empty() || digits[0] == '0' || end >= bytes.size() || bytes[end] != '>') continue;
        const bool small = digits.size() <= 4 && std::stoi(digits) <= HighestFactNumber;
        const bool large =
            std::find(LargeFactNumbers.begin(), LargeFactNumbers.end(), digits) != LargeFactNumbers.end();
        if (!small && !large) bytes.insert(end, "\x7f");
    }
}

std::string separator(Rng &rng)
{
    static const std::vector<std::string> separators = {"\r\n", "\r\n\r\n", "\n", "", " ", "\r", "\r\n\t"};
    return pick(rng, separators);
}

} // namespace

std::unique_ptr<Biography> randomDocument(Rng &rng, int entries, size_t detailBytes)
{
    auto doc = std::make_unique<Biography>();
    doc->topic = "Life of " + pick(rng, Words);
    const int categoryCount = uniform(rng, 1, static_cast<int>(CategoryNames.size()));
    doc->categoryCount = categoryCount;
    for (int i = 0; i < categoryCount; ++i) doc->categories[i] = CategoryNames[i];
    doc->entryCount = entries;
    for (int i = 0; i < entries; ++i) {
        doc->title[i] = prose(rng, 20);
        if (chance(rng, 0.8)) doc->entryDate[i] = std::to_string(uniform(rng, 1, 28)) + ".5." + std::to_string(uniform(rng, 1900, 2020));
        if (chance(rng, 0.5)) doc->timePeriod[i] = prose(rng, 10);
        if (chance(rng, 0.6)) doc->location[i] = pick(rng, Words);
        doc->detail[i] = prose(rng, detailBytes);
        if (chance(rng, 0.5)) doc->keywords[i] = prose(rng, 15);
        if (chance(rng, 0.3)) doc->files[i] = "\"C:\\Pictures\\" + pick(rng, Words) + ".jpg\"";
        doc->category[i] = CategoryNames[uniform(rng, 0, categoryCount - 1)];
    }
    return doc;
}

std::string wellFormedFile(Rng &rng)
{
    auto doc = randomDocument(rng, uniform(rng, 0, 15), static_cast<size_t>(uniform(rng, 0, 200)));
    // Let some values carry the bytes that need care: line ends, Ctrl-Z, NUL.
    for (int i = 0; i < doc->entryCount; ++i) {
        if (chance(rng, 0.3)) doc->detail[i] += oddValue(rng);
        if (chance(rng, 0.2)) doc->title[i] = oddValue(rng);
        if (chance(rng, 0.1)) doc->category[i].clear();
    }
    if (chance(rng, 0.2)) doc->categoryCount = 0;
    return biographyFileBytes(*doc);
}

std::string awkwardFile(Rng &rng)
{
    std::vector<std::string> pieces;
    if (chance(rng, 0.9)) pieces.push_back("<?xml version=\"1.0\"?>");
    if (chance(rng, 0.9)) pieces.push_back(chance(rng, 0.9) ? "<biography_data>" : "<biography_data");

    const int topics = chance(rng, 0.8) ? 1 : uniform(rng, 0, 2);
    for (int i = 0; i < topics; ++i) {
        switch (uniform(rng, 0, 5)) {
        case 0: pieces.push_back("<topic>" + awkwardValue(rng, 10)); break;
        case 1: pieces.push_back("</topic>" + oddValue(rng) + "<topic>"); break;
        default: pieces.push_back("<topic>" + awkwardValue(rng, 10) + "</topic>");
        }
    }
    const int lists = chance(rng, 0.7) ? 1 : uniform(rng, 0, 2);
    for (int i = 0; i < lists; ++i) {
        switch (uniform(rng, 0, 6)) {
        case 0: pieces.push_back("<categories>" + categoryList(rng)); break;
        case 1: pieces.push_back("<categories></categories>"); break;
        case 2: pieces.push_back("<categories a=\"b\">" + categoryList(rng) + "</categories>"); break;
        default: pieces.push_back("<categories>" + categoryList(rng) + "</categories>");
        }
    }

    const int facts = uniform(rng, 0, 14);
    const int upTo = facts + 3;
    int next = 1;
    for (int i = 0; i < facts; ++i) {
        std::string n;
        switch (uniform(rng, 0, 5)) {
        case 0: n = factNumber(rng, upTo); break;
        case 1: next += uniform(rng, 1, 3); n = std::to_string(next++); break; // a gap
        default: n = std::to_string(next++);
        }
        std::string fact = factOpenTag(rng, n) + separator(rng);
        const int fields = uniform(rng, 0, 9);
        for (int f = 0; f < fields; ++f) {
            fact += fieldElement(rng, anyFieldTag(rng), upTo) + separator(rng);
            if (chance(rng, 0.1)) fact += strayTag(rng, upTo);
        }
        fact += factCloseTag(rng, n, upTo);
        pieces.push_back(fact);
    }
    // Field elements outside any fact, which must not be picked up.
    if (chance(rng, 0.3)) pieces.push_back(fieldElement(rng, anyFieldTag(rng), upTo));
    if (chance(rng, 0.9)) pieces.push_back("</biography_data>");

    // Move pieces about so that facts overlap, close before they open and
    // topic or list tags end up inside facts.
    const int moves = chance(rng, 0.5) ? uniform(rng, 1, 4) : 0;
    for (int m = 0; m < moves && pieces.size() > 1; ++m) {
        const int a = uniform(rng, 0, static_cast<int>(pieces.size()) - 1);
        const int b = uniform(rng, 0, static_cast<int>(pieces.size()) - 1);
        switch (uniform(rng, 0, 2)) {
        case 0: std::swap(pieces[a], pieces[b]); break;
        case 1: {
            const std::string copy = pieces[a];
            pieces.insert(pieces.begin() + b, copy);
            break;
        }
        default: {
            // Split a piece and put another one in between.
            const std::string other = pieces[b];
            std::string &piece = pieces[a];
            piece.insert(static_cast<size_t>(uniform(rng, 0, static_cast<int>(piece.size()))), other);
        }
        }
    }

    std::string bytes;
    for (const std::string &piece : pieces) {
        bytes += piece;
        bytes += chance(rng, 0.05) ? oddValue(rng) + strayTag(rng, upTo) : separator(rng);
    }
    if (chance(rng, 0.2)) bytes += "\x1a";
    keepFactNumbersKnown(bytes);
    return bytes;
}

std::string damagedFile(Rng &rng)
{
    std::string bytes = wellFormedFile(rng);
    const int damages = uniform(rng, 1, 6);
    for (int d = 0; d < damages; ++d) {
        const int at = uniform(rng, 0, static_cast<int>(bytes.size()));
        switch (uniform(rng, 0, 4)) {
        case 0: bytes.insert(at, strayTag(rng, 20)); break;
        case 1: bytes.erase(at, uniform(rng, 1, 12)); break;
        case 2: {
            const std::string stretch = bytes.substr(at, uniform(rng, 1, 40));
            bytes.insert(uniform(rng, 0, static_cast<int>(bytes.size())), stretch);
            break;
        }
        case 3: bytes.insert(at, oddValue(rng)); break;
        default: {
            // Swap two whole fact blocks, so numbers no longer ascend.
            const size_t a = bytes.find("<fact", at);
            if (a == std::string::npos) break;
            const size_t aEnd = bytes.find("\r\n\r\n", a);
            const size_t b = aEnd == std::string::npos ? aEnd : bytes.find("<fact", aEnd);
            const size_t bEnd = b == std::string::npos ? b : bytes.find("\r\n\r\n", b);
            if (bEnd == std::string::npos) break;
            const std::string first = bytes.substr(a, aEnd - a);
            const std::string second = bytes.substr(b, bEnd - b);
            bytes.replace(b, bEnd - b, first);
            bytes.replace(a, aEnd - a, second);
        }
        }
    }
    keepFactNumbersKnown(bytes);
    return bytes;
}

std::string oversizedFile(Rng &rng)
{
    std::string bytes = "<?xml version=\"1.0\"?>\r\n<biography_data>\r\n<topic>big</topic>\r\n<categories>";
    const int names = chance(rng, 0.5) ? uniform(rng, 495, 510) : uniform(rng, 0, 3);
    for (int i = 0; i < names; ++i) bytes += (i > 0 ? ",\"" : "\"") + std::to_string(i) + "\"";
    bytes += "</categories>\r\n";
    const int facts = uniform(rng, 1015, 1035);
    std::vector<int> numbers;
    for (int n = 1, i = 0; i < facts; ++i) {
        n += chance(rng, 0.05) ? uniform(rng, 2, 4) : 1;
        numbers.push_back(n);
    }
    std::shuffle(numbers.begin(), numbers.end(), rng);
    for (int n : numbers) {
        const std::string tag = "fact" + std::to_string(n);
        bytes += "<" + tag + "><title>" + std::to_string(n) + "</title><category>c" +
                 std::to_string(uniform(rng, 0, 600)) + "</category></" + tag + ">\r\n";
    }
    bytes += "</biography_data>";
    return bytes;
}

std::vector<std::string> sampleFiles(unsigned seed, int count)
{
    Rng rng(seed);
    std::vector<std::string> files;
    files.reserve(count);
    for (int i = 0; i < count; ++i) {
        switch (i % 10) {
        case 0:
        case 1: files.push_back(wellFormedFile(rng)); break;
        case 2:
        case 3:
        case 4: files.push_back(damagedFile(rng)); break;
        case 9: files.push_back(i % 40 == 9 ? oversizedFile(rng) : awkwardFile(rng)); break;
        default: files.push_back(awkwardFile(rng));
        }
    }
    return files;
}

} // namespace generated

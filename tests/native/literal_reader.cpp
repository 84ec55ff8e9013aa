#include "literal_reader.h"

namespace literal {

std::string textFromBytes(const std::string &fileBytes)
{
    std::string text;
    for (size_t i = 0; i < fileBytes.size(); ++i) {
        if (fileBytes[i] == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;
        text += fileBytes[i];
    }
    return text;
}

std::string extractBetween(const std::string &text, const std::string &startTag,
                           const std::string &endTag)
{
    const size_t s = text.find(startTag);
    const size_t e = text.find(endTag);
    if (s == std::string::npos || e == std::string::npos) return "";
    const size_t start = s + startTag.size();
    if (e <= start) return "";
    return text.substr(start, e - start);
}

namespace {

void rebuildCategories(Document &doc)
{
    doc.categories.clear();
    for (Entry &entry : doc.entries) {
        if (entry.category == "") entry.category = "Default";
        bool known = false;
        for (const std::string &name : doc.categories)
            if (name == entry.category) known = true;
        if (known) continue;
        if ((int)doc.categories.size() < MaxCategories)
            doc.categories.push_back(entry.category);
        else
            doc.categoriesDropped = true;
    }
}

} // namespace

Document load(const std::string &text, int highestNumber, const std::vector<std::string> &largeNumbers)
{
    Document doc;

    std::vector<std::string> numbers;
    for (int n = 1; n <= highestNumber; ++n)
        if (text.find("<fact" + std::to_string(n) + ">") != std::string::npos)
            numbers.push_back(std::to_string(n));
    for (const std::string &n : largeNumbers)
        if (text.find("<fact" + n + ">") != std::string::npos) numbers.push_back(n);
    doc.factCount = (int)numbers.size();
    if ((int)numbers.size() > MaxEntries) {
        numbers.resize(MaxEntries);
        doc.entriesDropped = true;
    }

    doc.topic = extractBetween(text, "<topic>", "</topic>");

    for (const std::string &n : numbers) {
        const std::string fact = extractBetween(text, "<fact" + n + ">", "</fact" + n + ">");
        Entry entry;
        entry.title = extractBetween(fact, "<title>", "</title>");
        entry.entryDate = extractBetween(fact, "<entry_date>", "</entry_date>");
        entry.timePeriod = extractBetween(fact, "<period>", "</period>");
        entry.location = extractBetween(fact, "<location>", "</location>");
        entry.detail = extractBetween(fact, "<detail>", "</detail>");
        entry.keywords = extractBetween(fact, "<keywords>", "</keywords>");
        entry.files = extractBetween(fact, "<files>", "</files>");
        entry.category = extractBetween(fact, "<category>", "</category>");
        doc.entries.push_back(entry);
    }

    rebuildCategories(doc);
    doc.categoriesDropped = false;

    const std::string list = extractBetween(text, "<categories>", "</categories>");
    std::vector<std::string> names;
    bool inside = false;
    std::string current;
    for (char c : list) {
        if (c == '"') {
            if (inside) {
                if ((int)names.size() < MaxCategories)
                    names.push_back(current);
                else
                    doc.categoriesDropped = true;
            }
            current = "";
            inside = !inside;
        } else if (inside) {
            current += c;
        }
    }
    // Only the list that is kept can have lost names.
    if (!names.empty()) {
        doc.categories = names;
    } else {
        doc.categoriesDropped = false;
        rebuildCategories(doc);
    }
    return doc;
}

} // namespace literal

#include "document/core/gedcom_dates.h"

#include <vector>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The words of a date: a phrase in parentheses and a calendar escape
// ("@#DFRENCH R@") are one word each, blanks and all.
std::vector<std::string_view> wordsOf(std::string_view text)
{
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isBlank(text[at])) ++at;
        if (at == text.size()) break;
        size_t end = at;
        if (text[at] == '(') {
            end = text.find(')', at);
            end = end == std::string_view::npos ? text.size() : end + 1;
        } else if (text.substr(at, 3) == "@#D") {
            end = text.find('@', at + 3);
            end = end == std::string_view::npos ? text.size() : end + 1;
        } else {
            while (end < text.size() && !isBlank(text[end])) ++end;
        }
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

const char *const GregorianMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
const char *const FrenchMonths[] = {"VEND", "BRUM", "FRIM", "NIVO", "PLUV", "VENT", "GERM",
                                    "FLOR", "PRAI", "MESS", "THER", "FRUC", "COMP"};
const char *const HebrewMonths[] = {"TSH", "CSH", "KSL", "TVT", "SHV", "ADR", "ADS",
                                    "NSN", "IYR", "SVN", "TMZ", "AAV", "ELL"};

enum class Calendar { Gregorian, French, Hebrew, Other };

// The month's number in its calendar, or 0.
int monthNumber(const std::string &word, Calendar calendar)
{
    const char *const *months = calendar == Calendar::French   ? FrenchMonths
                                : calendar == Calendar::Hebrew ? HebrewMonths
                                                               : GregorianMonths;
    const int count = calendar == Calendar::Gregorian || calendar == Calendar::Other ? 12 : 13;
    for (int m = 0; m < count; ++m)
        if (word == months[m]) return m + 1;
    return 0;
}

bool allDigits(std::string_view word, size_t most)
{
    if (word.empty() || word.size() > most) return false;
    for (char c : word)
        if (!isDigit(c)) return false;
    return true;
}

int number(std::string_view digits)
{
    int n = 0;
    for (char c : digits) n = n * 10 + (c - '0');
    return n;
}

// A year, or a Gregorian dual year "1749/50"; -1 when it is neither.
int yearOf(std::string_view word)
{
    const size_t slash = word.find('/');
    if (slash != std::string_view::npos) {
        if (!allDigits(word.substr(slash + 1), 2) || word.size() - slash != 3) return -1;
        word = word.substr(0, slash);
    }
    return allDigits(word, 6) ? number(word) : -1;
}

struct Reader {
    std::vector<std::string> words; // upper-cased
    size_t at = 0;

    bool done() const { return at == words.size(); }
    bool take(const char *word)
    {
        if (done() || words[at] != word) return false;
        ++at;
        return true;
    }

    // [calendar] [[day] month] year [B.C.]: the year counts toward the
    // span only in the calendars whose years are ours.
    bool date(GedcomDate &first, YearSpan &years)
    {
        Calendar calendar = Calendar::Gregorian;
        if (!done()) {
            const std::string &w = words[at];
            const bool escape = w.compare(0, 3, "@#D") == 0;
            const std::string name = escape ? w.substr(3, w.size() - 4) : w;
            if (escape || name == "GREGORIAN" || name == "JULIAN" || name == "HEBREW" ||
                name == "FRENCH_R" || (name.size() > 1 && name[0] == '_')) {
                ++at;
                calendar = name == "GREGORIAN" || name == "JULIAN" ? Calendar::Gregorian
                           : name == "HEBREW"                      ? Calendar::Hebrew
                           : name == "FRENCH R" || name == "FRENCH_R" ? Calendar::French
                                                                      : Calendar::Other;
            }
        }
        // Day, month and year; month and year; or the year alone.
        const size_t left = words.size() - at;
        int day = 0, month = 0, year = -1;
        if (left >= 3 && allDigits(words[at], 2) && monthNumber(words[at + 1], calendar) > 0 &&
            yearOf(words[at + 2]) >= 0) {
            day = number(words[at]);
            month = monthNumber(words[at + 1], calendar);
            year = yearOf(words[at + 2]);
            if (day < 1 || day > 31) return false;
            at += 3;
        } else if (left >= 2 && monthNumber(words[at], calendar) > 0 && yearOf(words[at + 1]) >= 0) {
            month = monthNumber(words[at], calendar);
            year = yearOf(words[at + 1]);
            at += 2;
        } else if (left >= 1 && yearOf(words[at]) >= 0) {
            year = yearOf(words[at]);
            at += 1;
        } else {
            return false;
        }
        const bool beforeChrist = take("B.C.") || take("BC") || take("BCE");
        const bool counted = calendar == Calendar::Gregorian && !beforeChrist && year > 0;
        if (first.year == 0) {
            first.day = day;
            first.month = month;
            first.year = year;
        }
        if (counted) {
            if (!years.dated()) years = {year, year};
            else if (year > years.first) years.last = year;
        }
        return true;
    }

    bool phrase(std::string &text)
    {
        if (done() || words[at].size() < 2 || words[at].front() != '(' || words[at].back() != ')')
            return false;
        text = words[at].substr(1, words[at].size() - 2);
        ++at;
        return true;
    }
};

} // namespace

GedcomDate parseGedcomDate(std::string_view text)
{
    Reader r;
    for (std::string_view word : wordsOf(text))
        r.words.push_back(word.front() == '(' ? std::string(word) : upper(word));
    GedcomDate date;
    YearSpan years;
    bool ok = false;
    if (r.phrase(date.phrase)) {
        ok = true;
    } else if (r.take("ABT") || r.take("CAL") || r.take("EST") || r.take("BEF") || r.take("AFT") ||
               r.take("TO")) {
        ok = r.date(date, years);
    } else if (r.take("BET")) {
        ok = r.date(date, years) && r.take("AND") && r.date(date, years);
    } else if (r.take("FROM")) {
        ok = r.date(date, years) && (!r.take("TO") || r.date(date, years));
    } else if (r.take("INT")) {
        ok = r.date(date, years) && !r.done();
    } else {
        ok = r.date(date, years);
    }
    // Programs write a phrase after any kind of date, as INT does.
    if (ok && !r.done()) r.phrase(date.phrase);
    date.valid = ok && r.done();
    if (date.valid) date.years = years;
    return date;
}

namespace {

// A date of the standard with its words upper-cased and single blanks.
std::string normalized(std::string_view date)
{
    std::string out;
    for (std::string_view word : wordsOf(date))
        out += (out.empty() ? "" : " ") + (word.front() == '(' ? std::string(word) : upper(word));
    return out;
}

// Text as a date phrase holds it: on one line, with brackets for the
// parentheses that would end it.
std::string phraseText(std::string_view text)
{
    std::string phrase;
    for (char c : trimmed(text)) {
        if (c == '(') c = '[';
        if (c == ')') c = ']';
        if (isBlank(c) && (phrase.empty() || phrase.back() == ' ')) continue;
        phrase += isBlank(c) ? ' ' : c;
    }
    if (!phrase.empty() && phrase.back() == ' ') phrase.pop_back();
    return phrase;
}

} // namespace

EntryDates entryDatesOf(std::string_view text)
{
    text = trimmed(text);
    const GedcomDate date = parseGedcomDate(text);
    if (!date.valid) {
        GedcomDate span;
        span.years = entryYears("", text);
        return {phraseText(text), timePeriodOf(span)};
    }
    // A phrase that is a date itself would be taken for the date.
    const std::string phrase = phraseText(date.phrase);
    const bool phraseTaken = !phrase.empty() && !parseGedcomDate(phrase).valid;
    return {phraseTaken ? phrase : normalized(text), timePeriodOf(date)};
}

std::string timePeriodOf(const GedcomDate &date)
{
    if (!date.years.dated()) return {};
    std::string period = std::to_string(date.years.first);
    if (date.years.last != date.years.first) period += "-" + std::to_string(date.years.last);
    return period;
}

std::string gedcomDateOf(std::string_view entryDate, std::string_view timePeriod)
{
    entryDate = trimmed(entryDate);
    if (parseGedcomDate(entryDate).valid) return normalized(entryDate);
    const std::string phrase = phraseText(entryDate.empty() ? timePeriod : entryDate);
    const YearSpan years = entryYears(timePeriod, entryDate);
    if (!years.dated()) return phrase.empty() ? std::string() : "(" + phrase + ")";
    GedcomDate span;
    span.years = years;
    const std::string first = std::to_string(years.first);
    std::string date = years.first == years.last
                           ? first
                           : "FROM " + first + " TO " + std::to_string(years.last);
    if (phrase.empty() || phrase == timePeriodOf(span)) return date;
    return (years.first == years.last ? "INT " : "") + date + " (" + phrase + ")";
}

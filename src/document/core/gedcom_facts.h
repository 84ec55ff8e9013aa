// The kinds of fact a family tree records, each with its tag, the title an
// entry takes for it and the category it goes to. Import makes titles from
// this table and export reads them back through it, so that a title the
// import made goes back as the tag it came from.
//
// Portable: no Windows headers.
#pragma once

#include <string>
#include <string_view>

enum class FactCategory { LifeEvents, Family, PlacesLived, WorkAndEducation, Other };
constexpr int FactCategoryCount = 5;
// "Life events", "Family", "Places lived", "Work and education", "Other".
std::string_view factCategoryName(FactCategory category);
// The category with this name; false when none has it.
bool factCategoryNamed(std::string_view name, FactCategory &category);

enum class FactShape {
    Event,     // "Birth"
    Described, // the title, ": " and the fact's value: "Occupation: carpenter"
    Family,    // of a family: the title, a word and the spouse: "Marriage to Karl Weber"
};

struct FactType {
    std::string_view tag;
    std::string_view title;
    FactShape shape;
    std::string_view spouseWord; // "to", "from", "with" for a family's facts
    FactCategory category;
};

// What the export writes before an entry's keywords, in a note of their
// own, so that the import takes them back as keywords: "Keywords: ".
inline constexpr std::string_view KeywordsNotePrefix = "Keywords: ";

// The kind of fact of a person's (or a family's) tag; null for tags that
// are no known fact. Custom events (EVEN, FACT) are not in the table: they
// are named by their own value or type.
const FactType *factTypeOfTag(std::string_view tag, bool ofFamily);

// The title an entry takes for a fact of this type, given its value (for a
// described fact) or the spouse's name (for a family's; may be empty).
std::string factTitle(const FactType &type, std::string_view valueOrSpouse);

// The type a title was made for, with the value or spouse it names; null
// for a title the table did not make.
const FactType *factTypeOfTitle(std::string_view title, std::string &valueOrSpouse);

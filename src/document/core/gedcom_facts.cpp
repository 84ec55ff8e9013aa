#include "document/core/gedcom_facts.h"

namespace {

using C = FactCategory;
using S = FactShape;

const std::string_view CategoryNames[FactCategoryCount] = {
    "Life events", "Family", "Places lived", "Work and education", "Other",
};

const FactType PersonFacts[] = {
    {"BIRT", "Birth", S::Event, "", C::LifeEvents},
    {"CHR", "Christening", S::Event, "", C::LifeEvents},
    {"BAPM", "Baptism", S::Event, "", C::LifeEvents},
    {"CHRA", "Adult christening", S::Event, "", C::LifeEvents},
    {"BLES", "Blessing", S::Event, "", C::LifeEvents},
    {"BARM", "Bar mitzvah", S::Event, "", C::LifeEvents},
    {"BASM", "Bat mitzvah", S::Event, "", C::LifeEvents},
    {"CONF", "Confirmation", S::Event, "", C::LifeEvents},
    {"FCOM", "First communion", S::Event, "", C::LifeEvents},
    {"ADOP", "Adoption", S::Event, "", C::LifeEvents},
    {"ORDN", "Ordination", S::Event, "", C::LifeEvents},
    {"DEAT", "Death", S::Event, "", C::LifeEvents},
    {"BURI", "Burial", S::Event, "", C::LifeEvents},
    {"CREM", "Cremation", S::Event, "", C::LifeEvents},
    {"PROB", "Probate", S::Event, "", C::LifeEvents},
    {"WILL", "Will", S::Event, "", C::LifeEvents},
    {"RESI", "Residence", S::Event, "", C::PlacesLived},
    {"EMIG", "Emigration", S::Event, "", C::PlacesLived},
    {"IMMI", "Immigration", S::Event, "", C::PlacesLived},
    {"NATU", "Naturalization", S::Event, "", C::PlacesLived},
    {"CENS", "Census", S::Event, "", C::PlacesLived},
    {"OCCU", "Occupation", S::Described, "", C::WorkAndEducation},
    {"EDUC", "Education", S::Described, "", C::WorkAndEducation},
    {"GRAD", "Graduation", S::Event, "", C::WorkAndEducation},
    {"RETI", "Retirement", S::Event, "", C::WorkAndEducation},
    {"PROP", "Property", S::Described, "", C::Other},
    {"RELI", "Religion", S::Described, "", C::Other},
    {"NATI", "Nationality", S::Described, "", C::Other},
    {"TITL", "Title", S::Described, "", C::Other},
    {"CAST", "Caste", S::Described, "", C::Other},
    {"DSCR", "Description", S::Described, "", C::Other},
    {"IDNO", "Identification number", S::Described, "", C::Other},
    {"SSN", "Social security number", S::Described, "", C::Other},
    {"NCHI", "Number of children", S::Described, "", C::Other},
    {"NMR", "Number of marriages", S::Described, "", C::Other},
    {"BAPL", "LDS baptism", S::Event, "", C::Other},
    {"CONL", "LDS confirmation", S::Event, "", C::Other},
    {"ENDL", "LDS endowment", S::Event, "", C::Other},
    {"SLGC", "LDS sealing to parents", S::Event, "", C::Other},
};

const FactType FamilyFacts[] = {
    {"MARR", "Marriage", S::Family, "to", C::Family},
    {"DIV", "Divorce", S::Family, "from", C::Family},
    {"DIVF", "Divorce filed", S::Family, "from", C::Family},
    {"ANUL", "Annulment of marriage", S::Family, "to", C::Family},
    {"ENGA", "Engagement", S::Family, "to", C::Family},
    {"MARB", "Marriage banns", S::Family, "with", C::Family},
    {"MARC", "Marriage contract", S::Family, "with", C::Family},
    {"MARL", "Marriage licence", S::Family, "with", C::Family},
    {"MARS", "Marriage settlement", S::Family, "with", C::Family},
    {"RESI", "Residence", S::Family, "with", C::Family},
    {"CENS", "Census", S::Family, "with", C::Family},
    {"SLGS", "LDS sealing", S::Family, "to", C::Family},
};

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The title a type makes with nothing after it, or with `joint` and more.
bool madeBy(const FactType &type, std::string_view title, std::string_view joint,
            std::string &rest)
{
    if (title == type.title) {
        rest.clear();
        return true;
    }
    const size_t length = type.title.size() + joint.size();
    if (title.size() <= length || !startsWith(title, type.title) ||
        title.substr(type.title.size(), joint.size()) != joint)
        return false;
    rest = std::string(title.substr(length));
    return true;
}

} // namespace

std::string_view factCategoryName(FactCategory category)
{
    return CategoryNames[static_cast<int>(category)];
}

bool factCategoryNamed(std::string_view name, FactCategory &category)
{
    for (int c = 0; c < FactCategoryCount; ++c)
        if (CategoryNames[c] == name) {
            category = static_cast<FactCategory>(c);
            return true;
        }
    return false;
}

const FactType *factTypeOfTag(std::string_view tag, bool ofFamily)
{
    if (ofFamily) {
        for (const FactType &type : FamilyFacts)
            if (type.tag == tag) return &type;
        return nullptr;
    }
    for (const FactType &type : PersonFacts)
        if (type.tag == tag) return &type;
    return nullptr;
}

std::string factTitle(const FactType &type, std::string_view valueOrSpouse)
{
    std::string title(type.title);
    if (valueOrSpouse.empty()) return title;
    if (type.shape == FactShape::Described) return title + ": " + std::string(valueOrSpouse);
    if (type.shape == FactShape::Family)
        return title + " " + std::string(type.spouseWord) + " " + std::string(valueOrSpouse);
    return title;
}

const FactType *factTypeOfTitle(std::string_view title, std::string &valueOrSpouse)
{
    // Family titles first: "Residence with Karl" is a family's.
    for (const FactType &type : FamilyFacts) {
        const std::string joint = " " + std::string(type.spouseWord) + " ";
        if (title != type.title && madeBy(type, title, joint, valueOrSpouse)) return &type;
    }
    for (const FactType &type : PersonFacts)
        if (madeBy(type, title, type.shape == FactShape::Described ? ": " : "", valueOrSpouse) &&
            (type.shape == FactShape::Described || valueOrSpouse.empty()))
            return &type;
    for (const FactType &type : FamilyFacts)
        if (title == type.title) {
            valueOrSpouse.clear();
            return &type;
        }
    return nullptr;
}

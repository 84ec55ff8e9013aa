// Family-tree files: dates, encodings, the facts a person's record gives,
// the file a biography gives, and damage.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "document/core/document_edits.h"
#include "document/core/gedcom_dates.h"
#include "document/core/gedcom_export.h"
#include "document/core/gedcom_import.h"

namespace {

std::string sampleFile(const std::string &name)
{
    std::ifstream in(std::string(MEMORION_FAMILY_TREES) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

template <size_t N>
std::string bytesOf(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

GedcomTree treeOf(const std::string &bytes)
{
    GedcomTree tree;
    EXPECT_TRUE(readGedcom(bytes, tree));
    return tree;
}

PersonFacts factsOf(const GedcomTree &tree, const char *id, const char *folder = "C:\\Trees")
{
    return importPerson(tree, tree.record(id), folder);
}

std::unique_ptr<Biography> biographyOf(const std::vector<Entry> &entries, const std::string &topic)
{
    auto d = std::make_unique<Biography>();
    d->topic = topic;
    for (const Entry &entry : entries) {
        for (const EntryField &field : EntryFields) ((*d).*field.column)[d->entryCount] = entry.*field.value;
        ++d->entryCount;
    }
    return d;
}

std::vector<std::string> fields(const Entry &e)
{
    return {e.title, e.entryDate, e.timePeriod, e.location, e.detail, e.keywords, e.files, e.category};
}

TEST(FamilyTreeDates, ReadAsWrittenAndTheirYears)
{
    const struct {
        const char *text;
        bool valid;
        const char *period;
        int day, month, year;
    } cases[] = {
        {"12 JUN 1946", true, "1946", 12, 6, 1946},       {"abt 1920", true, "1920", 0, 0, 1920},
        {"BET 1950 AND 1955", true, "1950-1955", 0, 0, 1950}, {"FROM 1939 TO 1945", true, "1939-1945", 0, 0, 1939},
        {"FROM MAR 1939", true, "1939", 0, 3, 1939},       {"@#DJULIAN@ 1 JAN 1700", true, "1700", 1, 1, 1700},
        {"JULIAN 1 MAR 1700", true, "1700", 1, 3, 1700},   {"@#DHEBREW@ 1 TSH 5700", true, "", 1, 1, 5700},
        {"@#DFRENCH R@ VEND 12", true, "", 0, 1, 12},      {"INT 1950 (about then)", true, "1950", 0, 0, 1950},
        {"(in the war)", true, "", 0, 0, 0},               {"1749/50", true, "1749", 0, 0, 1749},
        {"44 BC", true, "", 0, 0, 44},                     {"1950 (1950s)", true, "1950", 0, 0, 1950},
        {"BET 1960 AND 1950", true, "1960", 0, 0, 1960},   {"32 JUN 1946", false, "", 32, 6, 1946},
        {"12 JUNE 1946", false, "", 0, 0, 0},              {"BET 1950", false, "", 0, 0, 1950},
        {"summer 1962", false, "", 0, 0, 0},               {"", false, "", 0, 0, 0},
        {"31 FEB", false, "", 0, 0, 31},                   {"INT 1950", false, "", 0, 0, 1950},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const GedcomDate date = parseGedcomDate(c.text);
        EXPECT_EQ(date.valid, c.valid);
        EXPECT_EQ(timePeriodOf(date), c.period);
        if (c.valid) {
            EXPECT_EQ(std::vector<int>({date.day, date.month, date.year}), std::vector<int>({c.day, c.month, c.year}));
        }
    }
}

// An entry takes a date as written, or the words its phrase holds.
TEST(FamilyTreeDates, GiveTheEntryDateAndTimePeriod)
{
    const struct {
        const char *date, *entryDate, *timePeriod;
    } cases[] = {
        {" ABT 1920 ", "ABT 1920", "1920"},
        {"INT 1950 (about then)", "about then", "1950"},
        {"(in the war)", "in the war", ""},
        {"FROM 1939 TO 1945 (06/12/26)", "06/12/26", "1939-1945"},
        {"summer 1962", "summer 1962", "1962"},
        {"31 FEB", "31 FEB", ""},
    };
    for (const auto &c : cases) {
        const EntryDates dates = entryDatesOf(c.date);
        EXPECT_EQ(dates.entryDate, c.entryDate) << c.date;
        EXPECT_EQ(dates.timePeriod, c.timePeriod) << c.date;
    }
}

TEST(FamilyTreeDates, WrittenFromTheEntryDateOrTheChronologysYears)
{
    const struct {
        const char *entryDate, *timePeriod, *date;
    } cases[] = {
        {" 12 jun 1946 ", "", "12 JUN 1946"},
        {"bet 1950 and 1955", "1940s", "BET 1950 AND 1955"},
        {"summer 1962", "", "INT 1962 (summer 1962)"},
        {"06/12/26", "1939-1945", "FROM 1939 TO 1945 (06/12/26)"},
        {"", "1950s", "FROM 1950 TO 1959 (1950s)"},
        {"", "1939-1945", "FROM 1939 TO 1945"},
        {"", "1931", "1931"},
        {"in the war (late)", "", "(in the war [late])"},
        {"yesterday", "childhood", "(yesterday)"},
        {"", "", ""},
    };
    for (const auto &c : cases) EXPECT_EQ(gedcomDateOf(c.entryDate, c.timePeriod), c.date) << c.entryDate;
}

// Each file holds one person; the name and birthplace come through in
// UTF-8 whatever the file was written in.
TEST(FamilyTreeEncodings, EveryEncodingReadsAsUtf8)
{
    const std::string head = "0 HEAD\n1 CHAR ";
    const struct {
        const char *what;
        std::string bytes;
        const char *listed, *place;
    } cases[] = {
        {"UTF-8", head + "UTF-8\n0 @I1@ INDI\n1 NAME Zo\xC3\xAB /B/\n", "B, Zo\xC3\xAB", ""},
        {"UTF-8 with a mark, CR", "\xEF\xBB\xBF" "0 HEAD\r0 @I1@ INDI\r1 NAME \xC3\x89mile\r", "\xC3\x89mile", ""},
        {"ANSI", head + "ANSI\n0 @I1@ INDI\n1 NAME Zo\xEB \x80\n", "Zo\xC3\xAB \xE2\x82\xAC", ""},
        {"UTF-8 holding 1252", head + "UTF-8\n0 @I1@ INDI\n1 NAME Zo\xEB\n", "Zo\xC3\xAB", ""},
        {"ASCII", head + "ASCII\n0 @I1@ INDI\n1 NAME Zoe\n", "Zoe", ""},
        {"ANSEL", sampleFile("ansel.ged"), "Dvo\xC5\x99\x61k, Zo\xC3\xAB",
         "S\xC3\xA1o Paulo, \xC3\x86rhus, Cura\xC3\xA7\x61o"},
        {"ANSEL marks without a letter of their own", head + "ANSEL\n0 @I1@ INDI\n1 NAME \xE2q\xE8\xE2U\n",
         "q\xCC\x81\xC3\x9C\xCC\x81", ""},
        {"UTF-16 with a mark", sampleFile("utf16.ged"), "M\xC3\xBCller, J\xC3\xBCrgen", "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
        {"UTF-16 big-endian, no mark", bytesOf("\0" "0\0 \0H\0E\0A\0D\0\n\0" "0\0 \0@\0I\0@\0 \0I\0N\0D\0I\0\n\0" "1\0 \0N\0A\0M\0E\0 \xD8\x3D\xDE\x00"),
         "\xF0\x9F\x98\x80", ""},
        {"GEDCOM 7.0", sampleFile("gedcom7.ged"), "\xE5\xA4\xAA\xE9\x83\x8E, \xE5\xB1\xB1\xE7\x94\xB0", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const GedcomTree tree = treeOf(c.bytes);
        const std::vector<PersonSummary> people = listPeople(tree);
        ASSERT_EQ(people.size(), 1u);
        EXPECT_EQ(people[0].listed, c.listed);
        const PersonFacts facts = importPerson(tree, people[0].record, "");
        EXPECT_EQ(facts.entries.empty() ? "" : facts.entries[0].location, c.place);
        EXPECT_EQ(tree.damagedLines, 0);
    }
}

// One person of every kind of fact: individual and family events,
// attributes, custom events, notes kept apart, sources, files, records in
// any order, and what entries cannot hold.
TEST(FamilyTreeImport, EveryFactBecomesAnEntry)
{
    const GedcomTree tree = treeOf(sampleFile("weber.ged"));
    const PersonFacts facts = factsOf(tree, "I1");
    const std::vector<std::vector<std::string>> expected = {
        {"Birth", "2 OCT 1931", "1931", "Z\xC3\xBCrich, Switzerland", "Born at home,\r\na cold morning.",
         "Parish register of Z\xC3\xBCrich; Family bible", "\"C:\\Trees\\photos\\anna 1931.jpg\"", "Life events"},
        {"Education: Teachers' college", "BET 1950 AND 1954", "1950-1954", "", "", "", "", "Work and education"},
        {"Occupation: Teacher and headmistress", "FROM 1955 TO 1990", "1955-1990", "Bern", "", "", "", "Work and education"},
        {"Marriage to Karl Weber", "12 JUN 1956", "1956", "Bern, Switzerland", "", "", "", "Family"},
        {"Residence", "ABT 1960", "1960", "Hauptstrasse 5, Basel, Switzerland", "", "", "", "Places lived"},
        {"Summer in \xE2\x80\xB9Ticino\xE2\x80\xBA", "1962", "1962", "", "Letters home @ every week, long ones.\r\nSecond line.", "", "", "Other"},
        {"Divorce from Karl Weber", "ABT 1970", "1970", "", "", "", "", "Family"},
        {"Silver wedding with Karl Weber", "1981", "1981", "", "", "", "", "Family"},
        {"Death", "BET 2010 AND 2011", "2010-2011", "Basel", "Cause: Old age\r\nAge: 79y", "", "", "Life events"},
        {"Plays the violin", "", "", "", "", "", "", "Other"},
        {"Burial", "", "", "", "", "", "", "Life events"},
        {PersonalFilesTitle, "", "", "", "", "", "\"C:\\Family\\anna.png\"", "Other"},
    };
    ASSERT_EQ(facts.entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(fields(facts.entries[i]), expected[i]);
    EXPECT_EQ(importReport(facts, 2),
              "12 facts of Anna Maria Weber added (1 skipped: a kind of fact Memorion does not know, _MILT).\n\n"
              "2 damaged lines of the file could not be read and were skipped.\n\n3 characters an entry cannot "
              "hold were replaced: \"&\" by \"and\", \"<\" and \">\" by \"\xE2\x80\xB9\" and \"\xE2\x80\xBA\".");
    EXPECT_EQ(importReport(factsOf(tree, "I2"), 0), "4 facts of Karl Weber added.");
    EXPECT_EQ(importReport(factsOf(treeOf(sampleFile("ansel.ged")), "I1"), 0), "1 fact of Zo\xC3\xAB Dvo\xC5\x99\x61k added.");
}

TEST(FamilyTreeImport, ThePersonListIsSortedAndNarrowedInAnyCase)
{
    std::string bytes = "0 HEAD\n";
    int id = 0;
    for (const char *name : {"Zo\xC3\xAB /Weber/", "anna /weber/", "Karl /Weber/", "\xC3\x89mile /Zola/", "Bob"}) {
        const std::string n = std::to_string(++id);
        bytes += "0 @I" + n + "@ INDI\n1 NAME " + name + "\n1 BIRT\n2 DATE 19" + n + "0\n";
    }
    const std::vector<PersonSummary> people = listPeople(treeOf(bytes));
    std::vector<std::string> listed;
    for (const PersonSummary &p : people) listed.push_back(p.listed);
    EXPECT_EQ(listed, (std::vector<std::string>{"Bob", "weber, anna", "Weber, Karl", "Weber, Zo\xC3\xAB", "Zola, \xC3\x89mile"}));
    const struct {
        const char *typed;
        std::vector<int> found;
    } cases[] = {{"", {0, 1, 2, 3, 4}}, {"WEBER", {1, 2, 3}}, {"karl weber", {2}}, {"ZO\xC3\x8B", {3}},
                 {"\xC3\xA9mile", {4}}, {"weber, 1930", {2}}, {"nobody", {}}};
    for (const auto &c : cases) EXPECT_EQ(peopleMatching(people, c.typed), c.found) << c.typed;
}

TEST(FamilyTreeImport, DamageIsSkippedAndCounted)
{
    const struct {
        const char *what;
        std::string bytes;
        bool familyTree;
        int damaged, people;
    } cases[] = {
        {"no header", "hello\n0 HEAD\n", false, 0, 0},
        {"empty", "", false, 0, 0},
        {"blank lines only", "\n \r\n", false, 0, 0},
        {"a damaged file", sampleFile("damaged.ged"), true, 3, 2},
        {"deeper than its parent", "0 HEAD\n0 @I1@ INDI\n2 NAME A\n3 DATE 1\n1 NAME B\n", true, 2, 1},
        {"no tag, a level too high", "0 HEAD\n0 @I1@ INDI\n1\n100 NAME A\n1 NAME@ B\n", true, 3, 1},
        {"a continuation of nothing", "0 HEAD\n1 CONC a\n0 CONT b\n0 @I1@ INDI\n", true, 1, 1},
        {"UTF-16 cut short", bytesOf("\xFF\xFE" "0\0 \0H\0E\0A\0D\0\n\0" "0"), true, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        GedcomTree tree;
        ASSERT_EQ(readGedcom(c.bytes, tree), c.familyTree);
        EXPECT_EQ(tree.damagedLines, c.damaged);
        const std::vector<PersonSummary> people = listPeople(tree);
        EXPECT_EQ(people.size(), static_cast<size_t>(c.people));
        for (const PersonSummary &person : people) importPerson(tree, person.record, "");
    }
}

TEST(FamilyTreeImport, IsOneStepRefusedWhenItDoesNotFit)
{
    resetDocument();
    appendCategory("Family");
    appendEntry("Mine", "", "", "", "", "", "", "Family");
    startHistory();
    const PersonFacts facts = factsOf(treeOf(sampleFile("weber.ged")), "I1");
    EXPECT_EQ(missingCategories(facts, BiographyDocument),
              (std::vector<std::string>{"Life events", "Work and education", "Places lived", "Other"}));
    ASSERT_TRUE(edit::importEntries(facts.entries));
    EXPECT_EQ(BiographyDocument.entryCount, 13);
    EXPECT_EQ(BiographyDocument.categoryCount, 5);
    EXPECT_EQ(undoStepName(), "Import from family tree");
    undoStep();
    EXPECT_EQ(BiographyDocument.entryCount, 1);
    EXPECT_EQ(BiographyDocument.categoryCount, 1);

    BiographyDocument.entryCount = MaxEntries - 11;
    EXPECT_EQ(capacityRefusal(facts, BiographyDocument),
              "Nothing was added: the biography has room for 11 more entries (it holds up to 1024), and Anna "
              "Maria Weber has 12 facts.");
    EXPECT_FALSE(edit::importEntries(facts.entries));
    BiographyDocument.entryCount = 1;
    BiographyDocument.categoryCount = MaxCategories - 3;
    EXPECT_EQ(capacityRefusal(facts, BiographyDocument),
              "Nothing was added: the facts of Anna Maria Weber need 4 new categories, and the biography has "
              "room for 3 more (it holds up to 500).");
    EXPECT_FALSE(edit::importEntries(facts.entries));
    EXPECT_EQ(historyStepCount(), 1);
    resetDocument();
}

TEST(FamilyTreeExport, FactsGoBackAsTheirTags)
{
    std::string longDetail;
    for (int i = 0; i < 30; ++i) longDetail += "Line " + std::to_string(i) + " of text: caf\xC3\xA9 @ 20 \xE2\x82\xAC " + std::string(i * 9, i % 2 ? 'x' : '@') + "\r\n";
    const std::vector<Entry> entries = {
        {"Birth", "2 oct 1931", "", "Z\xC3\xBCrich", "", "Register", "\"C:\\x\\Anna.JPG\"\"C:\\x\\letter\"", "Life events"},
        {"Death", "", "", "", "", "", "", "Life events"},
        {"Occupation: Teacher", "", "1955-1990", "", longDetail, "", "", "Work and education"},
        {"Marriage to Karl Weber", "1956", "", "", "", "", "", "Family"},
        {"Divorce from Karl Weber", "1970", "", "", "", "", "", "Family"},
        {"War years", "", "1939-1945", "", "Rationing.\r\n\r\nCold.", "", "", "Childhood"},
    };
    const std::string bytes = familyTreeFileBytes(*biographyOf(entries, "Anna @ home"));
    for (const char *expected : {
             "0 HEAD\r\n1 SOUR MEMORION\r\n", "1 CHAR UTF-8\r\n", "2 VERS 5.5.1\r\n",
             "0 @I1@ INDI\r\n1 NAME Anna @@ home\r\n1 BIRT\r\n2 DATE 2 OCT 1931\r\n2 PLAC Z\xC3\xBCrich\r\n"
             "2 NOTE Keywords: Register\r\n2 OBJE\r\n3 FILE C:\\x\\Anna.JPG\r\n4 FORM jpg\r\n2 OBJE\r\n3 FILE "
             "C:\\x\\letter\r\n4 FORM none\r\n1 DEAT Y\r\n1 OCCU Teacher\r\n2 DATE FROM 1955 TO 1990\r\n2 NOTE Line 0",
             "1 EVEN War years\r\n2 TYPE Childhood\r\n2 DATE FROM 1939 TO 1945\r\n2 NOTE Rationing.\r\n3 CONT\r\n3 CONT Cold.\r\n"
             "1 FAMS @F1@\r\n0 @I2@ INDI\r\n1 NAME Karl Weber\r\n1 FAMS @F1@\r\n0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n"
             "1 MARR\r\n2 DATE 1956\r\n1 DIV\r\n2 DATE 1970\r\n0 TRLR\r\n"})
        EXPECT_NE(bytes.find(expected), std::string::npos) << expected;
    for (size_t at = 0, end; at < bytes.size(); at = end + 2) {
        end = bytes.find("\r\n", at);
        ASSERT_LE(end + 2 - at, MaxGedcomLineLength) << bytes.substr(at, end - at);
    }
    // What is read back is what was written, long lines and all.
    const GedcomTree tree = treeOf(bytes);
    EXPECT_EQ(tree.damagedLines, 0);
    const PersonFacts back = factsOf(tree, "I1");
    ASSERT_EQ(back.entries.size(), entries.size());
    // In date order now: Birth, War years, Occupation, ...
    EXPECT_EQ(back.entries[1].title, "War years");
    EXPECT_EQ(back.entries[1].detail, "Rationing.\r\n\r\nCold.");
    EXPECT_EQ(back.entries[1].category, "Other") << "a category of the user's own is only the type";
    EXPECT_EQ(back.entries[2].detail, longDetail.substr(0, longDetail.size() - 2));
}

// Import, export, import: the same entries, for every person of every
// sample file.
TEST(FamilyTreeExport, ImportExportImportGivesTheSameEntries)
{
    for (const char *file : {"weber.ged", "ansel.ged", "utf16.ged", "gedcom7.ged", "damaged.ged"}) {
        const GedcomTree tree = treeOf(sampleFile(file));
        for (const PersonSummary &person : listPeople(tree)) {
            SCOPED_TRACE(std::string(file) + " " + person.name);
            const PersonFacts first = importPerson(tree, person.record, "C:\\Trees");
            const GedcomTree exported = treeOf(familyTreeFileBytes(*biographyOf(first.entries, first.name)));
            const PersonFacts second = factsOf(exported, "I1");
            EXPECT_EQ(second.name, first.name);
            ASSERT_EQ(second.entries.size(), first.entries.size());
            for (size_t i = 0; i < first.entries.size(); ++i) EXPECT_EQ(fields(second.entries[i]), fields(first.entries[i]));
        }
    }
}

} // namespace

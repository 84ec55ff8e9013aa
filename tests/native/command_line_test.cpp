#include <gtest/gtest.h>

#include "document/core/command_line.h"

TEST(CommandLineTest, FirstArgumentIsThePathExplorerPasses)
{
    struct Case {
        const char *commandLine, *path;
    };
    const Case cases[] = {
        {"", ""},
        {"   ", ""},
        {"C:\\Bios\\anna.xml", "C:\\Bios\\anna.xml"},
        {"\"C:\\My bios\\anna b.xml\"", "C:\\My bios\\anna b.xml"},
        {"  \"C:\\My bios\\anna.xml\"  /extra", "C:\\My bios\\anna.xml"},
        {"C:\\Bios\\anna.xml second.xml", "C:\\Bios\\anna.xml"},
        {"\tC:\\Bios\\anna.xml\t", "C:\\Bios\\anna.xml"},
        {"\"C:\\My bios\"\\anna.xml", "C:\\My bios\\anna.xml"},
        {"\"C:\\unclosed quote.xml", "C:\\unclosed quote.xml"},
        {"\"\"", ""},
    };
    for (const Case &c : cases) EXPECT_EQ(firstArgument(c.commandLine), c.path) << c.commandLine;
}

TEST(CommandLineTest, ArgumentsFollowTheProgramsNameWhateverTheyStartWith)
{
    const struct {
        const char *commandLine, *arguments;
    } cases[] = {
        {"\"C:\\Program Files\\Memorion.exe\" \xce\x9c\xce\xb1.xml", "\xce\x9c\xce\xb1.xml"},
        {"Memorion.exe \t \xce\x9c\xce\xb1 b.xml x", "\xce\x9c\xce\xb1 b.xml x"},
        {"Memorion.exe", ""},
        {"\"C:\\unclosed", ""},
    };
    for (const auto &c : cases) EXPECT_EQ(argumentsOf(c.commandLine), c.arguments) << c.commandLine;
}

// "Memorion.exe C:\My files\Anna.xml", unquoted: the first argument names
// no file, the whole text does.
TEST(CommandLineTest, AnUnquotedPathWithBlanksIsTakenWholeWhenOnlyThatNamesAFile)
{
    const auto namesFile = [](const std::string &path) {
        return path == "C:\\My files\\Anna.xml" || path == "C:\\Bios\\anna.xml";
    };
    const struct {
        const char *commandLine, *path;
    } cases[] = {
        {"C:\\My files\\Anna.xml", "C:\\My files\\Anna.xml"},
        {" \tC:\\My files\\Anna.xml \t", "C:\\My files\\Anna.xml"},
        {"C:\\My \"files\\Anna.xml\"", "C:\\My files\\Anna.xml"},
        {"C:\\Bios\\anna.xml C:\\My files\\Anna.xml", "C:\\Bios\\anna.xml"},
        {"C:\\My files\\gone.xml", "C:\\My"}, // reported as not found, as before
        {"", ""},
    };
    for (const auto &c : cases) EXPECT_EQ(pathArgument(c.commandLine, namesFile), c.path) << c.commandLine;
}

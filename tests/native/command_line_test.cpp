#include <gtest/gtest.h>

#include "mainwindow/command_line.h"

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

// The program's command line: the file to open, as Explorer passes it.
#pragma once

#include <string>

// What follows the program's own name on a whole command line, as the
// system keeps it, without the blanks before it.
std::string argumentsOf(const std::string &wholeCommandLine);

// The first argument of a command line (the program's own name already
// left off, as the entry function gets it): quoted or not, with the quotes
// taken away. Empty when there is none. Further arguments are ignored.
std::string firstArgument(const std::string &commandLine);

// The path to open: the first argument, or, when that names no file but
// the whole text does (trimmed, quotes taken away), the whole text, as for
// "C:\My files\Anna.xml" passed without quotes. `namesFile` asks the file
// system.
std::string pathArgument(const std::string &commandLine,
                         bool (*namesFile)(const std::string &path));

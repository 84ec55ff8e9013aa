#include "document/core/command_line.h"

// A blank outside quotes ends the argument; quotes may enclose any part of
// it, as the C run-time's own splitting allows ("C:\My files"\a.xml). Paths
// hold no quotes, so no escaping is needed.
std::string firstArgument(const std::string &commandLine)
{
    size_t at = commandLine.find_first_not_of(" \t");
    std::string argument;
    bool quoted = false;
    for (; at < commandLine.size(); ++at) {
        const char c = commandLine[at];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == ' ' || c == '\t'))
            break;
        else
            argument += c;
    }
    return argument;
}

// The name is quoted up to the next quote, or else ends at a blank, as the C
// run-time takes it.
std::string argumentsOf(const std::string &wholeCommandLine)
{
    const bool quoted = !wholeCommandLine.empty() && wholeCommandLine[0] == '"';
    size_t at = quoted ? wholeCommandLine.find('"', 1) : wholeCommandLine.find_first_of(" \t");
    if (at != std::string::npos) at = wholeCommandLine.find_first_not_of(" \t", at + 1);
    return at == std::string::npos ? std::string() : wholeCommandLine.substr(at);
}

std::string pathArgument(const std::string &commandLine,
                         bool (*namesFile)(const std::string &path))
{
    const std::string first = firstArgument(commandLine);
    if (namesFile(first)) return first;
    std::string whole;
    for (char c : commandLine)
        if (c != '"') whole += c;
    const size_t start = whole.find_first_not_of(" \t");
    if (start == std::string::npos) return first;
    whole = whole.substr(start, whole.find_last_not_of(" \t") + 1 - start);
    return namesFile(whole) ? whole : first;
}

#include "document/core/entry_date.h"

std::string dayMonthYear(const std::tm &when)
{
    char text[16];
    std::strftime(text, sizeof text, "%d/%m/%y", &when);
    return text;
}

std::string todayAsDayMonthYear()
{
    std::time_t now = std::time(nullptr);
    return dayMonthYear(*std::localtime(&now));
}

// The date stamped on new entries.
#pragma once

#include <ctime>
#include <string>

// `when` as two-digit day, month and year joined by "/": 06/12/26.
std::string dayMonthYear(const std::tm &when);
// Today, in local time, in that form.
std::string todayAsDayMonthYear();

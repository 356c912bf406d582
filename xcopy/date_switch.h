#pragma once

#include <ctime>
#include <optional>
#include <string_view>

// Start of the local day written as month-day-year ("3-5-2026"), or nothing when it is no such day.
std::optional<time_t> parseMonthDayYear(std::string_view text);

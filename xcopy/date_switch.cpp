#include "date_switch.h"

#include <charconv>

namespace {

std::optional<int> parseNumber(std::string_view digits, std::size_t minLength,
                               std::size_t maxLength)
{
    if (digits.size() < minLength || digits.size() > maxLength)
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<time_t> parseMonthDayYear(std::string_view text)
{
    const auto firstDash = text.find('-');
    const auto secondDash = text.find('-', firstDash == text.npos ? text.npos : firstDash + 1);
    if (secondDash == text.npos)
        return std::nullopt;
    const auto month = parseNumber(text.substr(0, firstDash), 1, 2);
    const auto day = parseNumber(text.substr(firstDash + 1, secondDash - firstDash - 1), 1, 2);
    const auto year = parseNumber(text.substr(secondDash + 1), 4, 4);
    if (!month || !day || !year)
        return std::nullopt;

    std::tm date{};
    date.tm_year = *year - 1900;
    date.tm_mon = *month - 1;
    date.tm_mday = *day;
    date.tm_isdst = -1;
    const time_t start = std::mktime(&date);
    // mktime moves days such as 2-30 into the next month; such a date was never valid.
    if (start == time_t(-1) || date.tm_mon != *month - 1 || date.tm_mday != *day)
        return std::nullopt;
    return start;
}

#include "workbook/xlsx/SerialDate.h"

#include <charconv>
#include <cstdint>

namespace setzaiko::xlsx {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy =
        (153 * static_cast<unsigned>(m > 2 ? m - 3 : m + 9) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool digits(std::string_view text, std::size_t at, std::size_t count, int& value)
{
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

std::optional<double> serialFromIsoDate(std::string_view text, bool dates1904)
{
    int year = 0;
    int month = 0;
    int day = 0;
    if (!digits(text, 0, 4, year) || text.size() < 10 || text[4] != '-' ||
        !digits(text, 5, 2, month) || text[7] != '-' || !digits(text, 8, 2, day) || month < 1 ||
        month > 12 || day < 1 || day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    double fraction = 0.0;
    std::string_view rest = text.substr(10);
    if (!rest.empty() && rest.back() == 'Z') {
        rest.remove_suffix(1);
    }
    if (!rest.empty()) {
        int hour = 0;
        int minute = 0;
        if (rest.size() < 6 || rest[0] != 'T' || !digits(rest, 1, 2, hour) || rest[3] != ':' ||
            !digits(rest, 4, 2, minute) || hour > 23 || minute > 59) {
            return std::nullopt;
        }
        double seconds = 0.0;
        if (rest.size() > 6) {
            if (rest[6] != ':') {
                return std::nullopt;
            }
            // Two digits and an optional fraction of digits: from_chars alone would also take
            // "nan", "inf", a sign or an exponent.
            int whole = 0;
            const std::string_view fractionDigits =
                rest.size() > 9 && rest[9] == '.' ? rest.substr(10) : std::string_view();
            if (!digits(rest, 7, 2, whole) || whole > 59 ||
                (rest.size() > 9 &&
                 (rest[9] != '.' || fractionDigits.empty() ||
                  fractionDigits.find_first_not_of("0123456789") != std::string_view::npos))) {
                return std::nullopt;
            }
            const char* first = rest.data() + 7;
            const char* last = rest.data() + rest.size();
            if (std::from_chars(first, last, seconds).ptr != last || seconds >= 60.0) {
                return std::nullopt;
            }
        }
        fraction = (hour * 3600.0 + minute * 60.0 + seconds) / 86400.0;
    }
    const std::int64_t days = daysFromCivil(year, month, day);
    double serial = 0.0;
    if (dates1904) {
        serial = static_cast<double>(days - daysFromCivil(1904, 1, 1));
    } else {
        // Serial 60 is the 29th of February 1900 that never was: dates before it count from
        // one day later.
        serial = static_cast<double>(days - daysFromCivil(1899, 12, 30));
        if (serial < 61) {
            serial -= 1;
        }
    }
    return serial + fraction;
}

} // namespace setzaiko::xlsx

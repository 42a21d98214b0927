#include "artisan_dates.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

const char* const kWeekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

bool Valid(const LocalDateTime& t) {
    return t.year >= 1900 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
           t.second >= 0 && t.second <= 59;
}

// Reads `count` digits at `at` of `text`.
bool Digits(const std::string& text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char ch = text[at + i];
        if (ch < '0' || ch > '9') return false;
        value = value * 10 + (ch - '0');
    }
    return true;
}

// "14:03:05" or "14:03" (or "4:03:05").
bool ParseClock(const std::string& text, LocalDateTime& t) {
    int h = 0, m = 0, s = 0;
    std::size_t at = 0;
    if (Digits(text, 0, 2, h) && text.size() > 2 && text[2] == ':')
        at = 3;
    else if (Digits(text, 0, 1, h) && text.size() > 1 && text[1] == ':')
        at = 2;
    else
        return false;
    if (!Digits(text, at, 2, m)) return false;
    at += 2;
    if (at < text.size()) {
        if (text[at] != ':' || !Digits(text, at + 1, 2, s)) return false;
        at += 3;
        // Fractions of a second are dropped.
        if (at < text.size() && text[at] != '.') return false;
    }
    t.hour = h;
    t.minute = m;
    t.second = s;
    return true;
}

}  // namespace

std::optional<LocalDateTime> ParseIsoDateTime(const std::string& text, bool& has_offset) {
    has_offset = false;
    if (text.size() < 19 || text[10] != 'T') return std::nullopt;
    std::optional<LocalDateTime> t = ParseDateAndTime(text.substr(0, 10), text.substr(11, 8));
    if (!t) return std::nullopt;
    const std::string rest = text.substr(19);
    if (rest.empty()) return t;
    if (rest == "Z") {
        has_offset = true;
        return t;
    }
    int h = 0, m = 0;
    if (rest.size() != 6 || (rest[0] != '+' && rest[0] != '-') || rest[3] != ':' || !Digits(rest, 1, 2, h) ||
        !Digits(rest, 4, 2, m) || h > 23 || m > 59)
        return std::nullopt;
    t->utc_offset_minutes = (rest[0] == '-' ? -1 : 1) * (h * 60 + m);
    has_offset = true;
    return t;
}

std::optional<LocalDateTime> ParseDateAndTime(const std::string& date, const std::string& time) {
    LocalDateTime t;
    if (date.size() != 10 || date[4] != '-' || date[7] != '-' || !Digits(date, 0, 4, t.year) ||
        !Digits(date, 5, 2, t.month) || !Digits(date, 8, 2, t.day))
        return std::nullopt;
    if (!time.empty() && !ParseClock(time, t)) return std::nullopt;
    if (!Valid(t)) return std::nullopt;
    return t;
}

std::optional<LocalDateTime> ParseTextDateAndTime(const std::string& date, const std::string& time) {
    std::istringstream words(date);
    std::string weekday, month;
    int day = 0, year = 0;
    if (!(words >> weekday >> month >> day >> year)) return std::nullopt;
    LocalDateTime t;
    t.month = 0;
    for (int i = 0; i < 12; ++i)
        if (month == kMonths[i]) t.month = i + 1;
    t.day = day;
    t.year = year;
    if (!time.empty() && !ParseClock(time, t)) return std::nullopt;
    if (!Valid(t)) return std::nullopt;
    return t;
}

std::int64_t EpochSeconds(const LocalDateTime& t) {
    const std::int64_t days = DaysFromCivil(t.year, t.month, t.day);
    return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second -
           static_cast<std::int64_t>(t.utc_offset_minutes) * 60;
}

LocalDateTime FromEpochSeconds(std::int64_t epoch, int offset_minutes) {
    const std::int64_t local = epoch + static_cast<std::int64_t>(offset_minutes) * 60;
    std::int64_t days = local / 86400;
    std::int64_t second_of_day = local % 86400;
    if (second_of_day < 0) {
        second_of_day += 86400;
        --days;
    }
    LocalDateTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(second_of_day / 3600);
    t.minute = static_cast<int>(second_of_day / 60 % 60);
    t.second = static_cast<int>(second_of_day % 60);
    t.utc_offset_minutes = offset_minutes;
    return t;
}

LocalDateTime ShiftedBy(const LocalDateTime& t, std::int64_t seconds) {
    return FromEpochSeconds(EpochSeconds(t) + seconds, t.utc_offset_minutes);
}

std::string IsoLocalDateTime(const LocalDateTime& t) { return IsoDate(t) + "T" + ClockTime(t); }

std::string IsoDate(const LocalDateTime& t) {
    char text[24];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
    return text;
}

std::string ClockTime(const LocalDateTime& t) {
    char text[24];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
}

std::string TextDate(const LocalDateTime& t) {
    // 1970-01-01 was a Thursday.
    const std::int64_t days = DaysFromCivil(t.year, t.month, t.day);
    const std::int64_t weekday = ((days % 7) + 7 + 3) % 7;
    char text[40];
    std::snprintf(text, sizeof text, "%s %s %d %d", kWeekdays[weekday], kMonths[(t.month + 11) % 12], t.day, t.year);
    return text;
}

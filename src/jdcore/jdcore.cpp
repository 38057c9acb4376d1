#include "jdcore/jdcore.h"

#include <limits>

#include "jdcore/day_count.h"

namespace jdcore {
namespace {

// A JDN that does not fit 32 bits saturates at +-(2^31 - 1), symmetric so that its magnitude
// is representable; every caller treats such a value as out of range.
std::int32_t saturate(std::int64_t v) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v > kMax ? kMax : v < -kMax ? -kMax : v);
}

std::int64_t jdn_of(std::int32_t calendar, std::int64_t y, std::int64_t m, std::int64_t d) {
    switch (calendar) {
        case 'J':
            return jdn_from_julian(y, m, d);
        case 'V':
            return jdn_from_leap_week_month_date(y, m, d);
        case 'I':
            return jdn_from_iso_week(y, m, d);
        case 'A':
            return jdn_from_annus_novus(y, m, d);
        default:
            return jdn_from_gregorian(y, m, d);
    }
}

bool is_known_calendar(std::int32_t calendar) {
    return calendar == 'G' || calendar == 'J' || calendar == 'V' || calendar == 'I' ||
           calendar == 'A';
}

void store(DateRecord& record, const YearMonthDay& date) {
    record.year = static_cast<std::int32_t>(date.year);
    record.month = date.month;
    record.day = date.day;
}

// Days in `month` of `year`, or 0 when the month does not exist in that calendar.
std::int64_t month_length_in(char calendar, std::int64_t year, std::int64_t month) {
    switch (calendar) {
        case 'G':
            return month >= 1 && month <= 12 ? month_length(month, gregorian_leap(year)) : 0;
        case 'J':
            return month >= 1 && month <= 12 ? month_length(month, julian_leap(year)) : 0;
        case 'V':
            return month >= 1 && month <= 12
                       ? 7 * leap_week_weeks_in_month(month, leap_week_is_leap(year))
                       : 0;
        case 'I':  // "month" is the week, "day" the weekday
            return month >= 1 && month <= iso_weeks_in_year(year) ? 7 : 0;
        case 'A':
            return month >= 1 && month <= 10
                       ? annus_novus_month_length(month, annus_novus_leap(year))
                       : 0;
        default:
            return 0;
    }
}

// One signed decimal field: an optional sign, then at least one digit. Values are capped at
// 10^12 (anything that large is out of every range below), so nothing overflows.
bool read_field(std::string_view text, std::size_t& pos, std::int64_t& value) {
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t start = pos;
    std::int64_t v = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (v < 1'000'000'000'000) {
            v = v * 10 + (text[pos] - '0');
        }
        ++pos;
    }
    if (pos == start) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

bool is_separator(char c) {
    return !(c >= '0' && c <= '9') && c != '+';
}

}  // namespace

std::int32_t detail::euro_date_to_jdn_general(DateRecord& record) {
    record.jdn = saturate(jdn_of(record.calendar, record.year, record.month, record.day));
    return record.jdn;
}

std::int32_t detail::jdn_to_euro_date_general(DateRecord& record) {
    const std::int64_t jdn = record.jdn;
    switch (record.calendar) {
        case 'G':
            store(record, gregorian_from_jdn(jdn));
            return 0;
        case 'J':
            store(record, julian_from_jdn(jdn));
            return 0;
        case 'V':
            store(record, leap_week_month_date_from_jdn(jdn));
            return 0;
        case 'I': {
            const IsoWeekDate w = iso_week_from_jdn(jdn);
            record.year = static_cast<std::int32_t>(w.year);
            record.month = w.week;
            record.day = w.weekday;
            return 0;
        }
        case 'A':
            store(record, annus_novus_from_jdn(jdn));
            return 0;
        default:
            return -1;
    }
}

std::int32_t annus_novus_date_to_jdn(DateRecord& record) {
    record.jdn = saturate(jdn_from_annus_novus(record.year, record.month, record.day));
    return record.jdn;
}

std::int16_t jdn_to_annus_novus_date(DateRecord& record) {
    const YearMonthDay date = annus_novus_from_jdn(record.jdn);
    store(record, date);
    return static_cast<std::int16_t>(annus_novus_weekday(date.day));
}

std::int32_t euro_day_of_week(std::int32_t jdn) {
    return weekday_sunday0(jdn);
}

std::int32_t str_to_date(std::string_view text, std::int32_t dateFormat, DateRecord& record,
                         char letter) {
    if (letter >= 'a' && letter <= 'z') {
        letter = static_cast<char>(letter - 'a' + 'A');
    }
    if (!is_known_calendar(letter)) {
        return kInvalid;
    }
    // Leading and trailing blanks are ignored.
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }

    // Three fields, separated by the same single non-digit character; each may be signed.
    std::int64_t field[3] = {0, 0, 0};
    std::size_t pos = 0;
    char separator = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= text.size() || !is_separator(text[pos]) ||
                (i == 2 && text[pos] != separator)) {
                return kInvalid;
            }
            separator = text[pos++];
        }
        if (!read_field(text, pos, field[i])) {
            return kInvalid;
        }
    }
    if (pos != text.size()) {
        return kInvalid;
    }

    std::int64_t year = 0;
    std::int64_t month = 0;
    std::int64_t day = 0;
    switch (dateFormat) {
        case kFormatYMD:
            year = field[0], month = field[1], day = field[2];
            break;
        case kFormatDMY:
            day = field[0], month = field[1], year = field[2];
            break;
        case kFormatMDY:
            month = field[0], day = field[1], year = field[2];
            break;
        default:
            return kInvalid;
    }

    if (year > kMaxYearMagnitude || year < -kMaxYearMagnitude) {
        return kOutOfRange;
    }
    if (day < 1 || day > month_length_in(letter, year, month)) {
        return kInvalid;
    }
    const std::int64_t jdn = jdn_of(letter, year, month, day);
    if (jdn > kMaxJdnMagnitude || jdn < -kMaxJdnMagnitude) {
        return kOutOfRange;
    }
    record.year = static_cast<std::int32_t>(year);
    record.month = static_cast<std::int32_t>(month);
    record.day = static_cast<std::int32_t>(day);
    record.calendar = letter;
    record.jdn = static_cast<std::int32_t>(jdn);
    return kValid;
}

std::string separate_thousands(std::string_view digits, char separator) {
    std::size_t start = 0;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        start = 1;
    }
    if (start == digits.size()) {
        return std::string(digits);
    }
    for (std::size_t i = start; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') {
            return std::string(digits);
        }
    }
    const std::size_t count = digits.size() - start;
    std::string out(digits.substr(0, start));
    out.reserve(digits.size() + count / 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) {
            out.push_back(separator);
        }
        out.push_back(digits[start + i]);
    }
    return out;
}

std::int32_t days_elapsed(const DateRecord& later, const DateRecord& earlier,
                          std::int32_t& status) {
    auto known = [](std::int32_t c) { return c == 0 || is_known_calendar(c); };
    if (!known(later.calendar) || !known(earlier.calendar)) {
        status = -1;
        return 0;
    }
    status = 0;
    const std::int64_t a = jdn_of(later.calendar, later.year, later.month, later.day);
    const std::int64_t b = jdn_of(earlier.calendar, earlier.year, earlier.month, earlier.day);
    return saturate(a - b);
}

}  // namespace jdcore

#include "calendar/calendar_table.h"

#include <QDate>
#include <cstdint>
#include <limits>

#include "jdcore/day_count.h"

namespace daybridge {
namespace {

std::int32_t Saturate(std::int64_t v) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v > kMax ? kMax : v < -kMax ? -kMax : v);
}

}  // namespace

QString CalendarCode(CalendarId id) {
    return CodeOf(id);
}

QString LibraryLetter(CalendarId id) {
    return QString::fromLatin1(Calendar(id).libraryLetter);
}

int CalendarIndexOfCode(const QString& code) {
    const std::optional<CalendarId> id = CalendarOfCode(code);
    return id ? IndexOf(*id) : -1;
}

bool CalendarLetter(CalendarId id, DateRecord& record) {
    const char letter = Calendar(id).recordLetter;
    if (letter == 0) {
        return false;
    }
    record.calendar = letter;
    return true;
}

std::int16_t DayOfWeek(std::int32_t jdn) {
    return static_cast<std::int16_t>(jdcore::euro_day_of_week(jdn));
}

std::int16_t IsoDayOfWeek(std::int32_t jdn) {
    const std::int16_t d = DayOfWeek(jdn);
    return d == 0 ? std::int16_t{7} : d;
}

bool IsWeekday(std::int32_t jdn) {
    const std::int16_t d = DayOfWeek(jdn);
    return d >= 1 && d <= 5;
}

bool IsLeapYear(std::int64_t year, const QString& letter) {
    const bool julian = !letter.isEmpty() && letter.at(0).toUpper() == QLatin1Char('J');
    return julian ? jdcore::julian_leap(year) : jdcore::gregorian_leap(year);
}

std::int32_t JdnOfCivil(std::int32_t year, std::int32_t month, std::int32_t day, char letter) {
    DateRecord record{};
    record.year = year;
    record.month = month;
    record.day = day;
    record.calendar = letter;
    return jdcore::euro_date_to_jdn(record);
}

DateRecord CivilOfJdn(std::int32_t jdn, char letter) {
    DateRecord record{};
    record.calendar = letter;
    record.jdn = jdn;
    jdcore::jdn_to_euro_date(record);
    return record;
}

std::int16_t DayOfYear(const DateRecord& record) {
    DateRecord date = record;
    DateRecord first{};
    first.year = record.year;
    first.month = 1;
    first.day = 1;
    first.calendar = record.calendar;
    const std::int64_t diff =
        static_cast<std::int64_t>(jdcore::euro_date_to_jdn(date)) - jdcore::euro_date_to_jdn(first);
    // Only dates inside their year give 1..366; anything else is clamped, never cut.
    const std::int64_t day = diff + 1;
    return static_cast<std::int16_t>(day < INT16_MIN   ? INT16_MIN
                                     : day > INT16_MAX ? INT16_MAX
                                                       : day);
}

std::int32_t FirstDayOfYearPlus(std::int32_t year, std::int32_t dayOfYear) {
    return Saturate(jdcore::jdn_from_gregorian(year, 1, 1) + dayOfYear - 1);
}

std::int32_t TodayJDN() {
    const QDate today = QDate::currentDate();
    return JdnOfCivil(today.year(), today.month(), today.day(), 'G');
}

}  // namespace daybridge

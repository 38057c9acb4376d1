#include "calendar/calendar_table.h"

#include <QDate>
#include <array>
#include <cstdint>
#include <limits>

#include "jdcore/day_count.h"

namespace daybridge {
namespace {

struct CalendarEntry {
    const char* code;
    const char* letter;
};

constexpr std::array<CalendarEntry, kAllCalendarCount> kCalendars{{
    {"CE", "G"},
    {"JC", "J"},
    {"JDN", "JD"},
    {"AN", "A"},
    {"ORD", ""},
    {"VLW", "V"},
    {"ISO", "I"},
    {"LPW", ""},
    {"LPM", ""},
    {"HEB", ""},
    {"ISL", ""},
    {"PER", ""},
    {"COP", ""},
    {"ETH", ""},
    {"FRR", ""},
    {"IND", ""},
    {"MAY", ""},
    {"MJD", ""},
}};

// Text identifiers: calendar names from 400 (HEB) on; each year-month-day world calendar's
// month names from 410 in blocks of 20 (HEB 410..422, ISL 430..441, ... IND 530..541).
constexpr int kFirstCalendarNameTextId = 400;
constexpr int kFirstMonthNameTextId = 410;
constexpr int kMonthNameBlock = 20;

constexpr std::array<const char*, 7> kDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonthNames{"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};

std::int32_t Saturate(std::int64_t v) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v > kMax ? kMax : v < -kMax ? -kMax : v);
}

}  // namespace

QString CalendarCode(int index) {
    if (index < 0 || index >= kAllCalendarCount) {
        return {};
    }
    return QString::fromLatin1(kCalendars[static_cast<std::size_t>(index)].code);
}

QString LibraryLetter(int index) {
    if (index < 0 || index >= kAllCalendarCount) {
        return {};
    }
    return QString::fromLatin1(kCalendars[static_cast<std::size_t>(index)].letter);
}

int CalendarIndexOfCode(const QString& code) {
    const QString upper = code.toUpper();
    for (int i = 0; i < kAllCalendarCount; ++i) {
        if (upper == QLatin1String(kCalendars[static_cast<std::size_t>(i)].code)) {
            return i;
        }
    }
    return -1;
}

std::optional<jdcore::WorldCalendar> WorldCalendarOf(int index) {
    switch (index) {
        case kHEB:
            return jdcore::WorldCalendar::Hebrew;
        case kISL:
            return jdcore::WorldCalendar::Islamic;
        case kPER:
            return jdcore::WorldCalendar::Persian;
        case kCOP:
            return jdcore::WorldCalendar::Coptic;
        case kETH:
            return jdcore::WorldCalendar::Ethiopian;
        case kFRR:
            return jdcore::WorldCalendar::FrenchRepublican;
        case kIND:
            return jdcore::WorldCalendar::Indian;
        default:
            return std::nullopt;
    }
}

int CalendarNameTextId(int index) {
    return index >= kHEB && index <= kMJD ? kFirstCalendarNameTextId + index - kHEB : 0;
}

int MonthNameTextId(int index, int month) {
    if (!WorldCalendarOf(index) || month < 1 || month > 13) {
        return 0;
    }
    const bool thirteenMonths = index == kHEB || index == kCOP || index == kETH || index == kFRR;
    if (month == 13 && !thirteenMonths) {
        return 0;
    }
    return kFirstMonthNameTextId + kMonthNameBlock * (index - kHEB) + month - 1;
}

bool CalendarLetter(int index, DateRecord& record) {
    switch (index) {
        case kCE:
        case kORD:  // ordinal dates are CE dates
            record.calendar = 'G';
            return true;
        case kJC:
            record.calendar = 'J';
            return true;
        case kAN:
            record.calendar = 'A';
            return true;
        case kVLW:
            record.calendar = 'V';
            return true;
        case kISO:
            record.calendar = 'I';
            return true;
        default:
            return false;
    }
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

QString DayName(int n) {
    if (n < 0 || n > 6) {
        return {};
    }
    return QString::fromLatin1(kDayNames[static_cast<std::size_t>(n)]);
}

QString MonthName(int m) {
    if (m < 1 || m > 12) {
        return {};
    }
    return QString::fromLatin1(kMonthNames[static_cast<std::size_t>(m - 1)]);
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

// The Chinese (CHN) and Korean (KOR) lunisolar calendars over jdcore's tables (1645-2200,
// jdcore/lunisolar.h). A year is numbered by the Gregorian year in which its first month
// begins; a leap month repeats the number of the month before it and is written "bis" after
// that number: "2033-11bis-01 CHN" is the first day of the leap eleventh month of 2033.
// Outside the tables' years a calendar has no dates.
//
// Months are added by their place in the year, so a leap month is a month like the others;
// years keep the month's number, and a leap month becomes the leap month of the same number
// where the later year has one, else the ordinary month of that number.
#include "jdcore/lunisolar.h"
#include "calendar/calendars/entry_support.h"

namespace daybridge {
namespace {

using jdcore::kLunisolarFirstYear;
using jdcore::kLunisolarLastYear;
using jdcore::Lunisolar;

// Month indices of years outside the tables: far enough from every index of a year inside
// (and from any month step added to one) that a month counted from them never lands inside.
constexpr std::int64_t kMonthsBeforeSpan = -(std::int64_t{1} << 45);
constexpr std::int64_t kMonthsAfterSpan = std::int64_t{1} << 45;
// The tables' first and last day, the same for both (a test compares them with jdcore's): the
// Chinese and Korean new years of 1645 and of 2201 fall on the same days.
constexpr std::int64_t kFirstJdn = 2321912;
constexpr std::int64_t kLastJdn = 2524992;
// What toJdn gives for a date outside the tables: beyond every day number.
constexpr std::int64_t kNoDay = -(std::int64_t{1} << 50);

constexpr const char* kChineseMonths[12] = {
    jdcore::kChineseMonthNames[0].data(),  jdcore::kChineseMonthNames[1].data(),
    jdcore::kChineseMonthNames[2].data(),  jdcore::kChineseMonthNames[3].data(),
    jdcore::kChineseMonthNames[4].data(),  jdcore::kChineseMonthNames[5].data(),
    jdcore::kChineseMonthNames[6].data(),  jdcore::kChineseMonthNames[7].data(),
    jdcore::kChineseMonthNames[8].data(),  jdcore::kChineseMonthNames[9].data(),
    jdcore::kChineseMonthNames[10].data(), jdcore::kChineseMonthNames[11].data()};
constexpr const char* kKoreanMonths[12] = {
    jdcore::kKoreanMonthNames[0].data(),  jdcore::kKoreanMonthNames[1].data(),
    jdcore::kKoreanMonthNames[2].data(),  jdcore::kKoreanMonthNames[3].data(),
    jdcore::kKoreanMonthNames[4].data(),  jdcore::kKoreanMonthNames[5].data(),
    jdcore::kKoreanMonthNames[6].data(),  jdcore::kKoreanMonthNames[7].data(),
    jdcore::kKoreanMonthNames[8].data(),  jdcore::kKoreanMonthNames[9].data(),
    jdcore::kKoreanMonthNames[10].data(), jdcore::kKoreanMonthNames[11].data()};

template <Lunisolar kCalendar>
struct LunisolarEntry {
    static jdcore::LunisolarDate Of(const CalendarDate& d) {
        return {d.year, d.month, d.leapMonth, d.day};
    }
    static CalendarDate Date(std::int64_t jdn) {
        const std::optional<jdcore::LunisolarDate> d = jdcore::LunisolarFromJdn(kCalendar, jdn);
        if (!d) {
            return {};
        }
        return {.leapMonth = d->leap, .month = d->month, .year = d->year, .day = d->day};
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::LunisolarToJdn(kCalendar, Of(d)).value_or(kNoDay);
    }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        return jdcore::CheckLunisolarDate(kCalendar, Of(d));
    }
    static int Months(std::int64_t year) { return jdcore::LunisolarMonthsInYear(kCalendar, year); }
    static int MonthDays(const CalendarDate& d) {
        return jdcore::LunisolarDaysInMonth(kCalendar, d.year, d.month, d.leapMonth);
    }
    // A leap year is one of 13 months.
    static std::optional<bool> Leap(std::int64_t year) {
        const int months = Months(year);
        return months == 0 ? std::nullopt : std::optional<bool>(months == 13);
    }

    // ---- months by place
    static int PlaceOf(std::int64_t year, std::int32_t month, bool leap) {
        return jdcore::LunisolarPlaceOf(kCalendar, year, month, leap);
    }
    static void MonthAt(std::int64_t year, int place, CalendarDate& date) {
        const jdcore::LunisolarMonthName month = jdcore::LunisolarMonthAt(kCalendar, year, place);
        date.month = month.month;
        date.leapMonth = month.leap;
    }
    // Months from the first month of the tables' first year: the tables count them.
    static std::int64_t MonthsBeforeYear(std::int64_t year) {
        if (year < kLunisolarFirstYear) {
            return kMonthsBeforeSpan;
        }
        if (year > kLunisolarLastYear) {
            return kMonthsAfterSpan;
        }
        const auto& index = jdcore::lunisolar_detail::IndexOf(kCalendar);
        return index.first[static_cast<std::size_t>(year - kLunisolarFirstYear)];
    }
    // The tables' years are few: a binary search over their first months.
    static std::int64_t YearOfMonth(std::int64_t monthIndex) {
        const auto& first = jdcore::lunisolar_detail::IndexOf(kCalendar).first;
        if (monthIndex < 0) {
            return kLunisolarFirstYear - 1;
        }
        if (monthIndex >= std::int64_t{first.back()}) {
            return kLunisolarLastYear + 1;
        }
        std::size_t low = 0;                  // first[low] <= monthIndex
        std::size_t high = first.size() - 1;  // first[high] > monthIndex
        while (high - low > 1) {
            const std::size_t middle = (low + high) / 2;
            (std::int64_t{first[middle]} <= monthIndex ? low : high) = middle;
        }
        return kLunisolarFirstYear + static_cast<std::int64_t>(low);
    }
    static int PlaceAfterYears(std::int64_t fromYear, int place, std::int64_t toYear) {
        const jdcore::LunisolarMonthName month =
            jdcore::LunisolarMonthAt(kCalendar, fromYear, place);
        if (month.leap) {
            if (const int leapPlace = PlaceOf(toYear, month.month, true); leapPlace != 0) {
                return leapPlace;
            }
        }
        const int target = PlaceOf(toYear, month.month, false);
        return target != 0 ? target : place;  // a year outside the tables: out of range later
    }

    static constexpr MonthArithmetic kMonthArithmetic{PlaceOf, MonthAt, MonthsBeforeYear,
                                                      YearOfMonth, PlaceAfterYears};
};

template <Lunisolar kCalendar>
constexpr CalendarEntry LunisolarCalendarEntry(CalendarId id, const char* code, int nameText,
                                               std::span<const char* const> monthNames) {
    using C = LunisolarEntry<kCalendar>;
    CalendarEntry entry =
        calendars::MonthlyEntry<C>(id, code, nameText, {.fixed = monthNames},
                                   {kFirstJdn, kLastJdn, kLunisolarFirstYear, kLunisolarLastYear});
    entry.notation = Notation::LunisolarDate;
    entry.monthArithmetic = &C::kMonthArithmetic;
    return entry;
}

}  // namespace

constinit const CalendarEntry kCHNCalendar =
    LunisolarCalendarEntry<Lunisolar::Chinese>(CalendarId::CHN, "CHN", 570, kChineseMonths);
constinit const CalendarEntry kKORCalendar =
    LunisolarCalendarEntry<Lunisolar::Korean>(CalendarId::KOR, "KOR", 571, kKoreanMonths);

}  // namespace daybridge

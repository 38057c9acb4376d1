// The world's arithmetic year-month-day calendars: Islamic (tabular, ISL), Persian (33-year
// rule, PER), Coptic (COP), Ethiopian (ETH), French Republican (FRR) and Indian national
// (Saka, IND); jdcore/world_calendars.h has their rules. Every year of each has the same
// months, numbered in their order.
#include "calendar/calendars/entry_support.h"
#include "jdcore/world_calendars.h"

namespace daybridge {
namespace {

using jdcore::WorldCalendar;

template <WorldCalendar kCalendar>
struct World {
    static CalendarDate Date(std::int64_t jdn) {
        return calendars::YearMonthDayDate(jdcore::FromJdn(kCalendar, jdn));
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::ToJdn(kCalendar, d.year, d.month, d.day);
    }
    static int Months(std::int64_t year) { return jdcore::MonthsInYear(kCalendar, year); }
    static int MonthDays(const CalendarDate& d) {
        return jdcore::DaysInMonth(kCalendar, d.year, d.month);
    }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        return calendars::CheckMonthAndDay(d, Months(d.year), MonthDays);
    }
    // A leap year has the longer of the calendar's two year lengths.
    static std::optional<bool> Leap(std::int64_t year) {
        const int days = jdcore::DaysInYear(kCalendar, year);
        return days == 0 ? std::nullopt : std::optional<bool>(days == 355 || days == 366);
    }
};

constexpr calendars::Span kEveryDay{.firstYear = -jdcore::kMaxWorldYear,
                                    .lastYear = jdcore::kMaxWorldYear};

template <WorldCalendar kCalendar>
constexpr CalendarEntry WorldEntry(CalendarId id, const char* code, int nameText,
                                   int firstMonthText, int months) {
    return calendars::MonthlyEntry<World<kCalendar>>(
        id, code, nameText, calendars::MonthTexts(firstMonthText, months), kEveryDay);
}

}  // namespace

constinit const CalendarEntry kISLCalendar =
    WorldEntry<WorldCalendar::Islamic>(CalendarId::ISL, "ISL", 401, 430, 12);
constinit const CalendarEntry kPERCalendar =
    WorldEntry<WorldCalendar::Persian>(CalendarId::PER, "PER", 402, 450, 12);
constinit const CalendarEntry kCOPCalendar =
    WorldEntry<WorldCalendar::Coptic>(CalendarId::COP, "COP", 403, 470, 13);
constinit const CalendarEntry kETHCalendar =
    WorldEntry<WorldCalendar::Ethiopian>(CalendarId::ETH, "ETH", 404, 490, 13);
constinit const CalendarEntry kFRRCalendar =
    WorldEntry<WorldCalendar::FrenchRepublican>(CalendarId::FRR, "FRR", 405, 510, 13);
constinit const CalendarEntry kINDCalendar =
    WorldEntry<WorldCalendar::Indian>(CalendarId::IND, "IND", 406, 530, 12);

}  // namespace daybridge

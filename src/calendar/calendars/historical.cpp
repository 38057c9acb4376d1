// The historical Christian calendar (HIS): Julian before the switch day and Gregorian from it
// (jdcore/historical_calendar.h). The days skipped at the switch are no dates of it. Its
// months are numbered 1-12 as in both calendars; a month's days are counted by the number of
// its last day (31 for October 1582, of which 4-14 do not exist), so that adding months keeps
// the end of a month. Dates are written year first: "1582-10-15".
#include <atomic>

#include "calendar/calendars/entry_support.h"
#include "calendar/gregorian_switch.h"
#include "calendar/names.h"
#include "jdcore/historical_calendar.h"

namespace daybridge {
namespace {

constexpr int kNameText = 564;
constexpr std::int64_t kLastSwitch = jdcore::jdn_from_gregorian(9999, 12, 31);

std::atomic<std::int64_t> switchJdn{jdcore::kGregorianReform};

std::int64_t Switch() {
    return switchJdn.load(std::memory_order_relaxed);
}

// Its conversions, by the switch in force.
struct Historical {
    static CalendarDate Date(std::int64_t jdn) {
        return calendars::YearMonthDayDate(jdcore::HistoricalFromJdn(jdn, Switch()));
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::HistoricalToJdn(d.year, d.month, d.day, Switch());
    }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        return jdcore::CheckHistoricalDate(d.year, d.month, d.day, Switch());
    }
    static int Months(std::int64_t) { return 12; }
    // The number of the month's last day: Julian while that day comes before the switch.
    static int MonthDays(const CalendarDate& d) {
        const int julianDays = jdcore::month_length(d.month, jdcore::julian_leap(d.year));
        if (jdcore::jdn_from_julian(d.year, d.month, julianDays) < Switch()) {
            return julianDays;
        }
        return jdcore::month_length(d.month, jdcore::gregorian_leap(d.year));
    }
    static std::optional<bool> Leap(std::int64_t year) {
        return jdcore::HistoricalIsLeapYear(year, Switch());
    }
};

}  // namespace

std::int64_t GregorianSwitchJdn() {
    return Switch();
}

bool SetGregorianSwitchJdn(std::int64_t jdn) {
    if (jdn < jdcore::kEarliestReform || jdn > kLastSwitch) {
        return false;
    }
    switchJdn.store(jdn, std::memory_order_relaxed);
    return true;
}

std::optional<std::int64_t> GregorianSwitchOfText(QStringView text) {
    if (text.compare(u"rome", Qt::CaseInsensitive) == 0) {
        return jdcore::kGregorianReform;
    }
    if (text.compare(u"britain", Qt::CaseInsensitive) == 0) {
        return jdcore::kBritishReform;
    }
    // Exactly "YYYY-MM-DD": ten characters, digits but for the two hyphens.
    if (text.size() != 10) {
        return std::nullopt;
    }
    int number[3] = {};
    for (qsizetype i = 0, part = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (i == 4 || i == 7) {
            if (c != u'-') {
                return std::nullopt;
            }
            ++part;
        } else if (c >= u'0' && c <= u'9') {
            number[part] = number[part] * 10 + (c - u'0');
        } else {
            return std::nullopt;
        }
    }
    const auto [year, month, day] = number;
    if (month < 1 || month > 12 || day < 1 ||
        day > jdcore::month_length(month, jdcore::gregorian_leap(year))) {
        return std::nullopt;
    }
    const std::int64_t jdn = jdcore::jdn_from_gregorian(year, month, day);
    if (jdn < jdcore::kEarliestReform || jdn > kLastSwitch) {
        return std::nullopt;
    }
    return jdn;
}

QString GregorianSwitchText(std::int64_t jdn) {
    const jdcore::YearMonthDay d = jdcore::gregorian_from_jdn(jdn);
    return QString::asprintf("%04d-%02d-%02d", static_cast<int>(d.year), d.month, d.day);
}

namespace {

constexpr ChosenRule kSwitchRule{
    .text = [] { return GregorianSwitchText(GregorianSwitchJdn()); },
    .take =
        [](QStringView text) {
            const std::optional<std::int64_t> jdn = GregorianSwitchOfText(text);
            return jdn && SetGregorianSwitchJdn(*jdn);
        },
};

constexpr CalendarEntry HistoricalEntry() {
    CalendarEntry entry = calendars::MonthlyEntry<Historical>(CalendarId::HIS, "HIS", kNameText,
                                                              {.fixed = kEnglishMonthNames});
    entry.rule = &kSwitchRule;
    return entry;
}

}  // namespace

constinit const CalendarEntry kHISCalendar = HistoricalEntry();

}  // namespace daybridge

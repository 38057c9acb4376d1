#include "calendar/calendar_registry.h"

#include <algorithm>
#include <array>
#include <vector>

#include "calendar/calendars/calendar_entries.h"

namespace daybridge {
namespace {

// The registry: every entry, by identity.
constexpr std::array<const CalendarEntry*, kCalendarCount> kEntries = {
#define DAYBRIDGE_CALENDAR_ENTRY(code) &k##code##Calendar,
    DAYBRIDGE_CALENDARS(DAYBRIDGE_CALENDAR_ENTRY)
#undef DAYBRIDGE_CALENDAR_ENTRY
};

template <typename Keep, typename Rank>
std::vector<CalendarId> Listed(Keep keep, Rank rank) {
    std::vector<CalendarId> list;
    for (const CalendarEntry* entry : kEntries) {
        if (keep(*entry)) {
            list.push_back(entry->id);
        }
    }
    std::stable_sort(list.begin(), list.end(), [&](CalendarId a, CalendarId b) {
        return rank(Calendar(a)) < rank(Calendar(b));
    });
    return list;
}

}  // namespace

const CalendarEntry& Calendar(CalendarId id) {
    return *kEntries[static_cast<std::size_t>(IndexOf(id))];
}

std::span<const CalendarEntry* const> AllCalendars() {
    return kEntries;
}

std::optional<CalendarId> CalendarOfCode(QStringView code) {
    for (const CalendarEntry* entry : kEntries) {
        if (code.compare(QLatin1String(entry->code), Qt::CaseInsensitive) == 0) {
            return entry->id;
        }
    }
    return std::nullopt;
}

std::optional<CalendarId> CalendarOfIndex(int index) {
    if (index < 0 || index >= kCalendarCount) {
        return std::nullopt;
    }
    return static_cast<CalendarId>(index);
}

std::optional<CalendarId> CalendarOfDescribedIndex(std::int64_t index) {
    if (index < 0 || index >= kDescribedCalendarCount) {
        return std::nullopt;
    }
    return static_cast<CalendarId>(index);
}

std::optional<int> DescribedIndexOf(CalendarId id) {
    const int index = IndexOf(id);
    return index < kDescribedCalendarCount ? std::optional<int>(index) : std::nullopt;
}

std::optional<CalendarId> CalendarOfRecordLetter(std::int32_t letter) {
    for (const CalendarEntry* entry : kEntries) {
        if (entry->recordLetter != 0 && entry->recordLetter == letter) {
            return entry->id;  // the first with the letter: CE before ORD
        }
    }
    return std::nullopt;
}

QString CodeOf(CalendarId id) {
    return QString::fromLatin1(Calendar(id).code);
}

namespace {

// A romanised name as it is compared: "ō" and "ou" as "o" ("Shōwa", "Shouwa": Showa).
QString PlainRomanised(const QString& word) {
    QString plain = word.toLower();
    plain.replace(QChar(0x014D), u'o').replace(QChar(0x00F4), u'o');
    plain.replace(QLatin1String("ou"), QLatin1String("o"));
    return plain;
}

}  // namespace

std::optional<int> EraOfName(const CalendarEntry& calendar, QStringView word) {
    if (calendar.eras == nullptr || word.isEmpty()) {
        return std::nullopt;
    }
    const QString plain = PlainRomanised(word.toString());
    const EraNames& eras = *calendar.eras;
    for (std::size_t i = 0; i < eras.names.size(); ++i) {
        if (plain == PlainRomanised(QString::fromLatin1(eras.names[i])) ||
            word.compare(QLatin1String(eras.shortNames[i]), Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

QString EraName(const CalendarEntry& calendar, int era) {
    if (calendar.eras == nullptr || era < 1 ||
        static_cast<std::size_t>(era) > calendar.eras->names.size()) {
        return {};
    }
    return QLatin1String(calendar.eras->names[static_cast<std::size_t>(era) - 1]);
}

std::span<const CalendarId> OptionCalendars() {
    static const std::vector<CalendarId> list =
        Listed([](const CalendarEntry& c) { return c.fieldChoice == FieldChoice::Option; },
               [](const CalendarEntry& c) { return c.optionSlot; });
    return list;
}

std::span<const CalendarId> OtherListCalendars() {
    static const std::vector<CalendarId> list =
        Listed([](const CalendarEntry& c) { return c.fieldChoice == FieldChoice::OtherList; },
               [](const CalendarEntry&) { return 0; });
    return list;
}

std::span<const CalendarId> TodayCycle() {
    static const std::vector<CalendarId> list =
        Listed([](const CalendarEntry& c) { return c.todaySlot != kTodayNever; },
               [](const CalendarEntry& c) { return c.todaySlot; });
    return list;
}

bool InSpan(const CalendarEntry& calendar, std::int64_t jdn) {
    return jdn >= calendar.firstJdn && jdn <= calendar.lastJdn;
}

jdcore::DateCheck CheckDate(const CalendarDate& date) {
    const CalendarEntry& c = Calendar(date.calendar);
    if (c.check == nullptr) {
        return {jdcore::DateProblem::MonthOutOfRange, 0};
    }
    if (c.HasYears() && (date.year < c.minYear || date.year > c.maxYear)) {
        return {jdcore::DateProblem::OutOfSpan, date.year < c.minYear ? c.minYear : c.maxYear};
    }
    return c.check(date);
}

std::optional<std::int64_t> ToJdn(const CalendarDate& date) {
    if (!CheckDate(date).ok()) {
        return std::nullopt;
    }
    return Calendar(date.calendar).toJdn(date);
}

}  // namespace daybridge

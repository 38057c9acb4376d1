#include "workdays/holiday_rules.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "jdcore/astronomy.h"
#include "jdcore/day_count.h"
#include "jdcore/easter.h"
#include "jdcore/equinox_calendars.h"
#include "jdcore/lunisolar.h"
#include "jdcore/umm_al_qura.h"
#include "jdcore/world_calendars.h"
#include "workdays/holiday_count.h"
#include "workdays/workday_calendar.h"

namespace daybridge {
namespace {

using jdcore::floor_mod;

constexpr std::int64_t kYearLimit = 6000000;  // beyond the years of the day range
constexpr int kMostNesting = 4;               // "monday after first sunday of ..." and deeper
// Solar rules give days over the years the astronomy is trusted to the day.
constexpr std::int64_t kSolarFirstYear = jdcore::kLunisolarFirstYear;
constexpr std::int64_t kSolarLastYear = jdcore::kLunisolarLastYear;

constexpr std::array<const char*, 12> kMonths = {"january",   "february", "march",    "april",
                                                 "may",       "june",     "july",     "august",
                                                 "september", "october",  "november", "december"};
constexpr std::array<const char*, 7> kWeekdays = {"monday", "tuesday",  "wednesday", "thursday",
                                                  "friday", "saturday", "sunday"};
constexpr std::array<const char*, 5> kCategoryNames = {"public", "bank", "school", "observance",
                                                       "optional"};

struct CalendarCode {
    const char* code;
    RuleCalendar calendar;
    int months;  // the most months a year has (their numbers run from 1)
};
constexpr std::array<CalendarCode, 13> kCalendarCodes = {{
    {"heb", RuleCalendar::Hebrew, 13},
    {"isl", RuleCalendar::Islamic, 12},
    {"uq", RuleCalendar::UmmAlQura, 12},
    {"chn", RuleCalendar::Chinese, 12},
    {"kor", RuleCalendar::Korean, 12},
    {"per", RuleCalendar::Persian, 12},
    {"pea", RuleCalendar::PersianAstronomical, 12},
    {"cop", RuleCalendar::Coptic, 13},
    {"eth", RuleCalendar::Ethiopian, 13},
    {"ind", RuleCalendar::Indian, 12},
    {"bah", RuleCalendar::Bahai, 20},
    {"frr", RuleCalendar::FrenchRepublican, 13},
    {"fre", RuleCalendar::FrenchAstronomical, 13},
}};

// A name or its first three letters.
int IndexOfName(const QString& word, const char* const* names, int count) {
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        if (word == name || (word.size() == 3 && name.startsWith(word))) {
            return i;
        }
    }
    return -1;
}

std::optional<std::int64_t> Number(const QString& word, std::int64_t low, std::int64_t high) {
    bool ok = false;
    const qlonglong value = word.toLongLong(&ok);
    if (!ok || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

int MaxDayOfMonth(int month) {
    return jdcore::month_length(month, true);
}

// "YYYY-MM-DD" (the year may be negative) as a JDN.
std::optional<std::int64_t> ReadCeDate(const QString& text) {
    const bool negative = text.startsWith(u'-');
    const QStringList parts = text.mid(negative ? 1 : 0).split(u'-');
    if (parts.size() != 3 || parts.contains(QString())) {
        return std::nullopt;
    }
    const auto year = Number(parts[0], 0, kYearLimit);
    const auto month = Number(parts[1], 1, 12);
    const auto day = Number(parts[2], 1, 31);
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const std::int64_t y = negative ? -*year : *year;
    if (*day > jdcore::month_length(static_cast<int>(*month), jdcore::gregorian_leap(y))) {
        return std::nullopt;
    }
    return jdcore::jdn_from_gregorian(y, *month, *day);
}

struct LineReader {
    QStringList words;
    int at = 0;
    HolidayFault fault = HolidayFault::None;
    QStringList details;

    bool AtEnd() const { return at >= words.size(); }
    QString Next() { return AtEnd() ? QString() : words[at++]; }
    QString Peek() const { return AtEnd() ? QString() : words[at]; }
    bool Fail(HolidayFault what, QStringList words = {}) {
        fault = what;
        details = std::move(words);
        return false;
    }
};

bool IsSigned(const QString& word) {
    return word.size() > 1 && (word.startsWith(u'+') || word.startsWith(u'-')) && word[1].isDigit();
}

// Days of the week after 'on', written "sat,sun" (blanks after the commas allowed).
std::optional<std::uint8_t> ReadDays(LineReader& in) {
    QString text = in.Next();
    while (text.endsWith(u',') && !in.AtEnd()) {
        text += in.Next();
    }
    const std::optional<std::uint8_t> days = ParseDaySet(text);
    const bool mask = text.size() == 7 && std::all_of(text.begin(), text.end(), [](QChar c) {
                          return c == u'0' || c == u'1';
                      });
    if (!days || *days == 0 || text == u"none" || mask) {
        return std::nullopt;  // "none" and masks are for the weekend setting
    }
    return days;
}

// An optional "on DAYS" after 'observed' or 'substitute' (`option`): the days that trigger the
// move, into `days` (unchanged without one). False, with the fault, for 'on' without days.
bool ReadOnDays(LineReader& in, const QString& option, std::uint8_t& days) {
    if (in.Peek() != u"on") {
        return true;
    }
    in.Next();
    const std::optional<std::uint8_t> read = ReadDays(in);
    if (!read) {
        return in.Fail(HolidayFault::DaysMissing, {option});
    }
    days = *read;
    return true;
}

// The Gregorian days of a Western Easter rule, or of a rule counted from one, reach this far
// from Easter Sunday (0 for any other rule).
bool ReachFromWesternEaster(const HolidayRule& rule, int& low, int& high) {
    if (rule.kind == HolidayKind::EasterDays) {
        low = high = rule.offset;
        return !rule.julian;
    }
    if (rule.kind != HolidayKind::Relative || !ReachFromWesternEaster(*rule.base, low, high)) {
        return false;
    }
    const bool before = rule.direction == RelativeDirection::Before ||
                        rule.direction == RelativeDirection::OnOrBefore;
    (before ? low : high) += (before ? -7 : 7) * rule.nth;
    low += rule.offset;
    high += rule.offset;
    return true;
}

bool ReadDate(LineReader& in, HolidayRule& rule, int depth);

// "WEEKDAY before BASE", "NTH WEEKDAY after BASE", "WEEKDAY on or after BASE".
bool ReadRelative(LineReader& in, HolidayRule& rule, const QString& ordinal, const QString& weekday,
                  int depth) {
    const QString how = in.Next();
    if (how == u"on") {
        const QString orWord = in.Next();
        const QString side = in.Next();
        if (orWord != u"or" || (side != u"before" && side != u"after")) {
            return in.Fail(HolidayFault::OrBeforeAfter);
        }
        rule.direction =
            side == u"before" ? RelativeDirection::OnOrBefore : RelativeDirection::OnOrAfter;
    } else if (how == u"before" || how == u"after") {
        rule.direction = how == u"before" ? RelativeDirection::Before : RelativeDirection::After;
    } else {
        return in.Fail(HolidayFault::WeekdayHow, {weekday});
    }
    if (ordinal == u"last") {
        return in.Fail(HolidayFault::NthRelative, {ordinal});
    }
    if (depth >= kMostNesting) {
        return in.Fail(HolidayFault::NestedTooDeep, {QString::number(kMostNesting)});
    }
    if (in.AtEnd()) {
        return in.Fail(HolidayFault::BaseMissing,
                       {how == u"on" ? QStringLiteral("on or ") + in.words[in.at - 1] : how});
    }
    auto base = std::make_shared<HolidayRule>();
    if (!ReadDate(in, *base, depth + 1)) {
        return false;
    }
    if (base->kind == HolidayKind::SingleDate) {
        base->firstYear = base->lastYear = std::numeric_limits<std::int32_t>::min();
        return in.Fail(HolidayFault::NotABeginning, {in.words[in.at - 1]});
    }
    rule.kind = HolidayKind::Relative;
    rule.base = std::move(base);
    int low = 0, high = 0;
    if (ReachFromWesternEaster(rule, low, high) &&
        (low < kMinEasterOffset || high > kMaxEasterOffset)) {
        return in.Fail(HolidayFault::EasterOffset,
                       {QString::number(kMinEasterOffset), QString::number(kMaxEasterOffset),
                        QString::number(low < kMinEasterOffset ? low : high)});
    }
    return true;
}

// "WEEKDAY between MM-DD and MM-DD".
bool ReadBetween(LineReader& in, HolidayRule& rule) {
    const auto monthDay = [](const QString& text, int& month, int& day) {
        const QStringList parts = text.split(u'-');
        if (parts.size() != 2) {
            return false;
        }
        const auto m = Number(parts[0], 1, 12);
        const auto d = Number(parts[1], 1, 31);
        if (!m || !d || *d > MaxDayOfMonth(static_cast<int>(*m))) {
            return false;
        }
        month = static_cast<int>(*m);
        day = static_cast<int>(*d);
        return true;
    };
    const QString first = in.Next();
    const QString andWord = in.Next();
    const QString last = in.Next();
    if (!monthDay(first, rule.month, rule.day) || andWord != u"and" ||
        !monthDay(last, rule.endMonth, rule.endDay)) {
        return in.Fail(HolidayFault::BetweenForm);
    }
    // The span in a common year, across the turn of the year when it ends before it begins.
    const auto dayOfYear = [](int m, int d) {
        return jdcore::jdn_from_gregorian(2001, m, d) - jdcore::jdn_from_gregorian(2001, 1, 1);
    };
    std::int64_t length = dayOfYear(rule.endMonth, rule.endDay) - dayOfYear(rule.month, rule.day);
    if (length < 0) {
        length += 365;
    }
    if (length > 6) {
        return in.Fail(HolidayFault::BetweenLong, {first, last});
    }
    rule.kind = HolidayKind::Between;
    return true;
}

// "solar DEG utc+H[:MM]".
bool ReadSolar(LineReader& in, HolidayRule& rule) {
    bool ok = false;
    const double degrees = in.Next().toDouble(&ok);
    if (!ok || !(degrees >= 0 && degrees < 360)) {
        return in.Fail(HolidayFault::SolarForm);
    }
    const QString zone = in.Next();
    if (zone.isEmpty()) {
        return in.Fail(HolidayFault::SolarForm);
    }
    const auto offset = [&zone]() -> std::optional<int> {
        if (!zone.startsWith(u"utc") || zone.size() < 5 || (zone[3] != u'+' && zone[3] != u'-')) {
            return std::nullopt;
        }
        const QStringList parts = zone.mid(4).split(u':');
        const auto hours = Number(parts[0], 0, 14);
        const auto minutes = parts.size() == 2 && parts[1].size() == 2
                                 ? Number(parts[1], 0, 59)
                                 : std::optional<std::int64_t>(parts.size() == 1 ? 0 : -1);
        if (!hours || !minutes || *minutes < 0 || parts[0].isEmpty() || parts[0].size() > 2) {
            return std::nullopt;
        }
        const int total = static_cast<int>(*hours * 60 + *minutes);
        return zone[3] == u'-' ? -total : total;
    }();
    if (!offset) {
        return in.Fail(HolidayFault::SolarOffset, {zone});
    }
    rule.kind = HolidayKind::Solar;
    rule.degrees = degrees;
    rule.utcMinutes = *offset;
    return true;
}

// "CODE M-D" or "CODE M-last".
bool ReadCalendarDay(LineReader& in, HolidayRule& rule, const CalendarCode& code) {
    const QString text = in.Next();
    const QStringList parts = text.split(u'-');
    const QString codeText = QString::fromLatin1(code.code).toUpper();
    const auto month = parts.size() == 2 ? Number(parts[0], 1, code.months) : std::nullopt;
    const auto day = parts.size() == 2 && parts[1] != u"last" ? Number(parts[1], 1, 31)
                                                              : std::optional<std::int64_t>(0);
    if (!month || !day || parts[0].isEmpty() || (parts[1] != u"last" && !parts[1][0].isDigit())) {
        return in.Fail(HolidayFault::CalendarDate, {codeText, text, QString::number(code.months)});
    }
    rule.kind = HolidayKind::CalendarDay;
    rule.calendar = code.calendar;
    rule.month = static_cast<int>(*month);
    rule.day = static_cast<int>(*day);
    return true;
}

bool ReadOffset(LineReader& in, HolidayRule& rule) {
    if (!IsSigned(in.Peek())) {
        return true;
    }
    const QString offset = in.Next();
    if (rule.kind == HolidayKind::EasterDays) {
        const auto days = Number(offset, kMinEasterOffset, kMaxEasterOffset);
        if (!days) {
            return in.Fail(HolidayFault::EasterOffset, {QString::number(kMinEasterOffset),
                                                        QString::number(kMaxEasterOffset), offset});
        }
        rule.offset = static_cast<int>(*days);
        return true;
    }
    const auto days = Number(offset, -kMaxDateOffset, kMaxDateOffset);
    if (!days) {
        return in.Fail(HolidayFault::OffsetRange, {offset, QString::number(kMaxDateOffset)});
    }
    rule.offset = static_cast<int>(*days);
    int low = 0, high = 0;
    if (ReachFromWesternEaster(rule, low, high) &&
        (low < kMinEasterOffset || high > kMaxEasterOffset)) {
        return in.Fail(HolidayFault::EasterOffset,
                       {QString::number(kMinEasterOffset), QString::number(kMaxEasterOffset),
                        QString::number(low < kMinEasterOffset ? low : high)});
    }
    return true;
}

// "EASTER [OFFSET]" or "ORTHODOX EASTER [OFFSET]", `first` read.
bool ReadEasterDay(LineReader& in, HolidayRule& rule, const QString& first) {
    rule.kind = HolidayKind::EasterDays;
    rule.julian = first == u"orthodox";
    if (rule.julian && in.Next() != u"easter") {
        return in.Fail(HolidayFault::OrthodoxWithoutEaster);
    }
    return ReadOffset(in, rule);
}

// "JC 12-25" is "12-25 julian"; "CE 12-25" is "12-25"; `first` read.
bool ReadCeOrJcDay(LineReader& in, HolidayRule& rule, const QString& first) {
    const QString text = in.Next();
    const QStringList parts = text.split(u'-');
    const auto month = parts.size() == 2 ? Number(parts[0], 1, 12) : std::nullopt;
    const auto day = parts.size() == 2 ? Number(parts[1], 1, 31) : std::nullopt;
    if (!month || !day) {
        return in.Fail(HolidayFault::CalendarDate, {first.toUpper(), text, QStringLiteral("12")});
    }
    if (*day > MaxDayOfMonth(static_cast<int>(*month))) {
        return in.Fail(HolidayFault::NoSuchDay, {QString::number(*month), QString::number(*day)});
    }
    rule.kind = HolidayKind::FixedDay;
    rule.julian = first == u"jc";
    rule.month = static_cast<int>(*month);
    rule.day = static_cast<int>(*day);
    return ReadOffset(in, rule);
}

// "MM-DD" every year, or "YYYY-MM-DD" once (a year that may be negative: "-4712-05-01");
// `parts` are `first`'s numbers, its sign left off.
bool ReadMonthDay(LineReader& in, HolidayRule& rule, const QString& first, const QStringList& parts,
                  bool negative) {
    const bool single = parts.size() == 3;
    auto year = single ? Number(parts[0], 0, kYearLimit) : std::optional<std::int64_t>(0);
    if (year && negative) {
        year = -*year;
    }
    const auto month = Number(parts[single ? 1 : 0], 1, 12);
    const auto day = Number(parts[single ? 2 : 1], 1, 31);
    if (!year || !month || !day || parts.contains(QString()) || (negative && !single)) {
        return in.Fail(HolidayFault::NotADate, {first});
    }
    rule.month = static_cast<int>(*month);
    rule.day = static_cast<int>(*day);
    if (rule.day > MaxDayOfMonth(rule.month)) {
        return in.Fail(HolidayFault::NoSuchDay,
                       {QString::number(rule.month), QString::number(rule.day)});
    }
    if (single) {
        if (rule.month == 2 && rule.day == 29 && !jdcore::gregorian_leap(*year)) {
            return in.Fail(HolidayFault::NotLeapYear, {QString::number(*year)});
        }
        rule.kind = HolidayKind::SingleDate;
        rule.firstYear = rule.lastYear = *year;
    } else {
        rule.kind = HolidayKind::FixedDay;
    }
    return ReadOffset(in, rule);
}

// The ordinal a word names: 0 "last", 1 "first" or "1st", ... 5 "fifth"; -1 for none.
int OrdinalOf(const QString& word) {
    static constexpr std::array<const char*, 6> kOrdinals = {"last",  "first",  "second",
                                                             "third", "fourth", "fifth"};
    static constexpr std::array<const char*, 6> kShortOrdinals = {"",    "1st", "2nd",
                                                                  "3rd", "4th", "5th"};
    int nth = -1;
    for (int i = 0; i < 6; ++i) {
        if (word == QLatin1String(kOrdinals[i]) ||
            (i > 0 && word == QLatin1String(kShortOrdinals[i]))) {
            nth = i;
        }
    }
    return nth;
}

// "NTH WEEKDAY of MONTH", "NTH WEEKDAY after BASE", "WEEKDAY before BASE", ...; `first` read.
bool ReadWeekdayDate(LineReader& in, HolidayRule& rule, const QString& first, int depth) {
    const int nth = OrdinalOf(first);
    const int firstWeekday = IndexOfName(first, kWeekdays.data(), 7);
    if (nth < 0 && firstWeekday >= 0) {
        rule.weekday = firstWeekday;
        rule.nth = 1;
        if (in.Peek() == u"between") {
            in.Next();
            return ReadBetween(in, rule) && ReadOffset(in, rule);
        }
        return ReadRelative(in, rule, QString(), first, depth) && ReadOffset(in, rule);
    }
    if (nth < 0) {
        return in.Fail(HolidayFault::NotABeginning, {first});
    }
    const QString weekday = in.Next();
    rule.weekday = IndexOfName(weekday, kWeekdays.data(), 7);
    if (rule.weekday < 0) {
        return in.Fail(HolidayFault::NotAWeekday, {weekday});
    }
    if (in.Peek() == u"after" || in.Peek() == u"before" || in.Peek() == u"on") {
        rule.nth = nth;
        return ReadRelative(in, rule, first, weekday, depth) && ReadOffset(in, rule);
    }
    if (in.Next() != u"of") {
        return in.Fail(HolidayFault::OfMissing, {first, weekday});
    }
    const QString month = in.Next();
    const auto number = Number(month, 1, 12);
    rule.month = number ? static_cast<int>(*number) : IndexOfName(month, kMonths.data(), 12) + 1;
    if (rule.month < 1) {
        return in.Fail(HolidayFault::NotAMonth, {month});
    }
    rule.kind = HolidayKind::NthWeekday;
    rule.nth = nth;
    return ReadOffset(in, rule);
}

bool ReadDate(LineReader& in, HolidayRule& rule, int depth) {
    const QString first = in.Next();
    if (first == u"easter" || first == u"orthodox") {
        return ReadEasterDay(in, rule, first);
    }
    if (first == u"solar") {
        return ReadSolar(in, rule) && ReadOffset(in, rule);
    }
    if (first == u"jc" || first == u"ce") {
        return ReadCeOrJcDay(in, rule, first);
    }
    for (const CalendarCode& code : kCalendarCodes) {
        if (first == QLatin1String(code.code)) {
            return ReadCalendarDay(in, rule, code) && ReadOffset(in, rule);
        }
    }
    const bool negative = first.startsWith(u'-');
    const QStringList parts = first.mid(negative ? 1 : 0).split(u'-');
    if (parts.size() == 2 || parts.size() == 3) {
        return ReadMonthDay(in, rule, first, parts, negative);
    }
    return ReadWeekdayDate(in, rule, first, depth);
}

// The options a rule has been given so far; each may be given once.
struct OptionsSeen {
    bool from = false;
    bool until = false;
    bool observed = false;
    bool julian = false;
    bool substitute = false;
    bool category = false;
    bool half = false;
};

// "from" or "until" (`word`) and a year or a CE date.
bool ReadBound(LineReader& in, HolidayRule& rule, const QString& word, OptionsSeen& seen) {
    const bool from = word == u"from";
    if ((from ? seen.from : seen.until) || rule.kind == HolidayKind::SingleDate) {
        return in.Fail(HolidayFault::BoundTwice, {word});
    }
    const QString text = in.Next();
    if (text.count(u'-') >= (text.startsWith(u'-') ? 3 : 2)) {
        const std::optional<std::int64_t> day = ReadCeDate(text);
        if (!day) {
            return in.Fail(HolidayFault::BoundDate, {word, text});
        }
        (from ? rule.firstDay : rule.lastDay) = *day;
    } else {
        const auto year = Number(text, -kYearLimit, kYearLimit);
        if (!year) {
            return in.Fail(HolidayFault::BoundYear,
                           {word, QString::number(-kYearLimit), QString::number(kYearLimit)});
        }
        (from ? rule.firstYear : rule.lastYear) = *year;
    }
    (from ? seen.from : seen.until) = true;
    return true;
}

// "observed next|previous|fri-mon|nearest [on DAYS]", `word` read.
bool ReadObserved(LineReader& in, HolidayRule& rule, const QString& word, OptionsSeen& seen) {
    const QString how = in.Next();
    if (seen.observed) {
        return in.Fail(HolidayFault::ObservedTwice);
    }
    seen.observed = true;
    if (how == u"next") {
        rule.observed = Observed::Next;
    } else if (how == u"previous") {
        rule.observed = Observed::Previous;
    } else if (how == u"fri-mon" || how == u"nearest") {
        rule.observed = Observed::FriMon;
    } else {
        return in.Fail(HolidayFault::ObservedHow);
    }
    return ReadOnDays(in, word, rule.observedOn);
}

// "substitute next|previous [on DAYS]", `word` read.
bool ReadSubstitute(LineReader& in, HolidayRule& rule, const QString& word, OptionsSeen& seen) {
    if (seen.substitute) {
        return in.Fail(HolidayFault::OptionTwice, {word});
    }
    seen.substitute = true;
    const QString how = in.Next();
    if (how == u"next" || how == u"previous") {
        rule.substitute = how == u"next" ? Substitute::Next : Substitute::Previous;
    } else {
        return in.Fail(HolidayFault::SubstituteHow);
    }
    return ReadOnDays(in, word, rule.substituteOn);
}

// "category NAME", `word` read.
bool ReadCategory(LineReader& in, HolidayRule& rule, const QString& word, OptionsSeen& seen) {
    if (seen.category) {
        return in.Fail(HolidayFault::OptionTwice, {word});
    }
    seen.category = true;
    const QString name = in.Next();
    const std::optional<std::uint8_t> category = ParseCategories(name);
    if (!category || name.contains(u',')) {
        return in.Fail(HolidayFault::NotACategory, {name});
    }
    rule.category = *category;
    return true;
}

// One option, its first word read.
bool ReadOption(LineReader& in, HolidayRule& rule, const QString& word, OptionsSeen& seen) {
    if (word == u"julian") {
        if (seen.julian ||
            (rule.kind != HolidayKind::FixedDay && rule.kind != HolidayKind::NthWeekday)) {
            return in.Fail(HolidayFault::JulianMisplaced);
        }
        seen.julian = rule.julian = true;
        return true;
    }
    if (word == u"from" || word == u"until") {
        return ReadBound(in, rule, word, seen);
    }
    if (word == u"observed") {
        return ReadObserved(in, rule, word, seen);
    }
    if (word == u"substitute") {
        return ReadSubstitute(in, rule, word, seen);
    }
    if (word == u"category") {
        return ReadCategory(in, rule, word, seen);
    }
    if (word == u"half") {
        if (seen.half) {
            return in.Fail(HolidayFault::OptionTwice, {word});
        }
        seen.half = rule.half = true;
        return true;
    }
    return in.Fail(HolidayFault::UnknownWord, {word});
}

bool ReadOptions(LineReader& in, HolidayRule& rule) {
    OptionsSeen seen;
    while (!in.AtEnd()) {
        if (!ReadOption(in, rule, in.Next(), seen)) {
            return false;
        }
    }
    if (seen.observed && seen.substitute) {
        return in.Fail(HolidayFault::ObservedAndSubstitute);
    }
    if (rule.firstYear > rule.lastYear || rule.firstDay > rule.lastDay) {
        return in.Fail(HolidayFault::FirstAfterLast);
    }
    return true;
}

// The first ':' that ends the dates and options: not the one of an offset such as utc+5:30.
qsizetype NameColon(const QString& line) {
    for (qsizetype at = line.indexOf(u':'); at >= 0; at = line.indexOf(u':', at + 1)) {
        qsizetype start = at;
        while (start > 0 && !line[start - 1].isSpace()) {
            --start;
        }
        const QString word = line.mid(start, at - start).toLower();
        const bool zone = word.size() > 4 && word.startsWith(u"utc") &&
                          (word[3] == u'+' || word[3] == u'-') && at + 1 < line.size() &&
                          line[at + 1].isDigit();
        if (!zone) {
            return at;
        }
    }
    return -1;
}

// "English | German" into the two names.
bool SplitNames(const QString& text, QString& english, QString& german) {
    const qsizetype bar = text.indexOf(u'|');
    if (bar < 0) {
        english = text;
        return true;
    }
    english = text.left(bar).trimmed();
    german = text.mid(bar + 1).trimmed();
    return !german.isEmpty();
}

// A header line ("@name ..."); false with the fault set.
bool ReadHeader(const QString& line, HolidaySetInfo& info, QStringList& seen, LineReader& in) {
    const qsizetype blank = line.indexOf(u' ');
    const QString word = (blank < 0 ? line.mid(1) : line.mid(1, blank - 1)).toLower();
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
    static const QStringList kHeaders = {QStringLiteral("name"),    QStringLiteral("region"),
                                         QStringLiteral("years"),   QStringLiteral("source"),
                                         QStringLiteral("weekend"), QStringLiteral("counts")};
    if (!kHeaders.contains(word)) {
        return in.Fail(HolidayFault::HeaderUnknown, {word});
    }
    if (word != u"source" && seen.contains(word)) {
        return in.Fail(HolidayFault::HeaderTwice, {QStringLiteral("@") + word});
    }
    seen << word;
    if (word == u"name" || word == u"source") {
        if (rest.isEmpty()) {
            return in.Fail(HolidayFault::HeaderEmpty, {QStringLiteral("@") + word});
        }
        if (word == u"source") {
            info.sources << rest;
        } else if (!SplitNames(rest, info.nameEnglish, info.nameGerman) ||
                   info.nameEnglish.isEmpty()) {
            return in.Fail(info.nameEnglish.isEmpty() ? HolidayFault::HeaderEmpty
                                                      : HolidayFault::GermanNameEmpty,
                           {QStringLiteral("@name")});
        }
    } else if (word == u"region") {
        // ISO 3166-1 alpha-2, optionally "-" and a subdivision of one to three letters or digits.
        const QString code = rest.toUpper();
        const QStringList parts = code.split(u'-');
        const auto letters = [](const QString& s, int low, int high, bool digits) {
            return s.size() >= low && s.size() <= high &&
                   std::all_of(s.begin(), s.end(), [digits](QChar c) {
                       return (c >= u'A' && c <= u'Z') || (digits && c >= u'0' && c <= u'9');
                   });
        };
        if (parts.size() > 2 || !letters(parts[0], 2, 2, false) ||
            (parts.size() == 2 && !letters(parts[1], 1, 3, true))) {
            return in.Fail(HolidayFault::HeaderRegion, {rest});
        }
        info.region = code;
    } else if (word == u"years") {
        const QStringList years = rest.split(u' ', Qt::SkipEmptyParts);
        if (years.size() != 2) {
            return in.Fail(HolidayFault::HeaderYears);
        }
        const std::int64_t first = Number(years[0], -kYearLimit, kYearLimit).value_or(1);
        const std::int64_t last = Number(years[1], -kYearLimit, kYearLimit).value_or(0);
        if (first > last) {
            return in.Fail(HolidayFault::HeaderYears);
        }
        info.firstYear = first;
        info.lastYear = last;
        info.hasYears = true;
    } else if (word == u"weekend") {
        const std::optional<std::uint8_t> days = ParseDaySet(rest);
        if (!days) {
            return in.Fail(HolidayFault::NotADaySet, {rest});
        }
        if (*days == 0x7f) {
            return in.Fail(HolidayFault::AllDaysWeekend);
        }
        info.weekend = *days;
    } else {
        const std::optional<std::uint8_t> counts = ParseCategories(rest.toLower().remove(u' '));
        if (!counts) {
            return in.Fail(HolidayFault::NotACategory, {rest});
        }
        info.counts = *counts;
    }
    return true;
}

// "weekend DAYS [from YYYY-MM-DD] [until YYYY-MM-DD]".
bool ReadWeekendLine(LineReader& in, WeekendSpan& span) {
    QString days = in.Next();
    while (days.endsWith(u',') && !in.AtEnd()) {
        days += in.Next();
    }
    const std::optional<std::uint8_t> set = ParseDaySet(days);
    if (!set || days.isEmpty()) {
        return in.Fail(HolidayFault::WeekendForm);
    }
    if (*set == 0x7f) {
        return in.Fail(HolidayFault::AllDaysWeekend);
    }
    span.days = *set;
    bool hasFrom = false, hasUntil = false;
    while (!in.AtEnd()) {
        const QString word = in.Next();
        const bool from = word == u"from";
        if ((!from && word != u"until") || (from ? hasFrom : hasUntil)) {
            return in.Fail(HolidayFault::WeekendForm);
        }
        const std::optional<std::int64_t> day = ReadCeDate(in.Next());
        if (!day) {
            return in.Fail(HolidayFault::WeekendForm);
        }
        (from ? span.first : span.last) = *day;
        (from ? hasFrom : hasUntil) = true;
    }
    if (span.first > span.last) {
        return in.Fail(HolidayFault::FirstAfterLast);
    }
    return true;
}

// ---- dates of the rules ---------------------------------------------------------------------

std::int64_t GregorianYearOf(std::int64_t jdn) {
    return jdcore::gregorian_from_jdn(jdn).year;
}

jdcore::WorldCalendar WorldOf(RuleCalendar calendar) {
    switch (calendar) {
        case RuleCalendar::Hebrew:
            return jdcore::WorldCalendar::Hebrew;
        case RuleCalendar::Islamic:
            return jdcore::WorldCalendar::Islamic;
        case RuleCalendar::Persian:
            return jdcore::WorldCalendar::Persian;
        case RuleCalendar::Coptic:
            return jdcore::WorldCalendar::Coptic;
        case RuleCalendar::Ethiopian:
            return jdcore::WorldCalendar::Ethiopian;
        case RuleCalendar::Indian:
            return jdcore::WorldCalendar::Indian;
        default:
            return jdcore::WorldCalendar::FrenchRepublican;
    }
}

std::optional<jdcore::EquinoxCalendar> EquinoxOf(RuleCalendar calendar) {
    switch (calendar) {
        case RuleCalendar::PersianAstronomical:
            return jdcore::EquinoxCalendar::PersianAstronomical;
        case RuleCalendar::FrenchAstronomical:
            return jdcore::EquinoxCalendar::FrenchAstronomical;
        case RuleCalendar::Bahai:
            return jdcore::EquinoxCalendar::Bahai;
        default:
            return std::nullopt;
    }
}

std::optional<jdcore::Lunisolar> LunisolarOf(RuleCalendar calendar) {
    if (calendar == RuleCalendar::Chinese) {
        return jdcore::Lunisolar::Chinese;
    }
    if (calendar == RuleCalendar::Korean) {
        return jdcore::Lunisolar::Korean;
    }
    return std::nullopt;
}

// The year of the rule's calendar holding a day, and the rule's date in one of its years.
std::int64_t CalendarYearOf(const HolidayRule& rule, std::int64_t jdn) {
    if (rule.calendar == RuleCalendar::UmmAlQura) {
        // Outside the table the years run on beyond its ends: they have no dates anyway.
        if (const auto date = jdcore::UmmAlQuraFromJdn(jdn)) {
            return date->year;
        }
        return jdn < jdcore::UmmAlQuraFirstJdn() ? jdcore::kUmmAlQuraFirstYear - 1
                                                 : jdcore::kUmmAlQuraLastYear + 1;
    }
    if (const auto lunisolar = LunisolarOf(rule.calendar)) {
        const auto date = jdcore::LunisolarFromJdn(*lunisolar, jdn);
        if (date) {
            return date->year;
        }
        return GregorianYearOf(jdn);  // outside the span: no dates anyway
    }
    if (const auto equinox = EquinoxOf(rule.calendar)) {
        const auto date = jdcore::EquinoxFromJdn(*equinox, jdn);
        if (date) {
            return date->year;
        }
        const jdcore::YearSpan span = jdcore::EquinoxYearSpan(*equinox);
        return jdn < *jdcore::EquinoxToJdn(*equinox, span.first, 1, 1) ? span.first - 1
                                                                       : span.last + 1;
    }
    return jdcore::FromJdn(WorldOf(rule.calendar), jdn).year;
}

std::optional<std::int64_t> CalendarDate(const HolidayRule& rule, std::int64_t year) {
    if (rule.calendar == RuleCalendar::UmmAlQura) {
        const int length = jdcore::UmmAlQuraDaysInMonth(year, rule.month);
        const int day = rule.day == 0 ? length : rule.day;
        if (length == 0 || day > length) {
            return std::nullopt;
        }
        return jdcore::UmmAlQuraToJdn(year, rule.month, day);
    }
    if (const auto lunisolar = LunisolarOf(rule.calendar)) {
        if (year < jdcore::kLunisolarFirstYear || year > jdcore::kLunisolarLastYear) {
            return std::nullopt;
        }
        const int length = jdcore::LunisolarDaysInMonth(*lunisolar, year, rule.month, false);
        const int day = rule.day == 0 ? length : rule.day;
        if (length == 0 || day > length) {
            return std::nullopt;
        }
        return jdcore::LunisolarToJdn(*lunisolar, {year, rule.month, false, day});
    }
    if (const auto equinox = EquinoxOf(rule.calendar)) {
        const int length = jdcore::EquinoxDaysInMonth(*equinox, year, rule.month);
        const int day = rule.day == 0 ? length : rule.day;
        if (length == 0 || day > length) {
            return std::nullopt;
        }
        return jdcore::EquinoxToJdn(*equinox, year, rule.month, day);
    }
    const jdcore::WorldCalendar world = WorldOf(rule.calendar);
    if (year < -jdcore::kMaxWorldYear + 1 || year > jdcore::kMaxWorldYear - 1) {
        return std::nullopt;
    }
    const int length = jdcore::DaysInMonth(world, year, rule.month);
    const int day = rule.day == 0 ? length : rule.day;
    if (length == 0 || day > length) {
        return std::nullopt;
    }
    return jdcore::ToJdn(world, year, rule.month, day);
}

// The solar rule's local day in Gregorian year `year`.
std::optional<std::int64_t> SolarDate(const HolidayRule& rule, std::int64_t year) {
    if (year < kSolarFirstYear || year > kSolarLastYear) {
        return std::nullopt;
    }
    const double zone = rule.utcMinutes / 1440.0;
    const double localStart =
        static_cast<double>(jdcore::jdn_from_gregorian(year, 1, 1)) - 0.5 - zone;
    const double moment = jdcore::astronomy::SolarLongitudeAfter(rule.degrees, localStart);
    return static_cast<std::int64_t>(std::floor(moment + 0.5 + zone));
}

// The (nth) weekday before or after a day.
std::int64_t RelativeDay(const HolidayRule& rule, std::int64_t base) {
    const std::int64_t weeks = 7 * (rule.nth - 1);
    switch (rule.direction) {
        case RelativeDirection::After:
            return base + 1 + floor_mod(rule.weekday - (base + 1), 7) + weeks;
        case RelativeDirection::OnOrAfter:
            return base + floor_mod(rule.weekday - base, 7) + weeks;
        case RelativeDirection::Before:
            return base - 1 - floor_mod(base - 1 - rule.weekday, 7) - weeks;
        case RelativeDirection::OnOrBefore:
            return base - floor_mod(base - rule.weekday, 7) - weeks;
    }
    return base;
}

}  // namespace

WeekendSchedule::WeekendSchedule(std::uint8_t days, const std::vector<WeekendSpan>& set) {
    std::int64_t next = -kNoDayBound;  // the first day not covered yet
    for (const WeekendSpan& span : set) {
        if (span.first > next) {
            spans.push_back({days, next, span.first - 1});
        }
        spans.push_back(span);
        next = span.last + 1;
    }
    if (next <= kNoDayBound) {
        spans.push_back({days, next, kNoDayBound});
    }
    spans.front().first = -kNoDayBound;
}

std::uint8_t WeekendSchedule::At(std::int64_t jdn) const {
    if (spans.size() == 1) {
        return spans.front().days;
    }
    const auto it =
        std::upper_bound(spans.begin(), spans.end(), jdn,
                         [](std::int64_t day, const WeekendSpan& s) { return day < s.first; });
    return it == spans.begin() ? spans.front().days : (it - 1)->days;
}

std::optional<std::uint8_t> ParseCategories(const QString& text) {
    std::uint8_t mask = 0;
    const QStringList words = text.trimmed().toLower().split(u',', Qt::SkipEmptyParts);
    if (words.isEmpty()) {
        return std::nullopt;
    }
    for (const QString& word : words) {
        if (word.trimmed() == u"all") {
            mask = kAllCategories;
            continue;
        }
        int found = -1;
        for (int i = 0; i < static_cast<int>(kCategoryNames.size()); ++i) {
            if (word.trimmed() == QLatin1String(kCategoryNames[static_cast<std::size_t>(i)])) {
                found = i;
            }
        }
        if (found < 0) {
            return std::nullopt;
        }
        mask |= static_cast<std::uint8_t>(1 << found);
    }
    return mask;
}

QString CategoryName(std::uint8_t category) {
    for (std::size_t i = 0; i < kCategoryNames.size(); ++i) {
        if ((category >> i) & 1) {
            return QString::fromLatin1(kCategoryNames[i]);
        }
    }
    return {};
}

QString CategoryNames(std::uint8_t categories) {
    QStringList names;
    for (std::size_t i = 0; i < kCategoryNames.size(); ++i) {
        if ((categories >> i) & 1) {
            names << QString::fromLatin1(kCategoryNames[i]);
        }
    }
    return names.join(u',');
}

std::optional<std::int64_t> HolidayRule::DateInAnyYear(std::int64_t year) const {
    const auto jdnOf = [this](std::int64_t y, std::int64_t m, std::int64_t d) {
        return julian ? jdcore::jdn_from_julian(y, m, d) : jdcore::jdn_from_gregorian(y, m, d);
    };
    const bool leap = julian ? jdcore::julian_leap(year) : jdcore::gregorian_leap(year);
    switch (kind) {
        case HolidayKind::FixedDay:
        case HolidayKind::SingleDate:
            if (day > jdcore::month_length(month, leap)) {
                return std::nullopt;
            }
            return jdnOf(year, month, day) + offset;
        case HolidayKind::NthWeekday: {
            const int length = jdcore::month_length(month, leap);
            if (nth == 0) {
                const std::int64_t last = jdnOf(year, month, length);
                return last - jdcore::floor_mod(last - weekday, 7) + offset;
            }
            const std::int64_t first = jdnOf(year, month, 1);
            const std::int64_t date = first + jdcore::floor_mod(weekday - first, 7) + 7 * (nth - 1);
            return date - first < length ? std::optional<std::int64_t>(date + offset)
                                         : std::nullopt;
        }
        case HolidayKind::EasterDays:
            return (julian ? jdcore::orthodox_easter(year) : jdcore::western_easter(year)) + offset;
        default:
            return std::nullopt;
    }
}

void RuleDatesBetween(const HolidayRule& rule, std::int64_t from, std::int64_t to,
                      std::vector<RuleDate>& out) {
    if (to < from) {
        return;
    }
    const std::int64_t low = from - rule.offset;  // the span of the dates before the offset
    const std::int64_t high = to - rule.offset;
    const auto push = [&](std::optional<std::int64_t> day, std::int64_t year) {
        if (day && *day >= low && *day <= high) {
            out.push_back({*day + rule.offset, year});
        }
    };
    switch (rule.kind) {
        case HolidayKind::SingleDate:
            if (const auto day = rule.DateInAnyYear(rule.firstYear)) {
                if (*day >= from && *day <= to) {
                    out.push_back({*day, rule.firstYear});
                }
            }
            return;
        case HolidayKind::FixedDay:
        case HolidayKind::NthWeekday:
        case HolidayKind::EasterDays: {
            // DateInAnyYear adds the offset itself.
            const auto yearOf = [&rule](std::int64_t jdn) {
                return rule.julian ? jdcore::julian_from_jdn(jdn).year : GregorianYearOf(jdn);
            };
            for (std::int64_t y = yearOf(low), last = yearOf(high); y <= last; ++y) {
                const auto day = rule.DateInAnyYear(y);
                if (day && *day >= from && *day <= to) {
                    out.push_back({*day, y});
                }
            }
            return;
        }
        case HolidayKind::CalendarDay:
            for (std::int64_t y = CalendarYearOf(rule, low), last = CalendarYearOf(rule, high);
                 y <= last; ++y) {
                push(CalendarDate(rule, y), y);
            }
            return;
        case HolidayKind::Between:
            for (std::int64_t y = GregorianYearOf(low) - 1, last = GregorianYearOf(high); y <= last;
                 ++y) {
                const std::int64_t start = jdcore::jdn_from_gregorian(y, rule.month, rule.day);
                const bool wraps = rule.endMonth < rule.month ||
                                   (rule.endMonth == rule.month && rule.endDay < rule.day);
                const std::int64_t end = jdcore::jdn_from_gregorian(
                    wraps ? y + 1 : y, rule.endMonth,
                    std::min(rule.endDay,
                             jdcore::month_length(rule.endMonth,
                                                  jdcore::gregorian_leap(wraps ? y + 1 : y))));
                const std::int64_t day = start + floor_mod(rule.weekday - start, 7);
                if (day <= end) {
                    push(day, y);
                }
            }
            return;
        case HolidayKind::Solar:
            for (std::int64_t y = GregorianYearOf(low), last = GregorianYearOf(high); y <= last;
                 ++y) {
                push(SolarDate(rule, y), y);
            }
            return;
        case HolidayKind::Relative: {
            std::vector<RuleDate> bases;
            const std::int64_t reach = 7 * rule.nth + 1;
            RuleDatesBetween(*rule.base, low - reach, high + reach, bases);
            for (const RuleDate& base : bases) {
                if (rule.base->ActiveIn(base.year) && rule.base->InDayBounds(base.jdn)) {
                    push(RelativeDay(rule, base.jdn), base.year);
                }
            }
            return;
        }
    }
}

DaySpan RuleTableSpan(const HolidayRule& rule) {
    if (rule.kind == HolidayKind::Relative) {
        const DaySpan base = RuleTableSpan(*rule.base);
        const std::int64_t reach = 7 * rule.nth + 7 + std::abs(rule.offset);
        return {base.first == -kNoDayBound ? base.first : base.first - reach,
                base.last == kNoDayBound ? base.last : base.last + reach};
    }
    if (rule.kind == HolidayKind::Solar) {
        return {jdcore::jdn_from_gregorian(kSolarFirstYear, 1, 1) - 2,
                jdcore::jdn_from_gregorian(kSolarLastYear, 12, 31) + 2};
    }
    if (rule.kind != HolidayKind::CalendarDay) {
        return {-kNoDayBound, kNoDayBound};
    }
    const std::int64_t reach = std::abs(rule.offset) + 1;
    if (const auto lunisolar = LunisolarOf(rule.calendar)) {
        return {jdcore::LunisolarFirstJdn(*lunisolar) - reach,
                jdcore::LunisolarLastJdn(*lunisolar) + reach};
    }
    if (rule.calendar == RuleCalendar::UmmAlQura) {
        return {jdcore::UmmAlQuraFirstJdn() - reach, jdcore::UmmAlQuraLastJdn() + reach};
    }
    if (const auto equinox = EquinoxOf(rule.calendar)) {
        const jdcore::YearSpan span = jdcore::EquinoxYearSpan(*equinox);
        const int months = jdcore::EquinoxMonthsInYear(*equinox, span.last);
        return {*jdcore::EquinoxToJdn(*equinox, span.first, 1, 1) - reach,
                *jdcore::EquinoxToJdn(*equinox, span.last, months,
                                      jdcore::EquinoxDaysInMonth(*equinox, span.last, months)) +
                    reach};
    }
    return {-kNoDayBound, kNoDayBound};
}

bool IsGregorianKind(const HolidayRule& rule) {
    switch (rule.kind) {
        case HolidayKind::FixedDay:
        case HolidayKind::NthWeekday:
            return !rule.julian;
        case HolidayKind::EasterDays:
            return !rule.julian;
        case HolidayKind::SingleDate:
        case HolidayKind::Between:
            return true;
        case HolidayKind::CalendarDay:
            return rule.calendar == RuleCalendar::Indian;
        case HolidayKind::Relative:
            return IsGregorianKind(*rule.base);
        case HolidayKind::Solar:
            return false;
    }
    return false;
}

int HolidayFaultTextId(HolidayFault fault) {
    const int index = static_cast<int>(fault);
    const int firstNew = static_cast<int>(HolidayFault::HeaderUnknown);
    return index < firstNew ? 720 + index : 1000 + index - firstNew;
}

// The English text of each fault, in the order of HolidayFault.
struct FaultText {
    HolidayFault fault;
    const char* english;
};
constexpr FaultText kHolidayFaultTexts[] = {
    {HolidayFault::None, ""},
    {HolidayFault::NoColon, "a ':' and the holiday's name must end the line"},
    {HolidayFault::NoName, "the holiday has no name after ':'"},
    {HolidayFault::NoDate, "the holiday has no date before ':'"},
    {HolidayFault::NotADate, "'%1' is not a date: write MM-DD, or YYYY-MM-DD for one day"},
    {HolidayFault::NoSuchDay, "month %1 has no day %2"},
    {HolidayFault::NotLeapYear, "%1 is not a leap year"},
    {HolidayFault::EasterOffset, "the days from Easter must be a number from %1 to +%2, not '%3'"},
    {HolidayFault::OrthodoxWithoutEaster, "'orthodox' must be followed by 'easter'"},
    {HolidayFault::NotABeginning,
     "'%1' does not begin a date: write MM-DD, YYYY-MM-DD, 'easter', 'orthodox "
     "easter' or e.g. 'first monday of may'"},
    {HolidayFault::NotAWeekday, "'%1' is not a day of the week"},
    {HolidayFault::OfMissing, "'of' and a month must follow '%1 %2'"},
    {HolidayFault::NotAMonth, "'%1' is not a month"},
    {HolidayFault::JulianMisplaced,
     "'julian' belongs only once after MM-DD or a weekday of a month"},
    {HolidayFault::BoundTwice, "'%1' given twice, or for a single date"},
    {HolidayFault::BoundYear, "'%1' must be followed by a year from %2 to %3"},
    {HolidayFault::FirstAfterLast, "the first year is after the last year"},
    {HolidayFault::ObservedTwice, "'observed' given twice"},
    {HolidayFault::ObservedHow, "'observed' must be followed by next, previous or fri-mon"},
    {HolidayFault::UnknownWord, "unknown word '%1'"},
    {HolidayFault::TooComplex,
     "its rules begin or end in %1 different years with up to %2 rules in force: "
     "counting would take too long. Write the holidays of single years as dates "
     "(YYYY-MM-DD)"},
    {HolidayFault::NoWorkingDay, "it leaves no working day at all"},
    {HolidayFault::HeaderUnknown,
     "unknown header '@%1': write @name, @region, @years, @source, @weekend, @counts or "
     "@include"},
    {HolidayFault::HeaderTwice, "'%1' given twice"},
    {HolidayFault::HeaderEmpty, "'%1' must be followed by its text"},
    {HolidayFault::HeaderRegion,
     "'%1' is not a region code: write an ISO 3166 code such as DE or DE-BY"},
    {HolidayFault::HeaderYears,
     "'@years' must be followed by the first and the last year, e.g. 1950 2100"},
    {HolidayFault::NotADaySet, "'%1' is not a set of days of the week: write e.g. fri,sat"},
    {HolidayFault::AllDaysWeekend, "not all seven days can be weekend days"},
    {HolidayFault::NotACategory,
     "'%1' is not a category: write public, bank, school, observance or optional"},
    {HolidayFault::OffsetRange,
     "the days after the date must be a number from -%2 to +%2, not '%1'"},
    {HolidayFault::BoundDate, "'%1' must be followed by a year or a date YYYY-MM-DD, not '%2'"},
    {HolidayFault::DaysMissing,
     "'on' after '%1' must be followed by days of the week, e.g. sat,sun"},
    {HolidayFault::SubstituteHow, "'substitute' must be followed by next or previous"},
    {HolidayFault::OptionTwice, "'%1' given twice"},
    {HolidayFault::ObservedAndSubstitute,
     "a holiday is either moved ('observed') or given a substitute day "
     "('substitute'), not both"},
    {HolidayFault::CalendarDate,
     "'%2' is not a day of a month of %1: write M-D or M-last, months 1 to %3"},
    {HolidayFault::WeekdayHow,
     "'%1' must be followed by before, after, on or before, on or after, or between"},
    {HolidayFault::OrBeforeAfter, "write 'on or before' or 'on or after'"},
    {HolidayFault::BaseMissing, "a date must follow '%1'"},
    {HolidayFault::NthRelative,
     "'%1' cannot stand before 'before' or 'after': write first ... fifth"},
    {HolidayFault::BetweenForm, "'between' must be followed by MM-DD and MM-DD"},
    {HolidayFault::BetweenLong, "the days from %1 to %2 are more than a week"},
    {HolidayFault::SolarForm,
     "'solar' must be followed by degrees from 0 to 360 and an offset such as utc+9"},
    {HolidayFault::SolarOffset, "'%1' is not an offset from UTC: write e.g. utc+9 or utc-3:30"},
    {HolidayFault::WorkdayForm, "'workday' must be followed by one date YYYY-MM-DD"},
    {HolidayFault::WeekendForm,
     "'weekend' must be followed by days such as fri,sat and optionally 'from' and "
     "'until' with dates YYYY-MM-DD"},
    {HolidayFault::WeekendOverlap, "its days overlap those of the weekend of line %1"},
    {HolidayFault::GermanNameEmpty, "the German name after '|' is empty"},
    {HolidayFault::NestedTooDeep, "dates may be counted from other dates at most %1 deep"},
    {HolidayFault::IncludeUnknown, "'%1' is not the name of a shipped holiday set"},
    {HolidayFault::IncludeCycle, "the set '%1' includes itself"},
    {HolidayFault::IncludeTooDeep, "sets may include other sets at most %1 deep"},
};

constexpr bool InFaultOrder() {
    for (std::size_t i = 0; i < std::size(kHolidayFaultTexts); ++i) {
        if (static_cast<std::size_t>(kHolidayFaultTexts[i].fault) != i) {
            return false;
        }
    }
    return std::size(kHolidayFaultTexts) ==
           static_cast<std::size_t>(HolidayFault::IncludeTooDeep) + 1;
}
static_assert(InFaultOrder());

QString HolidayFaultEnglish(HolidayFault fault, const QStringList& details) {
    const QString result =
        QString::fromUtf8(kHolidayFaultTexts[static_cast<std::size_t>(fault)].english);
    switch (details.size()) {  // filled at once, so that a word holding "%2" stays as it is
        case 0:
            return result;
        case 1:
            return result.arg(details[0]);
        case 2:
            return result.arg(details[0], details[1]);
        default:
            return result.arg(details[0], details[1], details[2]);
    }
}

namespace {

constexpr int kMostIncludes = 4;  // a subdivision's set on its country's, and some more

struct IncludeState {
    const HolidayIncludes& includes;
    QStringList reading;  // the shipped sets being read, outermost first
};

bool ParseLines(const QString& text, HolidaySet& set, IncludeState& state,
                HolidayParseResult& result);

// Adds a weekend span unless it overlaps one already there; false with the fault set.
bool AddWeekend(HolidaySet& set, std::vector<int>& weekendLines, const WeekendSpan& span, int line,
                LineReader& in) {
    for (std::size_t k = 0; k < set.weekends.size(); ++k) {
        if (span.first <= set.weekends[k].last && set.weekends[k].first <= span.last) {
            return in.Fail(HolidayFault::WeekendOverlap, {QString::number(weekendLines[k])});
        }
    }
    set.weekends.push_back(span);
    weekendLines.push_back(line);
    return true;
}

// "@include NAME": the shipped set's rules, extra working days and weekends, read here.
bool ReadInclude(const QString& rest, int line, HolidaySet& set, std::vector<int>& weekendLines,
                 std::optional<HolidaySetInfo>& includedInfo, IncludeState& state, LineReader& in,
                 HolidayParseResult& result) {
    const QString name = rest.trimmed().toLower();
    const bool plain = !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-';
    });
    if (!plain) {
        return in.Fail(HolidayFault::IncludeUnknown, {rest.trimmed()});
    }
    if (state.reading.contains(name)) {
        return in.Fail(HolidayFault::IncludeCycle, {name});
    }
    if (state.reading.size() >= kMostIncludes) {
        return in.Fail(HolidayFault::IncludeTooDeep, {QString::number(kMostIncludes)});
    }
    const std::optional<QString> text = state.includes ? state.includes(name) : std::nullopt;
    if (!text) {
        return in.Fail(HolidayFault::IncludeUnknown, {name});
    }
    HolidaySet included;
    state.reading << name;
    HolidayParseResult inner;
    if (!ParseLines(*text, included, state, inner)) {
        result = std::move(inner);
        if (result.includedSet.isEmpty()) {
            result.includedSet = name;
        }
        return false;
    }
    state.reading.removeLast();
    for (HolidayRule& rule : included.rules) {
        set.rules.push_back(std::move(rule));
    }
    set.workdays.insert(set.workdays.end(), included.workdays.begin(), included.workdays.end());
    for (const WeekendSpan& span : included.weekends) {
        if (!AddWeekend(set, weekendLines, span, line, in)) {
            return false;
        }
    }
    if (!includedInfo) {
        includedInfo = included.info;
    }
    return true;
}

// What reading a line came to: read; a fault, held by the line's reader; or a fault in an
// included set, already in the parse result.
enum class LineOutcome { Read, Faulty, IncludedFaulty };

// A set being read line by line, and what its lines have said so far.
struct SetBeingRead {
    HolidaySet& set;
    IncludeState& state;
    QStringList headersSeen;
    std::vector<int> weekendLines;
    std::optional<HolidaySetInfo> includedInfo;  // the first included set's header
};

// A header line, "@include NAME" or "@name ...", "@region ...", ...
LineOutcome ReadAtLine(const QString& line, int number, SetBeingRead& read, LineReader& in,
                       HolidayParseResult& result) {
    const QString simple = line.simplified();
    if (simple.section(u' ', 0, 0).toLower() == u"@include") {
        if (!ReadInclude(simple.section(u' ', 1), number, read.set, read.weekendLines,
                         read.includedInfo, read.state, in, result)) {
            return in.fault != HolidayFault::None ? LineOutcome::Faulty
                                                  : LineOutcome::IncludedFaulty;
        }
        return LineOutcome::Read;
    }
    return ReadHeader(simple, read.set.info, read.headersSeen, in) ? LineOutcome::Read
                                                                   : LineOutcome::Faulty;
}

// "weekend DAYS [from DATE] [until DATE]" or "workday DATE[: NAME]"; `lower` is the line
// before its colon, in lower case, `colon` where the colon is (-1: none).
bool ReadWeekendOrWorkday(const QString& line, qsizetype colon, const QString& lower, int number,
                          SetBeingRead& read, LineReader& in) {
    in.words = lower.split(u' ', Qt::SkipEmptyParts);
    in.at = 1;
    if (in.words[0] == u"weekend") {
        WeekendSpan span;
        if (colon >= 0 || !ReadWeekendLine(in, span)) {
            if (in.fault == HolidayFault::None) {
                in.Fail(HolidayFault::WeekendForm);
            }
            return false;
        }
        return AddWeekend(read.set, read.weekendLines, span, number, in);
    }
    const std::optional<std::int64_t> day =
        in.words.size() == 2 ? ReadCeDate(in.words[1]) : std::nullopt;
    if (!day) {
        return in.Fail(HolidayFault::WorkdayForm);
    }
    QString name = colon < 0 ? QString() : line.mid(colon + 1).trimmed();
    read.set.workdays.push_back({*day, name});
    return true;
}

// A holiday: its dates and options, ':' and its name(s).
bool ReadRuleLine(const QString& line, qsizetype colon, const QString& lower, HolidaySet& set,
                  LineReader& in) {
    HolidayRule rule;
    if (colon < 0) {
        in.Fail(HolidayFault::NoColon);
    } else {
        if (!SplitNames(line.mid(colon + 1).trimmed(), rule.name, rule.nameGerman)) {
            in.Fail(HolidayFault::GermanNameEmpty);
        }
        in.words = lower.split(u' ', Qt::SkipEmptyParts);
        if (in.fault != HolidayFault::None) {
        } else if (rule.name.isEmpty()) {
            in.Fail(HolidayFault::NoName);
        } else if (in.words.isEmpty()) {
            in.Fail(HolidayFault::NoDate);
        } else if (ReadDate(in, rule, 0)) {
            ReadOptions(in, rule);
        }
    }
    if (in.fault != HolidayFault::None) {
        return false;
    }
    set.rules.push_back(std::move(rule));
    return true;
}

// One line that is neither empty nor a comment.
LineOutcome ReadLine(const QString& line, int number, SetBeingRead& read, LineReader& in,
                     HolidayParseResult& result) {
    if (line.startsWith(u'@')) {
        return ReadAtLine(line, number, read, in, result);
    }
    const qsizetype colon = NameColon(line);
    const QString lower = line.left(colon < 0 ? line.size() : colon).simplified().toLower();
    const QString firstWord = lower.section(u' ', 0, 0);
    const bool lineRead = firstWord == u"weekend" || firstWord == u"workday"
                              ? ReadWeekendOrWorkday(line, colon, lower, number, read, in)
                              : ReadRuleLine(line, colon, lower, read.set, in);
    return lineRead ? LineOutcome::Read : LineOutcome::Faulty;
}

bool ParseLines(const QString& text, HolidaySet& set, IncludeState& state,
                HolidayParseResult& result) {
    SetBeingRead read{
        .set = set, .state = state, .headersSeen = {}, .weekendLines = {}, .includedInfo = {}};
    // Lines end with LF, CR LF or a CR alone, as in batch programs.
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QStringList lines = normal.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (i == 0 && line.startsWith(QChar(0xFEFF))) {
            line.remove(0, 1);
        }
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        LineReader in;
        const LineOutcome outcome = ReadLine(line, i + 1, read, in, result);
        if (outcome == LineOutcome::Faulty) {
            result.line = i + 1;
            result.fault = in.fault;
            result.details = in.details;
        }
        if (outcome != LineOutcome::Read) {
            return false;
        }
    }
    // The including file's header describes the result; what it leaves out, the included
    // set's says.
    if (read.includedInfo) {
        if (!read.headersSeen.contains(QStringLiteral("weekend"))) {
            set.info.weekend = read.includedInfo->weekend;
        }
        if (!read.headersSeen.contains(QStringLiteral("counts"))) {
            set.info.counts = read.includedInfo->counts;
        }
    }
    return true;
}

}  // namespace

HolidayParseResult ParseHolidayRules(const QString& text, const HolidayIncludes& includes) {
    HolidayParseResult result;
    HolidaySet set;
    IncludeState state{includes, {}};
    if (!ParseLines(text, set, state, result)) {
        return result;
    }
    std::sort(set.workdays.begin(), set.workdays.end(),
              [](const ExtraWorkday& a, const ExtraWorkday& b) { return a.jdn < b.jdn; });
    std::sort(set.weekends.begin(), set.weekends.end(),
              [](const WeekendSpan& a, const WeekendSpan& b) { return a.first < b.first; });
    const HolidaySetSize size = MeasureHolidaySet(set);
    if (size.work > kMaxHolidayWork) {
        result.fault = HolidayFault::TooComplex;
        result.details = {QString::number(size.changeYears), QString::number(size.mostInForce)};
        return result;
    }
    auto shared = std::make_shared<const HolidaySet>(set);
    if (!WorkdayCalendar(0, shared, HolidaySelection{kAllCategories, true}).HasWorkday()) {
        result.fault = HolidayFault::NoWorkingDay;
        return result;
    }
    result.set = std::move(set);
    return result;
}

}  // namespace daybridge

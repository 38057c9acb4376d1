// Holiday rules and the text format they are read from (described in docs/holidays.md).
//
// A rule names the date of one holiday in each year of its range: a fixed day of a month
// (Gregorian or Julian), the n-th or last weekday of a month, a number of days from Easter
// Sunday (Western or Orthodox computus), a single date, a day of a month of another calendar
// (Hebrew, Islamic, Chinese, Persian, ...), a weekday before, after or between other dates, or
// the day the sun reaches a longitude. A holiday that falls on a weekend day may be observed on
// another day, or be given a substitute day as well, as its rule says. A set also holds extra
// working days, weekends that change by date and a header describing it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "text/language.h"

namespace daybridge {

enum class HolidayKind {
    FixedDay,     // month/day every year, in the rule's calendar (Gregorian or Julian)
    NthWeekday,   // the nth (1..5) weekday of a month, or the last one (nth 0)
    EasterDays,   // Easter Sunday + offset, Western or Orthodox
    SingleDate,   // one Gregorian date
    CalendarDay,  // a day (or the last day) of a month of another calendar
    Relative,     // the (nth) weekday before / after / on or before / on or after a base date
    Between,      // the weekday between two Gregorian days of the year
    Solar,        // the local day on which the sun's apparent longitude reaches some degrees
};

// The calendars of CalendarDay rules ("HEB 7-1").
enum class RuleCalendar : std::uint8_t {
    Hebrew,
    Islamic,
    UmmAlQura,
    Chinese,
    Korean,
    Persian,
    PersianAstronomical,
    Coptic,
    Ethiopian,
    Indian,
    Bahai,
    FrenchRepublican,
    FrenchAstronomical,
};

enum class Observed {
    None,      // kept on its day
    Next,      // on a weekend day or another holiday: the next working day that is free
    Previous,  // ... the previous working day that is free
    FriMon,    // Saturday to the Friday before, Sunday to the Monday after ("nearest")
};

enum class Substitute {
    None,
    Next,      // stays on its day, and the next day neither weekend nor holiday is one too
    Previous,  // ... the previous such day
};

enum class RelativeDirection { Before, After, OnOrBefore, OnOrAfter };

// Categories as bits; which of them count as holidays is a setting.
enum HolidayCategory : std::uint8_t {
    kCategoryPublic = 1,
    kCategoryBank = 2,
    kCategorySchool = 4,
    kCategoryObservance = 8,
    kCategoryOptional = 16,
};
inline constexpr std::uint8_t kAllCategories = 31;
inline constexpr std::uint8_t kDefaultCounts = kCategoryPublic | kCategoryBank;
// "public,bank": the categories' names, comma-separated; nothing for an unknown name.
std::optional<std::uint8_t> ParseCategories(const QString& text);
QString CategoryName(std::uint8_t category);     // one category's name ("public")
QString CategoryNames(std::uint8_t categories);  // "public,bank"

inline constexpr std::int64_t kNoDayBound = std::numeric_limits<std::int64_t>::max() / 4;

struct HolidayRule {
    QString name;        // English
    QString nameGerman;  // empty: the English name
    HolidayKind kind = HolidayKind::FixedDay;
    bool julian = false;  // Julian calendar (fixed day, weekday of a month) or Julian computus
    RuleCalendar calendar = RuleCalendar::Hebrew;  // CalendarDay
    int month = 1;                                 // 1..12 (CalendarDay: the calendar's own months)
    int day = 1;                                   // 1..31; 0 = the month's last day (CalendarDay)
    int weekday = 0;  // 0 Monday .. 6 Sunday (NthWeekday, Relative, Between)
    int nth = 1;      // 1..5, 0 = last (NthWeekday); 1..5 (Relative)
    int offset = 0;   // days after the date (Easter: days from Easter Sunday)
    RelativeDirection direction = RelativeDirection::After;
    std::shared_ptr<const HolidayRule> base;  // Relative: the date it is counted from
    int endMonth = 1;                         // Between: the last day of the span
    int endDay = 1;
    double degrees = 0;  // Solar
    int utcMinutes = 0;  // Solar: the local time's offset from UTC
    std::int64_t firstYear = std::numeric_limits<std::int32_t>::min();  // in the rule's calendar
    std::int64_t lastYear = std::numeric_limits<std::int32_t>::max();
    std::int64_t firstDay = -kNoDayBound;  // from YYYY-MM-DD: occurrences on or after it
    std::int64_t lastDay = kNoDayBound;    // until YYYY-MM-DD: on or before it
    Observed observed = Observed::None;
    std::uint8_t observedOn = 0;  // the days of the week that trigger the move; 0: default
    Substitute substitute = Substitute::None;
    std::uint8_t substituteOn = 0;  // 0: the weekend days
    std::uint8_t category = kCategoryPublic;
    bool half = false;

    bool ActiveIn(std::int64_t year) const { return year >= firstYear && year <= lastYear; }
    bool InDayBounds(std::int64_t jdn) const { return jdn >= firstDay && jdn <= lastDay; }
    // The rule's own date in `year` of its calendar, before any observed shift; none when the
    // year has no such day (30 February, a fifth Monday) or lies outside the rule's years.
    // FixedDay, NthWeekday, EasterDays and SingleDate rules only (the others can fall twice
    // or not at all in a year: see RuleDatesBetween).
    std::optional<std::int64_t> DateIn(std::int64_t year) const {
        return ActiveIn(year) ? DateInAnyYear(year) : std::nullopt;
    }
    // The same, whatever the rule's first and last year.
    std::optional<std::int64_t> DateInAnyYear(std::int64_t year) const;
    bool IsWesternEaster() const { return kind == HolidayKind::EasterDays && !julian; }
    const QString& Name(Language language) const {
        // The files name holidays in English and German; French shows the English name.
        return language == kGerman && !nameGerman.isEmpty() ? nameGerman : name;
    }
};

// The largest Easter offsets allowed: the dates stay inside the year of their Easter, at
// least ten days from its ends, whatever the computus.
inline constexpr int kMinEasterOffset = -70;
inline constexpr int kMaxEasterOffset = 240;
// Offsets after other dates.
inline constexpr int kMaxDateOffset = 366;

// An extra working day (a make-up Saturday): a working day whatever else the day is.
struct ExtraWorkday {
    std::int64_t jdn;
    QString name;
};

// The weekend the set gives the days from `first` to `last` (both included).
struct WeekendSpan {
    std::uint8_t days;  // bit 0 Monday .. bit 6 Sunday, never all seven
    std::int64_t first = -kNoDayBound;
    std::int64_t last = kNoDayBound;
};

// The weekend of every day: the spans in order, without gaps, the first from the far past and
// the last to the far future.
struct WeekendSchedule {
    std::vector<WeekendSpan> spans;

    explicit WeekendSchedule(std::uint8_t days = 0x60) : spans{{days}} {}
    // The program's weekend where the set's spans leave it.
    WeekendSchedule(std::uint8_t days, const std::vector<WeekendSpan>& set);
    bool IsConstant() const { return spans.size() == 1; }
    std::uint8_t At(std::int64_t jdn) const;
};

// The set's header ("@name", "@region", ...).
struct HolidaySetInfo {
    QString nameEnglish;
    QString nameGerman;
    QString region;  // ISO 3166 code, "DE" or "DE-BY"
    std::int64_t firstYear = 0;
    std::int64_t lastYear = 0;
    bool hasYears = false;
    QStringList sources;
    std::optional<std::uint8_t> weekend;   // the country's usual weekend
    std::uint8_t counts = kDefaultCounts;  // the categories that count by default
};

struct HolidaySet {
    QString name;  // a shipped set's name, or the file path it was read from
    std::vector<HolidayRule> rules;
    std::vector<ExtraWorkday> workdays;  // sorted by day
    std::vector<WeekendSpan> weekends;   // sorted, not overlapping
    HolidaySetInfo info;

    bool IsEmpty() const { return rules.empty() && workdays.empty() && weekends.empty(); }
};

// What is wrong with a rule file. The texts of the faults name the words in `details` as %1,
// %2, ... (holidayFaultEnglish gives them in English; the program's messages come from its text
// data file, in the interface language).
enum class HolidayFault {
    None,
    NoColon,                // a ':' and the holiday's name must end the line
    NoName,                 // nothing after ':'
    NoDate,                 // nothing before ':'
    NotADate,               // %1: "13-01", "2024-1-"
    NoSuchDay,              // month %1 has no day %2
    NotLeapYear,            // %1 is not a leap year (a single 29 February)
    EasterOffset,           // %1, %2: the limits; %3 the text
    OrthodoxWithoutEaster,  // 'orthodox' without 'easter'
    NotABeginning,          // %1 begins no kind of date
    NotAWeekday,            // %1
    OfMissing,              // %1 %2: the ordinal and weekday before the missing 'of'
    NotAMonth,              // %1
    JulianMisplaced,        // 'julian' twice, or after Easter or a single date
    BoundTwice,             // %1 'from' or 'until', twice or for a single date
    BoundYear,              // %1 'from' or 'until'; %2, %3 the limits
    FirstAfterLast,         // from after until
    ObservedTwice,          // 'observed' given twice
    ObservedHow,            // not next, previous, nearest or fri-mon
    UnknownWord,            // %1
    // The whole set (line 0):
    TooComplex,    // %1 years where rules begin or end, %2 rules in force at most
    NoWorkingDay,  // no day is a working day, whatever the weekend
    // The richer forms (texts from 1000 on):
    HeaderUnknown,   // %1 the word after '@'
    HeaderTwice,     // %1
    HeaderEmpty,     // %1: '@name' or '@source' without text
    HeaderRegion,    // %1 not an ISO 3166 code
    HeaderYears,     // '@years' without two years in order
    NotADaySet,      // %1 no days of the week
    AllDaysWeekend,  // all seven days as weekend
    NotACategory,    // %1
    OffsetRange,     // %1 the text; %2 the limit
    BoundDate,       // %1 'from' or 'until'; %2 the text
    DaysMissing,     // %1 'observed' or 'substitute': 'on' without days
    SubstituteHow,   // not next or previous
    OptionTwice,     // %1 'substitute', 'category' or 'half' given twice
    ObservedAndSubstitute,
    CalendarDate,     // %1 the calendar code, %2 the text, %3 its months
    WeekdayHow,       // %1 the weekday: not followed by before, after, on or ..., between
    OrBeforeAfter,    // 'on' without 'or before' / 'or after'
    BaseMissing,      // %1 the word after which a date must follow
    NthRelative,      // %1 'last' before 'after' / 'before'
    BetweenForm,      // 'between' not followed by MM-DD and MM-DD
    BetweenLong,      // %1, %2 the span's ends: more than seven days
    SolarForm,        // 'solar' without degrees and an offset
    SolarOffset,      // %1 not utc+H[:MM]
    WorkdayForm,      // 'workday' without one date
    WeekendForm,      // 'weekend' without days, or bounds not dates
    WeekendOverlap,   // %1 the line whose weekend days overlap this one's
    GermanNameEmpty,  // nothing after '|'
    NestedTooDeep,    // %1 the most
    IncludeUnknown,   // %1 not the name of a shipped set
    IncludeCycle,     // %1 a set that includes itself, directly or not
    IncludeTooDeep,   // %1 the most
};

struct HolidayParseResult {
    std::optional<HolidaySet> set;  // only when the whole text was read
    int line = 0;                   // the first faulty line (from 1); 0 for the whole set
    HolidayFault fault = HolidayFault::None;
    QStringList details;  // the words the fault's text names
    QString includedSet;  // the shipped set (by @include) the faulty line is in; empty: the text's
};

// The fault's text in English, with its details filled in.
QString HolidayFaultEnglish(HolidayFault fault, const QStringList& details);
// The text data file's identifier of a fault's text.
int HolidayFaultTextId(HolidayFault fault);

// Reads a rule file's text; refuses it whole at its first faulty line. Lines end with LF,
// CR LF or CR alone. A set whose counting would need more work than any file of the size
// limit needs with ordinary rules (HolidayFault::TooComplex), or that leaves no working day
// even without weekend days, is refused whole.
// `includes` gives the text of a shipped set for "@include NAME" (none: no such set).
using HolidayIncludes = std::function<std::optional<QString>(const QString& name)>;
HolidayParseResult ParseHolidayRules(const QString& text, const HolidayIncludes& includes = {});

// The dates (before any observed move) of a rule whose own days lie in [from, to], each with
// the year of the rule's calendar it belongs to, in order; any span, worked out year by year
// (long counts ask for a few hundred years at a time). Every kind of rule; the rule's years and
// day bounds are not applied.
struct RuleDate {
    std::int64_t jdn;
    std::int64_t year;
};
void RuleDatesBetween(const HolidayRule& rule, std::int64_t from, std::int64_t to,
                      std::vector<RuleDate>& out);
// The Gregorian days from which a rule can give holidays at all (its calendar's table span);
// every day for the arithmetic calendars.
struct DaySpan {
    std::int64_t first;
    std::int64_t last;
};
DaySpan RuleTableSpan(const HolidayRule& rule);
// Whether the rule's dates are fixed by the Gregorian year and its Easter (those of two years
// of the same leap and Easter date lie on the same days of the year).
bool IsGregorianKind(const HolidayRule& rule);

}  // namespace daybridge

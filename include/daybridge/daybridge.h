// libdaybridge: Daybridge's calendars and date arithmetic for other programs.
//
// Every date is a Julian Day Number (JDN), the signed day count all calendars share: 2451545
// is 1 January 2000 (CE). Calendars are named by their codes ("CE", "JC", "HEB", "ISO", ...,
// case-blind); ListCalendars() gives them all.
//
// Errors: no function throws. Everything that can fail returns a Result<T>, which holds either
// the value or an Error (a code and an English message). Asking a failed Result for its value
// is a programming error and throws BadResultAccess. docs/library.md has the whole guide.
//
// All arithmetic covers JDN -2,100,000,000 .. 2,100,000,000 (some calendars a stated span, see
// CalendarInfo) and takes the same time however far apart the dates are. The functions may be
// called from several threads at once; a WorkingDays value may be shared between threads.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#if defined(__GNUC__)
#define DAYBRIDGE_API __attribute__((visibility("default")))
#else
#define DAYBRIDGE_API
#endif

namespace daybridge {

// The library's version, "MAJOR.MINOR.PATCH"; the major number is the shared library's SONAME
// number and changes only when a program built against an older one could break.
DAYBRIDGE_API const char* LibraryVersion();

// ---- errors ----

enum class ErrorCode : std::uint8_t {
    UnknownCalendar,     // no calendar has that code
    InvalidDate,         // the calendar has no such date, or the text is not one of its dates
    OutOfRange,          // beyond the calendar's span or JDN +-2,100,000,000
    InvalidWeekend,      // a weekend text that names no days, or all seven
    HolidaySetUnusable,  // no shipped set of that name, or a rule file that cannot be read/used
    NoWorkingDay,        // the working-day calendar has no working day in the direction asked
    InvalidFormat,       // a format with an unknown field, or one the calendar does not have
    InvalidRule,         // a calendar rule that does not read, or a calendar without rules
};

struct Error {
    ErrorCode code;
    std::string message;  // English, one line
};

class BadResultAccess : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

// A value or the error that prevented it (like C++23's std::expected).
template <typename T>
class Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& {
        Check();
        return std::get<0>(state_);
    }
    T&& value() && {
        Check();
        return std::get<0>(std::move(state_));
    }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    T value_or(T fallback) const { return ok() ? std::get<0>(state_) : std::move(fallback); }

    // The error; only for a failed result.
    const Error& error() const {
        if (ok()) {
            throw BadResultAccess("daybridge: error() of a result that holds a value");
        }
        return std::get<1>(state_);
    }

  private:
    void Check() const {
        if (!ok()) {
            throw BadResultAccess("daybridge: " + std::get<1>(state_).message);
        }
    }
    std::variant<T, Error> state_;
};

// ---- calendars and their dates ----

// Which parts a calendar's dates have (the others are 0 in a DateParts).
enum class DateLayout : std::uint8_t {
    DayNumber,     // year holds the day number (JDN, MJD)
    YearMonthDay,  // year, month, day; era and leapMonth where the calendar has them
    YearWeekDay,   // week-year, week, weekday 1 (Monday) .. 7 (ISO, LPW)
    YearDay,       // year and day of the year (ORD)
    LongCount,     // baktun (year), katun (month), tun (day), uinal, kin (MAY)
};

struct CalendarInfo {
    std::string code;  // "CE"
    DateLayout layout;
    std::int64_t firstJdn;  // the days the calendar has dates for
    std::int64_t lastJdn;
    bool hasMonths;  // AddMonths and AddYears work in its own months (else in CE's)
};

// A date as its calendar counts it; see DateLayout for which parts are used.
struct DateParts {
    std::int64_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    bool leapMonth = false;  // the leap month that repeats `month` (CHN, KOR)
    std::int32_t era = 0;    // era number, 1 the first (JPN); 0 where the calendar has none
    std::int32_t uinal = 0;  // the Long Count's last two places
    std::int32_t kin = 0;
    bool operator==(const DateParts&) const = default;
};

DAYBRIDGE_API std::vector<CalendarInfo> ListCalendars();
DAYBRIDGE_API Result<CalendarInfo> FindCalendar(std::string_view code);

// The JDN of a date, and the date of a JDN.
DAYBRIDGE_API Result<std::int64_t> DayNumberOf(std::string_view calendar, const DateParts& date);
DAYBRIDGE_API Result<DateParts> DatePartsOf(std::string_view calendar, std::int64_t jdn);
// DatePartsOf over many days, the calendar looked up once; the first day that fails fails all.
DAYBRIDGE_API Result<std::vector<DateParts>> DatePartsOfMany(std::string_view calendar,
                                                             std::span<const std::int64_t> jdns);
// The same day in another calendar.
DAYBRIDGE_API Result<DateParts> ConvertDate(std::string_view fromCalendar, const DateParts& date,
                                            std::string_view toCalendar);

// ---- dates as text ----

enum class DateOrder : std::uint8_t { YearMonthDay, DayMonthYear, MonthDayYear };

// How dates are written and read: the program's defaults. The order and separator apply to
// the calendars written in the user's order (CE, JC); the others keep their fixed notation
// ("5787-09-27", "2026-W50-2", "13.0.14.2.19").
struct TextStyle {
    DateOrder order = DateOrder::YearMonthDay;
    char separator = '-';  // '-', '/' or '.'
    char thousands = ',';  // groups years beyond 9999 and day numbers: ',', '.' or 0 (none)
    bool hyphen = true;    // hyphens in ordinal and ISO week dates ("2026-342", "2026-W50-2")
};

// Reads a date in the calendar's usual notation ("2026-12-08", "5787-09-27 HEB",
// "2026-W50-2"); a code of the same calendar before or after it, blanks around it and a comma
// and day name after it are allowed. Answers its JDN.
DAYBRIDGE_API Result<std::int64_t> ParseDateText(std::string_view calendar, std::string_view text,
                                                 const TextStyle& style = {});
// Writes the day in the calendar's usual notation (without its code); ParseDateText reads it
// back as the same day.
DAYBRIDGE_API Result<std::string> DateText(std::string_view calendar, std::int64_t jdn,
                                           const TextStyle& style = {});
// Writes the day by a format: strftime-like fields for every calendar (%Y %m %d %B %A %j
// %G-W%V, %E the era, %L a leap month's mark ...) or a named form "iso", "long", "jdn"; an
// empty format is the usual notation (docs/formats.md). Names are English.
DAYBRIDGE_API Result<std::string> FormatDate(std::string_view calendar, std::int64_t jdn,
                                             std::string_view format);
// Reads a date written by the format (names in any case, numbers padded or not) back to its day.
DAYBRIDGE_API Result<std::int64_t> ParseFormattedDate(std::string_view calendar,
                                                      std::string_view text,
                                                      std::string_view format);
// The rules of the calendars that have one, for the whole process as in the program: HIS's
// first Gregorian day ("1582-10-15", "rome", "britain"), WK's week rule ("ISO", "US",
// "MIDEAST", a WEEKNUM type, "SUN/FULL"), FY's first month ("JUL/END") and FYW's 52/53 weeks
// ("RETAIL", "LAST/SAT/JAN/454"); docs/weeks-and-fiscal-years.md. Both answer the rule as the
// program writes it.
DAYBRIDGE_API Result<std::string> CalendarRule(std::string_view calendar);
DAYBRIDGE_API Result<std::string> SetCalendarRule(std::string_view calendar, std::string_view rule);
// ParseDateText in one calendar, then DateText in another.
DAYBRIDGE_API Result<std::string> ConvertText(std::string_view fromCalendar, std::string_view text,
                                              std::string_view toCalendar,
                                              const TextStyle& style = {});

// ---- arithmetic ----

DAYBRIDGE_API Result<std::int64_t> AddDays(std::int64_t jdn, std::int64_t days);
// Years and months in the calendar's own months (a calendar without months uses CE's): a day
// the target month lacks becomes its last day, once, after both (2024-02-29 + 1 year =
// 2025-02-28). ISO and LPW add week-years, keeping week and weekday.
DAYBRIDGE_API Result<std::int64_t> AddMonths(std::string_view calendar, std::int64_t jdn,
                                             std::int64_t months);
DAYBRIDGE_API Result<std::int64_t> AddYears(std::string_view calendar, std::int64_t jdn,
                                            std::int64_t years);

// Years and months at once (the day clamped once, after both: 2024-02-29 + 1 year - 1 month is
// 2025-01-29), then days.
DAYBRIDGE_API Result<std::int64_t> AddPeriod(std::string_view calendar, std::int64_t jdn,
                                             std::int64_t years, std::int64_t months,
                                             std::int64_t days = 0);

// AddPeriod over many days, the calendar looked up once; the first day that fails fails all.
DAYBRIDGE_API Result<std::vector<std::int64_t>> AddPeriodMany(std::string_view calendar,
                                                              std::span<const std::int64_t> jdns,
                                                              std::int64_t years,
                                                              std::int64_t months,
                                                              std::int64_t days = 0);

// to - from, both checked to lie in the range.
DAYBRIDGE_API Result<std::int64_t> DaysBetween(std::int64_t from, std::int64_t to);

// A difference as years, months and days, none negative; `negative` when `to` lies before
// `from` (the parts are then those from `to` to `from`).
struct DateSpan {
    bool negative = false;
    std::int64_t years = 0;
    std::int64_t months = 0;
    std::int64_t days = 0;
    bool operator==(const DateSpan&) const = default;
};
// CE and JC: the program's breakdown. The days count from the first date's day of the month
// as if every month had it (31 January + 1 month is "31 February", 3 March), and a negative
// day count borrows once more from the month before (2011-01-31 to 2012-03-01 is 1 year,
// 30 days). Other calendars: the whole years,
// then the whole months in the calendar's months (a month counts once its day is reached),
// then the days, so that from + years + months + days is `to`.
DAYBRIDGE_API Result<DateSpan> DifferenceInUnits(std::string_view calendar, std::int64_t from,
                                                 std::int64_t to);

// ---- working days ----

// The conventions that move a day onto a working day (the modified ones stay in the day's
// Gregorian month by rolling the other way when they would leave it).
enum class RollRule : std::uint8_t { Following, Preceding, ModifiedFollowing, ModifiedPreceding };

// Which days count as working days: every day but the weekend days and the holidays of a
// holiday set. Counting goes as the program counts: the days strictly after the first date up
// to and including the second (with `includeFirst`, the first too when it is a working day);
// negative when the second date lies before the first.
class DAYBRIDGE_API WorkingDays {
  public:
    // Saturday and Sunday, no holidays.
    WorkingDays();
    // `weekend`: a mask of seven '0'/'1', Monday first ("0000011"), day names or their first
    // three letters ("fri sat", "Sat,Sun"), or "none". `holidays`: empty for none, the name of
    // a shipped set ("germany"; ShippedHolidaySets()) or the path of a rule file (anything with
    // a '/' or ending in ".txt"; docs/holidays.md has the format).
    static Result<WorkingDays> Create(std::string_view weekend, std::string_view holidays = {});

    bool IsWorkday(std::int64_t jdn) const;
    bool IsHoliday(std::int64_t jdn) const;
    // The English names of the holidays on the day.
    std::vector<std::string> HolidayNames(std::int64_t jdn) const;
    // Weekend days as bits, bit 0 Monday .. bit 6 Sunday.
    std::uint8_t WeekendMask() const;
    // The holiday set as given to Create (empty for none).
    const std::string& HolidaySetName() const;

    // Working days from `first` to `second`.
    Result<std::int64_t> Count(std::int64_t first, std::int64_t second,
                               bool includeFirst = false) const;
    // The day that lies `workdays` working days from `first`: Count(first, result) is
    // `workdays` (with includeFirst, +-1 from a working day is that day itself).
    Result<std::int64_t> Add(std::int64_t first, std::int64_t workdays,
                             bool includeFirst = false) const;
    // The day itself when it is a working day, else the working day the rule chooses.
    Result<std::int64_t> Roll(std::int64_t jdn, RollRule rule) const;

    struct State;

  private:
    explicit WorkingDays(std::shared_ptr<const State> state);
    std::shared_ptr<const State> state_;
};

// ---- data files ----

// The folder the shipped holiday sets are read from (its "holidays" subfolder): the one given
// to SetDataFolder; else the environment variable DAYBRIDGE_DATA_DIR; else the folder beside
// the library that holds "holidays" (a build tree), or <prefix>/share/daybridge for the
// library installed in <prefix>/lib (/usr/share/daybridge for the Debian package).
DAYBRIDGE_API std::string DataFolder();
// An empty folder restores the search above.
DAYBRIDGE_API void SetDataFolder(std::string_view folder);
// The names of the shipped holiday sets found there, sorted.
DAYBRIDGE_API std::vector<std::string> ShippedHolidaySets();

}  // namespace daybridge

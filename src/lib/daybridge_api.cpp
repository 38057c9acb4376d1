// The library's face over the calendar registry, the date text readers and writers, the unit
// arithmetic and the working-day calendar. Everything here converts between the public types
// (std::string, plain numbers) and the internal ones (QString, CalendarId) and turns each
// internal outcome into one Result; the work itself is the program's own code.
#include <dlfcn.h>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <cstdlib>
#include <mutex>

#include "calendar/calendar_registry.h"
#include "calendar/calendar_units.h"
#include "calendar/gregorian_switch.h"
#include "calendar/week_fiscal_rules.h"
#include "compute/presentation.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "datetext/date_pattern.h"
#include "daybridge/daybridge.h"
#include "env/holiday_files.h"
#include "env/text_store.h"
#include "workdays/business_days.h"
#include "workdays/workday_calendar.h"

namespace daybridge {

struct WorkingDays::State {
    WorkdayCalendar calendar;
    std::string holidaySetName;
};

namespace {

constexpr std::int64_t kLimit = kMaxDayNumber;

QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStd(const QString& text) {
    return text.toStdString();
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

Error Fail(ErrorCode code, std::string message) {
    return Error{code, std::move(message)};
}

Error OutOfRangeDay(std::int64_t jdn) {
    return Fail(ErrorCode::OutOfRange,
                "JDN " + std::to_string(jdn) + " lies beyond -2100000000 .. 2100000000");
}

bool InDayRange(std::int64_t jdn) {
    return jdn >= -kLimit && jdn <= kLimit;
}

Result<CalendarId> CalendarNamed(std::string_view code) {
    if (const std::optional<CalendarId> id = CalendarOfCode(ToQ(code))) {
        return *id;
    }
    return Fail(ErrorCode::UnknownCalendar, "no calendar has the code " + Quoted(code));
}

std::string CodeText(CalendarId id) {
    return Calendar(id).code;
}

Error OutsideCalendar(CalendarId id, std::int64_t jdn) {
    const CalendarEntry& entry = Calendar(id);
    return Fail(ErrorCode::OutOfRange, "JDN " + std::to_string(jdn) + " lies beyond the " +
                                           entry.code + " calendar's days (" +
                                           std::to_string(entry.firstJdn) + " .. " +
                                           std::to_string(entry.lastJdn) + ")");
}

DateLayout LayoutOf(FieldKind kind) {
    switch (kind) {
        case FieldKind::DayNumber:
            return DateLayout::DayNumber;
        case FieldKind::YearWeekDay:
            return DateLayout::YearWeekDay;
        case FieldKind::YearDay:
            return DateLayout::YearDay;
        case FieldKind::LongCount:
            return DateLayout::LongCount;
        case FieldKind::YearMonthDay:
            break;
    }
    return DateLayout::YearMonthDay;
}

CalendarInfo InfoOf(const CalendarEntry& entry) {
    return CalendarInfo{entry.code, LayoutOf(entry.fields), entry.firstJdn, entry.lastJdn,
                        entry.unitMonths == entry.id};
}

TextFormat FormatOf(const TextStyle& style) {
    TextFormat format;
    format.dateFormat = style.order == DateOrder::DayMonthYear   ? kDateFormatDMY
                        : style.order == DateOrder::MonthDayYear ? kDateFormatMDY
                                                                 : kDateFormatYMD;
    format.dateSeparator = QString(QChar(style.separator));
    format.thousandsSeparator = style.thousands == 0 ? QString() : QString(QChar(style.thousands));
    format.hyphen = style.hyphen;
    // The same text on every machine, whatever its locale.
    format.regional = QLocale::c();
    return format;
}

Result<TextFormat> CheckedFormat(const TextStyle& style) {
    const bool separatorOk =
        style.separator == '-' || style.separator == '/' || style.separator == '.';
    const bool thousandsOk =
        style.thousands == 0 || style.thousands == ',' || style.thousands == '.';
    if (!separatorOk || !thousandsOk || (style.thousands == style.separator)) {
        return Fail(ErrorCode::InvalidDate,
                    "the date separator must be '-', '/' or '.' and the thousands separator "
                    "',', '.' or none, and they must differ");
    }
    return FormatOf(style);
}

Result<std::int64_t> DayOf(const UnitResult& result) {
    if (result.outcome != UnitOutcome::Done) {
        return Fail(ErrorCode::OutOfRange, "the result lies beyond JDN -2100000000 .. 2100000000");
    }
    return result.jdn;
}

// --- the data folder ---

std::mutex dataFolderMutex;
std::string dataFolderGiven;

std::string LibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibraryVersion), &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    return ToStd(QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath());
}

bool HoldsHolidays(const QString& folder) {
    return QFileInfo(folder + QStringLiteral("/holidays")).isDir();
}

std::string SearchDataFolder() {
    if (const char* fromEnvironment = std::getenv("DAYBRIDGE_DATA_DIR");
        fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return fromEnvironment;
    }
    const QString library = QString::fromStdString(LibraryFolder());
    if (HoldsHolidays(library)) {
        return ToStd(library);
    }
    // The installed layout: the library in <prefix>/<libdir>, the data in
    // <prefix>/share/daybridge (DAYBRIDGE_DATA_FROM_LIBRARY is that path relative to libdir).
    return ToStd(QDir::cleanPath(library + QStringLiteral("/" DAYBRIDGE_DATA_FROM_LIBRARY)));
}

std::string HolidayFolder() {
    return DataFolder() + "/holidays";
}

std::mutex holidayLoadMutex;

}  // namespace

const char* LibraryVersion() {
    return DAYBRIDGE_LIBRARY_VERSION;
}

// ---- calendars ----

std::vector<CalendarInfo> ListCalendars() {
    std::vector<CalendarInfo> list;
    for (const CalendarEntry* entry : AllCalendars()) {
        list.push_back(InfoOf(*entry));
    }
    return list;
}

Result<CalendarInfo> FindCalendar(std::string_view code) {
    Result<CalendarId> id = CalendarNamed(code);
    if (!id) {
        return id.error();
    }
    return InfoOf(Calendar(*id));
}

Result<std::int64_t> DayNumberOf(std::string_view calendar, const DateParts& date) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    const CalendarEntry& entry = Calendar(*id);
    std::int64_t jdn = 0;
    if (entry.fields == FieldKind::DayNumber) {
        if (date.year < -2 * kLimit || date.year > 2 * kLimit) {
            return OutsideCalendar(*id, date.year);
        }
        jdn = date.year + entry.dayOffset;
    } else {
        CalendarDate internal;
        internal.calendar = *id;
        internal.year = date.year;
        internal.month = date.month;
        internal.day = date.day;
        internal.leapMonth = date.leapMonth;
        internal.era = static_cast<std::int16_t>(date.era);
        internal.uinal = date.uinal;
        internal.kin = date.kin;
        if (date.era < 0 || date.era > std::numeric_limits<std::int16_t>::max()) {
            return Fail(ErrorCode::InvalidDate, "the " + CodeText(*id) + " calendar has no era " +
                                                    std::to_string(date.era));
        }
        const jdcore::DateCheck check = CheckDate(internal);
        if (check.problem == jdcore::DateProblem::OutOfSpan ||
            check.problem == jdcore::DateProblem::YearOutOfRange) {
            return Fail(ErrorCode::OutOfRange, "the year " + std::to_string(date.year) +
                                                   " lies beyond the " + CodeText(*id) +
                                                   " calendar's years");
        }
        if (!check.ok()) {
            return Fail(ErrorCode::InvalidDate,
                        "the " + CodeText(*id) + " calendar has no such date (year " +
                            std::to_string(date.year) + ", month " + std::to_string(date.month) +
                            ", day " + std::to_string(date.day) + ")");
        }
        jdn = entry.toJdn(internal);
    }
    if (!InSpan(entry, jdn) || !InDayRange(jdn)) {
        return OutsideCalendar(*id, jdn);
    }
    return jdn;
}

namespace {

Result<DateParts> PartsIn(CalendarId id, std::int64_t jdn) {
    if (!InSpan(Calendar(id), jdn) || !InDayRange(jdn)) {
        return OutsideCalendar(id, jdn);
    }
    const CalendarDate internal = FromJdn(id, jdn);
    DateParts date;
    date.year = internal.year;
    date.month = internal.month;
    date.day = internal.day;
    date.leapMonth = internal.leapMonth;
    date.era = internal.era;
    date.uinal = internal.uinal;
    date.kin = internal.kin;
    return date;
}

}  // namespace

Result<DateParts> DatePartsOf(std::string_view calendar, std::int64_t jdn) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    return PartsIn(*id, jdn);
}

Result<std::vector<DateParts>> DatePartsOfMany(std::string_view calendar,
                                               std::span<const std::int64_t> jdns) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    std::vector<DateParts> dates;
    dates.reserve(jdns.size());
    for (const std::int64_t jdn : jdns) {
        Result<DateParts> date = PartsIn(*id, jdn);
        if (!date) {
            return date.error();
        }
        dates.push_back(*date);
    }
    return dates;
}

Result<DateParts> ConvertDate(std::string_view fromCalendar, const DateParts& date,
                              std::string_view toCalendar) {
    Result<std::int64_t> jdn = DayNumberOf(fromCalendar, date);
    if (!jdn) {
        return jdn.error();
    }
    return DatePartsOf(toCalendar, *jdn);
}

// ---- text ----

Result<std::int64_t> ParseDateText(std::string_view calendar, std::string_view text,
                                   const TextStyle& style) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    Result<TextFormat> format = CheckedFormat(style);
    if (!format) {
        return format.error();
    }
    const ParseResult parsed = ParseDateInCalendar(*id, ToQ(text), *format);
    switch (parsed.outcome) {
        case ParseOutcome::Valid:
            return std::int64_t{parsed.jdn};
        case ParseOutcome::OutOfRange:
            return Fail(ErrorCode::OutOfRange,
                        Quoted(text) + " lies beyond the " + CodeText(*id) + " calendar's range");
        case ParseOutcome::Invalid:
            break;
    }
    return Fail(ErrorCode::InvalidDate,
                Quoted(text) + " is not a date of the " + CodeText(*id) + " calendar");
}

Result<std::string> DateText(std::string_view calendar, std::int64_t jdn, const TextStyle& style) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    Result<TextFormat> format = CheckedFormat(style);
    if (!format) {
        return format.error();
    }
    if (!InDayRange(jdn)) {
        return OutOfRangeDay(jdn);
    }
    const QString text = CanonicalDateText(*id, static_cast<std::int32_t>(jdn), *format);
    if (text.isEmpty() || !InSpan(Calendar(*id), jdn)) {
        return OutsideCalendar(*id, jdn);
    }
    return ToStd(text);
}

// ---- calendar rules ----

Result<std::string> CalendarRule(std::string_view calendar) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    const ChosenRule* rule = Calendar(*id).rule;
    if (rule == nullptr) {
        return Fail(ErrorCode::InvalidRule,
                    "the " + CodeText(*id) + " calendar has no rule to choose");
    }
    return ToStd(rule->text());
}

Result<std::string> SetCalendarRule(std::string_view calendar, std::string_view rule) {
    Result<std::string> now = CalendarRule(calendar);
    if (!now) {
        return now.error();
    }
    const QString text = ToQ(rule).trimmed();
    const bool taken = Calendar(*CalendarNamed(calendar)).rule->take(text);
    if (!taken) {
        return Fail(ErrorCode::InvalidRule,
                    "not a rule of the " + std::string(calendar) + " calendar: " + Quoted(rule));
    }
    return CalendarRule(calendar);
}

// ---- dates by a format ----

std::mutex textMutex;
bool textsTried = false;
bool textsLoaded = false;

// The program's texts (the world calendars' month names), read once from the data folder;
// without them a format has only what needs no text (CE's names, the numbers).
PatternTexts LibraryTexts() {
    const std::lock_guard<std::mutex> lock(textMutex);
    if (!textsTried) {
        textsTried = true;
        QString failure;
        const QString path =
            FolderFilePath(QString::fromStdString(DataFolder()), QStringLiteral("dbrg_text.dat"));
        textsLoaded = LoadProgramText(path, &failure) > 0;
    }
    PatternTexts texts;
    texts.language = kEnglish;
    texts.text = textsLoaded ? &GetText : nullptr;
    return texts;
}

Result<DatePattern> CompiledPattern(std::string_view calendar, std::string_view format) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    QString error;
    std::optional<DatePattern> pattern =
        DatePattern::Compile(ToQ(format), *id, LibraryTexts(), error);
    if (!pattern) {
        return Fail(ErrorCode::InvalidFormat, ToStd(error));
    }
    return std::move(*pattern);
}

Result<std::string> FormatDate(std::string_view calendar, std::int64_t jdn,
                               std::string_view format) {
    Result<DatePattern> pattern = CompiledPattern(calendar, format);
    if (!pattern) {
        return pattern.error();
    }
    if (!InDayRange(jdn)) {
        return OutOfRangeDay(jdn);
    }
    QString out;
    QString error;
    if (!pattern->Format(jdn, out, error)) {
        return Fail(ErrorCode::OutOfRange, ToStd(error));
    }
    return ToStd(out);
}

Result<std::int64_t> ParseFormattedDate(std::string_view calendar, std::string_view text,
                                        std::string_view format) {
    Result<DatePattern> pattern = CompiledPattern(calendar, format);
    if (!pattern) {
        return pattern.error();
    }
    QString error;
    const std::optional<std::int64_t> jdn = pattern->Parse(ToQ(text), error);
    if (!jdn) {
        return Fail(ErrorCode::InvalidDate, ToStd(error));
    }
    return *jdn;
}

Result<std::string> ConvertText(std::string_view fromCalendar, std::string_view text,
                                std::string_view toCalendar, const TextStyle& style) {
    Result<std::int64_t> jdn = ParseDateText(fromCalendar, text, style);
    if (!jdn) {
        return jdn.error();
    }
    return DateText(toCalendar, *jdn, style);
}

// ---- arithmetic ----

Result<std::int64_t> AddDays(std::int64_t jdn, std::int64_t days) {
    if (!InDayRange(jdn)) {
        return OutOfRangeDay(jdn);
    }
    if (days < -2 * kLimit || days > 2 * kLimit || !InDayRange(jdn + days)) {
        return Fail(ErrorCode::OutOfRange, "the result lies beyond JDN -2100000000 .. 2100000000");
    }
    return jdn + days;
}

Result<std::int64_t> AddMonths(std::string_view calendar, std::int64_t jdn, std::int64_t months) {
    return AddPeriod(calendar, jdn, 0, months, 0);
}

Result<std::int64_t> AddYears(std::string_view calendar, std::int64_t jdn, std::int64_t years) {
    return AddPeriod(calendar, jdn, years, 0, 0);
}

namespace {

Result<std::int64_t> PeriodAdded(CalendarId id, std::int64_t jdn, std::int64_t years,
                                 std::int64_t months, std::int64_t days) {
    if (!InDayRange(jdn)) {
        return OutOfRangeDay(jdn);
    }
    if (years < -kMaxUnitYears || years > kMaxUnitYears || months < -kMaxUnitMonths ||
        months > kMaxUnitMonths) {
        return DayOf(UnitResult{});
    }
    const Result<std::int64_t> day = DayOf(AddYearsMonths(id, jdn, years, months));
    return day ? AddDays(*day, days) : day;
}

}  // namespace

Result<std::int64_t> AddPeriod(std::string_view calendar, std::int64_t jdn, std::int64_t years,
                               std::int64_t months, std::int64_t days) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    return PeriodAdded(*id, jdn, years, months, days);
}

Result<std::vector<std::int64_t>> AddPeriodMany(std::string_view calendar,
                                                std::span<const std::int64_t> jdns,
                                                std::int64_t years, std::int64_t months,
                                                std::int64_t days) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    std::vector<std::int64_t> added;
    added.reserve(jdns.size());
    for (const std::int64_t jdn : jdns) {
        const Result<std::int64_t> day = PeriodAdded(*id, jdn, years, months, days);
        if (!day) {
            return day.error();
        }
        added.push_back(*day);
    }
    return added;
}

Result<std::int64_t> DaysBetween(std::int64_t from, std::int64_t to) {
    if (!InDayRange(from)) {
        return OutOfRangeDay(from);
    }
    if (!InDayRange(to)) {
        return OutOfRangeDay(to);
    }
    return to - from;
}

Result<DateSpan> DifferenceInUnits(std::string_view calendar, std::int64_t from, std::int64_t to) {
    Result<CalendarId> id = CalendarNamed(calendar);
    if (!id) {
        return id.error();
    }
    for (const std::int64_t jdn : {from, to}) {
        if (!InDayRange(jdn)) {
            return OutOfRangeDay(jdn);
        }
    }
    DateSpan span;
    if (to < from) {
        span.negative = true;
        std::swap(from, to);
    }
    const CalendarEntry& entry = Calendar(*id);
    if (entry.breakdown == Breakdown::YearsMonthsDays) {
        // CE and JC: exactly the breakdown the program shows after a difference.
        const char letter = entry.recordLetter;
        DateRecord first = CivilOfJdn(static_cast<std::int32_t>(from), letter);
        DateRecord second = CivilOfJdn(static_cast<std::int32_t>(to), letter);
        first.calendar = letter;
        second.calendar = letter;
        const DifferenceParts parts = DifferenceInYearsMonthsDays(first, second);
        if (parts.status == 0) {
            span.years = parts.years;
            span.months = parts.monthsOrWeeks;
            span.days = parts.days;
            return span;
        }
    }
    const CalendarEntry& monthEntry = Calendar(entry.unitMonths);
    for (const std::int64_t jdn : {from, to}) {
        if (!InSpan(monthEntry, jdn) || !InSpan(entry, jdn)) {
            return OutsideCalendar(InSpan(entry, jdn) ? entry.unitMonths : *id, jdn);
        }
    }
    // Whole years (week-years for week dates): the years' difference, one less when adding it
    // passes `to`.
    const CalendarId yearsIn = entry.HasYears() ? *id : entry.unitMonths;
    std::int64_t years = FromJdn(yearsIn, to).year - FromJdn(yearsIn, from).year;
    Result<std::int64_t> afterYears = DayOf(AddYearsMonths(*id, from, years, 0));
    while (years > 0 && (!afterYears || *afterYears > to)) {
        --years;
        afterYears = DayOf(AddYearsMonths(*id, from, years, 0));
    }
    if (!afterYears) {
        return afterYears.error();
    }
    const MonthsResult whole = MonthsBetween(*id, *afterYears, to);
    if (whole.outcome != UnitOutcome::Done) {
        return DayOf(UnitResult{}).error();
    }
    Result<std::int64_t> afterMonths = DayOf(AddYearsMonths(*id, *afterYears, 0, whole.months));
    if (!afterMonths) {
        return afterMonths.error();
    }
    span.years = years;
    span.months = whole.months;
    span.days = to - *afterMonths;
    return span;
}

// ---- working days ----

WorkingDays::WorkingDays() : state_(std::make_shared<State>()) {}

WorkingDays::WorkingDays(std::shared_ptr<const State> state) : state_(std::move(state)) {}

Result<WorkingDays> WorkingDays::Create(std::string_view weekend, std::string_view holidays) {
    const std::optional<std::uint8_t> days = ParseWeekend(ToQ(weekend));
    if (!days) {
        return Fail(ErrorCode::InvalidWeekend,
                    Quoted(weekend) +
                        " is no weekend: give seven 0/1 (Monday first), day "
                        "names, or none; not all seven days");
    }
    std::shared_ptr<const HolidaySet> set;
    if (!holidays.empty()) {
        QString error;
        {
            const std::lock_guard<std::mutex> lock(holidayLoadMutex);
            SetShippedHolidayFolder(QString::fromStdString(HolidayFolder()));
            set = LoadHolidaySet(ToQ(holidays), error);
            SetShippedHolidayFolder(QString());
        }
        if (!set) {
            return Fail(ErrorCode::HolidaySetUnusable, ToStd(error));
        }
    }
    auto state = std::make_shared<State>();
    state->calendar = WorkdayCalendar(*days, set);
    state->holidaySetName = std::string(holidays);
    if (!state->calendar.HasWorkday()) {
        return Fail(ErrorCode::NoWorkingDay, "with this weekend the holiday set " +
                                                 Quoted(holidays) + " leaves no working day");
    }
    return WorkingDays(std::move(state));
}

bool WorkingDays::IsWorkday(std::int64_t jdn) const {
    return state_->calendar.IsWorkday(jdn);
}

bool WorkingDays::IsHoliday(std::int64_t jdn) const {
    return state_->calendar.IsHoliday(jdn);
}

std::vector<std::string> WorkingDays::HolidayNames(std::int64_t jdn) const {
    std::vector<std::string> names;
    for (const QString& name : state_->calendar.HolidayNames(jdn)) {
        names.push_back(ToStd(name));
    }
    return names;
}

std::uint8_t WorkingDays::WeekendMask() const {
    return state_->calendar.weekend();
}

const std::string& WorkingDays::HolidaySetName() const {
    return state_->holidaySetName;
}

Result<std::int64_t> WorkingDays::Count(std::int64_t first, std::int64_t second,
                                        bool includeFirst) const {
    for (const std::int64_t jdn : {first, second}) {
        if (!InDayRange(jdn)) {
            return OutOfRangeDay(jdn);
        }
    }
    return state_->calendar.Count(first, second, includeFirst);
}

Result<std::int64_t> WorkingDays::Add(std::int64_t first, std::int64_t workdays,
                                      bool includeFirst) const {
    if (!InDayRange(first)) {
        return OutOfRangeDay(first);
    }
    if (workdays < -2 * kLimit || workdays > 2 * kLimit) {
        return Fail(ErrorCode::OutOfRange, "the result lies beyond JDN -2100000000 .. 2100000000");
    }
    const std::int64_t day = state_->calendar.StepFromFirst(first, workdays, includeFirst);
    if (day == WorkdayCalendar::kNoDate) {
        return Fail(ErrorCode::NoWorkingDay, "no working day lies that far in that direction");
    }
    if (!InDayRange(day)) {
        return Fail(ErrorCode::OutOfRange, "the result lies beyond JDN -2100000000 .. 2100000000");
    }
    return day;
}

Result<std::int64_t> WorkingDays::Roll(std::int64_t jdn, RollRule rule) const {
    if (!InDayRange(jdn)) {
        return OutOfRangeDay(jdn);
    }
    const daybridge::Roll internal = rule == RollRule::Following   ? Roll::Following
                                     : rule == RollRule::Preceding ? Roll::Preceding
                                     : rule == RollRule::ModifiedFollowing
                                         ? Roll::ModifiedFollowing
                                         : Roll::ModifiedPreceding;
    const std::int64_t day = Rolled(state_->calendar, jdn, internal);
    if (day == WorkdayCalendar::kNoDate) {
        return Fail(ErrorCode::NoWorkingDay, "no working day lies in that direction");
    }
    if (!InDayRange(day)) {
        return Fail(ErrorCode::OutOfRange, "the result lies beyond JDN -2100000000 .. 2100000000");
    }
    return day;
}

// ---- data files ----

std::string DataFolder() {
    {
        const std::lock_guard<std::mutex> lock(dataFolderMutex);
        if (!dataFolderGiven.empty()) {
            return dataFolderGiven;
        }
    }
    return SearchDataFolder();
}

void SetDataFolder(std::string_view folder) {
    const std::lock_guard<std::mutex> lock(dataFolderMutex);
    dataFolderGiven = std::string(folder);
}

std::vector<std::string> ShippedHolidaySets() {
    std::vector<std::string> names;
    const QDir folder(QString::fromStdString(HolidayFolder()));
    for (const QString& file :
         folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        names.push_back(ToStd(file.chopped(4)));
    }
    return names;
}

}  // namespace daybridge

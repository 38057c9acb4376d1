// The compute engine: given two of first date, difference and second date, works out the
// third, with the include-first-date and business-day rules and the range checks. It returns
// a value (what was computed, the dates, the difference, the breakdown) and writes nothing:
// the result's sentences are presentation's (result_text.h), and the window and the batch
// language each show a result or a fault in their own way.
//
// The options used (include first date, count weekends, verbose) are those of the snapshot
// (AppState::GetParameters, taken by the caller before Compute); calendars come from
// AppState::GetCal and the date order from AppState::UsersDateFormat.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "app/app_state.h"
#include "calendar/calendar_units.h"
#include "compute/presentation.h"

namespace daybridge {

// What a batch run offers the engine while it runs: variables usable as dates.
class BatchContext {
  public:
    virtual ~BatchContext() = default;
    virtual std::optional<std::int32_t> VariableValue(const QString& name) const = 0;
};

enum class ComputedPart : std::uint8_t {
    Nothing,     // a difference alone, or all three or none given: nothing to work out
    Difference,  // from two dates
    SecondDate,  // from the first date and a difference, or the first date alone
    FirstDate,   // from a difference and the second date, or the second date alone
};

// The three fields of a computation: first date, difference, second date.
inline constexpr std::size_t kFirstField = 0;
inline constexpr std::size_t kDifferenceField = 1;
inline constexpr std::size_t kSecondField = 2;

struct ComputeResult {
    ComputedPart computed = ComputedPart::Nothing;
    // One date given and no difference: the other date is the same day.
    bool conversion = false;
    // A conversion into the calendar the date is already in: nothing to show but the date.
    bool sameCalendarConversion = false;
    CalendarId firstCalendar = kDefaultCalendar;
    CalendarId secondCalendar = kDefaultCalendar;
    Snapshot options;  // the choices it was computed with
    std::int32_t firstJdn = 0;
    std::int32_t secondJdn = 0;
    // The difference in days: computed, or as given; after a unit difference the days from the
    // first date to the second (0 when that leaves the day range).
    std::int32_t difference = 0;
    std::optional<UnitDifference> unit;  // the difference as given in calendar units
    // The fields' texts as the computation leaves them: the given dates in their canonical
    // form, the difference as a grouped number (a unit difference as typed), the computed
    // date or difference. A field not written is left as it was (`written`).
    std::array<QString, 3> fields;
    std::array<bool, 3> written{};
    // The difference in calendar units when the result line shows it (same calendar,
    // weekends counted, long enough).
    std::optional<DifferenceParts> breakdown;
};

// Why a computation stopped. `date` is 1 or 2 when that date could not be read (its text as
// given in `text`), 0 otherwise.
struct ComputeFault {
    ComputeMessageRow message = ComputeMessageRow::ResultOutOfRange;
    int date = 0;
    QString text;
    bool outOfRange() const;
};

struct ComputeOutcome {
    ComputeResult result;  // complete when there is no fault; the fields read so far otherwise
    std::optional<ComputeFault> fault;
    bool ok() const { return !fault.has_value(); }
};

// A field read: its value, or why it cannot be read.
struct DateAcceptance {
    std::int32_t jdn = 0;
    QString canonical;
    std::optional<ComputeFault> fault;
};
struct DifferenceAcceptance {
    std::int32_t days = 0;
    std::optional<UnitDifference> unit;
    QString text;  // a number grouped by the thousands separator; a unit difference as typed
    std::optional<ComputeFault> fault;
};

class ComputeEngine {
  public:
    explicit ComputeEngine(const AppState& state) : state_(state) {}

    // The entry point. The texts are trimmed here (the callers trim them too).
    ComputeOutcome Compute(const QString& first, const QString& difference,
                           const QString& second) const;

    // A date in the calendar of date 1 or 2 (during a batch run also a variable's name).
    DateAcceptance AcceptDate(int firstOrSecond, const QString& text) const;
    DifferenceAcceptance AcceptDifference(const QString& text) const;

    // The arithmetic, for dates already read; nothing when the result leaves the day range
    // (or the span of the date's calendar).
    std::optional<std::int32_t> DifferenceBetween(std::int32_t first, std::int32_t second) const;
    std::optional<std::int32_t> SecondDateFrom(std::int32_t first, std::int32_t days,
                                               const std::optional<UnitDifference>& unit) const;
    std::optional<std::int32_t> FirstDateFrom(std::int32_t second, std::int32_t days,
                                              const std::optional<UnitDifference>& unit) const;

    void setBatchContext(const BatchContext* context) { batch_ = context; }
    const AppState& state() const { return state_; }

  private:
    void WorkOut(ComputeOutcome& outcome, ComputedPart part,
                 const std::array<const QString*, 3>& texts) const;
    bool ReadField(ComputeOutcome& outcome, std::size_t field, const QString& text) const;
    std::optional<std::int32_t> StoreComputedDate(int firstOrSecond, std::int64_t jdn) const;
    void Finish(ComputeResult& result) const;

    const AppState& state_;
    const BatchContext* batch_ = nullptr;
};

// The date text of a JDN in a calendar with the settings in force (today labels, Today
// buttons, computed dates): CE/JC in the user's date order; ORD only in its range (empty
// outside); ISO and ORD with the hyphen setting; JDN grouped by the thousands separator.
QString DateTextOfJdn(const AppState& state, CalendarId calendar, std::int32_t jdn);

// Today's date as text in the snapshot's calendar of date n (1 first, 2 second).
QString TodayText(const AppState& state, std::int32_t todayJdn, int n);

}  // namespace daybridge

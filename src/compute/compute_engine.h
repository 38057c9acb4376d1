// The compute engine: given two of first date, difference and second date, works out the
// third, with the include-first-date and business-day rules and the range checks, and writes
// the result lines into the output. The main window's Compute and the batch language's
// three-field lines both call Compute.
//
// The options used (include first date, count weekends, verbose) are those of the snapshot
// (AppState::GetParameters, taken by the caller before Compute); calendars come from
// AppState::GetCal and the date order from AppState::UsersDateFormat.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

#include "app/app_state.h"
#include "app/host.h"
#include "calendar/calendar_units.h"

namespace daybridge {

// What a batch run offers the engine while it runs: variables usable as dates, and the line
// being executed for error reports.
class BatchContext {
  public:
    virtual ~BatchContext() = default;
    virtual std::optional<std::int32_t> VariableValue(const QString& name) const = 0;
    virtual int FileLineNumber() const = 0;       // of the line being executed
    virtual QString CurrentLineText() const = 0;  // as written, trimmed
};

class ComputeEngine {
  public:
    ComputeEngine(AppState& state, Host& host) : state_(state), host_(host) {}

    // The entry point. The texts are trimmed here (the callers trim them too); accepted texts
    // are rewritten into their canonical form, and outside a batch run the state's field texts
    // are written as well. Sets state.conversionOnlyCase from the texts given. False means an
    // error was reported.
    bool Compute(QString& first, QString& difference, QString& second);

    bool AcceptFirstDate(QString& text);
    bool AcceptSecondDate(QString& text);
    bool AcceptDifference(QString& text);
    bool ComputeDifference();
    bool ComputeSecondDate();
    bool ComputeFirstDate();

    // Result lines completed after the engine's own text (the window's display operations).
    void DisplayFirstDate(std::int32_t jdn);
    void DisplaySecondDate(std::int32_t jdn);
    void DisplayDateDiff(std::int32_t difference);

    // Today's date as text in the snapshot's calendar of date n (1 first, 2 second).
    QString Today(int n) const;

    // The shared results. After a unit difference ("1y2m") DateDifference is the days from
    // the first date to the second (0 when that leaves the day range).
    std::int32_t FirstJDN = 0;
    std::int32_t SecondJDN = 0;
    std::int32_t DateDifference = 0;
    // The unit difference accepted last, when the difference field holds one.
    const std::optional<UnitDifference>& unitDifference() const { return unitDifference_; }

    // What the last successful Compute produced, for the batch language's RESULT: the kind,
    // the date computed last (a Date result) and the difference of the last computation
    // (computed for a Difference result, the one given otherwise; 0 for a conversion).
    enum class ResultKind { None, Date, Difference };
    ResultKind lastKind() const { return lastKind_; }
    std::int32_t lastDateJdn() const { return lastDateJdn_; }
    std::int32_t lastDifference() const { return lastDifference_; }

    void setBatchContext(const BatchContext* context) { batch_ = context; }

    AppState& state() { return state_; }
    Host& host() { return host_; }

  private:
    bool AcceptDate(int firstOrSecond, QString& text);
    void DisplayDate(int firstOrSecond, std::int32_t jdn);
    bool StoreComputedDate(int firstOrSecond, std::int64_t jdn);
    bool StoreUnitDayCount();
    bool ResultOutOfRange();
    void ReportDateError(ComputeMessageRow message);
    void ShowMessage(ComputeMessageRow message);
    void ShowMessageText(const QString& text);
    void AppendQualifiers();
    void WriteSentence(bool fromFirstDate, const QString& differenceText);
    void SetField(int field, const QString& text);
    void Append(QStringView text) { state_.output.append(text); }
    void SetLastResult(ResultKind kind, std::int32_t dateJdn);

    // The words of the result lines in the current language, made once per language.
    struct Words {
        std::optional<Language> language;  // none until first made
        QString to, day, days, plus, minus, including, excluding, notCounting, outOfRange;
    };
    const Words& CurrentWords();

    AppState& state_;
    Host& host_;
    const BatchContext* batch_ = nullptr;
    bool conversion_ = false;  // one date given, no difference: the other is the same day
    ResultKind lastKind_ = ResultKind::None;
    std::int32_t lastDateJdn_ = 0;
    std::int32_t lastDifference_ = 0;
    std::optional<UnitDifference> unitDifference_;
    QString firstCanonical_;
    QString secondCanonical_;
    Words words_;
};

// The date text of a JDN in a calendar with the settings in force (today labels, Today
// buttons, DisplayFirstDate): CE/JC in the user's date order; ORD only in its range (empty
// outside); ISO and ORD with the hyphen setting; JDN grouped by the thousands separator.
QString DateTextOfJdn(const AppState& state, CalendarId calendar, std::int32_t jdn);

}  // namespace daybridge

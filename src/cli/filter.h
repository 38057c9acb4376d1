// The runner's filter mode: dates read line by line (a whole line, or one field of CSV/TSV
// lines, or every date inside running text) are converted to another calendar, moved by a
// step, or subtracted; or a sequence of dates is listed. A line that cannot be worked on is
// kept as it was and reported with its reason.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/calendar_list.h"
#include "calendar/calendar_units.h"
#include "datetext/date_pattern.h"
#include "datetext/text_format.h"
#include "workdays/workday_calendar.h"

namespace daybridge::cli {

// A step as typed: "3m", "-10d", "2y", "1y6m", "2w", "10wd" (working days), or a bare number
// of days.
struct FilterStep {
    UnitDifference units;           // when not workdays
    bool workdays = false;          // "wd": working days of the current weekend/holiday choice
    std::int64_t workdayCount = 0;  // signed, when workdays
    bool IsZero() const;
};
std::optional<FilterStep> ParseFilterStep(const QString& text);

enum class FilterMode : std::uint8_t { Convert, Add, Diff, InText };

// What is written for each line: the line with its result, or a record of the date for
// scripts (one JSON object a line, or CSV rows under a header row).
enum class OutputShape : std::uint8_t { Lines, Json, Csv };

struct FilterSettings {
    FilterMode mode = FilterMode::Convert;
    std::optional<CalendarId> from;     // the calendar of a date without a code (default CE)
    std::optional<CalendarId> to;       // the output calendar (default: the date's own)
    FilterStep step;                    // Add
    int field = 0;                      // 1-based; 0: the whole line is the date
    int diffFirst = 0, diffSecond = 0;  // Diff: the fields subtracted (second - first)
    bool diffWorkdays = false;          // Diff: working days rather than days
    char delimiter = ',';
    bool includeFirst = false;  // working-day counting and stepping
    QString outputFormat;       // --format: a pattern or named form; empty: the usual notation
    QString inputFormat;        // --input-format: how dates without a code are read
    OutputShape output = OutputShape::Lines;
    Language language = kEnglish;  // of month and day names, and of the reasons
};

// Why a line was kept as it was; text ids of the data file.
enum class LineFault : std::uint8_t {
    None,
    InvalidDate,       // 1200
    DateOutOfRange,    // 1201
    NoSuchField,       // 1202
    ResultOutOfRange,  // 1203
    UnknownCalendar,   // 1204
    FormatField,       // 1217: the output format has a field the calendar has not
};
int TextIdOf(LineFault fault);

// Works on one line at a time; the line given without its line end.
class LineFilter {
  public:
    LineFilter(const FilterSettings& settings, const TextFormat& format,
               const WorkdayCalendar& workdays);

    // Appends the line's result to `out`; on a fault appends nothing and answers it, with the
    // text it concerns in `faultText`. A record (JSON, CSV) carries the line's number.
    LineFault Apply(std::string_view line, std::string& out, QString& faultText,
                    long long lineNumber = 0);
    // A bad line's record (JSON, CSV): the line, its date text and the reason.
    void AppendFaultRecord(std::string& out, long long lineNumber, const QString& input,
                           const QString& reason) const;
    // The CSV header row of the records; empty for JSON and lines.
    std::string RecordHeader(bool sequence) const;
    // A date of a sequence as a record (or a line).
    void AppendSequenceDate(std::string& out, CalendarId own, std::int64_t jdn,
                            const QString& written) const;

    // The header line's result: kept, with a column named for the difference in Diff mode.
    void ApplyHeader(std::string_view line, std::string& out) const;

    // A date text read: its calendar and day, or the fault.
    struct ReadDate {
        LineFault fault = LineFault::None;
        CalendarId calendar{};
        std::int64_t jdn = 0;
        QString reason{};  // why the input format refused the text
    };
    ReadDate Read(const QString& text) const;
    // The day moved by the step, in the calendar's units; nothing beyond the day range.
    std::optional<std::int64_t> Moved(CalendarId calendar, std::int64_t jdn,
                                      const FilterStep& step) const;
    // The date written in the output calendar (or `own`); empty beyond its span, or where the
    // output format has a field that calendar has not (`fault` says which).
    QString Written(CalendarId own, std::int64_t jdn, LineFault* fault = nullptr) const;
    // The output format checked for a calendar: the reason it does not fit, or empty.
    QString FormatProblem(CalendarId calendar) const;
    // The input format checked for --from's calendar: the reason it is refused, or empty.
    QString InputFormatProblem() const;

  private:
    LineFault ApplyToText(const QString& text, QString& result, QString& faultText,
                          std::int64_t& jdn, CalendarId& calendar);
    LineFault ApplyInText(std::string_view line, std::string& out);
    const DatePattern* OutputPattern(CalendarId calendar) const;

    FilterSettings settings_;
    TextFormat format_;
    WorkdayCalendar workdays_;
    PatternTexts texts_;
    std::optional<DatePattern> inputPattern_;
    // The output format compiled for each calendar as it is first needed.
    mutable std::array<std::optional<DatePattern>, kCalendarCount> outputPatterns_;
    mutable std::array<QString, kCalendarCount> outputProblems_;
};

// A text as a JSON string, quotes included; as a CSV field, quoted where RFC 4180 wants it.
void AppendJsonString(std::string& out, const QByteArray& text);
void AppendCsvField(std::string& out, const QByteArray& text);

// The byte range of a field (1-based) of a delimited line, quotes around it included; nothing
// when the line has fewer fields. A field that starts with '"' runs to its closing quote ("" is
// a quote inside it).
struct FieldSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};
std::optional<FieldSpan> FindField(std::string_view line, int field, char delimiter);

}  // namespace daybridge::cli

#include "cli/compute_record.h"

#include "calendar/calendar_registry.h"
#include "compute/presentation.h"
#include "compute/result_text.h"

namespace daybridge::cli {
namespace {

QString JsonString(const QString& text) {
    std::string out;
    AppendJsonString(out, text.toUtf8());
    return QString::fromStdString(out);
}

QString CsvField(const QString& text) {
    std::string out;
    AppendCsvField(out, text.toUtf8());
    return QString::fromStdString(out);
}

// What a record says besides the result line.
struct RecordValues {
    const char* kind;
    QString first, difference, second;  // the fields as the computation left them
    CalendarId firstCalendar, secondCalendar;
    const ComputeResult& result;
    QString breakdown;
    QString workingDays, includeFirst;  // "true" or "false"
    QString lines;                      // the result line(s), LF ended
};

// The breakdown the result line shows between the two dates: same calendar, weekends counted,
// long enough; for a computed date too.
QString RecordBreakdown(const ComputeResult& result, Language language) {
    const Snapshot& options = result.options;
    const std::int32_t days = result.difference;
    const std::int64_t from =
        static_cast<std::int64_t>(result.firstJdn) - (options.includeFirstDate ? 1 : 0);
    if (options.includeWeekends && days >= 1 && result.firstCalendar == result.secondCalendar &&
        days > Calendar(result.firstCalendar).breakdownAfterDays && from >= kMinDayNumber) {
        return BreakdownText(result.firstCalendar, static_cast<std::int32_t>(from),
                             result.secondJdn, language);
    }
    return {};
}

QString JsonRecord(const RecordValues& v) {
    // Joined, not .arg()ed: a text holding "%1" stays as it is.
    return QStringLiteral("{\"kind\":\"") + QLatin1String(v.kind) +
           QStringLiteral("\",\"first\":{\"date\":") + JsonString(v.first) +
           QStringLiteral(",\"calendar\":\"") + CodeOf(v.firstCalendar) +
           QStringLiteral("\",\"jdn\":") + QString::number(v.result.firstJdn) +
           QStringLiteral("},\"difference\":{\"text\":") + JsonString(v.difference) +
           QStringLiteral(",\"days\":") + QString::number(v.result.difference) +
           QStringLiteral("},\"second\":{\"date\":") + JsonString(v.second) +
           QStringLiteral(",\"calendar\":\"") + CodeOf(v.secondCalendar) +
           QStringLiteral("\",\"jdn\":") + QString::number(v.result.secondJdn) +
           QStringLiteral("},\"breakdown\":") +
           (v.breakdown.isEmpty() ? QStringLiteral("null") : JsonString(v.breakdown)) +
           QStringLiteral(",\"working_days\":") + v.workingDays +
           QStringLiteral(",\"include_first\":") + v.includeFirst + QStringLiteral(",\"text\":") +
           JsonString(v.lines) + QStringLiteral("}\n");
}

QString CsvRecord(const RecordValues& v) {
    return QStringLiteral(
               "kind,first,first_calendar,first_jdn,difference,days,second,second_calendar,"
               "second_jdn,breakdown,working_days,include_first,text\n") +
           QStringList{QLatin1String(v.kind),
                       CsvField(v.first),
                       CodeOf(v.firstCalendar),
                       QString::number(v.result.firstJdn),
                       CsvField(v.difference),
                       QString::number(v.result.difference),
                       CsvField(v.second),
                       CodeOf(v.secondCalendar),
                       QString::number(v.result.secondJdn),
                       CsvField(v.breakdown),
                       v.workingDays,
                       v.includeFirst,
                       CsvField(v.lines)}
               .join(u',') +
           u'\n';
}

}  // namespace

int RunComputation(const QStringList& fields, OutputShape shape, AppState& state, Host& host,
                   const ComputeEngine& engine, QString& record, QString& error) {
    QString first = fields.value(0).trimmed();
    QString difference = fields.value(1).trimmed();
    QString second = fields.value(2).trimmed();
    const bool hasFirst = !first.isEmpty();
    const bool hasDifference = !difference.isEmpty();
    const int given = int{hasFirst} + int{hasDifference} + int{!second.isEmpty()};
    if (!(given == 2 || (given == 1 && !hasDifference))) {
        error = QStringLiteral(
            "--compute needs two of FIRST, DIFFERENCE and SECOND (\"\" for the one to compute), "
            "or one date alone");
        return 2;
    }
    state.GetParameters();
    ComputeResult result;
    if (!ComputeAndShow(engine, state, host, first, difference, second, &result)) {
        return 1;
    }
    if (shape == OutputShape::Lines) {
        return 0;
    }
    // The engine's lines are replaced by the record.
    QString lines = host.output().takePending().trimmed();
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const Session& session = state.session;
    const RecordValues values{
        result.computed == ComputedPart::Difference ? "difference"
        : !hasFirst                                 ? "first date"
        : hasDifference                             ? "second date"
                                                    : "conversion",
        session.firstDateText.isEmpty() ? first : session.firstDateText,
        session.dateDiffText.isEmpty() ? difference : session.dateDiffText,
        session.secondDateText.isEmpty() ? second : session.secondDateText,
        result.firstCalendar,
        result.secondCalendar,
        result,
        RecordBreakdown(result, state.settings.language),
        result.options.includeWeekends ? QStringLiteral("false") : QStringLiteral("true"),
        result.options.includeFirstDate ? QStringLiteral("true") : QStringLiteral("false"),
        lines};
    record = shape == OutputShape::Json ? JsonRecord(values) : CsvRecord(values);
    return 0;
}

}  // namespace daybridge::cli

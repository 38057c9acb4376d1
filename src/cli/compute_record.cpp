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

}  // namespace

int RunComputation(const QStringList& fields, OutputShape shape, AppState& state, Host& host,
                   const ComputeEngine& engine, QString& record, QString& error) {
    QString first = fields.value(0).trimmed();
    QString difference = fields.value(1).trimmed();
    QString second = fields.value(2).trimmed();
    const bool hasFirst = !first.isEmpty();
    const bool hasDifference = !difference.isEmpty();
    const bool hasSecond = !second.isEmpty();
    const int given = int{hasFirst} + int{hasDifference} + int{hasSecond};
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
    const char* kind = result.computed == ComputedPart::Difference ? "difference"
                       : !hasFirst                                 ? "first date"
                       : hasDifference                             ? "second date"
                                                                   : "conversion";
    const Snapshot& options = state.session.snapshot;
    const CalendarId firstCalendar = state.GetCal(1);
    const CalendarId secondCalendar = state.GetCal(2);
    const std::int32_t days = result.difference;
    // The breakdown the result line shows: same calendar, weekends counted, long enough.
    QString breakdown;
    const std::int64_t from =
        static_cast<std::int64_t>(result.firstJdn) - (options.includeFirstDate ? 1 : 0);
    if (options.includeWeekends && days >= 1 && firstCalendar == secondCalendar &&
        days > Calendar(firstCalendar).breakdownAfterDays && from >= kMinDayNumber) {
        breakdown = BreakdownText(firstCalendar, static_cast<std::int32_t>(from), result.secondJdn,
                                  state.settings.language);
    }
    const QString firstText =
        state.session.firstDateText.isEmpty() ? first : state.session.firstDateText;
    const QString secondText =
        state.session.secondDateText.isEmpty() ? second : state.session.secondDateText;
    const QString differenceText =
        state.session.dateDiffText.isEmpty() ? difference : state.session.dateDiffText;
    const QString bool1 = options.includeWeekends ? "false" : "true";
    const QString bool2 = options.includeFirstDate ? "true" : "false";
    if (shape == OutputShape::Json) {
        // Joined, not .arg()ed: a text holding "%1" stays as it is.
        record = QStringLiteral("{\"kind\":\"") + QLatin1String(kind) +
                 QStringLiteral("\",\"first\":{\"date\":") + JsonString(firstText) +
                 QStringLiteral(",\"calendar\":\"") + CodeOf(firstCalendar) +
                 QStringLiteral("\",\"jdn\":") + QString::number(result.firstJdn) +
                 QStringLiteral("},\"difference\":{\"text\":") + JsonString(differenceText) +
                 QStringLiteral(",\"days\":") + QString::number(days) +
                 QStringLiteral("},\"second\":{\"date\":") + JsonString(secondText) +
                 QStringLiteral(",\"calendar\":\"") + CodeOf(secondCalendar) +
                 QStringLiteral("\",\"jdn\":") + QString::number(result.secondJdn) +
                 QStringLiteral("},\"breakdown\":") +
                 (breakdown.isEmpty() ? QStringLiteral("null") : JsonString(breakdown)) +
                 QStringLiteral(",\"working_days\":") + bool1 +
                 QStringLiteral(",\"include_first\":") + bool2 + QStringLiteral(",\"text\":") +
                 JsonString(lines) + QStringLiteral("}\n");
        return 0;
    }
    record = QStringLiteral(
                 "kind,first,first_calendar,first_jdn,difference,days,second,second_calendar,"
                 "second_jdn,breakdown,working_days,include_first,text\n") +
             QStringList{QLatin1String(kind),
                         CsvField(firstText),
                         CodeOf(firstCalendar),
                         QString::number(result.firstJdn),
                         CsvField(differenceText),
                         QString::number(days),
                         CsvField(secondText),
                         CodeOf(secondCalendar),
                         QString::number(result.secondJdn),
                         CsvField(breakdown),
                         bool1,
                         bool2,
                         CsvField(lines)}
                 .join(u',') +
             u'\n';
    return 0;
}

}  // namespace daybridge::cli

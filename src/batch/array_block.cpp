// ARRAY blocks: the header names the array, its calendar and column mask; each line up to
// ENDARRAY is one element.
#include "batch/array_block.h"

#include "batch/reporter.h"
#include "datetext/date_parse.h"

namespace daybridge::batch {

void ArrayBlock::Reset() {
    active_ = false;
    counter_ = 0;
    lastValue_ = 0;
}

Flow ArrayBlock::Header(const ProgramLine& line, RunScope& scope, Reporter& report) {
    if (active_) {
        report.Raise(Fault::ArrayHeader);
        return Flow::End;
    }
    const QString text = TrimWhite(QStringView(line.upper).mid(5));
    if (text.isEmpty()) {
        report.Raise(Fault::ArrayHeader);
        return Flow::End;
    }
    const qsizetype b1 = text.indexOf(u' ');
    const QString name = b1 < 0 ? text : text.left(b1);
    const QString rest = b1 < 0 ? QString() : TrimWhite(QStringView(text).mid(b1 + 1));
    const qsizetype b2 = rest.indexOf(u' ');
    QString code = b2 < 0 ? rest : rest.left(b2);
    const QString mask = b2 < 0 ? QString() : TrimWhite(QStringView(rest).mid(b2 + 1));
    if (code.isEmpty()) {
        code = QStringLiteral("CE");
    }
    if (scope.Find(name + QStringLiteral("[1]")) >= 1) {
        report.Raise(Fault::ArrayRedefined);
        return Flow::CountError;
    }
    if (code == QLatin1String("NUM")) {
        code = QStringLiteral("JDN");
    }
    const std::optional<CalendarId> calendar = CalendarOfCode(code);
    if (!calendar) {
        report.Raise(Fault::ArrayHeader);
        return Flow::CountError;
    }
    active_ = true;
    name_ = name;
    calendar_ = *calendar;
    mask_ = mask;
    counter_ = 0;
    return Flow::Next;
}

Flow ArrayBlock::Element(const ProgramLine& line, RunScope& scope, Reporter& report) {
    ++counter_;
    const QString element =
        name_ + QStringLiteral("[") + QString::number(counter_) + QStringLiteral("]");
    bool good = false;
    std::int32_t value = 0;
    if (calendar_ != kDayNumberCalendar) {
        // The element's date in the array's calendar: its own code may stand with it, another
        // calendar's may not.
        const QString date = ArrayElementDateText(line.text, mask_);
        const ParseResult parsed = ParseDateInCalendar(calendar_, date, scope.Format());
        good = parsed.outcome == ParseOutcome::Valid && !date.isEmpty();
        value = parsed.jdn;
    } else {
        const QString text = ApplyColumnMask(line.text, mask_);
        const Literal literal = ParseIntegerLiteral(text, true);
        good = literal.kind == LiteralKind::Value;
        value = literal.value;
    }
    Flow flow = Flow::Next;
    if (good) {
        lastValue_ = value;
    } else {
        report.Raise(Fault::ArrayElement);
        flow = Flow::CountError;
        value = lastValue_;
    }
    const int slot = scope.Find(element);
    if (slot == kTableFull || (slot == 0 && scope.variables.Create(element, value) == kTableFull)) {
        report.FullTable();
        return Flow::CountError;
    }
    if (slot >= 1) {
        scope.variables.SetValue(slot, value);
    }
    return flow;
}

Flow ArrayBlock::End(Reporter& report) {
    if (!active_) {
        report.UnmatchedEnd(QStringLiteral("ARRAY"));
        return Flow::CountError;
    }
    active_ = false;
    return Flow::Next;
}

}  // namespace daybridge::batch

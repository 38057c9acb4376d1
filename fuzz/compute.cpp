// Runs the compute engine on arbitrary field texts. The first bytes choose the calendars,
// options, date format and language; the rest is split at '\n' into first date, difference and
// second date. Also breaks down arbitrary spans in every calendar that has a breakdown.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "app/app_state.h"
#include "app/host.h"
#include "compute/compute_engine.h"
#include "compute/presentation.h"
#include "fuzz_support.h"
#include "workdays/workday_calendar.h"

using namespace daybridge;
using fuzz::Check;

namespace {

class OneVariable : public BatchContext {
  public:
    explicit OneVariable(std::int32_t value) : value_(value) {}
    std::optional<std::int32_t> VariableValue(const QString& name) const override {
        if (name == QStringLiteral("V")) {
            return value_;
        }
        return std::nullopt;
    }
    int FileLineNumber() const override { return 7; }
    QString CurrentLineText() const override { return QStringLiteral("V # 1"); }

  private:
    std::int32_t value_;
};

std::int32_t Int32At(const std::uint8_t* data) {
    std::uint32_t raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    return static_cast<std::int32_t>(raw);
}

std::int32_t IntoDayRange(std::int32_t value) {
    if (value > kMaxDayNumber) {
        return kMaxDayNumber;
    }
    if (value < kMinDayNumber) {
        return kMinDayNumber;
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 12;
    if (size < kHeader || size > 512) {
        return 0;
    }
    AppState state;
    state.format.regional = QLocale::c();
    state.firstCalendar = data[0] % kCalendarCount;
    state.secondCalendar = data[1] % kCalendarCount;
    const std::uint8_t options = data[2];
    state.includeFirstDate = (options & 1) != 0;
    state.includeWeekends = (options & 2) != 0;
    state.verbose = (options & 4) != 0;
    state.displayDayNames = (options & 8) != 0;
    state.language = (options & 16) != 0 ? kGerman : kEnglish;
    const bool batch = (options & 32) != 0;
    const std::uint8_t format = data[3];
    static const char* const separators[] = {"-", "/", "."};
    static const char* const thousands[] = {",", ".", ""};
    state.format.dateFormat = format % 3;
    state.format.dateSeparator = QString::fromLatin1(separators[(format / 3) % 3]);
    state.format.thousandsSeparator = QString::fromLatin1(thousands[(format / 9) % 3]);
    state.format.hyphen = (format / 27) % 2 == 1;
    state.GetParameters();

    fuzz::FuzzHost host(2455933, {}, true);
    ComputeEngine engine(state, host);
    const OneVariable variable(Int32At(data + 4));
    if (batch) {
        state.batchRunning = true;
        engine.setBatchContext(&variable);
    }

    // Breakdowns of an arbitrary span in range.
    std::int32_t a = IntoDayRange(Int32At(data + 8));
    std::int32_t b = IntoDayRange(a + static_cast<std::int32_t>(data[4]) * 1000 + data[5]);
    if (b < a) {
        b = a;
    }
    for (int calendar : {kCE, kJC, kISO, kORD}) {
        (void)BreakdownText(calendar, a, b, state.language);
    }
    const WorkdayCalendar workdays(static_cast<std::uint8_t>(data[6] % 127), nullptr);
    Check(workdays.Count(a, b, (options & 1) != 0) >= 0);
    Check(workdays.IsWorkday(workdays.StepFromFirst(a, b - a, (options & 1) != 0)) || b == a);

    const QString rest = fuzz::Text(data + kHeader, size - kHeader);
    const QStringList parts = rest.split(QLatin1Char('\n'));
    QString first = parts.value(0);
    QString difference = parts.value(1);
    QString second = parts.value(2);
    const bool ok = engine.Compute(first, difference, second);

    if (ok) {
        Check(state.output.text().endsWith(QStringLiteral("\r\n")));
        Check(engine.FirstJDN >= kMinDayNumber && engine.FirstJDN <= kMaxDayNumber);
        Check(engine.SecondJDN >= kMinDayNumber && engine.SecondJDN <= kMaxDayNumber);
        Check(engine.DateDifference >= kMinDayNumber && engine.DateDifference <= kMaxDayNumber);
        // Accepted texts are canonical: computing again gives the same lines.
        if (!first.isEmpty() || !second.isEmpty()) {
            const QString once = state.output.text();
            state.output.clear();
            Check(engine.Compute(first, difference, second));
            Check(state.output.text() == once);
        }
    }
    return 0;
}

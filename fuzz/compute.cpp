// Runs the compute engine on arbitrary field texts. The first bytes choose the calendars,
// options, date format and language; the rest is split at '\n' into first date, difference and
// second date. Also breaks down arbitrary spans in every calendar that has a breakdown.
#include <algorithm>

#include "app/app_state.h"
#include "compute/compute_engine.h"
#include "compute/presentation.h"
#include "compute/result_text.h"
#include "fuzz_support.h"
#include "workdays/workday_calendar.h"

using namespace daybridge;
using fuzz::Check;

namespace {

struct OneVariable : BatchContext {
    std::int32_t value = 0;
    std::optional<std::int32_t> VariableValue(const QString& name) const override {
        return name == QStringLiteral("V") ? std::optional(value) : std::nullopt;
    }
};

std::int32_t Int32At(const std::uint8_t* data) {
    std::uint32_t raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    return static_cast<std::int32_t>(raw);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 12;
    if (size < kHeader || size > 512) {
        return 0;
    }
    AppState state;
    state.settings.firstCalendar = *CalendarOfIndex(data[0] % kCalendarCount);
    state.settings.secondCalendar = *CalendarOfIndex(data[1] % kCalendarCount);
    const std::uint8_t options = data[2];
    state.settings.includeFirstDate = (options & 1) != 0;
    state.settings.includeWeekends = (options & 2) != 0;
    state.settings.verbose = (options & 4) != 0;
    state.settings.displayDayNames = (options & 8) != 0;
    state.settings.language = (options & 16) != 0 ? kGerman : kEnglish;
    const bool batch = (options & 32) != 0;
    state.settings.format = fuzz::FormatFrom(data[3], 0);
    state.GetParameters();

    fuzz::FuzzHost host(2455933, {}, true);
    ComputeEngine engine(state);
    OneVariable variable;
    variable.value = Int32At(data + 4);
    if (batch) {
        state.session.batchRunning = true;
        engine.setBatchContext(&variable);
    }

    // Breakdowns of an arbitrary span in range.
    std::int32_t a = std::clamp(Int32At(data + 8), kMinDayNumber, kMaxDayNumber);
    std::int32_t b =
        std::clamp(a + static_cast<std::int32_t>(data[4]) * 1000 + data[5], a, kMaxDayNumber);
    for (const CalendarEntry* calendar : AllCalendars()) {
        (void)BreakdownText(calendar->id, a, b, state.settings.language);
    }
    const WorkdayCalendar workdays(static_cast<std::uint8_t>(data[6] % 127), nullptr);
    Check(workdays.Count(a, b, (options & 1) != 0) >= 0);
    Check(workdays.IsWorkday(workdays.StepFromFirst(a, b - a, (options & 1) != 0)) || b == a);

    const QString rest = fuzz::Text(data + kHeader, size - kHeader);
    const QStringList parts = rest.split(QLatin1Char('\n'));
    QString first = parts.value(0);
    QString difference = parts.value(1);
    QString second = parts.value(2);
    ComputeResult result;
    const bool ok = ComputeAndShow(engine, state, host, first, difference, second, &result);

    if (ok) {
        Check(host.output().text().endsWith(QStringLiteral("\r\n")));
        Check(result.firstJdn >= kMinDayNumber && result.firstJdn <= kMaxDayNumber);
        Check(result.secondJdn >= kMinDayNumber && result.secondJdn <= kMaxDayNumber);
        Check(result.difference >= kMinDayNumber && result.difference <= kMaxDayNumber);
        // Accepted texts are canonical: computing again gives the same lines.
        if (!first.isEmpty() || !second.isEmpty()) {
            const QString once = host.output().text();
            host.output().clear();
            Check(ComputeAndShow(engine, state, host, first, difference, second));
            Check(host.output().text() == once);
        }
    }
    return 0;
}

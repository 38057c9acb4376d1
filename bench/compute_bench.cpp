// The compute engine with weekend days not counted, over spans of 1, 1,000 and 1,000,000,000
// days: the whole Compute (reading both dates, counting, writing the result line) and the
// weekday count and weekday stepping alone. The time must not grow with the span.
#include <benchmark/benchmark.h>

#include <QString>
#include <cstdint>
#include <optional>

#include "app/app_state.h"
#include "app/host.h"
#include "compute/compute_engine.h"
#include "compute/result_text.h"
#include "datetext/date_format.h"

namespace {

using namespace daybridge;

class SilentHost : public Host {
  public:
    MsgAnswer messageBox(const QString&, const QString&, MsgIcon, MsgButtons,
                         MsgAnswer defaultAnswer) override {
        return defaultAnswer;
    }
    std::optional<QString> inputBox(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::int32_t todayJdn() override { return 2455933; }
    OutputText& output() override { return output_; }

  private:
    OutputText output_;
};

constexpr std::int32_t kFirst = 2455933;  // Friday 2012-01-06

void SetUp(AppState& state) {
    state.settings.format.regional = QLocale::c();
    state.settings.includeWeekends = false;
    state.settings.includeFirstDate = true;
    state.GetParameters();
}

// Compute on two CE dates `span` days apart: the days between them, weekdays only.
void BM_ComputeDifferenceOfTwoDates(benchmark::State& run) {
    AppState state;
    SetUp(state);
    SilentHost host;
    ComputeEngine engine(state);
    ComputeResult result;
    const QString firstText = CanonicalDateText(CalendarId::CE, kFirst, state.settings.format);
    const QString secondText = CanonicalDateText(
        CalendarId::CE, static_cast<std::int32_t>(kFirst + run.range(0)), state.settings.format);
    for (auto _ : run) {
        QString first = firstText;
        QString difference;
        QString second = secondText;
        benchmark::DoNotOptimize(
            ComputeAndShow(engine, state, host, first, difference, second, &result));
        host.output().clear();
    }
    run.counters["weekdays"] = result.difference;
}

// Compute on a CE date and a number of weekdays: the date that many weekdays later.
void BM_ComputeSecondDate(benchmark::State& run) {
    AppState state;
    SetUp(state);
    SilentHost host;
    ComputeEngine engine(state);
    const QString firstText = CanonicalDateText(CalendarId::CE, kFirst, state.settings.format);
    const QString differenceText = QString::number(run.range(0));
    for (auto _ : run) {
        QString first = firstText;
        QString difference = differenceText;
        QString second;
        benchmark::DoNotOptimize(ComputeAndShow(engine, state, host, first, difference, second));
        host.output().clear();
    }
}

// The weekday count alone, from two JDNs.
void BM_CountWeekdays(benchmark::State& run) {
    AppState state;
    SetUp(state);
    ComputeEngine engine(state);
    const auto second = static_cast<std::int32_t>(kFirst + run.range(0));
    for (auto _ : run) {
        benchmark::DoNotOptimize(engine.DifferenceBetween(kFirst, second));
    }
}

// Weekday stepping alone, from a JDN and a number of weekdays.
void BM_StepWeekdays(benchmark::State& run) {
    AppState state;
    SetUp(state);
    ComputeEngine engine(state);
    const auto difference = static_cast<std::int32_t>(run.range(0));
    for (auto _ : run) {
        benchmark::DoNotOptimize(engine.SecondDateFrom(kFirst, difference, std::nullopt));
    }
}

BENCHMARK(BM_ComputeDifferenceOfTwoDates)->Arg(1)->Arg(1000)->Arg(1000000000);
BENCHMARK(BM_ComputeSecondDate)->Arg(1)->Arg(1000)->Arg(1000000000);
BENCHMARK(BM_CountWeekdays)->Arg(1)->Arg(1000)->Arg(1000000000);
BENCHMARK(BM_StepWeekdays)->Arg(1)->Arg(1000)->Arg(1000000000);

}  // namespace

BENCHMARK_MAIN();

// Adding months and years and counting whole months: constant time whatever the step, so a
// step of one month and of a million months cost the same. Arguments: calendar index, start
// JDN, months added.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "calendar/calendar_registry.h"
#include "calendar/calendar_units.h"

namespace {

constexpr std::int64_t kWindow = 4096;  // consecutive start days, round and round

void AddMonths(benchmark::State& state) {
    const daybridge::CalendarId calendar =
        *daybridge::CalendarOfIndex(static_cast<int>(state.range(0)));
    std::int64_t i = 0;
    for (auto _ : state) {
        const auto r =
            daybridge::AddMonths(calendar, state.range(1) + (i++ & (kWindow - 1)), state.range(2));
        benchmark::DoNotOptimize(r);
    }
}
// CE, AN, LPM, HEB, COP; near J2000 and the range's ends; 1 and 1,000,000 months.
BENCHMARK(AddMonths)
    ->ArgsProduct({{0, 3, 8, 9, 12}, {2451545, -2000000000}, {1, 1000000}})
    ->Args({0, 2000000000, -1000000});

void AddYears(benchmark::State& state) {
    const daybridge::CalendarId calendar =
        *daybridge::CalendarOfIndex(static_cast<int>(state.range(0)));
    std::int64_t i = 0;
    for (auto _ : state) {
        const auto r =
            daybridge::AddYears(calendar, state.range(1) + (i++ & (kWindow - 1)), state.range(2));
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(AddYears)->ArgsProduct({{0, 6, 9}, {2451545}, {1, 100000}});

void MonthsBetween(benchmark::State& state) {
    const daybridge::CalendarId calendar =
        *daybridge::CalendarOfIndex(static_cast<int>(state.range(0)));
    std::int64_t i = 0;
    for (auto _ : state) {
        const std::int64_t from = 2451545 + (i++ & (kWindow - 1));
        benchmark::DoNotOptimize(daybridge::MonthsBetween(calendar, from, from + state.range(1)));
    }
}
BENCHMARK(MonthsBetween)->ArgsProduct({{0, 9}, {40, 1000000000}});

}  // namespace

BENCHMARK_MAIN();

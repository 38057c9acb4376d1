// Calendar conversions, JDN -> date and date -> JDN, near J2000 (JDN 2,451,545) and near both
// ends of the day range (+-2,000,000,000), with std::chrono's civil conversion as the
// reference in the same run. The world calendars (Hebrew .. Indian, Long Count) are measured
// the same way, for comparison with the CE conversion, and so are the week numbering rules and
// the fiscal calendars. Every benchmark converts a window of consecutive days; the date -> JDN
// ones convert records in place, as the program's callers do.
#include <benchmark/benchmark.h>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "calendar/calendar_registry.h"
#include "calendar/calendar_table.h"
#include "calendar/iso_ordinal.h"
#include "calendar/leap_week.h"
#include "jdcore/civil_eras.h"
#include "jdcore/equinox_calendars.h"
#include "jdcore/fiscal.h"
#include "jdcore/historical_calendar.h"
#include "jdcore/jdcore.h"
#include "jdcore/lunisolar.h"
#include "jdcore/umm_al_qura.h"
#include "jdcore/week_rules.h"
#include "jdcore/world_calendars.h"

namespace {

using daybridge::Calendar;
using daybridge::CalendarDate;
using daybridge::CalendarEntry;
using daybridge::CalendarId;
using daybridge::DateRecord;
namespace chr = std::chrono;

constexpr std::int64_t kUnixEpochJdn = 2440588;
constexpr std::int32_t kWindow = 4096;  // consecutive days converted, round and round

void Bases(benchmark::internal::Benchmark* b) {
    b->Arg(2451545)->Arg(-2000000000)->Arg(2000000000);
}

std::int32_t Jdn(const benchmark::State& state, std::int32_t i) {
    return static_cast<std::int32_t>(state.range(0)) + (i & (kWindow - 1));
}

// ---- std::chrono reference (only near J2000: its years stop at +-32767) ----
// Each side reads and writes the same date record around its conversion, so the two differ
// only in the conversion itself (ours also tests the calendar letter and the ranges).

void ChronoToCivil(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        DateRecord r{};
        r.calendar = 'G';
        r.jdn = Jdn(state, i++);
        const chr::year_month_day ymd{chr::sys_days{chr::days{r.jdn - kUnixEpochJdn}}};
        r.year = static_cast<int>(ymd.year());
        r.month = static_cast<std::int32_t>(static_cast<unsigned>(ymd.month()));
        r.day = static_cast<std::int32_t>(static_cast<unsigned>(ymd.day()));
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ChronoToCivil)->Arg(2451545);

void ChronoFromCivil(benchmark::State& state) {
    std::vector<DateRecord> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(daybridge::CivilOfJdn(Jdn(state, k)));
    }
    DateRecord* const data = dates.data();  // held in a register, as the records' base
    std::int32_t i = 0;
    for (auto _ : state) {
        DateRecord& r = data[i++ & (kWindow - 1)];
        const chr::year_month_day ymd{chr::year{r.year}, chr::month{static_cast<unsigned>(r.month)},
                                      chr::day{static_cast<unsigned>(r.day)}};
        const auto jdn = static_cast<std::int32_t>(chr::sys_days{ymd}.time_since_epoch().count() +
                                                   kUnixEpochJdn);
        r.jdn = jdn;
        benchmark::DoNotOptimize(jdn);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ChronoFromCivil)->Arg(2451545);

// ---- CE through the calendar library's date record ----

void CeToCivil(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        DateRecord r{};
        r.calendar = 'G';
        r.jdn = Jdn(state, i++);
        jdcore::jdn_to_euro_date(r);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CeToCivil)->Apply(Bases);

void CeFromCivil(benchmark::State& state) {
    std::vector<DateRecord> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(daybridge::CivilOfJdn(Jdn(state, k)));
    }
    DateRecord* const data = dates.data();  // held in a register, as the records' base
    std::int32_t i = 0;
    for (auto _ : state) {
        DateRecord& r = data[i++ & (kWindow - 1)];
        benchmark::DoNotOptimize(jdcore::euro_date_to_jdn(r));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CeFromCivil)->Apply(Bases);

// ---- ISO week date ----

void IsoFromJdn(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        daybridge::IsoWeekRecord r{};
        r.jdn = Jdn(state, i++);
        daybridge::JdnToIsoWeek(r);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IsoFromJdn)->Apply(Bases);

void IsoToJdn(benchmark::State& state) {
    std::vector<daybridge::IsoWeekRecord> dates(kWindow);
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates[static_cast<std::size_t>(k)].jdn = Jdn(state, k);
        daybridge::JdnToIsoWeek(dates[static_cast<std::size_t>(k)]);
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        daybridge::IsoWeekRecord& r = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        benchmark::DoNotOptimize(daybridge::IsoWeekToJdn(r));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IsoToJdn)->Apply(Bases);

// ---- ordinal date: the CE year, then the day of the year ----

void OrdFromJdn(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        const DateRecord r = daybridge::CivilOfJdn(Jdn(state, i++));
        benchmark::DoNotOptimize(r.year);
        benchmark::DoNotOptimize(daybridge::DayOfYear(r));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(OrdFromJdn)->Apply(Bases);

void OrdToJdn(benchmark::State& state) {
    std::vector<std::pair<std::int32_t, std::int32_t>> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        const DateRecord r = daybridge::CivilOfJdn(Jdn(state, k));
        dates.emplace_back(r.year, daybridge::DayOfYear(r));
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        const auto& d = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        benchmark::DoNotOptimize(daybridge::FirstDayOfYearPlus(d.first, d.second));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(OrdToJdn)->Apply(Bases);

// ---- leap week calendar, week and month forms ----

void LpwFromJdn(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        daybridge::LeapWeekRecord r{};
        r.jdn = Jdn(state, i++);
        daybridge::JdnToLpw(r);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LpwFromJdn)->Apply(Bases);

void LpwToJdn(benchmark::State& state) {
    std::vector<daybridge::LeapWeekRecord> dates(kWindow);
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates[static_cast<std::size_t>(k)].jdn = Jdn(state, k);
        daybridge::JdnToLpw(dates[static_cast<std::size_t>(k)]);
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        daybridge::LeapWeekRecord& r = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        benchmark::DoNotOptimize(daybridge::LpwToJdn(r));
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LpwToJdn)->Apply(Bases);

void LpmFromJdn(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        daybridge::LeapWeekRecord r{};
        r.jdn = Jdn(state, i++);
        daybridge::JdnToLpm(r);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LpmFromJdn)->Apply(Bases);

void LpmToJdn(benchmark::State& state) {
    std::vector<daybridge::LeapWeekRecord> dates(kWindow);
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates[static_cast<std::size_t>(k)].jdn = Jdn(state, k);
        daybridge::JdnToLpm(dates[static_cast<std::size_t>(k)]);
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        daybridge::LeapWeekRecord& r = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        benchmark::DoNotOptimize(daybridge::LpmToJdn(r));
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LpmToJdn)->Apply(Bases);

// ---- the table, era and switch calendars, and ICU's for the same conversions ----
// Near J2000, inside every table's span; date -> JDN converts the dates of the window.

enum class Extra {
    Chinese,
    Korean,
    Persian,
    French,
    Bahai,
    Japanese,
    Minguo,
    Buddhist,
    Historical,
    UmmAlQura
};
constexpr const char* kIcuNames[] = {"chinese",   "dangi",           "persian", "",
                                     "",          "japanese",        "roc",     "buddhist",
                                     "gregorian", "islamic-umalqura"};

void IcuBases(benchmark::internal::Benchmark* b) {
    for (int cal = 0; cal <= static_cast<int>(Extra::UmmAlQura); ++cal) {
        if (kIcuNames[cal][0] != 0) {
            b->Args({2451545, cal});
        }
    }
    b->ArgNames({"jdn", "cal"});
}

// A date of any of them: year, month, day, and the leap flag or era.
struct ExtraDate {
    std::int64_t year;
    std::int32_t month, day, tag;
};

ExtraDate ExtraFromJdn(Extra cal, std::int64_t jdn) {
    switch (cal) {
        case Extra::Chinese:
        case Extra::Korean: {
            const auto d = *jdcore::LunisolarFromJdn(
                cal == Extra::Chinese ? jdcore::Lunisolar::Chinese : jdcore::Lunisolar::Korean,
                jdn);
            return {d.year, d.month, d.day, d.leap ? 1 : 0};
        }
        case Extra::Persian:
        case Extra::French:
        case Extra::Bahai: {
            const auto d = *jdcore::EquinoxFromJdn(
                static_cast<jdcore::EquinoxCalendar>(static_cast<int>(cal) - 2), jdn);
            return {d.year, d.month, d.day, 0};
        }
        case Extra::Japanese: {
            const jdcore::JapaneseDate d = jdcore::JapaneseFromJdn(jdn);
            return {d.year, d.month, d.day, static_cast<std::int32_t>(d.era)};
        }
        case Extra::Minguo:
        case Extra::Buddhist: {
            const auto d = jdcore::ShiftedYearFromJdn(
                cal == Extra::Minguo ? jdcore::kMinguoOffset : jdcore::kBuddhistOffset, jdn);
            return {d.year, d.month, d.day, 0};
        }
        case Extra::Historical: {
            const auto d = jdcore::HistoricalFromJdn(jdn);
            return {d.year, d.month, d.day, 0};
        }
        case Extra::UmmAlQura: {
            const auto d = *jdcore::UmmAlQuraFromJdn(jdn);
            return {d.year, d.month, d.day, 0};
        }
    }
    return {};
}

std::int64_t ExtraToJdn(Extra cal, const ExtraDate& d) {
    switch (cal) {
        case Extra::Chinese:
        case Extra::Korean:
            return *jdcore::LunisolarToJdn(
                cal == Extra::Chinese ? jdcore::Lunisolar::Chinese : jdcore::Lunisolar::Korean,
                {d.year, d.month, d.tag != 0, d.day});
        case Extra::Persian:
        case Extra::French:
        case Extra::Bahai:
            return *jdcore::EquinoxToJdn(
                static_cast<jdcore::EquinoxCalendar>(static_cast<int>(cal) - 2), d.year, d.month,
                d.day);
        case Extra::Japanese:
            return *jdcore::JapaneseToJdn(
                {static_cast<jdcore::JapaneseEra>(d.tag), d.year, d.month, d.day});
        case Extra::Minguo:
        case Extra::Buddhist:
            return jdcore::ShiftedYearToJdn(
                cal == Extra::Minguo ? jdcore::kMinguoOffset : jdcore::kBuddhistOffset, d.year,
                d.month, d.day);
        case Extra::Historical:
            return jdcore::HistoricalToJdn(d.year, d.month, d.day);
        case Extra::UmmAlQura:
            return *jdcore::UmmAlQuraToJdn(d.year, d.month, d.day);
    }
    return 0;
}

// Each calendar's own entry points, chosen outside the loop as a registry entry would be.
template <Extra cal>
void ExtraFromJdnOf(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExtraFromJdn(cal, Jdn(state, i++)));
    }
    state.SetItemsProcessed(state.iterations());
}
template <Extra cal>
void ExtraToJdnOf(benchmark::State& state) {
    std::vector<ExtraDate> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(ExtraFromJdn(cal, Jdn(state, k)));
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ExtraToJdn(cal, dates[static_cast<std::size_t>(i++ & (kWindow - 1))]));
    }
    state.SetItemsProcessed(state.iterations());
}
#define DAYBRIDGE_EXTRA_BENCH(name)                                                       \
    BENCHMARK_TEMPLATE(ExtraFromJdnOf, Extra::name)->Name(#name "FromJdn")->Arg(2451545); \
    BENCHMARK_TEMPLATE(ExtraToJdnOf, Extra::name)->Name(#name "ToJdn")->Arg(2451545)
DAYBRIDGE_EXTRA_BENCH(Chinese);
DAYBRIDGE_EXTRA_BENCH(Korean);
DAYBRIDGE_EXTRA_BENCH(Persian);
DAYBRIDGE_EXTRA_BENCH(French);
DAYBRIDGE_EXTRA_BENCH(Bahai);
DAYBRIDGE_EXTRA_BENCH(Japanese);
DAYBRIDGE_EXTRA_BENCH(Minguo);
DAYBRIDGE_EXTRA_BENCH(Buddhist);
DAYBRIDGE_EXTRA_BENCH(Historical);
DAYBRIDGE_EXTRA_BENCH(UmmAlQura);

// Through the calendar registry's entry, as the reader, the writer and the built-ins convert.
template <CalendarId id>
void RegistryFromJdn(benchmark::State& state) {
    const CalendarEntry& entry = Calendar(id);
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(entry.fromJdn(Jdn(state, i++)));
    }
    state.SetItemsProcessed(state.iterations());
}
template <CalendarId id>
void RegistryToJdn(benchmark::State& state) {
    const CalendarEntry& entry = Calendar(id);
    std::vector<CalendarDate> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(entry.fromJdn(Jdn(state, k)));
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(entry.toJdn(dates[static_cast<std::size_t>(i++ & (kWindow - 1))]));
    }
    state.SetItemsProcessed(state.iterations());
}
#define DAYBRIDGE_REGISTRY_BENCH(code)                    \
    BENCHMARK_TEMPLATE(RegistryFromJdn, CalendarId::code) \
        ->Name("Registry" #code "FromJdn")                \
        ->Arg(2451545);                                   \
    BENCHMARK_TEMPLATE(RegistryToJdn, CalendarId::code)   \
        ->Name("Registry" #code "ToJdn")                  \
        ->Arg(2451545)
DAYBRIDGE_REGISTRY_BENCH(CE);
DAYBRIDGE_REGISTRY_BENCH(JPN);
DAYBRIDGE_REGISTRY_BENCH(BUD);

std::unique_ptr<icu::Calendar> IcuCalendar(const benchmark::State& state) {
    UErrorCode status = U_ZERO_ERROR;
    const std::string locale = std::string("en@calendar=") + kIcuNames[state.range(1)];
    return std::unique_ptr<icu::Calendar>(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale(locale.c_str()), status));
}
constexpr std::int64_t kUnixEpochJdnIcu = 2440588;

// ICU: a day to its fields (year, month, day and, for the lunisolar ones, the leap flag).
void IcuFromJdn(benchmark::State& state) {
    const std::unique_ptr<icu::Calendar> cal = IcuCalendar(state);
    std::int32_t i = 0;
    for (auto _ : state) {
        UErrorCode status = U_ZERO_ERROR;
        cal->setTime(static_cast<UDate>(Jdn(state, i++) - kUnixEpochJdnIcu) * 86400000.0, status);
        std::array<std::int32_t, 4> f = {cal->get(UCAL_EXTENDED_YEAR, status),
                                         cal->get(UCAL_MONTH, status), cal->get(UCAL_DATE, status),
                                         cal->get(UCAL_IS_LEAP_MONTH, status)};
        benchmark::DoNotOptimize(f);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IcuFromJdn)->Apply(IcuBases);

// ICU: fields to the day.
void IcuToJdn(benchmark::State& state) {
    const std::unique_ptr<icu::Calendar> cal = IcuCalendar(state);
    std::vector<std::array<std::int32_t, 5>> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        UErrorCode status = U_ZERO_ERROR;
        cal->setTime(static_cast<UDate>(Jdn(state, k) - kUnixEpochJdnIcu) * 86400000.0, status);
        dates.push_back({cal->get(UCAL_ERA, status), cal->get(UCAL_YEAR, status),
                         cal->get(UCAL_MONTH, status), cal->get(UCAL_DATE, status),
                         cal->get(UCAL_IS_LEAP_MONTH, status)});
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        const auto& d = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        UErrorCode status = U_ZERO_ERROR;
        cal->clear();
        cal->set(UCAL_ERA, d[0]);
        cal->set(d[1], d[2], d[3]);
        cal->set(UCAL_IS_LEAP_MONTH, d[4]);
        benchmark::DoNotOptimize(cal->getTime(status));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IcuToJdn)->Apply(IcuBases);

// ---- world calendars: Hebrew, Islamic, Persian, Coptic, Ethiopian, French Republican, Saka ----

void WorldBases(benchmark::internal::Benchmark* b) {
    for (int cal = 0; cal <= static_cast<int>(jdcore::WorldCalendar::Indian); ++cal) {
        for (std::int64_t base : {2451545, -2000000000, 2000000000}) {
            b->Args({base, cal});
        }
    }
    b->ArgNames({"jdn", "cal"});
}

jdcore::WorldCalendar Cal(const benchmark::State& state) {
    return static_cast<jdcore::WorldCalendar>(state.range(1));
}

void WorldFromJdn(benchmark::State& state) {
    const jdcore::WorldCalendar cal = Cal(state);
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(jdcore::FromJdn(cal, Jdn(state, i++)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(WorldFromJdn)->Apply(WorldBases);

void WorldToJdn(benchmark::State& state) {
    const jdcore::WorldCalendar cal = Cal(state);
    std::vector<jdcore::YearMonthDay> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(jdcore::FromJdn(cal, Jdn(state, k)));
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        const jdcore::YearMonthDay& d = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        benchmark::DoNotOptimize(jdcore::ToJdn(cal, d.year, d.month, d.day));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(WorldToJdn)->Apply(WorldBases);

void LongCountFromJdn(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(jdcore::JdnToLongCount(Jdn(state, i++)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LongCountFromJdn)->Apply(Bases);

void LongCountToJdn(benchmark::State& state) {
    std::vector<jdcore::LongCount> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(jdcore::JdnToLongCount(Jdn(state, k)));
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            jdcore::LongCountToJdn(dates[static_cast<std::size_t>(i++ & (kWindow - 1))]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LongCountToJdn)->Apply(Bases);

// ---- week numbering rules: ISO 8601, US, WEEKNUM type 2 (calendar-year weeks) ----

constexpr jdcore::WeekRule kBenchWeekRules[] = {
    jdcore::kIsoWeeks, jdcore::kUsWeeks, {jdcore::Weekday::Monday, jdcore::WeekOne::CalendarYear}};

void WeekRuleBases(benchmark::internal::Benchmark* b) {
    for (int rule = 0; rule < 3; ++rule) {
        for (std::int64_t base : {2451545, -2000000000, 2000000000}) {
            b->Args({base, rule});
        }
    }
    b->ArgNames({"jdn", "rule"});
}

void WeekRuleFromJdn(benchmark::State& state) {
    const jdcore::WeekRule rule = kBenchWeekRules[state.range(1)];
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(jdcore::ToWeekDate(rule, Jdn(state, i++)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(WeekRuleFromJdn)->Apply(WeekRuleBases);

void WeekRuleToJdn(benchmark::State& state) {
    const jdcore::WeekRule rule = kBenchWeekRules[state.range(1)];
    std::vector<jdcore::WeekDate> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(jdcore::ToWeekDate(rule, Jdn(state, k)));
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        const jdcore::WeekDate& d = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        benchmark::DoNotOptimize(jdcore::FromWeekDate(rule, d.year, d.week, d.day));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(WeekRuleToJdn)->Apply(WeekRuleBases);

// ---- fiscal years: the US retail 4-5-4 calendar (the 53rd week in the last period, and in
// period 2), and July-to-June calendar months ----

constexpr jdcore::WeekFiscalRule kRetailExtraInP2{1,
                                                  jdcore::Weekday::Saturday,
                                                  jdcore::YearEnd::NearestWeekday,
                                                  jdcore::PeriodPattern::Weeks454,
                                                  2,
                                                  jdcore::FiscalYearName::ByStartYear};

void FiscalBases(benchmark::internal::Benchmark* b) {
    for (int rule = 0; rule < 2; ++rule) {
        for (std::int64_t base : {2451545, -2000000000, 2000000000}) {
            b->Args({base, rule});
        }
    }
    b->ArgNames({"jdn", "extra_p2"});
}

void FiscalWeekFromJdn(benchmark::State& state) {
    const jdcore::WeekFiscalRule rule = state.range(1) != 0 ? kRetailExtraInP2 : jdcore::kRetail454;
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(jdcore::ToFiscalDate(rule, Jdn(state, i++)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FiscalWeekFromJdn)->Apply(FiscalBases);

void FiscalWeekToJdn(benchmark::State& state) {
    const jdcore::WeekFiscalRule rule = state.range(1) != 0 ? kRetailExtraInP2 : jdcore::kRetail454;
    std::vector<jdcore::WeekFiscalDate> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(jdcore::ToFiscalDate(rule, Jdn(state, k)));
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        const jdcore::WeekFiscalDate& d = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        benchmark::DoNotOptimize(
            jdcore::FromFiscalPeriod(rule, d.year, d.period, d.weekOfPeriod, d.day));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FiscalWeekToJdn)->Apply(FiscalBases);

constexpr jdcore::MonthFiscalRule kJulyYears{7, jdcore::FiscalYearName::ByEndYear};

void FiscalMonthFromJdn(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(jdcore::ToFiscalDate(kJulyYears, Jdn(state, i++)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FiscalMonthFromJdn)->Apply(Bases);

void FiscalMonthToJdn(benchmark::State& state) {
    std::vector<jdcore::MonthFiscalDate> dates;
    for (std::int32_t k = 0; k < kWindow; ++k) {
        dates.push_back(jdcore::ToFiscalDate(kJulyYears, Jdn(state, k)));
    }
    std::int32_t i = 0;
    for (auto _ : state) {
        const jdcore::MonthFiscalDate& d = dates[static_cast<std::size_t>(i++ & (kWindow - 1))];
        benchmark::DoNotOptimize(jdcore::FromFiscalDate(kJulyYears, d.year, d.period, d.day));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FiscalMonthToJdn)->Apply(Bases);

void FiscalAddPeriods(benchmark::State& state) {
    std::int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(jdcore::AddPeriods(jdcore::kRetail454, Jdn(state, i), i & 31));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FiscalAddPeriods)->Apply(Bases);

}  // namespace

BENCHMARK_MAIN();

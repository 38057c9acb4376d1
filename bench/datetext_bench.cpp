// Date text in every calendar: writing a JDN in its canonical form, reading that text back,
// and the round trip of both, over random JDNs of the whole day range (ORD: years 1..9999).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "datetext/date_format.h"
#include "datetext/date_parse.h"

namespace {

using namespace daybridge;

constexpr std::size_t kSamples = 4096;

TextFormat BenchFormat() {
    TextFormat format;  // YMD, "-", ",", hyphens
    format.regional = QLocale(QLocale::English, QLocale::UnitedStates);
    return format;
}

std::vector<std::int32_t> Jdns(CalendarId calendar) {
    const bool ordinal = calendar == CalendarId::ORD;
    std::uniform_int_distribution<std::int32_t> pick(ordinal ? kMinOrdinalJDN : kMinDayNumber + 1,
                                                     ordinal ? kMaxOrdinalJDN : kMaxDayNumber - 1);
    std::mt19937 random(12345u);
    std::vector<std::int32_t> jdns(kSamples);
    for (std::int32_t& jdn : jdns) {
        jdn = pick(random);
    }
    return jdns;
}

void Calendars(benchmark::internal::Benchmark* b) {
    for (CalendarId calendar :
         {CalendarId::CE, CalendarId::JC, CalendarId::AN, CalendarId::VLW, CalendarId::JDN,
          CalendarId::ORD, CalendarId::ISO, CalendarId::LPW, CalendarId::LPM}) {
        b->Arg(IndexOf(calendar));
    }
}

void Label(benchmark::State& state) {
    state.SetLabel(CalendarCode(*CalendarOfIndex(static_cast<int>(state.range(0)))).toStdString());
    state.SetItemsProcessed(state.iterations());
}

void Format(benchmark::State& state) {
    const CalendarId calendar = *CalendarOfIndex(static_cast<int>(state.range(0)));
    const TextFormat format = BenchFormat();
    const std::vector<std::int32_t> jdns = Jdns(calendar);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CanonicalDateText(calendar, jdns[i++ % kSamples], format));
    }
    Label(state);
}

void Parse(benchmark::State& state) {
    const CalendarId calendar = *CalendarOfIndex(static_cast<int>(state.range(0)));
    const TextFormat format = BenchFormat();
    std::vector<QString> texts;
    for (std::int32_t jdn : Jdns(calendar)) {
        texts.push_back(CanonicalDateText(calendar, jdn, format));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseDateInCalendar(calendar, texts[i++ % kSamples], format));
    }
    Label(state);
}

void RoundTrip(benchmark::State& state) {
    const CalendarId calendar = *CalendarOfIndex(static_cast<int>(state.range(0)));
    const TextFormat format = BenchFormat();
    const std::vector<std::int32_t> jdns = Jdns(calendar);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::int32_t jdn = jdns[i++ % kSamples];
        const ParseResult back =
            ParseDateInCalendar(calendar, CanonicalDateText(calendar, jdn, format), format);
        if (back.jdn != jdn) {
            state.SkipWithError("round trip gave another JDN");
            break;
        }
    }
    Label(state);
}

BENCHMARK(Format)->Apply(Calendars);
BENCHMARK(Parse)->Apply(Calendars);
BENCHMARK(RoundTrip)->Apply(Calendars);

}  // namespace

BENCHMARK_MAIN();

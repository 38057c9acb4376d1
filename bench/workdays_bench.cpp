// Working days with the shipped Germany set and a Saturday-Sunday weekend: counting between two
// dates 1, 1,000, 100,000 and 1,000,000,000 days apart, and stepping as many working days. The
// time must not grow with the span. The year-kind table is built before timing (BM_BuildTable
// times that once-only build on its own). Compare with bench/busday_numpy.py --holidays.
// The same with a set of Julian and Orthodox rules (BM_...Orthodox, BM_BuildOrthodox).
// Reading a 1 MiB rule file of single dates and counting across two billion days
// (BM_ReadLargeFile; bench/holiday_files.sh times such files in daybridge-batch).
// Shipped sets of each kind of rule (BM_Set...: fixed days, Islamic, Hebrew, Orthodox Easter,
// Chinese): counting and stepping over 1 and 1,000,000,000 days with the tables built, the
// first use (reading the file and one count of a day), the first long count, and the memory the
// counting tables hold after counts across the whole day range (counter "table_MB").
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QFile>
#include <cstdint>
#include <map>
#include <memory>
#include <random>

#include "workdays/workday_calendar.h"

namespace {

using namespace daybridge;

constexpr std::int64_t kFirst = 2455933;  // Friday 2012-01-06

std::shared_ptr<const HolidaySet> Germany() {
    QFile file(QStringLiteral(DAYBRIDGE_DATA_DIR "/holidays/germany.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    const HolidayParseResult parsed = ParseHolidayRules(QString::fromUtf8(file.readAll()));
    return parsed.set ? std::make_shared<HolidaySet>(*parsed.set) : nullptr;
}

// Julian fixed days, Orthodox Easter and Gregorian fixed days with observed shifts.
std::shared_ptr<const HolidaySet> Orthodox() {
    const HolidayParseResult parsed =
        ParseHolidayRules(QStringLiteral("01-01 observed next : New Year\n"
                                         "01-02 observed next : New Year holiday\n"
                                         "12-25 julian : Orthodox Christmas\n"
                                         "01-14 julian observed next : Old New Year\n"
                                         "orthodox easter -2 : Good Friday\n"
                                         "orthodox easter : Easter\n"
                                         "orthodox easter +1 : Easter Monday\n"
                                         "orthodox easter +50 : Whit Monday\n"
                                         "05-01 observed next : Labour Day\n"
                                         "05-02 observed next : Labour Day\n"
                                         "11-11 observed next : Armistice Day\n"));
    return parsed.set ? std::make_shared<HolidaySet>(*parsed.set) : nullptr;
}

const WorkdayCalendar& OrthodoxCalendar() {
    static const WorkdayCalendar calendar = [] {
        WorkdayCalendar c(WorkdayCalendar::kSaturdaySunday, Orthodox());
        benchmark::DoNotOptimize(c.WorkdaysIn(kFirst, kFirst + 1000000000));  // builds the table
        return c;
    }();
    return calendar;
}

const WorkdayCalendar& Calendar() {
    static const WorkdayCalendar calendar = [] {
        WorkdayCalendar c(WorkdayCalendar::kSaturdaySunday, Germany());
        benchmark::DoNotOptimize(c.WorkdaysIn(kFirst, kFirst + 1000000000));  // builds the table
        return c;
    }();
    return calendar;
}

void BM_CountWorkdays(benchmark::State& run) {
    const WorkdayCalendar& calendar = Calendar();
    const std::int64_t second = kFirst + run.range(0);
    for (auto _ : run) {
        benchmark::DoNotOptimize(calendar.Count(kFirst, second, false));
    }
}

void BM_StepWorkdays(benchmark::State& run) {
    const WorkdayCalendar& calendar = Calendar();
    // About as many working days as the span has.
    const std::int64_t difference = run.range(0) * 5 / 7 + 1;
    for (auto _ : run) {
        benchmark::DoNotOptimize(calendar.StepFromFirst(kFirst, difference, false));
    }
}

void BM_BuildTable(benchmark::State& run) {
    for (auto _ : run) {
        WorkdayCalendar c(WorkdayCalendar::kSaturdaySunday, Germany());
        benchmark::DoNotOptimize(c.WorkdaysIn(kFirst, kFirst + 1000000000));
    }
}

void BM_CountOrthodox(benchmark::State& run) {
    const WorkdayCalendar& calendar = OrthodoxCalendar();
    const std::int64_t second = kFirst + run.range(0);
    for (auto _ : run) {
        benchmark::DoNotOptimize(calendar.Count(kFirst, second, false));
    }
}

void BM_StepOrthodox(benchmark::State& run) {
    const WorkdayCalendar& calendar = OrthodoxCalendar();
    const std::int64_t difference = run.range(0) * 5 / 7 + 1;
    for (auto _ : run) {
        benchmark::DoNotOptimize(calendar.StepFromFirst(kFirst, difference, false));
    }
}

void BM_BuildOrthodox(benchmark::State& run) {
    for (auto _ : run) {
        WorkdayCalendar c(WorkdayCalendar::kSaturdaySunday, Orthodox());
        benchmark::DoNotOptimize(c.WorkdaysIn(kFirst, kFirst + 1000000000));
    }
}

// 1 MiB of single dates over 4,000 years and a few rules.
void BM_ReadLargeFile(benchmark::State& run) {
    std::mt19937_64 random(15);
    QString text = QStringLiteral("01-01 observed next : New Year\neaster +1 : Easter Monday\n");
    while (text.size() < (1 << 20) - 40) {
        text += QStringLiteral("%1-%2-%3 : Company day\n")
                    .arg(1 + random() % 4000)
                    .arg(1 + random() % 12)
                    .arg(1 + random() % 28);
    }
    for (auto _ : run) {
        const HolidayParseResult parsed = ParseHolidayRules(text);
        const WorkdayCalendar calendar(WorkdayCalendar::kSaturdaySunday,
                                       std::make_shared<HolidaySet>(*parsed.set));
        benchmark::DoNotOptimize(calendar.WorkdaysIn(-1000000000, 1000000000));
    }
}

// A shipped set read as the program reads it, with its @include lines.
std::shared_ptr<const HolidaySet> Shipped(const QString& name) {
    const auto read = [](const QString& set) -> std::optional<QString> {
        QFile file(QStringLiteral(DAYBRIDGE_DATA_DIR "/holidays/") + set + QStringLiteral(".txt"));
        if (!file.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        return QString::fromUtf8(file.readAll());
    };
    const std::optional<QString> text = read(name);
    if (!text) {
        return nullptr;
    }
    const HolidayParseResult parsed = ParseHolidayRules(*text, read);
    return parsed.set ? std::make_shared<HolidaySet>(*parsed.set) : nullptr;
}

const char* const kSetNames[] = {"germany", "egypt", "israel", "greece", "china"};

std::uint8_t WeekendOf(const HolidaySet& set) {
    return set.info.weekend.value_or(WorkdayCalendar::kSaturdaySunday);
}

// One calendar per shipped set, its tables built by counts across the whole day range.
const WorkdayCalendar& SetCalendar(std::size_t which) {
    static std::map<std::size_t, std::unique_ptr<WorkdayCalendar>> calendars;
    std::unique_ptr<WorkdayCalendar>& calendar = calendars[which];
    if (calendar == nullptr) {
        const std::shared_ptr<const HolidaySet> set =
            Shipped(QString::fromLatin1(kSetNames[which]));
        calendar = std::make_unique<WorkdayCalendar>(WeekendOf(*set), set);
        benchmark::DoNotOptimize(calendar->WorkdaysIn(-2100000000, 2100000000));
    }
    return *calendar;
}

void BM_SetCount(benchmark::State& run) {
    const WorkdayCalendar& calendar = SetCalendar(static_cast<std::size_t>(run.range(0)));
    const std::int64_t second = kFirst + run.range(1);
    for (auto _ : run) {
        benchmark::DoNotOptimize(calendar.Count(kFirst, second, false));
    }
    run.SetLabel(kSetNames[run.range(0)]);
}

// Counts whose end years change every time (997 starts ten years apart, so no end year is
// still worked out from an earlier count): each count works out its end years.
void BM_SetCountNewYears(benchmark::State& run) {
    const WorkdayCalendar& calendar = SetCalendar(static_cast<std::size_t>(run.range(0)));
    std::int64_t i = 0;
    for (auto _ : run) {
        const std::int64_t first = kFirst + (i++ % 997) * 3653;
        benchmark::DoNotOptimize(calendar.Count(first, first + run.range(1), false));
    }
    run.SetLabel(kSetNames[run.range(0)]);
}

void BM_SetStep(benchmark::State& run) {
    const WorkdayCalendar& calendar = SetCalendar(static_cast<std::size_t>(run.range(0)));
    const std::int64_t difference = run.range(1) * 5 / 7 + 1;
    for (auto _ : run) {
        benchmark::DoNotOptimize(calendar.StepFromFirst(kFirst, difference, false));
    }
    run.SetLabel(kSetNames[run.range(0)]);
}

// Reading the set and counting the working days of one day, as a program's first use does.
void BM_SetFirstUse(benchmark::State& run) {
    const QString name = QString::fromLatin1(kSetNames[run.range(0)]);
    for (auto _ : run) {
        const std::shared_ptr<const HolidaySet> set = Shipped(name);
        const WorkdayCalendar calendar(WeekendOf(*set), set);
        benchmark::DoNotOptimize(calendar.Count(kFirst, kFirst + 1, false));
    }
    run.SetLabel(kSetNames[run.range(0)]);
}

// The first count over 1,000,000,000 days of a freshly read set (builds what it needs), and
// the heap the set and its counting tables hold after counts across the whole day range: all
// of it, also what the first count built (the year-kind table Gregorian sets share is counted
// only by the run that first builds it).
// The heap in use, the large blocks malloc maps on their own included.
std::size_t HeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_SetFirstLongCount(benchmark::State& run) {
    const QString name = QString::fromLatin1(kSetNames[run.range(0)]);
    double tableBytes = 0;
    for (auto _ : run) {
        run.PauseTiming();
        const std::size_t before = HeapBytes();
        run.ResumeTiming();
        const std::shared_ptr<const HolidaySet> set = Shipped(name);
        const WorkdayCalendar calendar(WeekendOf(*set), set);
        benchmark::DoNotOptimize(calendar.Count(kFirst, kFirst + 1000000000, false));
        run.PauseTiming();
        benchmark::DoNotOptimize(calendar.WorkdaysIn(-2100000000, 2100000000));
        tableBytes = static_cast<double>(HeapBytes() - before);
        run.ResumeTiming();
    }
    run.counters["table_MB"] = tableBytes / 1e6;
    run.SetLabel(kSetNames[run.range(0)]);
}

void SetArgs(benchmark::internal::Benchmark* bench) {
    for (int set = 0; set < 5; ++set) {
        bench->Args({set, 1})->Args({set, 1000000000});
    }
}

void SetOnly(benchmark::internal::Benchmark* bench) {
    for (int set = 0; set < 5; ++set) {
        bench->Args({set});
    }
}

BENCHMARK(BM_SetCount)->Apply(SetArgs);
BENCHMARK(BM_SetCountNewYears)->Apply(SetArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetStep)->Apply(SetArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetFirstUse)->Apply(SetOnly)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetFirstLongCount)->Apply(SetOnly)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_CountWorkdays)->Arg(1)->Arg(1000)->Arg(100000)->Arg(1000000000);
BENCHMARK(BM_StepWorkdays)->Arg(1)->Arg(1000)->Arg(100000)->Arg(1000000000);
BENCHMARK(BM_BuildTable)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountOrthodox)
    ->Arg(1)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepOrthodox)
    ->Arg(1)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildOrthodox)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLargeFile)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

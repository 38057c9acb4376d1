// Every shipped holiday set: its first use (reading it and counting one day, then the first
// count of 1,000,000,000 days, which builds what such counts need), then the count of one day
// and of 1,000,000,000 days from 2012-01-06, after a count across the whole day range (the
// tables built), and their ratio. Each pair is timed back to back, 81 times; the pair with the
// median ratio is printed, so that the machine's changes of speed do not mix into a ratio.
// The tables all sets share (the kinds of Western Easter years) are built before the first
// set, and timed on their own. The last lines give the largest ratio and the slowest first
// count.
//
//   taskset -c 0 build/bin/workdays_every_set [SET...]
#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "workdays/holiday_rules.h"
#include "workdays/workday_calendar.h"

using namespace daybridge;

namespace {

constexpr std::int64_t kFirst = 2455933;  // Friday 2012-01-06
constexpr int kCounts = 2000;

std::optional<QString> Read(const QString& set) {
    QFile file(QStringLiteral(DAYBRIDGE_DATA_DIR "/holidays/") + set + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

volatile std::int64_t sink;

double NanosecondsPerCount(const WorkdayCalendar& calendar, std::int64_t days) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCounts; ++i) {
        sink = calendar.Count(kFirst, kFirst + days, false);
    }
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(end - start).count() / kCounts;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList names;
    for (int i = 1; i < argc; ++i) {
        names << QString::fromLocal8Bit(argv[i]);
    }
    if (names.isEmpty()) {
        const QDir dir(QStringLiteral(DAYBRIDGE_DATA_DIR "/holidays"));
        for (const QString& file : dir.entryList({QStringLiteral("*.txt")})) {
            names << file.chopped(4);
        }
    }
    using Clock = std::chrono::steady_clock;
    const auto milliseconds = [](Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration<double, std::milli>(to - from).count();
    };
    {
        const auto start = Clock::now();
        const auto set = std::make_shared<HolidaySet>(
            *ParseHolidayRules(QStringLiteral("easter +1 : Easter Monday\n01-01 : New Year\n"),
                               Read)
                 .set);
        sink = WorkdayCalendar(WorkdayCalendar::kSaturdaySunday, set)
                   .Count(kFirst, kFirst + 1000000000, false);
        std::printf("shared tables: %.1f ms\n", milliseconds(start, Clock::now()));
    }
    std::printf("%-40s %8s %10s %10s %10s %6s\n", "set", "first ms", "1e9 1st ms", "1 day ns",
                "1e9 ns", "ratio");
    double largest = 0;
    double slowestFirst = 0;
    for (const QString& name : names) {
        const auto start = Clock::now();
        const std::optional<QString> text = Read(name);
        const HolidayParseResult parsed =
            text ? ParseHolidayRules(*text, Read) : HolidayParseResult{};
        if (!parsed.set) {
            std::printf("%s: not read\n", qPrintable(name));
            return 1;
        }
        const auto set = std::make_shared<HolidaySet>(*parsed.set);
        const WorkdayCalendar calendar(set->info.weekend.value_or(WorkdayCalendar::kSaturdaySunday),
                                       set);
        sink = calendar.Count(kFirst, kFirst + 1, false);
        const auto used = Clock::now();
        sink = calendar.Count(kFirst, kFirst + 1000000000, false);
        const double firstLong = milliseconds(used, Clock::now());
        slowestFirst = std::max(slowestFirst, firstLong);
        sink = calendar.WorkdaysIn(-2100000000, 2100000000);
        std::vector<std::array<double, 3>> pairs;  // ratio, one day, 1e9 days
        for (int round = 0; round < 81; ++round) {
            const double one = NanosecondsPerCount(calendar, 1);
            const double far = NanosecondsPerCount(calendar, 1000000000);
            pairs.push_back({far / one, one, far});
        }
        std::sort(pairs.begin(), pairs.end());
        const std::array<double, 3>& median = pairs[pairs.size() / 2];
        largest = std::max(largest, median[0]);
        std::printf("%-40s %8.2f %10.1f %10.1f %10.1f %6.2f\n", qPrintable(name),
                    milliseconds(start, used), firstLong, median[1], median[2], median[0]);
        std::fflush(stdout);
    }
    std::printf("largest ratio %.2f\n", largest);
    std::printf("slowest first 1e9 count %.1f ms\n", slowestFirst);
    return 0;
}

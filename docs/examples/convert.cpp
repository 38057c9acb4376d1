// libdaybridge example: reads a date in one calendar and writes it in another, then the date
// ten working days later (a Friday-Saturday weekend and the German holidays) and the years,
// months and days between the two.
//
//   convert FROM DATE TO          e.g.  convert CE 2026-12-08 HEB
#include <daybridge/daybridge.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FROM DATE TO\n", argv[0]);
        return 2;
    }
    const std::string from = argv[1], text = argv[2], to = argv[3];

    const daybridge::Result<std::int64_t> jdn = daybridge::ParseDateText(from, text);
    if (!jdn) {
        std::fprintf(stderr, "%s\n", jdn.error().message.c_str());
        return 1;
    }
    const daybridge::Result<std::string> converted = daybridge::DateText(to, *jdn);
    if (!converted) {
        std::fprintf(stderr, "%s\n", converted.error().message.c_str());
        return 1;
    }
    std::printf("%s %s = %s %s (JDN %lld)\n", from.c_str(), text.c_str(), to.c_str(),
                converted->c_str(), static_cast<long long>(*jdn));

    const auto workdays = daybridge::WorkingDays::Create("fri sat", "germany");
    if (!workdays) {
        std::fprintf(stderr, "%s\n", workdays.error().message.c_str());
        return 1;
    }
    const auto later = workdays->Add(*jdn, 10);
    const auto span = later ? daybridge::DifferenceInUnits(from, *jdn, *later)
                            : daybridge::Result<daybridge::DateSpan>(later.error());
    if (!span) {
        std::fprintf(stderr, "%s\n", span.error().message.c_str());
        return 1;
    }
    std::printf("10 working days later: %s (%lld months, %lld days)\n",
                daybridge::DateText(from, *later).value().c_str(),
                static_cast<long long>(span->months), static_cast<long long>(span->days));
    return 0;
}

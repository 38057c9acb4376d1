// Prints the date of every JDN in a range in one of the world calendars, one line per day
// ("year month day", or the five Long Count places for MAY), for the comparison with an
// independent reference in convertdate_reference.py.
//   world_calendar_dump HEB|ISL|PER|COP|ETH|FRR|IND|MAY first_jdn last_jdn
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "jdcore/world_calendars.h"

namespace {

using jdcore::WorldCalendar;

struct Code {
    std::string_view name;
    WorldCalendar calendar;
};
constexpr Code kCodes[] = {
    {"HEB", WorldCalendar::Hebrew},    {"ISL", WorldCalendar::Islamic},
    {"PER", WorldCalendar::Persian},   {"COP", WorldCalendar::Coptic},
    {"ETH", WorldCalendar::Ethiopian}, {"FRR", WorldCalendar::FrenchRepublican},
    {"IND", WorldCalendar::Indian},
};

char* Put(char* out, std::int64_t value, char after) {
    out = std::to_chars(out, out + 24, value).ptr;
    *out = after;
    return out + 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: world_calendar_dump CODE first_jdn last_jdn\n", stderr);
        return 2;
    }
    const std::string_view code = argv[1];
    const std::int64_t first = std::strtoll(argv[2], nullptr, 10);
    const std::int64_t last = std::strtoll(argv[3], nullptr, 10);
    const Code* found = nullptr;
    for (const Code& c : kCodes) {
        found = c.name == code ? &c : found;
    }
    if (found == nullptr && code != "MAY") {
        std::fputs("unknown calendar code\n", stderr);
        return 2;
    }
    static char buffer[1 << 16];
    char* out = buffer;
    for (std::int64_t jdn = first; jdn <= last; ++jdn) {
        if (found != nullptr) {
            const jdcore::YearMonthDay d = jdcore::FromJdn(found->calendar, jdn);
            out = Put(Put(Put(out, d.year, ' '), d.month, ' '), d.day, '\n');
        } else {
            const jdcore::LongCount lc = jdcore::JdnToLongCount(jdn);
            out = Put(Put(Put(out, lc.baktun, ' '), lc.katun, ' '), lc.tun, ' ');
            out = Put(Put(out, lc.uinal, ' '), lc.kin, '\n');
        }
        if (out > buffer + sizeof buffer - 128) {
            std::fwrite(buffer, 1, static_cast<std::size_t>(out - buffer), stdout);
            out = buffer;
        }
    }
    std::fwrite(buffer, 1, static_cast<std::size_t>(out - buffer), stdout);
    return 0;
}

// Dates of every calendar of the library to and from day numbers, for the tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

#include "jdcore/jdcore.h"

namespace jdcore_test {

inline jdcore::DateRecord Show(std::int32_t jdn, char calendar) {
    jdcore::DateRecord r{};
    r.calendar = calendar;
    r.jdn = jdn;
    if (calendar == 'A') {
        jdcore::jdn_to_annus_novus_date(r);
    } else {
        jdcore::jdn_to_euro_date(r);
    }
    return r;
}

// The record's JDN; INT32_MIN (never a result) when the record's own jdn field disagrees.
inline std::int32_t Read(jdcore::DateRecord r) {
    r.jdn = 0;
    const std::int32_t jdn =
        r.calendar == 'A' ? jdcore::annus_novus_date_to_jdn(r) : jdcore::euro_date_to_jdn(r);
    return r.jdn == jdn ? jdn : std::numeric_limits<std::int32_t>::min();
}

// A stride through the days -limit .. limit, and runs of `run` days either side of each centre.
inline std::vector<std::int64_t> SampleJdns(std::int64_t limit, std::int64_t stride,
                                            std::initializer_list<std::int64_t> centres,
                                            std::int64_t run) {
    std::vector<std::int64_t> out;
    for (std::int64_t j = -limit; j <= limit; j += stride) {
        out.push_back(j);
    }
    for (std::int64_t c : centres) {
        for (std::int64_t j = c - run; j <= c + run; ++j) {
            out.push_back(j);
        }
    }
    return out;
}

}  // namespace jdcore_test

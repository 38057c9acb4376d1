// Dates of every calendar of the library to and from day numbers, for the tests.
#pragma once

#include <cstdint>
#include <limits>

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

}  // namespace jdcore_test
